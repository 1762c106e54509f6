#include <gtest/gtest.h>

#include <new>
#include <random>
#include <utility>
#include <vector>

#include "canvas/undo_ring.h"
#include "support/allocation_failure.h"
#include "support/test_surfaces.h"

namespace tenmark {
namespace {

// A canvas with its ring, changed the way strokes change it: draw, report, record.
struct RingRig {
  MonoBitmap canvas;
  UndoRing ring;

  RingRig(int w, int h, UndoRing::Memory memory = {}) : canvas(canvasOf(w, h)), ring(memory) {
    ring.resetRing(canvas);
  }
  // A change of the whole canvas, as Clear and Paste make it.
  bool replaceAll(const MonoBitmap& picture) {
    if (!ring.prepareWholeRecord(canvas)) return false;
    canvas.copyAllFrom(picture);
    ring.beginRecord(Rect{0, 0, canvas.width(), canvas.height()});
    return ring.pushRecord(canvas);
  }
  void stroke(int x1, int y1, int x2, int y2, int width, bool commit = true) {
    canvas.drawLine(x1, y1, x2, y2, width, 1);
    ring.beginRecord(Rect{std::min(x1, x2) - width, std::min(y1, y2) - width,
                          std::abs(x2 - x1) + 2 * width, std::abs(y2 - y1) + 2 * width});
    if (commit) ring.pushRecord(canvas);
  }
};

// Random strokes (some left pending, as a stroke ended by a command leaves its record), mirrors,
// whole-canvas changes, undos and redos, reaching outside the canvas, now and then without
// memory, against a reference that keeps whole canvases and ten levels (a canvas shrunk under
// its records is the resize's test). Records above a small chunk are encoded, and a small cap
// drops the oldest. The snapshot, kept up to date over changed areas only, must equal the canvas
// after every step that leaves nothing pending.
TEST(UndoRing, AgreesWithWholeCanvasCopiesOverRandomSequences) {
  std::mt19937 rng(7);
  const auto pick = [&](int n) { return int(rng() % unsigned(n)); };
  const UndoRing::Memory memory{1500, 100};
  int dropped = 0;  // records pushed out by an eleventh: the runs must reach the limit
  int overCap = 0;  // records dropped for the cap
  int refused = 0;  // steps refused for memory
  int pendingBeforeWhole = 0;
  for (int run = 0; run < 40; ++run) {
    RingRig rig(97, 61, memory);
    std::vector<MonoBitmap> history;  // history[k]: the canvas after k live records
    history.push_back(copyOf(rig.canvas));
    std::size_t live = 0;
    std::size_t oldest = 0;
    bool pending = false;
    const auto record = [&](const MonoBitmap& canvas) {
      AllocationPause pause;
      history.resize(live + 1);
      history.push_back(copyOf(canvas));
      ++live;
      if (live - oldest > 10) ++oldest, ++dropped;
    };
    // A pending record becomes a step of its own before a whole-canvas change, undo or redo
    // (unless it cannot be made), and joins the next stroke's.
    const auto pendingTakenIn = [&](const MonoBitmap& before) {
      if (pending && !rig.ring.recordPending()) record(before), pending = false;
    };
    for (int step = 0; step < 60; ++step) {
      const int action = pick(12);
      // Now and then one of the ring's allocations fails.
      const std::size_t failing = pick(6) == 0 ? 1 + std::size_t(pick(4)) : 0;
      // A failure thrown (by the mirror's row) counts as refused, as the commands take it.
      const auto attempt = [&](auto call) {
        failAllocation(failing);
        try {
          return call();
        } catch (const std::bad_alloc&) {
          return false;
        }
      };
      if (action < 2) {
        pendingBeforeWhole += pending;
        const MonoBitmap before = copyOf(rig.canvas);
        const MonoBitmap picture = action == 0 ? randomSurface(97, 61, rng) : canvasOf(97, 61);
        const bool mirror = pick(2) == 0;
        const auto axis = UndoRing::Mirror(pick(2));
        const bool done = attempt([&] {
          return mirror ? rig.ring.mirrorCanvas(rig.canvas, axis)
                        : rig.ring.prepareWholeRecord(rig.canvas);
        });
        pendingTakenIn(before);
        if (done && !mirror) {
          rig.canvas.copyAllFrom(picture);
          rig.ring.beginRecord(Rect{0, 0, 97, 61});
          ASSERT_TRUE(rig.ring.pushRecord(rig.canvas));
        }
        if (done) pending = false, record(rig.canvas);
      } else if (action < 7) {
        const bool commit = pick(4) != 0;
        rig.stroke(pick(137) - 20, pick(101) - 20, pick(137) - 20, pick(101) - 20, 1 + pick(6),
                   false);
        if (commit) attempt([&] { return rig.ring.pushRecord(rig.canvas); });
        pending = rig.ring.recordPending();
        if (!pending) record(rig.canvas);
      } else {
        const bool undo = action < 10;
        const MonoBitmap before = copyOf(rig.canvas);
        const bool did = attempt(
            [&] { return undo ? rig.ring.undoStep(rig.canvas) : rig.ring.redoStep(rig.canvas); });
        pendingTakenIn(before);
        const bool expected = !pending && (undo ? live > oldest : live + 1 < history.size());
        if (did != expected) {
          ASSERT_TRUE(allocationFailed()) << "run " << run << " step " << step;
        }
        if (did) undo ? --live : ++live;
      }
      refused += failing && allocationFailed();
      failAllocation(0);
      if (!pending && !rig.ring.canUndo() && live > oldest)
        overCap += int(live - oldest), oldest = live;
      ASSERT_EQ(rig.ring.canUndo(), pending || live > oldest);
      ASSERT_EQ(rig.ring.canRedo(), live + 1 < history.size());
      if (pending) continue;
      ASSERT_TRUE(samePicture(rig.canvas, history[live])) << "run " << run << " step " << step;
      ASSERT_TRUE(samePicture(rig.ring.snapshot(), rig.canvas)) << "run " << run;
    }
  }
  EXPECT_GT(dropped, 0);
  EXPECT_GT(overCap, 0);
  EXPECT_GT(refused, 0);
  EXPECT_GT(pendingBeforeWhole, 0);
}

// Mirrors hold no pixels: ten of them stay undoable under a cap of nothing. Noise records over a
// cap of two and a half of them keep the newest two.
TEST(UndoRing, MirrorsCostNothingAndTheCapKeepsTheNewestRecords) {
  RingRig mirrors(131, 70, UndoRing::Memory{0, 256});
  mirrors.stroke(3, 5, 120, 60, 3);
  const MonoBitmap drawn = copyOf(mirrors.canvas);
  for (int i = 0; i < 10; ++i)
    ASSERT_TRUE(mirrors.ring.mirrorCanvas(mirrors.canvas, UndoRing::Mirror(i % 3 == 0)));
  EXPECT_EQ(mirrors.ring.recordBytes(), 0u);
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(mirrors.ring.undoStep(mirrors.canvas));
  EXPECT_TRUE(samePicture(mirrors.canvas, drawn));

  std::mt19937 rng(3);
  const std::size_t noiseBytes = 256 * 256 / 8;
  RingRig noise(256, 256, UndoRing::Memory{noiseBytes * 5 / 2, 1024});
  std::vector<MonoBitmap> pictures;
  for (int i = 0; i < 5; ++i) {
    pictures.push_back(randomSurface(256, 256, rng));
    ASSERT_TRUE(noise.replaceAll(pictures.back()));
    EXPECT_TRUE(noise.ring.canUndo());
  }
  EXPECT_LE(noise.ring.recordBytes(), noiseBytes * 5 / 2);
  for (int i = 3; i >= 2; --i) {
    ASSERT_TRUE(noise.ring.undoStep(noise.canvas));
    EXPECT_TRUE(samePicture(noise.canvas, pictures[std::size_t(i)]));
  }
  EXPECT_FALSE(noise.ring.canUndo());
}

}  // namespace
}  // namespace tenmark
