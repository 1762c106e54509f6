// Presses of the mouse buttons. The random session test proves the rules that every sequence
// keeps (one undo step a press, the picture marked, the capture); these are what it cannot see.
#include <gtest/gtest.h>

#include "shortcuts/virtual_keys.h"
#include "support/model_rig.h"
#include "support/shortcut_inputs.h"
#include "support/temp_folder.h"
#include "support/test_surfaces.h"

namespace tenmark {
namespace {

// Pen size 5, eraser size 12; the tablet's tests take the width change to the limits.
TEST(Strokes, WidthFollowsPressureOnlyWhenSensingIsOn) {
  const struct {
    ToolMode tool;
    bool pressure;
    int change;
    int width;
  } cases[] = {{ToolMode::Pen, false, 40, 5},
               {ToolMode::Pen, true, 3, 8},
               {ToolMode::Eraser, false, 0, 12},
               {ToolMode::Eraser, true, -11, 1}};
  for (const auto& c : cases)
    EXPECT_EQ(strokeWidth(c.tool, 5, 12, c.pressure, c.change), c.width) << c.change;
}

TEST(Strokes, TheRightButtonErasesAndTheLeftButtonCannotJoinItsPress) {
  ModelRig rig;
  rig.model.settings().n_pen_size = 6;
  rig.stroke({{20, 50}, {200, 50}});
  rig.model.rightButtonDown(rig.at(100, 50));
  EXPECT_EQ(rig.platform.cursor, ToolMode::Eraser);
  rig.model.leftButtonDown(rig.at(150, 50));  // ignored: the right button holds the press
  rig.model.rightButtonUp(rig.at(100, 50));
  EXPECT_EQ(rig.model.canvas().pixel(100, 50), 0);
  EXPECT_EQ(rig.model.canvas().pixel(150, 50), 1);
}

TEST(Strokes, ASecondButtonStartsThePressAgainFromItsPointAsOneUndoStep) {
  ModelRig rig;
  rig.model.leftButtonDown(rig.at(10, 10));
  rig.model.pointerMoved(rig.at(60, 10));
  rig.model.rightButtonDown(rig.at(100, 100));
  EXPECT_EQ(rig.model.toolMode(), ToolMode::Pen);
  EXPECT_EQ(rig.model.canvas().pixel(100, 100), 1);
  EXPECT_EQ(rig.model.canvas().pixel(80, 50), 0);  // started again, not joined
  rig.model.leftButtonUp(rig.at(100, 100));
  // The same for a Move drag: the picture before the first press comes back.
  const MonoBitmap before = copyOf(rig.model.canvas());
  rig.platform.keysDown = {vk::kControl, vk::kSpace};
  rig.model.leftButtonDown(rig.at(50, 50));
  rig.platform.keysDown.clear();
  rig.model.pointerMoved(rig.at(50, 70));
  rig.model.rightButtonDown(rig.at(50, 70));
  rig.model.pointerMoved(rig.at(90, 70));
  rig.model.rightButtonUp(rig.at(90, 70));
  rig.model.runCommand(CommandId::Undo);
  EXPECT_TRUE(samePicture(rig.model.canvas(), before));
}

TEST(Strokes, AStrokeEndedByARightClickCommandJoinsTheNextUndoStepWhole) {
  ModelRig rig;
  rig.model.settings().keyBindings[CommandId::SetPresser] = kRightClick;
  rig.model.leftButtonDown(rig.at(10, 10));
  rig.model.pointerMoved(rig.at(50, 10));
  rig.model.rightButtonDown(rig.at(0, 0));
  EXPECT_EQ(rig.model.settings().b_PenPressure, 1);  // the command ran
  EXPECT_FALSE(rig.model.pointerCaptured());
  EXPECT_EQ(rig.model.canvas().pixel(0, 0), 0);  // and no eraser stroke began
  // Undoing the next stroke, which crosses it, takes back all of it, never a torn part.
  rig.stroke({{30, 5}, {30, 15}});
  rig.model.runCommand(CommandId::Undo);
  EXPECT_TRUE(rig.model.canvas().isBlank());
  EXPECT_FALSE(rig.model.undoRing().canUndo());
}

// The default bindings' tools are the dispatch and Hand tests'.
TEST(Tools, HeldBindingsChooseMoveThenHandThenEraser) {
  KeyBindings bindings = defaultBindings();
  const auto tool = [&](std::set<int> keys) {
    return selectTool(false, ToolMode::Pen, false, bindings, held(std::move(keys)));
  };
  EXPECT_EQ(tool({vk::kShift, vk::kSpace}), ToolMode::Pen);  // modifiers held must be bound
  bindings[CommandId::Hand] = kCtrlFlag | vk::kSpace;        // Move comes first when both are held
  EXPECT_EQ(tool({vk::kControl, vk::kSpace}), ToolMode::Move);
  bindings[CommandId::Eraser] = kCtrlFlag | vk::kSpace;  // and Hand before Eraser
  bindings[CommandId::Move] = 0;
  EXPECT_EQ(tool({vk::kControl, vk::kSpace}), ToolMode::Hand);
  // The right button or the eraser end choose the eraser over any held binding; during a press
  // the tool stays (the second button's test).
  EXPECT_EQ(selectTool(false, ToolMode::Hand, true, bindings, held({vk::kControl, vk::kSpace})),
            ToolMode::Eraser);
}

TEST(Tools, SpaceHeldTurnsADragIntoScrollingUntilTheButtonComesUp) {
  ModelRig rig(2000, 1500);
  rig.platform.keysDown = {vk::kSpace};
  rig.model.leftButtonDown(Point{400, 300});
  EXPECT_EQ(rig.model.toolMode(), ToolMode::Hand);
  rig.platform.keysDown.clear();
  rig.model.pointerMoved(Point{300, 250});
  EXPECT_EQ(rig.platform.bars[0].position, 100);
  EXPECT_EQ(rig.platform.bars[1].position, 50);
  rig.model.pointerMoved(Point{2000, 2000});  // clamped at the start
  EXPECT_EQ(rig.platform.bars[0].position, 0);
  rig.model.pointerMoved(Point{-5000, -5000});  // and at one pixel past the far edge
  EXPECT_EQ(rig.platform.bars[0].position, 2000 - (800 - 17) + 1);
  EXPECT_EQ(rig.platform.bars[1].position, 1500 - (600 - 17) + 1);
  rig.model.leftButtonUp(Point{0, 0});
  EXPECT_TRUE(rig.model.canvas().isBlank());
  EXPECT_FALSE(rig.model.undoRing().canUndo());
}

TEST(Tools, AMoveDragPastTheEdgeAndBackLosesNothing) {
  ModelRig rig;
  rig.model.canvas().setPixel(5, 5, 1);
  rig.model.resetUndoRing();
  rig.platform.keysDown = {vk::kControl, vk::kSpace};
  rig.model.leftButtonDown(Point{400, 300});
  EXPECT_EQ(rig.model.toolMode(), ToolMode::Move);
  rig.model.pointerMoved(Point{390, 300});
  EXPECT_TRUE(rig.model.canvas().isBlank());
  rig.model.pointerMoved(Point{403, 302});
  rig.model.leftButtonUp(Point{403, 302});
  EXPECT_EQ(rig.model.canvas().pixel(8, 7), 1);
  rig.model.canvas().setPixel(8, 7, 0);  // and nothing else
  EXPECT_TRUE(rig.model.canvas().isBlank());
}

TEST(Pointer, PressesOutsideTheClientAreRefusedAndInkOutsideTheCanvasIsDropped) {
  ModelRig rig;  // 640 x 480 centred in 800 x 600: the view starts at (80, 60)
  EXPECT_FALSE(rig.model.pointerDown(Point{-1, 5}, 0));
  EXPECT_FALSE(rig.model.pointerDown(Point{800, 5}, 0));
  rig.stroke({{-20, 10}, {-5, 10}});  // in the margin left of the canvas
  EXPECT_TRUE(rig.model.canvas().isBlank());
}

// A button-up during a pen stroke is the tablet's tests'.
TEST(Pointer, TheMouseIsIgnoredWhileTheTabletPenIsNear) {
  ModelRig rig;
  rig.model.leftButtonDown(rig.at(10, 10));
  rig.model.tablet().inProximity = true;  // the pen comes near during a mouse press
  rig.model.pointerMoved(rig.at(60, 10));
  EXPECT_EQ(rig.model.canvas().pixel(40, 10), 0);
  rig.model.leftButtonUp(rig.at(60, 10));
  rig.model.leftButtonDown(rig.at(10, 30));
  EXPECT_FALSE(rig.model.pointerCaptured());
}

// Saving only reads the picture: the press goes on, and what it draws afterwards marks the
// picture again.
class PressAcrossASave : public TempFolderTest {};

TEST_F(PressAcrossASave, DrawingOnAfterASaveMarksThePictureAgain) {
  ModelRig rig;
  const std::string file = path("press-save.png");
  ASSERT_TRUE(rig.model.canvas().savePng(file));
  rig.model.openImageFile(file);
  rig.model.leftButtonDown(rig.at(10, 10));
  rig.model.runCommand(CommandId::Save);
  EXPECT_FALSE(rig.model.modified());
  rig.model.pointerMoved(rig.at(60, 10));
  rig.model.leftButtonUp(rig.at(60, 10));
  EXPECT_TRUE(rig.model.modified());
  MonoBitmap saved;
  ASSERT_EQ(saved.loadPng(file), PictureFault::None);
  EXPECT_EQ(saved.pixel(10, 10), 1);
  EXPECT_EQ(saved.pixel(40, 10), 0);
}

// A Move press, then a mirror: the drag ends first, with its record, so that later moves cannot
// paste the buffer of the picture as it was at the press.
TEST(PressInProgress, ChangingThePictureEndsThePressWithItsRecord) {
  ModelRig rig;
  rig.stroke({{10, 10}, {40, 10}});
  rig.platform.keysDown = {vk::kControl, vk::kSpace};
  rig.model.leftButtonDown(rig.at(100, 100));
  rig.platform.keysDown.clear();
  rig.model.pointerMoved(rig.at(110, 100));
  const MonoBitmap moved = copyOf(rig.model.canvas());
  rig.model.runCommand(CommandId::VMirror);
  EXPECT_FALSE(rig.model.pointerCaptured());
  const MonoBitmap mirrored = copyOf(rig.model.canvas());
  rig.model.pointerMoved(rig.at(200, 150));
  rig.model.leftButtonUp(rig.at(200, 150));
  EXPECT_TRUE(samePicture(rig.model.canvas(), mirrored));
  rig.model.runCommand(CommandId::Undo);
  EXPECT_TRUE(samePicture(rig.model.canvas(), moved));
  rig.model.runCommand(CommandId::Undo);
  EXPECT_EQ(rig.model.canvas().pixel(20, 10), 1);
  EXPECT_EQ(rig.model.canvas().pixel(30, 10), 1);
}

TEST(PressInProgress, ARecordFarOutsideTheCanvasIsClippedAndUndoes) {
  ModelRig rig(200, 200, Point{400, 400});
  rig.zoomTo(0.25);  // client steps are four canvas pixels
  rig.model.leftButtonDown(rig.at(20, 20));
  rig.model.pointerMoved(Point{-30000, -30000});
  ASSERT_LT(rig.model.undoRing().pendingRect().left, -70000);
  rig.model.leftButtonUp(Point{-30000, -30000});
  ASSERT_FALSE(rig.model.canvas().isBlank());
  rig.model.runCommand(CommandId::Undo);
  EXPECT_TRUE(rig.model.canvas().isBlank());
  rig.model.runCommand(CommandId::Redo);
  EXPECT_FALSE(rig.model.canvas().isBlank());
}

TEST(PressInProgress, AWholeCanvasChangeAfterAPressWithoutRecordUndoesToThePressesPixels) {
  ModelRig rig;
  rig.model.settings().keyBindings[CommandId::PopMenu] = kRightClick;
  rig.model.leftButtonDown(rig.at(30, 30));
  rig.model.pointerMoved(rig.at(90, 30));
  ASSERT_TRUE(rig.model.offerRightClick());  // the press ends without a record
  const MonoBitmap before = copyOf(rig.model.canvas());
  rig.model.runCommand(CommandId::HMirror);
  rig.model.runCommand(CommandId::Undo);
  EXPECT_TRUE(samePicture(rig.model.canvas(), before));
}

}  // namespace
}  // namespace tenmark
