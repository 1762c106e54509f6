#include "settings/settings_file.h"

#include <cstdint>
#include <limits>

#include "platform/unicode.h"

namespace tenmark {
namespace {

struct IntEntry {
  const char* key;
  std::int32_t Settings::*member;
  std::int32_t min;
  std::int32_t max;
};

constexpr std::int32_t kMaxColor = 0xFFFFFF;

// Entries 2-23 of the file, in file order. Lookups take the first occurrence of key "=" anywhere
// in the text, so no key may be the tail of another one written before it.
constexpr IntEntry kIntEntries[] = {
    {"n_canvas_x", &Settings::n_canvas_x, 0, kMaxConfiguredCanvasSide},
    {"n_canvas_y", &Settings::n_canvas_y, 0, kMaxConfiguredCanvasSide},
    {"n_back_color", &Settings::n_back_color, 0, kMaxColor},
    {"n_pen_color", &Settings::n_pen_color, 0, kMaxColor},
    {"n_save_img", &Settings::n_save_img, 0, 1},
    {"n_save_type", &Settings::n_save_type, 0, 1},
    {"n_alpha", &Settings::n_alpha, 0, 255},
    {"n_set_alpha", &Settings::n_set_alpha, 0, 1},
    {"n_pen_size", &Settings::n_pen_size, 1, 30},
    {"n_erase_size", &Settings::n_erase_size, 1, 30},
    {"n_clnt_color", &Settings::n_clnt_color, 0, kMaxColor},
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
    {"n_tablet_input", &Settings::n_tablet_input, kTabletInputAutomatic, kTabletInputInk},
};

constexpr const char* kSaveFolderKey = "s_save_dir";

}  // namespace

void readSettings(const ConfigFile& file, Settings& settings) {
  // The file keeps Shift-JIS; a missing key, or bytes that are not Shift-JIS, keep the folder as
  // it was. No line of the file can hold a line break, so it marks a key not found.
  std::string folder = "\n";
  file.GetString(kSaveFolderKey, folder);
  const std::optional<std::string> read = shiftJisToUtf8(folder);
  if (folder != "\n" && read) settings.saveFolder = *read;
  for (const auto& entry : kIntEntries)
    file.GetInt(entry.key, settings.*entry.member, entry.min, entry.max);
  for (std::size_t i = 0; i < kCommandCount; ++i)
    file.GetUInt(commandInfo(static_cast<CommandId>(i)).configKey, settings.keyBindings.codes[i],
                 std::numeric_limits<std::uint32_t>::max());
}

void writeSettings(const Settings& settings, ConfigFile& file) {
  // A folder Shift-JIS cannot name is left out rather than written mangled: the next start then
  // keeps its default, the program's own folder.
  if (const std::optional<std::string> folder = utf8ToShiftJis(settings.saveFolder))
    file.PutString(kSaveFolderKey, *folder);
  for (const auto& entry : kIntEntries) file.PutInt(entry.key, settings.*entry.member);
  file.AppendLine("");
  for (std::size_t i = 0; i < kCommandCount; ++i)
    file.PutInt(commandInfo(static_cast<CommandId>(i)).configKey,
                static_cast<std::int32_t>(settings.keyBindings.codes[i]));
}

bool loadSettings(const std::string& path, Settings& settings) {
  ConfigFile file;
  const bool loaded = file.Load(path);
  if (loaded) readSettings(file, settings);
  settings.keyBindings.repairAfterLoading();
  return loaded;
}

bool saveSettings(const std::string& path, const Settings& settings) {
  ConfigFile file;
  writeSettings(settings, file);
  return file.Save(path);
}

}  // namespace tenmark
