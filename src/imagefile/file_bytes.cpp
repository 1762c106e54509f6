#include "imagefile/file_bytes.h"

#include <cstdio>
#include <memory>
#include <utility>

#include "platform/atomic_replace.h"

namespace tenmark {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

long fileLength(std::FILE* f) {
  if (std::fseek(f, 0, SEEK_END) != 0) return -1;
  const long length = std::ftell(f);
  return std::fseek(f, 0, SEEK_SET) == 0 ? length : -1;
}

}  // namespace

bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
  const FilePtr f(std::fopen(path.c_str(), "rb"));
  if (!f) return false;
  const long length = fileLength(f.get());
  if (length < 0 || std::uint64_t(length) > kMaxFileBytes) return false;
  std::vector<std::uint8_t> content(static_cast<std::size_t>(length));
  if (std::fread(content.data(), 1, content.size(), f.get()) != content.size()) return false;
  // A length that wrapped in ftell would leave bytes behind: refuse rather than cut the file.
  if (std::fgetc(f.get()) != EOF) return false;
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
