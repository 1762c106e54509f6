#pragma once
// A fast run-length encoding of bytes for large undo records: a line drawing is mostly long runs
// of one byte. The stream is a sequence of tokens, each a LEB128 header (count - 1) * 2 + run,
// followed by the run's byte or by the count literal bytes.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <utility>

namespace tenmark {

// The encoding of `in` written to `out`, and its length; 0 when it would not be shorter than
// `in` or does not fit in `out`.
std::size_t encodeByteRuns(std::span<const std::uint8_t> in, std::span<std::uint8_t> out);
// Fills all of `out` from `in`; false when `in` is damaged: too short, too long, or a token that
// reaches past `out`. Never reads or writes outside the two.
bool decodeByteRuns(std::span<const std::uint8_t> in, std::span<std::uint8_t> out);

// Bytes kept in chunks, each encoded where that makes it shorter and kept raw otherwise.
class PackedBytes {
 public:
  PackedBytes() = default;
  PackedBytes(PackedBytes&& other) noexcept { *this = std::move(other); }
  PackedBytes& operator=(PackedBytes&& other) noexcept {
    chunks_ = std::move(other.chunks_);
    chunkCount_ = std::exchange(other.chunkCount_, 0);
    return *this;
  }

  // False without memory, with what was held before kept.
  bool pack(std::span<const std::uint8_t> bytes, std::size_t chunkBytes);
  // False when `bytes` is not the size packed or a chunk is damaged.
  bool unpack(std::span<std::uint8_t> bytes) const;
  void release() { *this = PackedBytes{}; }
  bool empty() const { return chunkCount_ == 0; }
  // The memory the chunks hold.
  std::size_t storedBytes() const;

 private:
  struct Chunk {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t stored = 0;
    std::size_t original = 0;
  };
  std::unique_ptr<Chunk[]> chunks_;
  std::size_t chunkCount_ = 0;
};

}  // namespace tenmark
