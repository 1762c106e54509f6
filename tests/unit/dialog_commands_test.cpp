#include <gtest/gtest.h>

#include <tuple>

#include "resources/resource_ids.h"
#include "support/model_rig.h"
#include "support/test_surfaces.h"

namespace tenmark {
namespace {

// The dialog opens with what the window holds, and OK gives every value back: opened again, it
// shows what OK gave it, and OK unchanged changes nothing.
TEST(SettingsDialogCommand, EveryValueGoesToTheWindowAndComesBackUnchanged) {
  ModelRig rig(640, 480);
  rig.model.settings().n_alpha = 0;  // out of the slider's range: passed on as it is
  rig.model.menuCommand(ID_SETTINGS_CONFIG);
  ASSERT_TRUE(rig.platform.settingsShown);
  EXPECT_EQ(rig.platform.settingsShown->canvasWidth, 640);
  EXPECT_EQ(rig.platform.settingsShown->backgroundColor, kPaper);
  const Settings before = rig.model.settings();
  rig.platform.settingsAnswer = rig.platform.settingsShown;
  rig.model.runCommand(CommandId::Config);
  EXPECT_EQ(rig.model.settings(), before);
  EXPECT_EQ(rig.platform.fittedTo, (Point{-1, -1}));  // same size: no new canvas

  rig.model.setStandInCanvas(true);
  rig.stroke({{2, 3}, {100, 3}});
  // Every value other than the window's, in the dialog's order.
  const SettingsDialogValues v{320, 700, 0x112233, 0x445566, 0x778899, 1, "C:\\elsewhere", 0, 1, 0,
                               100, 1,   5,        30,       1,        4};
  rig.platform.settingsAnswer = v;
  rig.model.runCommand(CommandId::Config);
  const Settings& s = rig.model.settings();
  EXPECT_EQ(std::tuple(s.n_clnt_color, s.b_ClientDef, s.saveFolder, s.n_save_img, s.n_save_type),
            std::tuple(0x778899, 1, "C:\\elsewhere", 0, 1));
  EXPECT_EQ(std::tuple(s.b_IgnoreTabXY, s.n_erase_size, s.b_PenPressure, s.n_PenHardness),
            std::tuple(0, 30, 1, 4));
  const MonoBitmap& canvas = rig.model.canvas();
  EXPECT_EQ(std::tuple(canvas.width(), canvas.height(), canvas.getColor(0), canvas.getColor(1)),
            std::tuple(320, 700, 0x112233u, 0x445566u));
  EXPECT_EQ(canvas.pixel(50, 3), 1);  // the picture stays at the top left
  EXPECT_EQ(rig.platform.fittedTo, (Point{320, 700}));
  EXPECT_FALSE(rig.model.standInCanvas());  // a real canvas now: its size is kept at exit
  EXPECT_EQ((Point{rig.platform.translucencyOn, rig.platform.translucencyAlpha}), (Point{1, 100}));
  EXPECT_NE(rig.platform.caption.find(":5 "), std::string::npos);
  rig.platform.settingsAnswer.reset();
  rig.model.runCommand(CommandId::Config);
  EXPECT_EQ(rig.platform.settingsShown, v);
  // The undo ring goes on: the stroke can still be taken back.
  rig.model.runCommand(CommandId::Undo);
  EXPECT_TRUE(rig.model.canvas().isBlank());
}

// A whole-canvas step made in other colours gives back its pixels, not its colours.
TEST(SettingsDialogCommand, UndoOfAnEarlierMirrorKeepsTheNewPaperColour) {
  ModelRig rig(64, 48);
  rig.stroke({{2, 3}, {30, 3}});
  rig.model.runCommand(CommandId::VMirror);
  rig.model.runCommand(CommandId::Config);
  SettingsDialogValues v = *rig.platform.settingsShown;
  v.backgroundColor = 0x123456;
  rig.platform.settingsAnswer = v;
  rig.model.runCommand(CommandId::Config);
  rig.model.runCommand(CommandId::Undo);
  EXPECT_EQ(rig.model.canvas().pixel(10, 3), 1);
  EXPECT_EQ(rig.model.canvas().getColor(0), 0x123456u);
}

TEST(SettingsDialogCommand, ASizeThatCannotBeMadeKeepsThePictureAndSaysSo) {
  ModelRig rig(64, 48);
  rig.model.setStandInCanvas(true);
  rig.stroke({{2, 3}, {60, 40}});
  const MonoBitmap before = copyOf(rig.model.canvas());
  rig.model.runCommand(CommandId::Config);
  SettingsDialogValues v = *rig.platform.settingsShown;
  v.canvasWidth = MonoBitmap::kMaxSide + 1;
  v.penSize = 9;
  rig.platform.settingsAnswer = v;
  rig.model.runCommand(CommandId::Config);
  EXPECT_TRUE(samePicture(rig.model.canvas(), before));
  EXPECT_TRUE(rig.model.standInCanvas());
  EXPECT_EQ(rig.platform.messages, std::vector<std::string>{text::CanvasSizeTooLarge});
  EXPECT_EQ(rig.model.settings().n_pen_size, 9);
}

// A picture larger than the settings file takes keeps the configured size for the next start;
// a new size, like every change to the canvas, marks the picture.
TEST(SettingsDialogCommand, AResizeMarksThePictureAndALargerOneKeepsTheConfiguredSize) {
  ModelRig rig(7000, 50);
  Settings& s = rig.model.settings();
  s.n_canvas_x = 300;
  s.n_canvas_y = 200;
  rig.model.runCommand(CommandId::Config);
  SettingsDialogValues v = *rig.platform.settingsShown;
  const struct {
    int width, height;
    bool marked;
    Point written;
  } steps[] = {
      {7000, 50, false, {300, 200}}, {7000, 60, true, {300, 200}}, {640, 60, true, {640, 60}}};
  for (const auto& step : steps) {
    rig.model.setModified(false);
    v.canvasWidth = step.width;
    v.canvasHeight = step.height;
    rig.platform.settingsAnswer = v;
    rig.model.runCommand(CommandId::Config);
    EXPECT_EQ(rig.model.canvas().height(), step.height);
    EXPECT_EQ(rig.model.modified(), step.marked) << step.height;
    rig.model.writeCanvasIntoSettings();
    EXPECT_EQ((Point{s.n_canvas_x, s.n_canvas_y}), step.written) << step.width;
  }
}

// OK asks before a size that cuts off ink: ink right of or below the corner kept, to the pixel.
TEST(SettingsDialogCommand, TheDialogIsToldWhichSizesCutOffInk) {
  ModelRig rig(7000, 50);
  rig.model.canvas().setPixel(63, 3, 1);
  rig.model.canvas().setPixel(5, 40, 1);
  rig.model.runCommand(CommandId::Config);
  const InkCutQuery cutsOffInk = rig.platform.settingsCutsOffInk;
  const struct {
    CanvasSize size;
    bool cuts;
  } cases[] = {{{7000, 50}, false}, {{64, 41}, false}, {{63, 41}, true},
               {{64, 40}, true},    {{6, 4}, true},    {{0, 0}, true}};
  for (const auto& c : cases)
    EXPECT_EQ(cutsOffInk(c.size), c.cuts) << c.size.width << "x" << c.size.height;
}

TEST(SettingsDialogCommand, CancelTakesBackThePreviewAndKeepsEverything) {
  ModelRig rig(64, 48);
  rig.model.settings().n_set_alpha = 0;
  rig.model.settings().n_alpha = 212;
  const Settings before = rig.model.settings();
  rig.platform.preview = std::pair{1, 40};
  rig.model.runCommand(CommandId::Config);
  EXPECT_EQ((Point{rig.platform.translucencyOn, rig.platform.translucencyAlpha}), (Point{0, 212}));
  EXPECT_EQ(rig.model.settings(), before);
  EXPECT_EQ(rig.model.canvas().width(), 64);
}

// The labels' names are the key names' tests; OK relabels all sixteen items.
TEST(ShortcutDialogCommand, OkTakesTheBindingsRelabelsAndGreysUndoAgainAndCancelKeepsThem) {
  ModelRig rig;
  const KeyBindings live = rig.model.settings().keyBindings;
  rig.model.runCommand(CommandId::KeyConf);
  EXPECT_EQ(rig.platform.bindingsShown, live);
  EXPECT_EQ(rig.model.settings().keyBindings, live);
  EXPECT_TRUE(rig.platform.menuLabels.empty());
  KeyBindings edited = live;
  edited[CommandId::Copy] = kShiftFlag | 'V';
  rig.platform.bindingsAnswer = edited;
  rig.model.menuCommand(ID_SETTINGS_KEYCONF);
  EXPECT_EQ(rig.model.settings().keyBindings, edited);
  EXPECT_EQ(rig.platform.menuLabels.size(), 16u);
  EXPECT_EQ(rig.platform.menuLabels[ID_EDIT_COPY], "コピー(&C)\tShift+V");
  EXPECT_FALSE(rig.platform.menuEnabled[ID_EDIT_UNDO]);
  EXPECT_FALSE(rig.platform.menuEnabled[ID_EDIT_REDO]);
}

}  // namespace
}  // namespace tenmark
