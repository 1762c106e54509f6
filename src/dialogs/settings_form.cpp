#include "dialogs/settings_form.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "platform/path_text.h"
#include "platform/unicode.h"
#include "tenmark/texts.h"

namespace tenmark {

namespace {

constexpr std::string_view kBlanks = " \t\n\v\f\r";
// ０ to ９ in UTF-8 share their first two bytes; the third runs from 0x90 to 0x99.
constexpr std::string_view kFullWidthDigitLead = "\xEF\xBC";

// The text with each full-width digit as its ASCII digit.
std::string withAsciiDigits(std::string_view text) {
  std::string ascii;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char third = i + 2 < text.size() ? static_cast<unsigned char>(text[i + 2]) : 0;
    if (text.substr(i, 2) == kFullWidthDigitLead && third >= 0x90 && third <= 0x99) {
      ascii += char('0' + (third - 0x90));
      i += 2;
    } else {
      ascii += text[i];
    }
  }
  return ascii;
}

// The dialog's messages with their numbers and field names, all short.
template <typename... Values>
std::string formatted(const char* format, Values... values) {
  char message[256];
  std::snprintf(message, sizeof message, format, values...);
  return message;
}

std::optional<std::string> sideProblem(const std::optional<std::int32_t>& typed, std::int32_t shown,
                                       const char* name) {
  constexpr std::int32_t kLargest = kCanvasSideLimit - 1;
  if (!typed) return formatted(text::CanvasSideNotWholeNumber, name, 1, kLargest);
  if (*typed == shown) return std::nullopt;
  if (*typed < 1) return text::CanvasSizeTooSmall;
  if (*typed > kLargest) return formatted(text::CanvasSizeBeyondLimit, kLargest);
  return std::nullopt;
}

std::optional<std::string> folderProblem(const std::string& folder, const std::string& shown,
                                         const FolderQuery& isDirectory) {
  if (folder == shown) return std::nullopt;
  if (folder.empty() || !isDirectory(folder)) return text::SaveFolderMissing;
  // The settings file keeps Shift-JIS: a folder it cannot name would be lost there.
  if (!utf8ToShiftJis(folder)) return folder + text::SaveFolderNotShiftJisSuffix;
  return std::nullopt;
}

}  // namespace

std::optional<std::int32_t> parseWholeNumber(std::string_view text) {
  const std::string ascii = withAsciiDigits(text);
  const std::size_t first = ascii.find_first_not_of(kBlanks);
  if (first == std::string::npos) return std::nullopt;
  const std::size_t end = ascii.find_last_not_of(kBlanks) + 1;
  constexpr std::int64_t kLargest = std::numeric_limits<std::int32_t>::max();
  std::int64_t value = 0;
  for (std::size_t i = first; i < end; ++i) {
    if (ascii[i] < '0' || ascii[i] > '9') return std::nullopt;
    value = std::min(value * 10 + (ascii[i] - '0'), kLargest);
  }
  return std::int32_t(value);
}

SettingsReading readSettingsEntries(const SettingsEntries& entries,
                                    const SettingsDialogValues& shown,
                                    const FolderQuery& isDirectory) {
  const std::optional<std::int32_t> width = parseWholeNumber(entries.width);
  const std::optional<std::int32_t> height = parseWholeNumber(entries.height);
  std::optional<std::string> problem = sideProblem(width, shown.canvasWidth, text::CanvasWidthName);
  if (!problem) problem = sideProblem(height, shown.canvasHeight, text::CanvasHeightName);
  if (!problem) problem = folderProblem(entries.folder, shown.saveFolder, isDirectory);
  if (problem) return {CanvasSize{}, problem};
  return {CanvasSize{*width, *height}, std::nullopt};
}

std::string browseStartFolder(const std::string& folderText, const FolderQuery& isDirectory) {
  if (folderText.empty() || !isDirectory(folderText)) return std::string();
  // The last byte may be the second half of a double-byte character rather than a backslash.
  if (lastCharacter(folderText, '\\') == folderText.size() - 1)
    return folderText.substr(0, folderText.size() - 1);
  return folderText;
}

std::optional<std::string> browsedFolder(std::span<const char> buffer,
                                         const FolderQuery& isDirectory) {
  const auto end = std::find(buffer.begin(), buffer.end(), '\0');
  if (end == buffer.end()) return std::nullopt;
  std::string path(buffer.begin(), end);
  if (path.empty() || !isDirectory(path)) return std::nullopt;
  return path;
}

}  // namespace tenmark
