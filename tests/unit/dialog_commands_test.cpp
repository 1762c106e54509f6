#include <gtest/gtest.h>

#include "resources/resource_ids.h"
#include "support/model_rig.h"
#include "support/test_surfaces.h"

namespace tenmark {
namespace {

TEST(SettingsDialogCommand, OpensWithTheWindowsStateAndOkWithItChangesNothing) {
  ModelRig rig(640, 480);
  Settings& s = rig.model.settings();
  s.saveFolder = "C:\\pictures\\";
  s.n_alpha = 0;  // out of the slider's range: passed on as it is
  s.n_pen_size = 4;
  rig.model.menuCommand(ID_SETTINGS_CONFIG);
  ASSERT_TRUE(rig.platform.settingsShown);
  const SettingsDialogValues shown = *rig.platform.settingsShown;
  EXPECT_EQ(shown.canvasWidth, 640);
  EXPECT_EQ(shown.canvasHeight, 480);
  EXPECT_EQ(shown.backgroundColor, kPaper);
  EXPECT_EQ(shown.penColor, kInk);
  EXPECT_EQ(shown.clientColor, Color(s.n_clnt_color));
  EXPECT_EQ(shown.saveFolder, "C:\\pictures\\");
  EXPECT_EQ(shown.translucency, 0);
  EXPECT_EQ(shown.penSize, 4);
  EXPECT_EQ(shown.hardness, s.n_PenHardness);

  const Settings before = s;
  rig.platform.settingsAnswer = shown;
  rig.model.runCommand(CommandId::Config);
  EXPECT_EQ(rig.model.settings(), before);
  EXPECT_EQ(rig.platform.fittedTo, (Point{-1, -1}));  // same size: no new canvas
  EXPECT_EQ(rig.platform.settingsShown, shown);
}

TEST(SettingsDialogCommand, OkAppliesEveryValueAndResizesKeepingThePicture) {
  ModelRig rig(640, 480);
  rig.model.setStandInCanvas(true);
  rig.stroke({{2, 3}, {100, 3}});
  SettingsDialogValues v{.canvasWidth = 320,
                         .canvasHeight = 700,
                         .backgroundColor = 0x112233,
                         .penColor = 0x445566,
                         .clientColor = 0x778899,
                         .useSystemColor = 1,
                         .saveFolder = "C:\\elsewhere",
                         .saveOnExit = 0,
                         .saveFormat = 1,
                         .ignoreTabletXY = 0,
                         .translucency = 100,
                         .translucent = 1,
                         .penSize = 5,
                         .eraserSize = 30,
                         .pressureSensing = 1,
                         .hardness = 0};
  rig.platform.settingsAnswer = v;
  const int redraws = rig.platform.redraws;
  rig.model.runCommand(CommandId::Config);

  const Settings& s = rig.model.settings();
  EXPECT_EQ(s.n_clnt_color, 0x778899);
  EXPECT_EQ(s.b_ClientDef, 1);
  EXPECT_EQ(s.saveFolder, "C:\\elsewhere");
  EXPECT_EQ(s.n_save_img, 0);
  EXPECT_EQ(s.n_save_type, 1);
  EXPECT_EQ(s.b_IgnoreTabXY, 0);
  EXPECT_EQ(s.n_erase_size, 30);
  EXPECT_EQ(s.b_PenPressure, 1);
  EXPECT_EQ(s.n_PenHardness, 0);
  const MonoBitmap& canvas = rig.model.canvas();
  EXPECT_EQ(canvas.width(), 320);
  EXPECT_EQ(canvas.height(), 700);
  EXPECT_EQ(canvas.getColor(0), 0x112233u);
  EXPECT_EQ(canvas.getColor(1), 0x445566u);
  EXPECT_EQ(canvas.pixel(50, 3), 1);
  EXPECT_EQ(canvas.pixel(50, 600), 0);
  EXPECT_EQ(rig.platform.fittedTo, (Point{320, 700}));
  EXPECT_FALSE(rig.model.standInCanvas());  // a real canvas now: its size is kept at exit
  EXPECT_EQ(rig.platform.translucencyOn, 1);
  EXPECT_EQ(rig.platform.translucencyAlpha, 100);
  EXPECT_NE(rig.platform.caption.find(":5 "), std::string::npos);
  EXPECT_EQ(rig.platform.redraws, redraws + 1);
  // The undo ring goes on: the stroke can still be taken back.
  rig.model.runCommand(CommandId::Undo);
  EXPECT_TRUE(rig.model.canvas().isBlank());
}

TEST(SettingsDialogCommand, ASizeThatCannotBeMadeKeepsThePictureAndSaysSo) {
  ModelRig rig(64, 48);
  rig.model.setStandInCanvas(true);
  rig.stroke({{2, 3}, {60, 40}});
  MonoBitmap before;
  before.assign(rig.model.canvas());
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

TEST(SettingsDialogCommand, CancelTakesBackThePreviewAndKeepsEverything) {
  ModelRig rig(64, 48);
  rig.model.settings().n_set_alpha = 0;
  rig.model.settings().n_alpha = 212;
  const Settings before = rig.model.settings();
  rig.platform.preview = std::pair{1, 40};
  rig.model.runCommand(CommandId::Config);
  EXPECT_EQ(rig.platform.translucencyOn, 0);
  EXPECT_EQ(rig.platform.translucencyAlpha, 212);
  EXPECT_EQ(rig.model.settings(), before);
  EXPECT_EQ(rig.model.canvas().width(), 64);
}

TEST(ShortcutDialogCommand, OkTakesTheBindingsRelabelsAndGreysUndoAgain) {
  ModelRig rig;
  KeyBindings edited = rig.model.settings().keyBindings;
  edited[CommandId::Copy] = kShiftFlag | 'V';
  rig.platform.bindingsAnswer = edited;
  rig.model.menuCommand(ID_SETTINGS_KEYCONF);
  EXPECT_EQ(rig.platform.bindingsShown, KeyBindings(Settings().keyBindings));
  EXPECT_EQ(rig.model.settings().keyBindings, edited);
  EXPECT_EQ(rig.platform.menuLabels.size(), 16u);
  EXPECT_EQ(rig.platform.menuLabels[ID_EDIT_COPY], "コピー(&C)\tShift+V");
  EXPECT_FALSE(rig.platform.menuEnabled[ID_EDIT_UNDO]);
  EXPECT_FALSE(rig.platform.menuEnabled[ID_EDIT_REDO]);
}

TEST(ShortcutDialogCommand, CancelChangesNeitherBindingsNorLabels) {
  ModelRig rig;
  const KeyBindings live = rig.model.settings().keyBindings;
  rig.model.runCommand(CommandId::KeyConf);
  EXPECT_TRUE(rig.platform.bindingsShown);
  EXPECT_EQ(rig.model.settings().keyBindings, live);
  EXPECT_TRUE(rig.platform.menuLabels.empty());
}

}  // namespace
}  // namespace tenmark
