// The random session test proves that every command here is one undo step and marks what it
// changes; these are what each command does.
#include <gtest/gtest.h>

#include "resources/resource_ids.h"
#include "support/model_rig.h"
#include "support/test_surfaces.h"

namespace tenmark {
namespace {

TEST(CanvasCommands, VMirrorFlipsLeftToRightAndHMirrorTopToBottom) {
  ModelRig rig(64, 48);
  rig.model.canvas().setPixel(0, 0, 1);
  rig.model.menuCommand(ID_CANVAS_VMIRROR);
  EXPECT_EQ(indicesOf(rig.model.canvas())[63], 1);
  rig.model.menuCommand(ID_CANVAS_HMIRROR);
  EXPECT_EQ(indicesOf(rig.model.canvas()).back(), 1);
  EXPECT_EQ(rig.model.canvas().pixel(63, 0), 0);
}

TEST(CanvasCommands, ClearLeavesTheModifiedMark) {
  ModelRig rig;
  rig.stroke({{3, 5}, {200, 90}});
  rig.model.setModified(false);
  rig.model.runCommand(CommandId::Clear);
  EXPECT_TRUE(rig.model.canvas().isBlank());
  EXPECT_FALSE(rig.model.modified());
}

TEST(CanvasCommands, ResizingKeepsTheTopLeftAndOlderRecordsStayInsideTheCanvas) {
  ModelRig rig(640, 480);
  rig.stroke({{600, 10}, {630, 470}});  // only in the right half
  // Ended by a right-click command that leaves its record pending, for the resize to take in.
  rig.model.settings().keyBindings[CommandId::ZoomNomal] = kRightClick;
  rig.model.leftButtonDown(rig.at(10, 10));
  rig.model.pointerMoved(rig.at(300, 10));
  rig.model.rightButtonDown(rig.at(300, 10));
  ASSERT_TRUE(rig.model.undoRing().recordPending());
  ASSERT_TRUE(rig.model.resizeCanvas(320, 480, kPaper, kInk));
  EXPECT_EQ(rig.model.canvas().pixel(100, 10), 1);
  ASSERT_TRUE(rig.model.resizeCanvas(640, 480, 0x123456, kInk));
  EXPECT_EQ(rig.model.canvas().getColor(0), 0x123456u);
  EXPECT_EQ(rig.model.canvas().pixel(100, 10), 1);
  EXPECT_EQ(rig.model.canvas().pixel(615, 240), 0);  // cut off by the shrink, paper now
  // Not an undo step: the two undos take the strokes back, within the canvas.
  ASSERT_TRUE(rig.model.resizeCanvas(100, 50, kPaper, kInk));
  rig.model.runCommand(CommandId::Undo);
  rig.model.runCommand(CommandId::Undo);
  EXPECT_TRUE(rig.model.canvas().isBlank());
  EXPECT_FALSE(rig.model.undoRing().canUndo());
  rig.platform.fittedTo = Point{};
  EXPECT_TRUE(rig.model.menuCommand(ID_CANVAS_RESIZE));  // the window fits the canvas again
  EXPECT_EQ(rig.platform.fittedTo, (Point{100, 50}));
}

}  // namespace
}  // namespace tenmark
