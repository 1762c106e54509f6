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

// An edit's text as a decimal number: leading blanks and a sign, then the digits up to the first
// other character; no digits give 0. Numbers beyond 32 bits stay at the nearest 32-bit end, so
// a huge width is refused as too large rather than wrapping round to a small one.
std::int32_t parseDecimal(std::string_view text);

using FolderQuery = std::function<bool(const std::string& path)>;

// What OK refuses, in the order it checks: a side below 1, a side at the limit or above, a save
// folder that is not an existing folder. A side left at the canvas's own (`current`) is not
// checked: a larger picture that was opened keeps its size while other settings change. Then a
// folder whose name the settings file (Shift-JIS) cannot hold. The message, or nothing when OK
// may close.
std::optional<std::string> settingsProblem(std::int32_t width, std::int32_t height,
                                           const CanvasSize& current, const std::string& folder,
                                           const FolderQuery& isDirectory);

// The folder the browser opens on: the folder text when it names an existing folder, without a
// trailing backslash; otherwise none (empty).
std::string browseStartFolder(const std::string& folderText, const FolderQuery& isDirectory);

// The path the folder browser wrote into `buffer`, taken only when it ended inside the buffer
// (a path that filled it may have been cut) and names an existing folder.
std::optional<std::string> browsedFolder(std::span<const char> buffer,
                                         const FolderQuery& isDirectory);

}  // namespace tenmark
