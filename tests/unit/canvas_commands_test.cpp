#include <gtest/gtest.h>

#include "resources/resource_ids.h"
#include "support/model_rig.h"
#include "support/shortcut_inputs.h"
#include "support/test_surfaces.h"

namespace tenmark {
namespace {

TEST(CanvasCommands, MirrorsAreUndoStepsAndMarkThePicture) {
  ModelRig rig(64, 48);
  rig.model.canvas().setPixel(0, 0, 1);
  rig.model.resetUndoRing();
  rig.model.menuCommand(ID_CANVAS_VMIRROR);
  EXPECT_EQ(indicesOf(rig.model.canvas())[63], 1);
  EXPECT_EQ(rig.model.canvas().pixel(0, 0), 0);
  EXPECT_TRUE(rig.model.modified());
  rig.model.runCommand(CommandId::Undo);
  EXPECT_EQ(rig.model.canvas().pixel(0, 0), 1);

  rig.stroke({{3, 5}, {20, 9}});
  const MonoBitmap first = copyOf(rig.model.canvas());
  rig.model.runCommand(CommandId::HMirror);
  rig.model.runCommand(CommandId::VMirror);
  const MonoBitmap both = copyOf(rig.model.canvas());
  EXPECT_EQ(rig.model.canvas().pixel(63 - 3, 47 - 5), 1);
  rig.model.runCommand(CommandId::Undo);
  rig.model.runCommand(CommandId::Undo);
  EXPECT_TRUE(samePicture(rig.model.canvas(), first));
  rig.model.runCommand(CommandId::Redo);
  rig.model.runCommand(CommandId::Redo);
  EXPECT_TRUE(samePicture(rig.model.canvas(), both));
}

TEST(CanvasCommands, ClearLeavesTheModifiedMarkAndItsUndoSetsIt) {
  ModelRig rig;
  rig.stroke({{3, 5}, {200, 90}});
  rig.model.setModified(false);
  const MonoBitmap drawn = copyOf(rig.model.canvas());
  rig.model.runCommand(CommandId::Clear);
  EXPECT_TRUE(rig.model.canvas().isBlank());
  EXPECT_FALSE(rig.model.modified());
  rig.model.runCommand(CommandId::Undo);
  EXPECT_TRUE(samePicture(rig.model.canvas(), drawn));
  EXPECT_TRUE(rig.model.modified());
}

TEST(CanvasCommands, ResizingKeepsTheTopLeftAndOlderRecordsStayInsideTheCanvas) {
  ModelRig rig(640, 480);
  rig.stroke({{600, 10}, {630, 470}});  // only in the right half
  rig.stroke({{10, 10}, {300, 10}});
  ASSERT_TRUE(rig.model.resizeCanvas(320, 480, kPaper, kInk));
  EXPECT_EQ(rig.platform.fittedTo, (Point{320, 480}));
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
  // A size that cannot be made leaves everything as it was.
  rig.stroke({{1, 1}, {50, 40}});
  const MonoBitmap before = copyOf(rig.model.canvas());
  EXPECT_FALSE(rig.model.resizeCanvas(0, 50, kPaper, kInk));
  EXPECT_TRUE(samePicture(rig.model.canvas(), before));
}

TEST(CanvasCommands, MenuLabelsShowTheBoundKeysAfterATab) {
  ModelRig rig;
  rig.model.settings().keyBindings[CommandId::Redo] = kRightClick;
  rig.model.updateMenuLabels();
  EXPECT_EQ(rig.platform.menuLabels.size(), 16u);
  EXPECT_EQ(rig.platform.menuLabels[ID_EDIT_COPY], "コピー(&C)\tCtrl+C");
  EXPECT_EQ(rig.platform.menuLabels[ID_FILE_SAVE_AS], "名前を付けて保存(&A)\t");  // unbound
  EXPECT_EQ(rig.platform.menuLabels[ID_EDIT_REDO], "やり直す(&R)\t右クリック");
  EXPECT_EQ(rig.platform.menuLabels[ID_ZOOM_NOMAL].substr(
                rig.platform.menuLabels[ID_ZOOM_NOMAL].size() - 2),
            "\t3");
}

TEST(CanvasCommands, WindowCommandsReachThePlatform) {
  ModelRig rig(300, 200);
  rig.platform.keysDown = {'P'};
  EXPECT_TRUE(rig.model.dispatchShortcut(0));
  EXPECT_EQ(rig.platform.popupMenus, 1);
  EXPECT_TRUE(rig.model.menuCommand(ID_CANVAS_RESIZE));
  EXPECT_EQ(rig.platform.fittedTo, (Point{300, 200}));
  rig.stroke({{1, 1}, {50, 40}});
  rig.model.settings().keyBindings[CommandId::NoSaveExit] = 0x1B;  // Escape
  rig.platform.keysDown = {0x1B};
  EXPECT_TRUE(rig.model.dispatchShortcut(0));  // consumed: the dialog never sees it
  EXPECT_TRUE(rig.platform.closed);
  EXPECT_FALSE(rig.model.modified());
}

}  // namespace
}  // namespace tenmark
