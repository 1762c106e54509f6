#include "canvas/byte_runs.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

namespace tenmark {

namespace {

constexpr std::uint64_t kEveryByte = 0x0101010101010101ull;

std::uint64_t loadWord(const std::uint8_t* p) {
  std::uint64_t w;
  std::memcpy(&w, p, sizeof w);
  return w;
}

// Writes tokens into a fixed buffer; once one does not fit, nothing more is written.
class TokenWriter {
 public:
  explicit TokenWriter(std::span<std::uint8_t> out) : out_(out) {}

  void literal(const std::uint8_t* bytes, std::size_t count) {
    if (count == 0 || !header(count, false) || !room(count)) return;
    std::memcpy(out_.data() + used_, bytes, count);
    used_ += count;
  }
  void run(std::uint8_t value, std::size_t count) {
    if (header(count, true) && room(1)) out_[used_++] = value;
  }
  bool full() const { return full_; }
  std::size_t used() const { return used_; }

 private:
  bool room(std::size_t n) {
    if (!full_ && n <= out_.size() - used_) return true;
    full_ = true;
    return false;
  }
  bool header(std::size_t count, bool isRun) {
    std::uint64_t h = (std::uint64_t(count - 1) << 1) | (isRun ? 1u : 0u);
    do {
      if (!room(1)) return false;
      out_[used_++] = std::uint8_t((h & 0x7F) | (h > 0x7F ? 0x80 : 0));
      h >>= 7;
    } while (h != 0);
    return true;
  }

  std::span<std::uint8_t> out_;
  std::size_t used_ = 0;
  bool full_ = false;
};

// The end of the run of `value` that starts at `from`, a word at a time.
std::size_t runEnd(const std::uint8_t* p, std::size_t from, std::size_t n, std::uint8_t value) {
  const std::uint64_t pattern = value * kEveryByte;
  std::size_t end = from;
  while (end + 8 <= n) {
    const std::uint64_t differ = loadWord(p + end) ^ pattern;
    if (differ != 0) return end + std::size_t(std::countr_zero(differ) / 8);
    end += 8;
  }
  while (end < n && p[end] == value) ++end;
  return end;
}

}  // namespace

// True for a word of eight equal bytes.
bool uniform(std::uint64_t w) { return w == std::uint8_t(w) * kEveryByte; }

// How many of the four words from `p` are eight equal bytes, counted without a branch.
int uniformWords(const std::uint8_t* p) {
  int count = 0;
  for (int k = 0; k < 32; k += 8) count += uniform(loadWord(p + k));
  return count;
}

std::size_t encodeByteRuns(std::span<const std::uint8_t> in, std::span<std::uint8_t> out) {
  const std::uint8_t* p = in.data();
  const std::size_t n = in.size();
  TokenWriter writer(out.first(std::min(out.size(), n == 0 ? 0 : n - 1)));
  std::size_t literalStart = 0;
  // Runs are looked for eight bytes at a time, four words in a row without a run costing one
  // branch, so that bytes without runs cost little; every run of 15 bytes or more is found.
  std::size_t i = 0;
  while (i + 8 <= n && !writer.full()) {
    if (i + 32 <= n && uniformWords(p + i) == 0) {
      i += 32;
      continue;
    }
    const std::uint64_t w = loadWord(p + i);
    if (!uniform(w)) {
      i += 8;
      continue;
    }
    const std::uint8_t value = std::uint8_t(w);
    std::size_t start = i;
    if (start >= literalStart + 8) {
      // The run's bytes at the end of the word before, found at once.
      const std::uint64_t differ = loadWord(p + start - 8) ^ w;
      start -= differ == 0 ? 8 : std::size_t(std::countl_zero(differ) / 8);
    }
    while (start > literalStart && p[start - 1] == value) --start;
    const std::size_t end = runEnd(p, i + 8, n, value);
    writer.literal(p + literalStart, start - literalStart);
    writer.run(value, end - start);
    literalStart = i = end;
  }
  writer.literal(p + literalStart, n - literalStart);
  return writer.full() ? 0 : writer.used();
}

bool decodeByteRuns(std::span<const std::uint8_t> in, std::span<std::uint8_t> out) {
  std::size_t at = 0;
  std::size_t filled = 0;
  while (filled < out.size()) {
    std::uint64_t h = 0;
    for (int shift = 0;; shift += 7) {
      if (at == in.size() || shift > 63) return false;
      const std::uint8_t b = in[at++];
      h |= std::uint64_t(b & 0x7F) << shift;
      if (!(b & 0x80)) break;
    }
    const std::uint64_t count = (h >> 1) + 1;
    if (count > out.size() - filled) return false;
    if (h & 1) {
      if (at == in.size()) return false;
      std::memset(out.data() + filled, in[at++], std::size_t(count));
    } else {
      if (count > in.size() - at) return false;
      std::memcpy(out.data() + filled, in.data() + at, std::size_t(count));
      at += std::size_t(count);
    }
    filled += std::size_t(count);
  }
  return at == in.size();
}

bool PackedBytes::pack(std::span<const std::uint8_t> bytes, std::size_t chunkBytes) {
  const std::size_t count = (bytes.size() + chunkBytes - 1) / chunkBytes;
  PackedBytes made;
  made.chunks_.reset(new (std::nothrow) Chunk[count]);
  if (!made.chunks_) return false;
  made.chunkCount_ = count;
  for (std::size_t c = 0; c < count; ++c) {
    const std::span<const std::uint8_t> part =
        bytes.subspan(c * chunkBytes, std::min(chunkBytes, bytes.size() - c * chunkBytes));
    Chunk& chunk = made.chunks_[c];
    chunk.original = part.size();
    chunk.bytes.reset(new (std::nothrow) std::uint8_t[part.size()]);
    if (!chunk.bytes) return false;
    chunk.stored = encodeByteRuns(part, std::span(chunk.bytes.get(), part.size()));
    if (chunk.stored == 0) {
      std::memcpy(chunk.bytes.get(), part.data(), part.size());
      chunk.stored = part.size();
    } else if (std::unique_ptr<std::uint8_t[]> fitted{new (std::nothrow)
                                                          std::uint8_t[chunk.stored]}) {
      // Only the encoding's own bytes are kept; without memory for them the chunk stays whole.
      std::memcpy(fitted.get(), chunk.bytes.get(), chunk.stored);
      chunk.bytes = std::move(fitted);
    }
  }
  *this = std::move(made);
  return true;
}

bool PackedBytes::unpack(std::span<std::uint8_t> bytes) const {
  std::size_t at = 0;
  for (std::size_t c = 0; c < chunkCount_; ++c) {
    const Chunk& chunk = chunks_[c];
    if (chunk.original > bytes.size() - at) return false;
    const std::span<std::uint8_t> part = bytes.subspan(at, chunk.original);
    if (chunk.stored == chunk.original)
      std::memcpy(part.data(), chunk.bytes.get(), chunk.stored);
    else if (!decodeByteRuns(std::span(chunk.bytes.get(), chunk.stored), part))
      return false;
    at += chunk.original;
  }
  return at == bytes.size();
}

std::size_t PackedBytes::storedBytes() const {
  std::size_t total = 0;
  for (std::size_t c = 0; c < chunkCount_; ++c) total += chunks_[c].stored;
  return total;
}

}  // namespace tenmark
