#include "app/window_fit.h"

#include <gtest/gtest.h>

#include <vector>

namespace tenmark {
namespace {

// A work area with task bars at the left and the top: it does not start at 0.
constexpr Rect kWorkArea{40, 30, 1000, 760};

TEST(WindowFit, KeepsTheWholeWindowInTheWorkAreaMovedUpOrLeftFirstThenSmaller) {
  const struct {
    Point outer;
    Rect current;
    Rect fitted;
  } cases[] = {
      {{500, 400}, {100, 50, 300, 300}, {100, 50, 500, 400}},    // the corner stays
      {{500, 400}, {-30, -5, 300, 300}, {40, 30, 500, 400}},     // above and left: moved in
      {{500, 400}, {700, 500, 300, 300}, {540, 390, 500, 400}},  // low and right: moved up, left
      {{1500, 400}, {100, 50, 300, 300}, {40, 50, 1000, 400}},   // too wide: the full width
      {{500, 900}, {100, 50, 300, 300}, {100, 30, 500, 760}},    // too tall: the full height
      {{500, 900}, {100, 700, 300, 300}, {100, 30, 500, 760}},   // too tall and low
      {{1000, 760}, {900, 700, 300, 300}, {40, 30, 1000, 760}},  // exactly the work area
  };
  for (const auto& c : cases)
    EXPECT_EQ(fittedWindowRect({kWorkArea, c.outer, c.current}), c.fitted) << c.current.x;
}

TEST(WindowFit, AClientAreaLeftShortByAWrappedMenuBarGrowsTheWindowWithinTheWorkArea) {
  const WindowFitInput fit{kWorkArea, {200, 150}, {100, 50, 300, 300}};
  const Rect placed = fittedWindowRect(fit);
  const struct {
    Point shortfall;
    Rect refitted;
  } cases[] = {
      {{0, 19}, {100, 50, 200, 169}},   // a second line of menu
      {{0, 0}, placed},                 // nothing missing
      {{0, -5}, placed},                // more than asked: left as it is
      {{0, 700}, {100, 30, 200, 760}},  // as much as the work area allows
      {{30, 38}, {100, 50, 230, 188}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fittedWindowRect(grownByShortfall(fit, placed, c.shortfall)), c.refitted)
        << c.shortfall.y;
}

TEST(WindowFit, TheFirstWindowIsCentredInTheWorkAreaWithItsCaptionOnScreen) {
  EXPECT_EQ(centredIn(kWorkArea, {500, 400}), (Rect{290, 210, 500, 400}));
  EXPECT_EQ(centredIn(kWorkArea, {500, 775}), (Rect{290, 30, 500, 760}));  // taller: from the top
  EXPECT_EQ(centredIn(kWorkArea, {1200, 900}), kWorkArea);
}

// A stored placement comes back wholly in the work area that holds most of it, or the nearest,
// and a window left there is stored as the same screen rectangle, however far the work area's
// corner lies from the monitor's (the system reports the normal position from that corner).
TEST(WindowFit, AStoredPlacementComesBackWhollyInAWorkAreaAndStaysWhereItWasLeft) {
  // A monitor at the left with the task bar at its top, and a smaller one at its right, 200
  // pixels lower, with the task bar at its left.
  const struct {
    Rect monitor;
    Rect work;
  } monitors[] = {{{0, 0, 1000, 768}, {0, 28, 1000, 740}},
                  {{1000, 200, 840, 560}, {1040, 200, 800, 560}}};
  const std::vector<Rect> areas{monitors[0].work, monitors[1].work};
  const struct {
    Rect stored;
    Rect placed;
    int monitor;    // where it is placed
    Rect reported;  // its normal position as the system reports it there
  } cases[] = {
      {{100, 100, 400, 300}, {100, 100, 400, 300}, 0, {100, 72, 400, 300}},      // as it is
      {{1100, 300, 400, 300}, {1100, 300, 400, 300}, 1, {1060, 300, 400, 300}},  // as it is
      {{100, 10, 400, 300}, {100, 28, 400, 300}, 0, {100, 0, 400, 300}},    // under the task bar
      {{100, -500, 400, 700}, {100, 28, 400, 700}, 0, {100, 0, 400, 700}},  // caption far above
      {{-20, 10, 2400, 1300}, {0, 28, 1000, 740}, 0, {0, 0, 1000, 740}},    // larger than all
      {{900, 600, 400, 300}, {1040, 460, 400, 300}, 1, {1000, 460, 400, 300}},   // mostly right
      {{990, -290, 400, 300}, {600, 28, 400, 300}, 0, {600, 0, 400, 300}},       // just above
      {{2500, 300, 400, 300}, {1440, 300, 400, 300}, 1, {1400, 300, 400, 300}},  // far right
      {{1200, 900, 400, 300}, {1200, 460, 400, 300}, 1, {1160, 460, 400, 300}},  // below
      {{1000, -400, 400, 300}, {600, 28, 400, 300}, 0, {600, 0, 400, 300}},      // above the seam
      {{-3000, 500, 1200, 900}, {0, 28, 1000, 740}, 0, {0, 0, 1000, 740}},       // far left, larger
      {{2147483000, 2147483000, 600, 600}, {400, 168, 600, 600}, 0, {400, 140, 600, 600}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(storedPlacementOnScreen(c.stored, areas), c.placed) << c.stored.x;
    const auto& m = monitors[c.monitor];
    const Rect stored = screenFromWorkspace(c.reported, m.monitor, m.work);
    EXPECT_EQ(stored, c.placed) << c.stored.x;
    EXPECT_EQ(storedPlacementOnScreen(stored, areas), c.placed) << c.stored.x;
  }
  EXPECT_EQ(storedPlacementOnScreen({-5000, 0, 100, 100}, {}), (Rect{-5000, 0, 100, 100}));
}

}  // namespace
}  // namespace tenmark
