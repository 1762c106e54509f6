#pragma once
// The environment settings dialog without the dialog: the values it receives and gives back on
// OK, how its number edits are read, the checks OK makes, and the folder browser's rules.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "settings/settings.h"
#include "surface/mono_bitmap.h"

namespace tenmark {

struct SettingsDialogValues {
  std::int32_t canvasWidth = 0;
  std::int32_t canvasHeight = 0;
  Color backgroundColor = 0;
  Color penColor = 0;
  Color clientColor = 0;
  std::int32_t useSystemColor = 0;
  std::string saveFolder;
  std::int32_t saveOnExit = 0;
  std::int32_t saveFormat = 0;  // 0 PNG, 1 BMP
  std::int32_t ignoreTabletXY = 0;
  std::int32_t translucency = 0;
  std::int32_t translucent = 0;
  std::int32_t penSize = 0;
  std::int32_t eraserSize = 0;
  std::int32_t pressureSensing = 0;
  std::int32_t hardness = 0;

  bool operator==(const SettingsDialogValues&) const = default;
};

// The canvas sides the dialog accepts: 1 up to, not including, this limit.
inline constexpr std::int32_t kCanvasSideLimit = 6000;

// A size edit's text as a whole number: decimal digits, full-width ones too (as typed with the
// IME on), between optional blanks; none for any other text. A number beyond 32 bits stays at
// the largest, so a huge size is refused as too large rather than wrapping round to a small one.
std::optional<std::int32_t> parseWholeNumber(std::string_view text);

using FolderQuery = std::function<bool(const std::string& path)>;

// Whether a canvas of this size would cut off ink of the picture.
using InkCutQuery = std::function<bool(const CanvasSize& size)>;

// The texts of the edits that OK reads.
struct SettingsEntries {
  std::string width;
  std::string height;
  std::string folder;
};

// What OK makes of the entries: the canvas size typed, or the message that keeps the dialog open.
struct SettingsReading {
  CanvasSize size{};
  std::optional<std::string> problem;
};

// OK refuses, in this order: a size edit that holds no whole number (the message names the field
// and the sides it takes), a side below 1, a side at the limit or above, a save folder that is
// not an existing folder or whose name the settings file (Shift-JIS) cannot hold. What the
// dialog showed (`shown`) is never refused: a larger picture that was opened keeps its size, and
// a program folder that Shift-JIS cannot name stays the save folder, while other settings change.
SettingsReading readSettingsEntries(const SettingsEntries& entries,
                                    const SettingsDialogValues& shown,
                                    const FolderQuery& isDirectory);

// The folder the browser opens on: the folder text when it names an existing folder, without a
// trailing backslash; otherwise none (empty).
std::string browseStartFolder(const std::string& folderText, const FolderQuery& isDirectory);

// The path the folder browser wrote into `buffer`, taken only when it ended inside the buffer
// (a path that filled it may have been cut) and names an existing folder.
std::optional<std::string> browsedFolder(std::span<const char> buffer,
                                         const FolderQuery& isDirectory);

}  // namespace tenmark
