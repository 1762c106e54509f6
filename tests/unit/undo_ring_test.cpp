#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "canvas/undo_ring.h"
#include "support/test_surfaces.h"

namespace tenmark {
namespace {

// A canvas with its ring, changed the way strokes change it: draw, report, record.
struct RingRig {
  MonoBitmap canvas;
  UndoRing ring;

  RingRig(int w, int h) : canvas(canvasOf(w, h)) { ring.resetRing(canvas); }
  void stroke(int x1, int y1, int x2, int y2, int width, bool commit = true) {
    canvas.drawLine(x1, y1, x2, y2, width, 1);
    ring.beginRecord(Rect{std::min(x1, x2) - width, std::min(y1, y2) - width,
                          std::abs(x2 - x1) + 2 * width, std::abs(y2 - y1) + 2 * width});
    if (commit) ring.pushRecord(canvas);
  }
};

// Random strokes (some left pending, as a stroke ended by a command leaves its record), undos
// and redos, reaching outside the canvas, against a reference that keeps whole canvases and ten
// levels (a canvas shrunk under its records is the resize's test); the snapshot, kept up to date
// over changed areas only, must equal the canvas after every step that leaves nothing pending.
TEST(UndoRing, AgreesWithWholeCanvasCopiesOverRandomSequences) {
  std::mt19937 rng(7);
  const auto pick = [&](int n) { return int(rng() % unsigned(n)); };
  int dropped = 0;  // records pushed out by an eleventh: the runs must reach the limit
  int pendingBeforeWhole = 0;
  for (int run = 0; run < 20; ++run) {
    RingRig rig(97, 61);
    std::vector<MonoBitmap> history;  // history[k]: the canvas after k live records
    history.push_back(copyOf(rig.canvas));
    std::size_t live = 0;
    std::size_t oldest = 0;
    bool pending = false;
    // A pending record becomes a step of its own before a whole-canvas change, undo or redo,
    // and joins the next stroke's.
    const auto record = [&](const MonoBitmap& canvas) {
      history.resize(live + 1);
      history.push_back(copyOf(canvas));
      ++live;
      if (live - oldest > 10) ++oldest, ++dropped;
    };
    for (int step = 0; step < 60; ++step) {
      const int action = pick(10);
      if (action == 0) {  // a whole-canvas change, as the mirrors make
        pendingBeforeWhole += pending;
        ASSERT_TRUE(rig.ring.prepareWholeRecord(rig.canvas));
        if (std::exchange(pending, false)) record(rig.canvas);
        rig.canvas.mirrorLeftRight();
        rig.ring.beginRecord(Rect{0, 0, 97, 61});
        rig.ring.pushRecord(rig.canvas);
        record(rig.canvas);
      } else if (action < 5) {
        const bool commit = pick(4) != 0;
        rig.stroke(pick(137) - 20, pick(101) - 20, pick(137) - 20, pick(101) - 20, 1 + pick(6),
                   commit);
        pending = !commit;
        if (commit) record(rig.canvas);
      } else {
        if (std::exchange(pending, false)) record(rig.canvas);
        const bool undo = action < 8;
        const bool did = undo ? rig.ring.undoStep(rig.canvas) : rig.ring.redoStep(rig.canvas);
        ASSERT_EQ(did, undo ? live > oldest : live + 1 < history.size());
        if (did) undo ? --live : ++live;
      }
      ASSERT_EQ(rig.ring.canUndo(), pending || live > oldest);
      ASSERT_EQ(rig.ring.canRedo(), live + 1 < history.size());
      if (pending) continue;
      ASSERT_TRUE(samePicture(rig.canvas, history[live])) << "run " << run << " step " << step;
      ASSERT_TRUE(samePicture(rig.ring.snapshot(), rig.canvas)) << "run " << run;
    }
  }
  EXPECT_GT(dropped, 0);
  EXPECT_GT(pendingBeforeWhole, 0);
}

}  // namespace
}  // namespace tenmark
