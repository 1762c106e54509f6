#include "canvas/wheel.h"

#include <gtest/gtest.h>

#include <random>

#include "support/model_rig.h"

namespace tenmark {
namespace {

// Whatever pieces a turn comes in, the pixels scrolled add up to what the whole turn is worth,
// to the pixel, in both directions (zoom notches: the Ctrl zoom test's halves).
TEST(Wheel, FractionsOfANotchAddUpWithNothingLostOrDoubled) {
  std::mt19937 rng(5);
  for (const int lines : {1, 3, 7, kWheelScreen}) {
    WheelAccumulator wheel;
    WheelTurn turn;
    turn.linesPerNotch = lines;
    const std::int64_t perNotch = lines == kWheelScreen ? 583 : lines * 10;
    std::int64_t turned = 0;
    std::int64_t scrolled = 0;
    for (int i = 0; i < 500; ++i) {
      turn.delta = int(rng() % 241) - 120 + (i % 50 < 25 ? 7 : -7);
      turned += turn.delta;
      scrolled += wheel.scrollPixels(turn, 10, 583);
      EXPECT_EQ(scrolled, -turned * perNotch / kWheelNotch) << lines << " after " << i;
    }
  }
}

struct WheelRig : ModelRig {
  WheelRig() : ModelRig(2000, 1500) {}
  void wheel(int delta, ScrollAxis axis = ScrollAxis::Vertical, bool zoom = false, int lines = 3) {
    model.mouseWheel(WheelTurn{axis, delta, zoom, Point{400, 300}, lines});
  }
  Point scroll() const { return Point{platform.bars[0].position, platform.bars[1].position}; }
};

// The bars' limits are the view's scroll tests'.
TEST(Wheel, ScrollsByTheSystemsLinesOrAScreen) {
  WheelRig rig;
  rig.wheel(-120);  // towards the user: down
  EXPECT_EQ(rig.scroll(), (Point{0, 30}));
  rig.wheel(-120, ScrollAxis::Horizontal, false, 5);
  EXPECT_EQ(rig.scroll(), (Point{50, 30}));
  rig.wheel(-120, ScrollAxis::Vertical, false, kWheelScreen);
  EXPECT_EQ(rig.scroll(), (Point{50, 30 + rig.platform.bars[1].page}));
}

TEST(Wheel, CtrlZoomsOneStepANotchKeepingThePointUnderThePointer) {
  WheelRig rig;
  rig.wheel(-120 * 20);
  rig.wheel(-120 * 20, ScrollAxis::Horizontal);
  const Point under = rig.model.view().clientToCanvas(Point{400, 300});
  const struct {
    int delta;
    double zoom;
  } steps[] = {{120, 1.25}, {60, 1.25}, {60, 1.5}, {-360, 0.75}, {-120, 0.5}};
  for (const auto& step : steps) {
    rig.wheel(step.delta, ScrollAxis::Vertical, true);
    EXPECT_EQ(rig.model.view().zoomFactor(), step.zoom);
    EXPECT_NE(rig.platform.caption.find(std::to_string(int(step.zoom * 100)) + "%"),
              std::string::npos);
    // Within the zoom's snapping grid of the point it started from.
    const Point now = rig.model.view().clientToCanvas(Point{400, 300});
    EXPECT_LE(std::max(std::abs(now.x - under.x), std::abs(now.y - under.y)), 4) << step.zoom;
  }
}

TEST(Wheel, AStrokeGoesOnUnderThePointerWithoutAGap) {
  WheelRig rig;
  rig.model.settings().n_pen_size = 1;
  rig.model.leftButtonDown(Point{300, 200});
  rig.model.pointerMoved(Point{400, 200});
  rig.wheel(-120);  // 30 pixels down: the canvas point under the pointer is 30 lower
  rig.model.pointerMoved(Point{400, 200});
  rig.model.pointerMoved(Point{500, 200});
  rig.model.leftButtonUp(Point{500, 200});
  const Point a = rig.model.view().clientToCanvas(Point{300, 200});
  for (int y = a.y - 30; y <= a.y; ++y)  // the stroke bridges the scroll
    EXPECT_EQ(rig.model.canvas().pixel(a.x + 100, y), 1) << y;
  EXPECT_EQ(rig.model.canvas().pixel(a.x + 150, a.y), 1);
  rig.model.runCommand(CommandId::Undo);
  EXPECT_TRUE(rig.model.canvas().isBlank());
}

}  // namespace
}  // namespace tenmark
