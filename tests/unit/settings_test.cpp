#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "settings/settings_file.h"
#include "support/temp_folder.h"

namespace tenmark {
namespace {

// The whole default file for a 1080-pixel screen and the folder C:\app\, written out by hand.
const char kDefaultFile[] =
    "s_save_dir=C:\\app\\\r\n"
    "n_canvas_x=980\r\n"
    "n_canvas_y=980\r\n"
    "n_back_color=15397364\r\n"
    "n_pen_color=0\r\n"
    "n_save_img=1\r\n"
    "n_save_type=0\r\n"
    "n_alpha=212\r\n"
    "n_set_alpha=0\r\n"
    "n_pen_size=1\r\n"
    "n_erase_size=8\r\n"
    "n_clnt_color=11912658\r\n"
    "b_ClientDef=0\r\n"
    "n_xpos=0\r\n"
    "n_ypos=0\r\n"
    "n_xsize=0\r\n"
    "n_ysize=0\r\n"
    "b_Maximized=0\r\n"
    "b_PenPressure=0\r\n"
    "n_PenHardness=7\r\n"
    "b_ShowMenu=1\r\n"
    "b_IgnoreTabXY=1\r\n"
    "\r\n"
    "dw_Key_New=78\r\n"
    "dw_Key_Open=79\r\n"
    "dw_Key_Save=83\r\n"
    "dw_Key_SaveAs=0\r\n"
    "dw_Key_Undo=90\r\n"
    "dw_Key_Redo=89\r\n"
    "dw_Key_VMirror=66\r\n"
    "dw_Key_HMirror=72\r\n"
    "dw_Key_Resize=82\r\n"
    "dw_Key_Alpha=65\r\n"
    "dw_Key_Config=69\r\n"
    "dw_Key_KeyConf=75\r\n"
    "dw_Key_Eraser=32768\r\n"
    "dw_Key_ShowMenu=77\r\n"
    "dw_Key_PopMenu=80\r\n"
    "dw_Key_Copy=32835\r\n"
    "dw_Key_Paste=32854\r\n"
    "dw_Key_Brush_P=0\r\n"
    "dw_Key_Brush_M=0\r\n"
    "dw_Key_Erase_P=0\r\n"
    "dw_Key_Erase_M=0\r\n"
    "dw_Key_SetPresser=0\r\n"
    "dw_Key_ZoomUp=49\r\n"
    "dw_Key_ZoomDown=50\r\n"
    "dw_Key_ZoomNomal=51\r\n"
    "dw_Key_Hand=32\r\n"
    "dw_Key_Move=32800\r\n"
    "dw_Key_NoSaveExit=0\r\n"
    "dw_Key_Clear=0\r\n";

std::string written(const Settings& settings) {
  ConfigFile file;
  writeSettings(settings, file);
  return file.text();
}

Settings readOver(const Settings& start, std::string_view text) {
  ConfigFile file;
  file.LoadText(text);
  Settings settings = start;
  readSettings(file, settings);
  return settings;
}

// Every value differs from its default; binding values include the top bit.
Settings unusualSettings() {
  Settings s = defaultSettings(1080, "C:\\app\\");
  s.saveFolder = "D:\\\x95\x5C\\";
  s.n_canvas_x = 6000;
  s.n_canvas_y = 0;
  s.n_back_color = 0xFFFFFF;
  s.n_pen_color = 0x123456;
  s.n_save_img = 0;
  s.n_save_type = 1;
  s.n_alpha = 0;
  s.n_set_alpha = 1;
  s.n_pen_size = 30;
  s.n_erase_size = 1;
  s.n_clnt_color = 0;
  s.b_ClientDef = 1;
  s.n_xpos = -1000;
  s.n_ypos = 9999;
  s.n_xsize = 1;
  s.n_ysize = 9999;
  s.b_Maximized = 1;
  s.b_PenPressure = 1;
  s.n_PenHardness = 10;
  s.b_ShowMenu = 0;
  s.b_IgnoreTabXY = 0;
  for (std::size_t i = 0; i < kCommandCount; ++i)
    s.keyBindings.codes[i] = 0xFFFFFF00u + static_cast<KeyCode>(i);
  return s;
}

TEST(SettingsWrite, DefaultsGiveTheExactDefaultFile) {
  EXPECT_EQ(written(defaultSettings(1080, "C:\\app\\")), kDefaultFile);
}

TEST(SettingsWrite, WriteReadWriteGivesTheSameBytes) {
  const Settings original = unusualSettings();
  const std::string first = written(original);
  const Settings back = readOver(defaultSettings(1080, "C:\\app\\"), first);
  EXPECT_EQ(back, original);
  EXPECT_EQ(written(back), first);
  EXPECT_NE(first.find("dw_Key_New=-256\r\n"), std::string::npos);
}

TEST(SettingsRead, EmptyTextKeepsEveryDefault) {
  const Settings defaults = defaultSettings(1080, "C:\\app\\");
  EXPECT_EQ(readOver(defaults, ""), defaults);
  EXPECT_EQ(readOver(defaults, std::string("\0n_pen_size=5\r\n", 15)), defaults);
  EXPECT_EQ(readOver(defaults, "\x89PNG\r\n\x1a\n\xff\xfe=\r\n{}"), defaults);
}

TEST(SettingsRead, LfOnlyFileKeepsEveryDefault) {
  std::string lfOnly = kDefaultFile;
  for (std::size_t at; (at = lfOnly.find("\r\n")) != std::string::npos;) lfOnly.erase(at, 1);
  Settings start = unusualSettings();
  EXPECT_EQ(readOver(start, lfOnly), start);
}

TEST(SettingsRead, EachValueIsCheckedOnItsOwn) {
  const Settings defaults = defaultSettings(1080, "C:\\app\\");
  const Settings s = readOver(defaults,
                              "n_pen_size=40\r\nn_erase_size=12\r\nn_xsize=0\r\nn_ysize=300\r\n"
                              "n_xpos=-1001\r\nn_ypos=-1000\r\nn_canvas_x=0\r\nn_canvas_y=6001\r\n"
                              "n_back_color=16777216\r\nn_pen_color=16777215\r\n"
                              "dw_Key_Copy=-1\r\ndw_Key_Paste=\r\n");
  EXPECT_EQ(s.n_pen_size, 1);
  EXPECT_EQ(s.n_erase_size, 12);
  EXPECT_EQ(s.n_xsize, 0);
  EXPECT_EQ(s.n_ysize, 300);
  EXPECT_FALSE(s.hasStoredPlacement());
  EXPECT_EQ(s.n_xpos, 0);
  EXPECT_EQ(s.n_ypos, -1000);
  EXPECT_EQ(s.n_canvas_x, 0);
  EXPECT_EQ(s.n_canvas_y, 980);
  EXPECT_EQ(s.n_back_color, 0xEAF1F4);
  EXPECT_EQ(s.n_pen_color, 0xFFFFFF);
  EXPECT_EQ(s.keyBindings[CommandId::Copy], 0xFFFFFFFFu);
  EXPECT_EQ(s.keyBindings[CommandId::Paste], 0x8056u);
}

TEST(SettingsRead, SetAlphaBeforeAlphaReadsBothValues) {
  const Settings s = readOver(defaultSettings(1080, ""), "n_set_alpha=1\r\nn_alpha=100\r\n");
  EXPECT_EQ(s.n_alpha, 100);
  EXPECT_EQ(s.n_set_alpha, 1);
}

TEST(SettingsWrite, EveryKeyIsFirstFoundAtTheStartOfItsOwnLine) {
  // Lookups take the first occurrence of key "=" anywhere; no key may hide inside another.
  const std::string text = written(unusualSettings());
  for (std::size_t lineStart = 0; lineStart < text.size();) {
    const std::size_t lineEnd = text.find("\r\n", lineStart);
    const std::size_t equals = text.find('=', lineStart);
    if (equals < lineEnd) {
      const std::string keyAndEquals = text.substr(lineStart, equals + 1 - lineStart);
      EXPECT_EQ(text.find(keyAndEquals), lineStart) << keyAndEquals;
    }
    lineStart = lineEnd + 2;
  }
}

TEST(SettingsDefaults, CanvasIsTheScreenHeightLessOneHundred) {
  const Settings s = defaultSettings(768, "X\\");
  EXPECT_EQ(s.n_canvas_x, 668);
  EXPECT_EQ(s.n_canvas_y, 668);
  EXPECT_EQ(s.saveFolder, "X\\");
  EXPECT_EQ(defaultCanvasSide(50), 1);  // a tiny screen still gives a canvas
}

TEST(SettingsDefaults, UnusableCanvasSizeFallsBackToTheDefaultSquare) {
  const struct {
    std::int32_t width, height, expectedWidth, expectedHeight;
  } cases[] = {{640, 480, 640, 480}, {0, 480, 980, 980},       {640, 0, 980, 980},
               {1, 1, 1, 1},         {6000, 6000, 6000, 6000}, {-5, 10, 980, 980}};
  for (const auto& c : cases) {
    Settings s = defaultSettings(1080, "");
    s.n_canvas_x = c.width;
    s.n_canvas_y = c.height;
    const CanvasSize size = canvasSizeOrDefault(s, 1080);
    EXPECT_EQ(size.width, c.expectedWidth) << c.width << "x" << c.height;
    EXPECT_EQ(size.height, c.expectedHeight) << c.width << "x" << c.height;
  }
}

class SettingsOnDisk : public TempFolderTest {
 protected:
  std::string iniPath() const { return path("tenmark.ini"); }
  void writeIni(const std::string& bytes) const { writeFile(iniPath(), bytes); }
  std::string readIni() const { return contentOf(iniPath()); }
};

TEST_F(SettingsOnDisk, FirstRunWritesTheDefaultFile) {
  Settings s = defaultSettings(1080, "C:\\app\\");
  EXPECT_FALSE(loadSettings(iniPath(), s));
  EXPECT_EQ(s, defaultSettings(1080, "C:\\app\\"));
  ASSERT_TRUE(saveSettings(iniPath(), s));
  EXPECT_EQ(readIni(), kDefaultFile);
}

TEST_F(SettingsOnDisk, PreparedValuesSurviveARun) {
  const Settings prepared = unusualSettings();
  ASSERT_TRUE(saveSettings(iniPath(), prepared));
  const std::string before = readIni();
  Settings s = defaultSettings(1080, "C:\\app\\");
  ASSERT_TRUE(loadSettings(iniPath(), s));
  EXPECT_EQ(s, prepared);
  ASSERT_TRUE(saveSettings(iniPath(), s));
  EXPECT_EQ(readIni(), before);
}

TEST_F(SettingsOnDisk, CorruptFileKeepsDefaultsAndIsReplacedByACleanOne) {
  writeIni(std::string("\xff\xd8\0garbage n_pen_size=9\r\n", 25));
  Settings s = defaultSettings(1080, "C:\\app\\");
  EXPECT_TRUE(loadSettings(iniPath(), s));
  EXPECT_EQ(s, defaultSettings(1080, "C:\\app\\"));
  ASSERT_TRUE(saveSettings(iniPath(), s));
  EXPECT_EQ(readIni(), kDefaultFile);
}

TEST_F(SettingsOnDisk, SpaceOnNewAndHandMovesNewBackToN) {
  writeIni("dw_Key_New=32\r\ndw_Key_Hand=32\r\n");
  Settings s = defaultSettings(1080, "");
  ASSERT_TRUE(loadSettings(iniPath(), s));
  EXPECT_EQ(s.keyBindings[CommandId::New], 0x4Eu);
  EXPECT_EQ(s.keyBindings[CommandId::Hand], 0x20u);
}

TEST_F(SettingsOnDisk, SpaceOnNewAloneIsKept) {
  writeIni("dw_Key_New=32\r\ndw_Key_Hand=72\r\n");
  Settings s = defaultSettings(1080, "");
  ASSERT_TRUE(loadSettings(iniPath(), s));
  EXPECT_EQ(s.keyBindings[CommandId::New], 0x20u);
}

TEST_F(SettingsOnDisk, FailedSaveLeavesTheOldFile) {
  writeIni("old");
  Settings s = defaultSettings(1080, "");
  EXPECT_FALSE(saveSettings((dir_ / "missing" / "tenmark.ini").string(), s));
  EXPECT_EQ(readIni(), "old");
}

}  // namespace
}  // namespace tenmark
