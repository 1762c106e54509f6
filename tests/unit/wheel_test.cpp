#include "canvas/wheel.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <random>
#include <utility>

#include "support/model_rig.h"

namespace tenmark {
namespace {

// Whatever pieces a turn comes in, the pixels scrolled and the zoom steps add up to what the
// whole turn is worth, rounded down, in both directions: nothing is lost or doubled, and a whole
// notch is one step whatever went before.
TEST(Wheel, FractionsOfANotchAddUpWithNothingLostOrDoubled) {
  std::mt19937 rng(5);
  for (const int lines : {1, 3, 7, kWheelScreen}) {
    WheelAccumulator wheel;
    WheelTurn turn;
    turn.linesPerNotch = lines;
    const std::int64_t perNotch = lines == kWheelScreen ? 583 : lines * 10;
    std::int64_t turned = 0;
    std::int64_t scrolled = 0;
    std::int64_t zoomed = 0;
    for (int i = 0; i < 500; ++i) {
      turn.delta = int(rng() % 241) - 120 + (i % 50 < 25 ? 7 : -7);
      turned += turn.delta;
      scrolled += wheel.scrollPixels(turn, 10, 583);
      zoomed += wheel.zoomNotches(turn.delta);
      EXPECT_EQ(scrolled,
                std::int64_t(std::floor(-double(turned) * double(perNotch) / kWheelNotch)))
          << lines << " after " << i;
      EXPECT_EQ(zoomed, std::int64_t(std::floor(double(turned) / kWheelNotch))) << i;
    }
  }
  WheelAccumulator wheel;
  EXPECT_EQ(wheel.zoomNotches(60), 0);
  EXPECT_EQ(wheel.zoomNotches(-120), -1);
  EXPECT_EQ(wheel.zoomNotches(120), 1);
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

// Runs of Ctrl + wheel notches with the pointer in one place, from every zoom, from both ends
// of the scroll ranges and from between them: every zoom a run comes back to shows the view it
// showed the first time (the run's start included), a notch past either end of the zoom range
// moves nothing, and wherever a bar leaves room the canvas point first under the pointer is in
// the pointer's pixel.
TEST(Wheel, CtrlZoomRunsComeBackToTheSameViewWithThePointUnderThePointer) {
  std::mt19937 rng(11);
  const auto pick = [&](int n) { return int(rng() % unsigned(n)); };
  for (const double zoom : {0.25, 0.5, 0.75, 1.0, 1.25, 1.5, 1.75, 2.0}) {
    for (const int start : {0, 1 << 24, -1}) {
      WheelRig rig;
      rig.zoomTo(zoom);
      for (ScrollAxis axis : {ScrollAxis::Horizontal, ScrollAxis::Vertical})
        rig.model.onScroll(axis, ScrollRequest::ThumbTrack, start >= 0 ? start : pick(3000));
      const Point client = rig.platform.clientSize();
      const Point pointer{pick(client.x), pick(client.y)};
      // The canvas point in the middle of the pointer's pixel, per axis.
      const auto under = [&] {
        const Rect& v = rig.platform.viewWindow;
        const Point at = rig.scroll();
        const double z = rig.model.view().zoomFactor();
        return std::array<double, 2>{(at.x + pointer.x - v.x + 0.5) / z,
                                     (at.y + pointer.y - v.y + 0.5) / z};
      };
      const std::array<double, 2> held = under();
      std::map<double, std::pair<Point, Rect>> seen{
          {zoom, {rig.scroll(), rig.platform.viewWindow}}};
      double now = zoom;
      for (int step = 0; step < 80 || now != zoom; ++step) {
        const int notches = step < 80 ? pick(7) - 3 : now < zoom ? 1 : -1;
        const Point before = rig.scroll();
        rig.model.mouseWheel(WheelTurn{ScrollAxis::Vertical, notches * 120, true, pointer, 3});
        const double z = rig.model.view().zoomFactor();
        SCOPED_TRACE(testing::Message()
                     << "from " << zoom << " at " << start << " step " << step << " to " << z);
        if (z == now) {
          ASSERT_EQ(rig.scroll(), before);
        }
        now = z;
        const auto first = seen.emplace(z, std::pair{rig.scroll(), rig.platform.viewWindow});
        ASSERT_EQ(rig.scroll(), first.first->second.first);
        ASSERT_EQ(rig.platform.viewWindow, first.first->second.second);
        for (int i = 0; i < 2; ++i) {
          const ScrollBar& bar = rig.platform.bars[i];
          if (bar.position > 0 && bar.position < bar.largestPosition()) {
            ASSERT_NEAR(under()[i], held[i], 0.5 / z + 1e-9) << i;
          }
        }
      }
    }
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
