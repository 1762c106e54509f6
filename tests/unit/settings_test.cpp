#include <gtest/gtest.h>

#include <string>

#include "settings/settings_file.h"
#include "support/temp_folder.h"

namespace tenmark {
namespace {

// The whole default file for a 1080-pixel screen and the folder C:\app\, written out by hand;
// the on-disk test checks that saving the defaults writes exactly this.
const char kDefaultFile[] =
    "s_save_dir=C:\\app\\\r\nn_canvas_x=980\r\nn_canvas_y=980\r\nn_back_color=15397364\r\n"
    "n_pen_color=0\r\nn_save_img=1\r\nn_save_type=0\r\nn_alpha=212\r\nn_set_alpha=0\r\n"
    "n_pen_size=1\r\nn_erase_size=8\r\nn_clnt_color=11912658\r\nb_ClientDef=0\r\nn_xpos=0\r\n"
    "n_ypos=0\r\nn_xsize=0\r\nn_ysize=0\r\nb_Maximized=0\r\nb_PenPressure=0\r\n"
    "n_PenHardness=7\r\nb_ShowMenu=1\r\nb_IgnoreTabXY=1\r\n\r\n"
    "dw_Key_New=78\r\ndw_Key_Open=79\r\ndw_Key_Save=83\r\ndw_Key_SaveAs=0\r\ndw_Key_Undo=90\r\n"
    "dw_Key_Redo=89\r\ndw_Key_VMirror=66\r\ndw_Key_HMirror=72\r\ndw_Key_Resize=82\r\n"
    "dw_Key_Alpha=65\r\ndw_Key_Config=69\r\ndw_Key_KeyConf=75\r\ndw_Key_Eraser=32768\r\n"
    "dw_Key_ShowMenu=77\r\ndw_Key_PopMenu=80\r\ndw_Key_Copy=32835\r\ndw_Key_Paste=32854\r\n"
    "dw_Key_Brush_P=0\r\ndw_Key_Brush_M=0\r\ndw_Key_Erase_P=0\r\ndw_Key_Erase_M=0\r\n"
    "dw_Key_SetPresser=0\r\ndw_Key_ZoomUp=49\r\ndw_Key_ZoomDown=50\r\ndw_Key_ZoomNomal=51\r\n"
    "dw_Key_Hand=32\r\ndw_Key_Move=32800\r\ndw_Key_NoSaveExit=0\r\ndw_Key_Clear=0\r\n";

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

// Each key's accepted range.
struct Range {
  const char* key;
  std::int32_t Settings::*member;
  std::int32_t min, max;
};
const Range kRanges[] = {
    {"n_canvas_x", &Settings::n_canvas_x, 0, 6000},
    {"n_canvas_y", &Settings::n_canvas_y, 0, 6000},
    {"n_back_color", &Settings::n_back_color, 0, 0xFFFFFF},
    {"n_pen_color", &Settings::n_pen_color, 0, 0xFFFFFF},
    {"n_save_img", &Settings::n_save_img, 0, 1},
    {"n_save_type", &Settings::n_save_type, 0, 1},
    {"n_alpha", &Settings::n_alpha, 0, 255},
    {"n_set_alpha", &Settings::n_set_alpha, 0, 1},
    {"n_pen_size", &Settings::n_pen_size, 1, 30},
    {"n_erase_size", &Settings::n_erase_size, 1, 30},
    {"n_clnt_color", &Settings::n_clnt_color, 0, 0xFFFFFF},
    {"b_ClientDef", &Settings::b_ClientDef, 0, 1},
    {"n_xpos", &Settings::n_xpos, -1000, 9999},
    {"n_ypos", &Settings::n_ypos, -1000, 9999},
    {"n_xsize", &Settings::n_xsize, 1, 9999},
    {"n_ysize", &Settings::n_ysize, 1, 9999},
    {"b_Maximized", &Settings::b_Maximized, 0, 1},
    {"b_PenPressure", &Settings::b_PenPressure, 0, 1},
    {"n_PenHardness", &Settings::n_PenHardness, 0, 10},
    {"b_ShowMenu", &Settings::b_ShowMenu, 0, 1},
    {"b_IgnoreTabXY", &Settings::b_IgnoreTabXY, 0, 1},
};

// Every value differs from its default: its lower end, or its upper end where the default is the
// lower one; binding values include the top bit.
Settings unusualSettings() {
  Settings s = defaultSettings(1080, "C:\\app\\");
  s.saveFolder = "D:\\表\\";
  for (const Range& r : kRanges) s.*r.member = s.*r.member == r.min ? r.max : r.min;
  for (std::size_t i = 0; i < kCommandCount; ++i)
    s.keyBindings.codes[i] = 0xFFFFFF00u + static_cast<KeyCode>(i);
  return s;
}

// Nothing in text without CR-LF lines of key=value can change a value.
TEST(SettingsRead, UnreadableTextKeepsEveryValue) {
  std::string lfOnly = kDefaultFile;
  for (std::size_t at; (at = lfOnly.find("\r\n")) != std::string::npos;) lfOnly.erase(at, 1);
  const Settings start = unusualSettings();
  for (const std::string& text : {std::string(), std::string("\0n_pen_size=5\r\n", 15),
                                  std::string("\x89PNG\r\n\x1a\n\xff\xfe=\r\n{}"), lfOnly}) {
    EXPECT_EQ(readOver(start, text), start) << text.size();
  }
}

// Bindings take any number, an empty value keeps the old one; a stored placement needs both sides.
TEST(SettingsRead, BindingsAndPlacement) {
  const Settings s = readOver(defaultSettings(1080, ""),
                              "n_xsize=0\r\nn_ysize=300\r\ndw_Key_Copy=-1\r\ndw_Key_Paste=\r\n");
  EXPECT_EQ(s.n_ysize, 300);
  EXPECT_FALSE(s.hasStoredPlacement());
  EXPECT_EQ(s.keyBindings[CommandId::Copy], 0xFFFFFFFFu);
  EXPECT_EQ(s.keyBindings[CommandId::Paste], 0x8056u);
}

// Both ends of each range: an end is kept, one beyond it leaves the value alone.
TEST(SettingsRead, EachKeyKeepsItsRangeEndsAndIgnoresOneBeyond) {
  const Settings defaults = defaultSettings(1080, "C:\\app\\");
  for (const auto& r : kRanges) {
    // Starting at the opposite end, so that every outcome shows.
    const auto readFrom = [&](std::int32_t start, std::int64_t value) {
      Settings s = defaults;
      s.*r.member = start;
      return readOver(s, std::string(r.key) + "=" + std::to_string(value) + "\r\n").*r.member;
    };
    EXPECT_EQ(readFrom(r.max, r.min), r.min) << r.key;
    EXPECT_EQ(readFrom(r.min, r.max), r.max) << r.key;
    EXPECT_EQ(readFrom(r.max, std::int64_t(r.min) - 1), r.max) << r.key;
    EXPECT_EQ(readFrom(r.min, std::int64_t(r.max) + 1), r.min) << r.key;
  }
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

// The file keeps the folder in Shift-JIS bytes; a folder Shift-JIS cannot name is never written
// mangled, and bytes that are not Shift-JIS keep the folder as it was.
TEST(SettingsFile, TheSaveFolderIsShiftJisOnDiskAndUtf8Inside) {
  Settings s = defaultSettings(1080, "C:\\app\\");
  s.saveFolder = "D:\\表ソ\\";
  EXPECT_EQ(written(s).rfind("s_save_dir=D:\\\x95\x5c\x83\x5c\\\r\n", 0), 0u);
  EXPECT_EQ(readOver(defaultSettings(1080, ""), written(s)).saveFolder, s.saveFolder);
  s.saveFolder = "D:\\𠮷田\\";
  EXPECT_EQ(written(s).find("s_save_dir"), std::string::npos);
  EXPECT_EQ(readOver(s, "s_save_dir=D:\\\x95\r\n").saveFolder, s.saveFolder);
}

// The whole default file shows the 1080-pixel screen; a tiny screen still gives a canvas.
TEST(SettingsDefaults, CanvasIsTheScreenHeightLessOneHundredOrTheStoredSize) {
  EXPECT_EQ(defaultCanvasSide(768), 668);
  EXPECT_EQ(defaultCanvasSide(50), 1);
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

TEST_F(SettingsOnDisk, MissingOrCorruptFileKeepsDefaultsAndIsReplacedByTheDefaultFile) {
  for (const bool corrupt : {false, true}) {
    if (corrupt) writeIni(std::string("\xff\xd8\0garbage n_pen_size=9\r\n", 25));
    Settings s = defaultSettings(1080, "C:\\app\\");
    EXPECT_EQ(loadSettings(iniPath(), s), corrupt);
    EXPECT_EQ(s, defaultSettings(1080, "C:\\app\\"));
    ASSERT_TRUE(saveSettings(iniPath(), s));
    EXPECT_EQ(readIni(), kDefaultFile);
  }
}

// Saved, loaded over the defaults and saved again: same values and same bytes.
TEST_F(SettingsOnDisk, PreparedValuesSurviveARun) {
  const Settings prepared = unusualSettings();
  ASSERT_TRUE(saveSettings(iniPath(), prepared));
  const std::string before = readIni();
  EXPECT_NE(before.find("dw_Key_New=-256\r\n"), std::string::npos);
  Settings s = defaultSettings(1080, "C:\\app\\");
  ASSERT_TRUE(loadSettings(iniPath(), s));
  EXPECT_EQ(s, prepared);
  ASSERT_TRUE(saveSettings(iniPath(), s));
  EXPECT_EQ(readIni(), before);
}

// Loading repairs the bindings; the repair rules themselves are the key bindings test's.
TEST_F(SettingsOnDisk, SpaceOnNewAndHandMovesNewBackToN) {
  writeIni("dw_Key_New=32\r\ndw_Key_Hand=32\r\n");
  Settings s = defaultSettings(1080, "");
  ASSERT_TRUE(loadSettings(iniPath(), s));
  EXPECT_EQ(s.keyBindings[CommandId::New], 0x4Eu);
}

}  // namespace
}  // namespace tenmark
