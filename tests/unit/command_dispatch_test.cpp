#include <gtest/gtest.h>

#include "app/caption.h"
#include "app/window_fit.h"
#include "resources/resource_ids.h"
#include "shortcuts/virtual_keys.h"
#include "support/model_rig.h"

namespace tenmark {
namespace {

// The caption's layout; the model's captions are read through the window in the end-to-end
// tests.
TEST(Caption, ShowsNameModifiedMarkZoomAndSizes) {
  EXPECT_EQ(captionText({"Tenmark 1.4.4c", "20070115_083000", true, 0.25, 30, 1}),
            "Tenmark 1.4.4c - 20070115_083000 *  [倍率:25%  ペン:30  消しゴム:1]");
}

// Which binding matches is the dispatch order's test; here the model acts on the match.
TEST(Dispatch, HeldToolBindingsRefreshTheCursorOverTheClientAndOnlyHandAndMoveConsume) {
  ModelRig rig;
  rig.platform.pointer = Point{10, 10};
  rig.platform.keysDown = {vk::kControl};
  EXPECT_FALSE(rig.model.dispatchShortcut(0));  // Eraser: Ctrl alone goes on to the dialog
  EXPECT_EQ(rig.platform.cursor, ToolMode::Eraser);
  rig.platform.keysDown = {vk::kControl, vk::kSpace};
  EXPECT_TRUE(rig.model.dispatchShortcut(0));
  EXPECT_EQ(rig.platform.cursor, ToolMode::Move);
  rig.platform.pointer = Point{-1, 10};
  rig.platform.keysDown = {vk::kSpace};
  EXPECT_TRUE(rig.model.dispatchShortcut(0));
  EXPECT_EQ(rig.platform.cursor, ToolMode::Move);  // outside the client area: left alone
}

TEST(Dispatch, SizeCommandsStepWithinOneToThirtyAndAreConsumedAtTheLimits) {
  ModelRig rig;
  KeyBindings& keys = rig.model.settings().keyBindings;
  keys[CommandId::Brush_P] = 'U';
  keys[CommandId::Brush_M] = 'I';
  keys[CommandId::Erase_P] = 'J';
  rig.model.settings().n_pen_size = 29;
  rig.platform.keysDown = {'U'};
  for (int repeat = 0; repeat < 3; ++repeat) EXPECT_TRUE(rig.model.dispatchShortcut(0));
  EXPECT_EQ(rig.model.settings().n_pen_size, 30);
  EXPECT_NE(rig.platform.caption.find("ペン:30"), std::string::npos);
  rig.model.settings().n_pen_size = 1;
  rig.platform.keysDown = {'I'};
  EXPECT_TRUE(rig.model.dispatchShortcut(0));
  EXPECT_EQ(rig.model.settings().n_pen_size, 1);
  rig.platform.keysDown = {'J'};
  EXPECT_TRUE(rig.model.dispatchShortcut(0));
  EXPECT_EQ(rig.model.settings().n_erase_size, 9);
}

TEST(Dispatch, ZoomKeysAndMenuItemsStopAtTheLimits) {
  ModelRig rig;
  rig.platform.keysDown = {'1'};
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(rig.model.dispatchShortcut(0));
  EXPECT_EQ(rig.model.view().zoomFactor(), 2.0);
  EXPECT_NE(rig.platform.caption.find("200%"), std::string::npos);
  EXPECT_TRUE(rig.model.menuCommand(ID_ZOOM_NOMAL));
  EXPECT_EQ(rig.model.view().zoomFactor(), 1.0);
  rig.platform.keysDown = {'2'};
  for (int i = 0; i < 5; ++i) rig.model.dispatchShortcut(0);
  EXPECT_EQ(rig.model.view().zoomFactor(), 0.25);
  EXPECT_FALSE(rig.model.menuCommand(12345));
}

// The random session test proves that Redo is greyed exactly when there is nothing to redo, and
// Undo whenever there is nothing to undo.
TEST(Dispatch, UndoAndRedoAlwaysMarkThePictureAndUndoIsEnabledAgain) {
  ModelRig rig;
  rig.platform.keysDown = {'Z'};
  EXPECT_TRUE(rig.model.dispatchShortcut(0));  // nothing to undo: still marks
  EXPECT_TRUE(rig.model.modified());
  rig.stroke({{10, 10}, {40, 10}});
  rig.model.dispatchShortcut(0);
  EXPECT_EQ(rig.model.canvas().pixel(20, 10), 0);
  EXPECT_TRUE(rig.model.menuCommand(ID_EDIT_REDO));
  EXPECT_EQ(rig.model.canvas().pixel(20, 10), 1);
  EXPECT_TRUE(rig.platform.menuEnabled[ID_EDIT_UNDO]);
}

TEST(Dispatch, TogglesFlipTheirOption) {
  ModelRig rig;
  KeyBindings& keys = rig.model.settings().keyBindings;
  keys[CommandId::SetPresser] = 'Q';
  keys[CommandId::Alpha] = 'A';
  keys[CommandId::ShowMenu] = 'W';
  for (int key : {'Q', 'A', 'W'}) {
    rig.platform.keysDown = {key};
    EXPECT_TRUE(rig.model.dispatchShortcut(0));
  }
  EXPECT_EQ(rig.model.settings().b_PenPressure, 1);
  EXPECT_EQ(rig.model.settings().n_set_alpha, 1);
  EXPECT_EQ(rig.platform.translucencyOn, 1);
  EXPECT_EQ(rig.platform.translucencyAlpha, 212);
  EXPECT_FALSE(rig.platform.menuBarShown);
}

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

TEST(WindowFit, AStoredPlacementOffEveryMonitorComesBackOntoTheNearest) {
  // A monitor at the left and a smaller one at its right, 200 pixels lower.
  const std::vector<Rect> areas{{0, 0, 1000, 740}, {1000, 200, 800, 560}};
  const struct {
    Rect stored;
    Rect placed;
  } cases[] = {
      {{100, 100, 400, 300}, {100, 100, 400, 300}},    // on the first: as it is
      {{900, 600, 400, 300}, {900, 600, 400, 300}},    // across both: as it is
      {{990, -290, 400, 300}, {990, -290, 400, 300}},  // a corner still shows
      {{2500, 300, 400, 300}, {1400, 300, 400, 300}},  // right of the second: into it
      {{1200, 900, 400, 300}, {1200, 460, 400, 300}},  // below the second
      {{1000, -400, 400, 300}, {600, 0, 400, 300}},    // above the seam: nearer the first
      {{-3000, 500, 1200, 900}, {0, 0, 1000, 740}},    // far left and larger: all of the first
      {{2147483000, 2147483000, 600, 600}, {400, 140, 600, 600}},  // numbers near the limit
  };
  for (const auto& c : cases)
    EXPECT_EQ(storedPlacementOnScreen(c.stored, areas), c.placed) << c.stored.x;
  EXPECT_EQ(storedPlacementOnScreen({-5000, 0, 100, 100}, {}), (Rect{-5000, 0, 100, 100}));
}

}  // namespace
}  // namespace tenmark
