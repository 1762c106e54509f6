#include "imagefile/document_names.h"

#include <algorithm>
#include <charconv>

#include "platform/path_text.h"

namespace tenmark {

namespace {

// As Windows compares names: ASCII letters in either case.
bool endsWithIgnoringCase(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && samePathName(text.substr(text.size() - end.size()), end);
}

// A drive path, or a network path "\\server\share\...".
bool isFullPath(const std::string& name) {
  return name.find(':') != std::string::npos || name.rfind("\\\\", 0) == 0;
}

// "" for the first name, "_n" after it: the numbering of free names.
std::string_view numberSuffix(int n, std::span<char, 12> buffer) {
  if (n <= 0) return {};
  buffer[0] = '_';
  const char* end = std::to_chars(buffer.data() + 1, buffer.data() + buffer.size(), n).ptr;
  return {buffer.data(), std::size_t(end - buffer.data())};
}

}  // namespace

std::optional<PictureFormat> pictureFormatOf(const std::string& path) {
  if (endsWithIgnoringCase(path, ".png")) return PictureFormat::Png;
  if (endsWithIgnoringCase(path, ".bmp")) return PictureFormat::Bmp;
  return std::nullopt;
}

std::string savePathOf(const std::string& documentName, const std::string& saveFolder) {
  return isFullPath(documentName) ? documentName : saveFolder + documentName;
}

std::string completedSaveAsPath(const std::string& chosen, PictureFormat format) {
  const std::string_view extension = format == PictureFormat::Png ? "png" : "bmp";
  if (endsWithIgnoringCase(chosen, extension)) return chosen;
  return chosen + "." + std::string(extension);
}

std::optional<std::string> autoSaveName(const std::string& documentName) {
  std::string name = documentName;
  if (isFullPath(name)) {
    const std::size_t separator = lastCharacter(name, '\\');
    if (separator == std::string::npos) return std::nullopt;
    name.erase(0, separator + 1);
  }
  const std::size_t dot = lastCharacter(name, '.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

std::string withTrailingSeparator(const std::string& folder) {
  if (!folder.empty() && folder.back() == '\\' && lastCharacter(folder, '\\') == folder.size() - 1)
    return folder;
  return folder + "\\";
}

std::string uniqueSavePath(const std::string& base, const std::string& extension,
                           const std::function<bool(const std::string&)>& fileExists) {
  char suffix[12];
  std::string path = base + extension;
  for (int n = 1; fileExists(path); ++n)
    path = base + std::string(numberSuffix(n, suffix)) + extension;
  return path;
}

bool numberedSavePath(std::span<char> out, std::string_view base, std::string_view extension,
                      int n) {
  char buffer[12];
  const std::string_view suffix = numberSuffix(n, buffer);
  if (base.size() + suffix.size() + extension.size() >= out.size()) return false;
  char* at = std::copy(base.begin(), base.end(), out.data());
  at = std::copy(suffix.begin(), suffix.end(), at);
  *std::copy(extension.begin(), extension.end(), at) = '\0';
  return true;
}

}  // namespace tenmark
