#pragma once
// A file opened for reading as a ByteSource.

#include <cstdio>
#include <string>

#include "imagefile/byte_source.h"

namespace tenmark {

// Largest file we read: what a 32-bit file offset can report on every platform.
constexpr std::uint64_t kMaxFileBytes = 0x7FFFFFFF;

class FileSource final : public ByteSource {
 public:
  // Not open when the file cannot be opened or measured, or is larger than kMaxFileBytes.
  explicit FileSource(const std::string& path);
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  bool isOpen() const { return file_ != nullptr; }
  std::uint64_t size() const override { return size_; }
  bool read(std::uint64_t offset, std::uint8_t* out, std::size_t length) override;

 private:
  std::FILE* file_ = nullptr;
  std::uint64_t size_ = 0;
  std::uint64_t position_ = 0;
};

}  // namespace tenmark
