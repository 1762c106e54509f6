#include "imagefile/file_bytes.h"

#include <cstdio>
#include <utility>

#include "imagefile/file_source.h"
#include "platform/atomic_replace.h"

namespace tenmark {

bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
  FileSource file(path);
  if (!file.isOpen()) return false;
  std::vector<std::uint8_t> content(static_cast<std::size_t>(file.size()));
  if (!file.read(0, content.data(), content.size())) return false;
  bytes = std::move(content);
  return true;
}

bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
  const std::string temporary = temporaryNameFor(path);
  std::FILE* f = std::fopen(temporary.c_str(), "wb");
  if (!f) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  written = std::fflush(f) == 0 && written;
  written = std::fclose(f) == 0 && written;
  if (!written) {
    std::remove(temporary.c_str());
    return false;
  }
  return replaceFile(temporary, path);
}

}  // namespace tenmark
