#pragma once
// Random-access input for the readers: a memory buffer for tests and fuzzers, a file for the
// program, so that large files need not be copied into memory before decoding.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace tenmark {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t size() const = 0;
  // Copies length bytes from offset; false (out undefined) when they are not all there.
  virtual bool read(std::uint64_t offset, std::uint8_t* out, std::size_t length) = 0;
};

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint64_t size() const override { return bytes_.size(); }
  bool read(std::uint64_t offset, std::uint8_t* out, std::size_t length) override {
    if (offset > bytes_.size() || length > bytes_.size() - offset) return false;
    if (length > 0) std::memcpy(out, bytes_.data() + offset, length);
    return true;
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

}  // namespace tenmark
