#include "imagefile/document_names.h"

#include <cctype>

#include "platform/path_text.h"

namespace tenmark {

namespace {

bool endsWithIgnoringCase(const std::string& text, std::string_view end) {
  if (text.size() < end.size()) return false;
  for (std::size_t i = 0; i < end.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[text.size() - end.size() + i]);
    if (std::tolower(c) != end[i]) return false;
  }
  return true;
}

// A drive path, or a network path "\\server\share\...".
bool isFullPath(const std::string& name) {
  return name.find(':') != std::string::npos || name.rfind("\\\\", 0) == 0;
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
  if (chosen.size() >= 3 && chosen.compare(chosen.size() - 3, 3, extension) == 0) return chosen;
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
  std::string path = base + extension;
  for (int n = 1; fileExists(path); ++n) path = base + "_" + std::to_string(n) + extension;
  return path;
}

}  // namespace tenmark
