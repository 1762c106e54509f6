#include <gtest/gtest.h>

#include "app/caption.h"
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

// The random session test proves the greyed items, the mark of a change, and that nothing to
// take back changes nothing.
TEST(Dispatch, UndoAndRedoTakeTheirKeysAndMenuItems) {
  ModelRig rig;
  rig.platform.keysDown = {'Z'};
  rig.stroke({{10, 10}, {40, 10}});
  EXPECT_TRUE(rig.model.dispatchShortcut(0));
  EXPECT_EQ(rig.model.canvas().pixel(20, 10), 0);
  EXPECT_TRUE(rig.model.menuCommand(ID_EDIT_REDO));
  EXPECT_EQ(rig.model.canvas().pixel(20, 10), 1);
}

TEST(Dispatch, TogglesFlipTheirOption) {
  ModelRig rig;
  KeyBindings& keys = rig.model.settings().keyBindings;
  keys[CommandId::Alpha] = 'A';
  keys[CommandId::ShowMenu] = 'W';
  for (int key : {'A', 'W'}) {
    rig.platform.keysDown = {key};
    EXPECT_TRUE(rig.model.dispatchShortcut(0));
  }
  EXPECT_EQ(rig.model.settings().n_set_alpha, 1);
  EXPECT_EQ(rig.platform.translucencyOn, 1);
  EXPECT_EQ(rig.platform.translucencyAlpha, 212);
  EXPECT_FALSE(rig.platform.menuBarShown);
  // And back.
  for (int key : {'A', 'W'}) {
    rig.platform.keysDown = {key};
    EXPECT_TRUE(rig.model.dispatchShortcut(0));
  }
  EXPECT_EQ((Point{rig.model.settings().n_set_alpha, rig.platform.translucencyOn}), (Point{0, 0}));
  EXPECT_TRUE(rig.platform.menuBarShown);
}

}  // namespace
}  // namespace tenmark
