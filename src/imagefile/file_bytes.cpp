#include "imagefile/file_bytes.h"

#include <utility>

#include "imagefile/file_source.h"

namespace tenmark {

bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
  FileSource file(path);
  if (!file.isOpen()) return false;
  std::vector<std::uint8_t> content(static_cast<std::size_t>(file.size()));
  if (!file.read(0, content.data(), content.size())) return false;
  bytes = std::move(content);
  return true;
}

}  // namespace tenmark
