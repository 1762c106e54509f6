#include "imagefile/file_source.h"

#include "platform/file_open.h"

namespace tenmark {

FileSource::FileSource(const std::string& path) : file_(openFile(path, "rb")) {
  if (!file_) return;
  const bool measured = std::fseek(file_, 0, SEEK_END) == 0;
  const long length = measured ? std::ftell(file_) : -1;
  if (length < 0 || std::uint64_t(length) > kMaxFileBytes || std::fseek(file_, 0, SEEK_SET) != 0) {
    std::fclose(file_);
    file_ = nullptr;
    return;
  }
  size_ = std::uint64_t(length);
}

FileSource::~FileSource() {
  if (file_) std::fclose(file_);
}

// Readers go through a file front to back, so a seek is only needed after a skip.
bool FileSource::read(std::uint64_t offset, std::uint8_t* out, std::size_t length) {
  if (!file_ || offset > size_ || length > size_ - offset) return false;
  if (offset != position_ && std::fseek(file_, long(offset), SEEK_SET) != 0) return false;
  position_ = offset;
  const std::size_t got = std::fread(out, 1, length, file_);
  position_ += got;
  return got == length;
}

}  // namespace tenmark
