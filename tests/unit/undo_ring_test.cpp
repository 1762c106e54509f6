#include <gtest/gtest.h>

#include <random>
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

// Random strokes, undos and redos, reaching outside the canvas, against a reference that keeps
// whole canvases and ten levels (a canvas shrunk under its records is the resize's test);
// the snapshot, kept up to date over changed areas only, must equal the canvas after every step.
TEST(UndoRing, AgreesWithWholeCanvasCopiesOverRandomSequences) {
  std::mt19937 rng(7);
  const auto pick = [&](int n) { return int(rng() % unsigned(n)); };
  int dropped = 0;  // records pushed out by an eleventh: the runs must reach the limit
  for (int run = 0; run < 20; ++run) {
    RingRig rig(97, 61);
    std::vector<MonoBitmap> history;  // history[k]: the canvas after k live records
    history.push_back(copyOf(rig.canvas));
    std::size_t live = 0;
    std::size_t oldest = 0;
    for (int step = 0; step < 60; ++step) {
      const int action = pick(10);
      if (action < 5) {
        if (action == 0) {  // a whole-canvas change, as the mirrors make
          rig.canvas.mirrorLeftRight();
          rig.ring.beginRecord(Rect{0, 0, 97, 61});
          rig.ring.pushRecord(rig.canvas);
        } else {
          rig.stroke(pick(137) - 20, pick(101) - 20, pick(137) - 20, pick(101) - 20, 1 + pick(6));
        }
        history.resize(live + 1);
        history.push_back(copyOf(rig.canvas));
        ++live;
        if (live - oldest > 10) ++oldest, ++dropped;
      } else if (action < 8) {
        const bool did = rig.ring.undoStep(rig.canvas);
        ASSERT_EQ(did, live > oldest);
        if (did) --live;
      } else {
        const bool did = rig.ring.redoStep(rig.canvas);
        ASSERT_EQ(did, live + 1 < history.size());
        if (did) ++live;
      }
      ASSERT_EQ(rig.ring.canUndo(), live > oldest);
      ASSERT_EQ(rig.ring.canRedo(), live + 1 < history.size());
      ASSERT_TRUE(samePicture(rig.canvas, history[live])) << "run " << run << " step " << step;
      ASSERT_TRUE(samePicture(rig.ring.snapshot(), rig.canvas)) << "run " << run;
    }
  }
  EXPECT_GT(dropped, 0);
}

TEST(UndoRing, PixelsOfAStrokeWithoutRecordReachTheSnapshotWithTheNextRecord) {
  RingRig rig(100, 100);
  rig.stroke(10, 10, 30, 10, 2, false);
  rig.stroke(70, 70, 90, 90, 2);  // far from the unrecorded stroke
  EXPECT_TRUE(samePicture(rig.ring.snapshot(), rig.canvas));
  rig.stroke(20, 0, 20, 20, 2);
  rig.ring.undoStep(rig.canvas);
  EXPECT_EQ(rig.canvas.pixel(20, 10), 1);  // the snapshot had it before this record
  EXPECT_EQ(rig.canvas.pixel(20, 15), 0);
}

}  // namespace
}  // namespace tenmark
