#include "dialogs/settings_form.h"

#include <algorithm>
#include <limits>

#include "platform/path_text.h"
#include "platform/unicode.h"
#include "tenmark/texts.h"

namespace tenmark {

namespace {

bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

std::int32_t parseDecimal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr std::int64_t kLimit = std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1;
  std::int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    magnitude = std::min(magnitude * 10 + (text[i] - '0'), kLimit);
  const std::int64_t value = negative ? -magnitude : magnitude;
  return std::int32_t(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                               std::numeric_limits<std::int32_t>::max()));
}

std::optional<std::string> settingsProblem(std::int32_t width, std::int32_t height,
                                           const CanvasSize& current, const std::string& folder,
                                           const FolderQuery& isDirectory) {
  const bool widthTyped = width != current.width;
  const bool heightTyped = height != current.height;
  if ((widthTyped && width < 1) || (heightTyped && height < 1)) return text::CanvasSizeTooSmall;
  if ((widthTyped && width >= kCanvasSideLimit) || (heightTyped && height >= kCanvasSideLimit))
    return text::CanvasSizeTooLarge;
  if (folder.empty() || !isDirectory(folder)) return text::SaveFolderMissing;
  // The settings file keeps Shift-JIS: a folder it cannot name would be lost there.
  if (!utf8ToShiftJis(folder)) return folder + text::SaveFolderNotShiftJisSuffix;
  return std::nullopt;
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
