#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "settings/config_file.h"
#include "settings/program_folder.h"
#include "settings/settings_file.h"
#include "support/temp_folder.h"

namespace tenmark {
namespace {

ConfigFile fileWith(std::string_view text) {
  ConfigFile file;
  file.LoadText(text);
  return file;
}

std::string written(const Settings& settings) {
  ConfigFile file;
  writeSettings(settings, file);
  return file.text();
}

Settings readOver(const Settings& start, std::string_view text) {
  Settings settings = start;
  readSettings(fileWith(text), settings);
  return settings;
}

// A lookup takes the first key "=" anywhere in the text, not only at the start of a line, and
// the value up to the next CR LF, trimmed; no value, or no CR LF after it, leaves the variable
// alone. The text ends at its first NUL, so that what follows is never found.
TEST(ConfigFile, LookupTakesTheFirstKeyAnywhereUpToTheNextCrLf) {
  const struct {
    const char *text, *value;
  } cases[] = {{"k=a b\r\n", "a b"},    {"k=\v\f\ta b\f\v\t\r\n", "a b"},
               {"k=a=b\r\n", "a=b"},    {"k=5\nx=1\r\n", "5\nx=1"},
               {"k=3\r\nk=9\r\n", "3"}, {"xk=4\r\n", "4"},
               {"k =5\r\n", "keep"},    {"K=5\r\n", "keep"},
               {"k= \t \r\n", "keep"},  {"k=5", "keep"}};
  for (const auto& c : cases) {
    std::string value = "keep";
    fileWith(c.text).GetString("k", value);
    EXPECT_EQ(value, c.value) << c.text;
  }
  EXPECT_EQ(fileWith(std::string("a=1\r\nb=2\0\r\n", 11)).text(), "a=1\r\nb=2");
}

// An optional sign, then the digits up to the first other character, modulo 2^32; no digits
// read 0. A signed value beyond its inclusive bounds leaves the variable alone, never clamped.
TEST(ConfigFile, NumbersAreDecimalsModuloTwoToThe32) {
  const struct {
    const char* value;
    std::int32_t asInt;  // bounds 0 to 30, starting at 77
    std::uint32_t asUInt;
  } cases[] = {{"5", 5, 5},    {"+7", 7, 7},         {"12abc", 12, 12},
               {"abc", 0, 0},  {"-", 0, 0},          {"+-5", 0, 0},
               {"30", 30, 30}, {"31", 77, 31},       {"-1", 77, 0xFFFFFFFFu},
               {"", 77, 77},   {"4294967301", 5, 5}, {"-2147483648", 77, 0x80000000u}};
  for (const auto& c : cases) {
    const ConfigFile file = fileWith(std::string("k=") + c.value + "\r\n");
    std::int32_t asInt = 77;
    std::uint32_t asUInt = 77;
    file.GetInt("k", asInt, 0, 30);
    file.GetUInt("k", asUInt, UINT32_MAX);
    EXPECT_EQ(asInt, c.asInt) << c.value;
    EXPECT_EQ(asUInt, c.asUInt) << c.value;
  }
}

TEST(ConfigFile, EntriesAreCrLfLinesWithSignedDecimals) {
  ConfigFile file;
  file.PutString("s", "\x95\x5C");
  file.PutInt("a", INT32_MIN);
  file.AppendLine("");
  file.PutInt("b", INT32_MAX);
  EXPECT_EQ(file.text(), "s=\x95\x5C\r\na=-2147483648\r\n\r\nb=2147483647\r\n");
}

// Each key, given alone another value that its range takes, is read into the member it is
// written from and into no other: written again, only its own line differs. Lookups take the
// first key "=" anywhere, so no key may hide inside another written before it.
TEST(SettingsFile, EachKeyIsReadIntoTheMemberItIsWrittenFrom) {
  const Settings defaults = defaultSettings(1080, "C:\\app\\");
  const std::string text = written(defaults);
  int keys = 0;
  for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) {
    const std::size_t equals = text.find('=', at);
    if (equals > end) continue;  // the empty line between the options and the bindings
    ++keys;
    const std::string key = text.substr(at, equals + 1 - at);
    EXPECT_EQ(text.find(key), at) << key;
    bool read = false;
    for (const char* value : {"0", "1", "2"}) {
      std::string want = text;
      want.replace(at, end - at, key + value);
      read = read || (want != text && written(readOver(defaults, key + value + "\r\n")) == want);
    }
    EXPECT_TRUE(read) << key;
  }
  EXPECT_EQ(keys, 23 + 29);
}

// A value beyond its key's bounds leaves the default; a canvas side of 0 is taken (the canvas
// then falls back to the default size).
TEST(SettingsFile, AValueBeyondItsBoundsKeepsTheDefault) {
  const Settings defaults = defaultSettings(1080, "C:\\app\\");
  const struct {
    const char* line;
    bool taken;
  } cases[] = {{"n_pen_size=0", false},     {"n_pen_size=30", true},     {"n_erase_size=31", false},
               {"n_canvas_x=0", true},      {"n_canvas_y=6001", false},  {"n_xpos=-1000", true},
               {"n_xpos=-1001", false},     {"n_xsize=0", false},        {"n_tablet_input=2", true},
               {"n_tablet_input=3", false}, {"n_tablet_input=-1", false}};
  for (const auto& c : cases)
    EXPECT_EQ(readOver(defaults, std::string(c.line) + "\r\n") != defaults, c.taken) << c.line;
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

// A square as high as the screen less 100 pixels (the start-up test's), at least 1; a stored
// size that no surface can have falls back to it.
TEST(SettingsDefaults, CanvasIsTheScreenHeightLessOneHundredOrTheStoredSize) {
  EXPECT_EQ(defaultCanvasSide(50), 1);
  const auto canvas = [](std::int32_t width, std::int32_t height) {
    Settings s = defaultSettings(1080, "");
    s.n_canvas_x = width;
    s.n_canvas_y = height;
    const CanvasSize size = canvasSizeOrDefault(s, 1080);
    return std::pair(size.width, size.height);
  };
  EXPECT_EQ(canvas(640, 480), std::pair(640, 480));
  EXPECT_EQ(canvas(1, 65535), std::pair(1, 65535));
  EXPECT_EQ(canvas(0, 480), std::pair(980, 980));
  EXPECT_EQ(canvas(640, 65536), std::pair(980, 980));
  EXPECT_EQ(canvas(-5, 10), std::pair(980, 980));
}

using SettingsOnDisk = TempFolderTest;

// A missing file keeps the defaults, and so does a corrupt one (its text ends at the NUL); a
// file is read up to its size limit. Loading repairs the bindings, whose rule is the key bindings
// test's. A save replaces a longer file whole and leaves nothing else; a failed one makes nothing.
TEST_F(SettingsOnDisk, LoadReadsWhatTheFileSaysAndSaveWritesEveryValue) {
  const Settings defaults = defaultSettings(1080, "C:\\app\\");
  const std::string ini = path("tenmark.ini");
  Settings s = defaults;
  EXPECT_FALSE(loadSettings(ini, s));
  EXPECT_EQ(s, defaults);
  writeFile(ini, std::string("\xff\xd8\0garbage n_pen_size=9\r\n", 25));
  EXPECT_TRUE(loadSettings(ini, s));
  EXPECT_EQ(s, defaults);
  writeFile(ini, "dw_Key_New=32\r\ndw_Key_Hand=32\r\nn_pen_size=9\r\n" +
                     std::string(ConfigFile::kMaxFileBytes, 'x') + "\r\nn_erase_size=9\r\n");
  ASSERT_TRUE(loadSettings(ini, s));
  EXPECT_EQ(std::tuple(s.keyBindings[CommandId::New], s.n_pen_size, s.n_erase_size),
            std::tuple(0x4Eu, 9, defaults.n_erase_size));
  ASSERT_TRUE(saveSettings(ini, s));
  EXPECT_EQ(contentOf(ini), written(s));
  Settings back = defaults;
  ASSERT_TRUE(loadSettings(ini, back));
  EXPECT_EQ(back, s);
  EXPECT_FALSE(saveSettings(path("missing/tenmark.ini"), s));
  EXPECT_EQ(entries(), 1u);
}

// Names beyond ASCII (UTF-8) hold no byte that could pass for a separator.
TEST(ProgramFolder, FolderIsThePathUpToTheLastSeparatorInBackslashes) {
  EXPECT_EQ(exeFolderFromProgramPath("C:\\Tools\\tenmark.exe"), "C:\\Tools\\");
  EXPECT_EQ(exeFolderFromProgramPath("C:/Tools\\sub/tenmark.exe"), "C:\\Tools\\sub\\");
  EXPECT_EQ(exeFolderFromProgramPath("tenmark.exe"), "");
  EXPECT_EQ(exeFolderFromProgramPath("C:\\表\\tenmark.exe"), "C:\\表\\");
  EXPECT_EQ(exeFolderFromProgramPath("C:\\a\\𠮷x.exe"), "C:\\a\\");
}

}  // namespace
}  // namespace tenmark
