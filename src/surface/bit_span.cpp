#include "surface/bit_span.h"

#include <array>
#include <cstring>

namespace tenmark::bits {

namespace {

// Rows are MSB-first, so 8 bytes read big-endian form a word whose top bit is the leftmost pixel
// and a shift moves pixels along the row. The byte-wise form compiles to one load and a bswap.
std::uint64_t loadWord(const std::uint8_t* p) {
  std::uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v = (v << 8) | p[i];
  return v;
}

void storeWord(std::uint8_t* p, std::uint64_t v) {
  for (int i = 7; i >= 0; --i) {
    p[i] = std::uint8_t(v);
    v >>= 8;
  }
}

constexpr std::array<std::uint8_t, 256> makeReverseTable() {
  std::array<std::uint8_t, 256> table{};
  for (unsigned b = 0; b < 256; ++b) {
    unsigned r = 0;
    for (unsigned bit = 0; bit < 8; ++bit) r |= ((b >> bit) & 1u) << (7 - bit);
    table[b] = std::uint8_t(r);
  }
  return table;
}
constexpr std::array<std::uint8_t, 256> kReverse = makeReverseTable();

std::uint64_t reverseWord(std::uint64_t v) {
  std::uint64_t r = 0;
  for (int i = 0; i < 8; ++i) {
    r = (r << 8) | kReverse[v & 0xFFu];
    v >>= 8;
  }
  return r;
}

// The top `count` bits of a byte (count 0..8).
std::uint8_t topMask(std::int64_t count) { return std::uint8_t(0xFF00u >> count); }

// `count` (1..8) pixels starting at pixel x, left-aligned in a byte, the low bits zero. Reads
// the second byte only when the pixels reach into it.
std::uint8_t getBits(const std::uint8_t* row, std::int64_t x, std::int64_t count) {
  const std::uint8_t* p = row + (x >> 3);
  const int offset = int(x & 7);
  unsigned v = unsigned(p[0]) << offset;
  if (offset + count > 8) v |= unsigned(p[1]) >> (8 - offset);
  return std::uint8_t(v & topMask(count));
}

// Writes the top `count` bits of `bits` to pixels x .. x + count - 1, all inside one byte.
void putBits(std::uint8_t* row, std::int64_t x, std::int64_t count, std::uint8_t bits) {
  std::uint8_t& byte = row[x >> 3];
  const int offset = int(x & 7);
  const auto mask = std::uint8_t(topMask(count) >> offset);
  byte = std::uint8_t((byte & ~mask) | ((bits >> offset) & mask));
}

// Whole target bytes from a source that starts `shift` (1..7) bits into src[0]. Every source
// byte read holds pixels of the span, also src[n] (it supplies the last byte's low bits).
void copyShiftedBytes(const std::uint8_t* src, int shift, std::uint8_t* dst, std::int64_t n) {
  std::int64_t i = 0;
  for (; i + 8 < n; i += 8) {
    storeWord(dst + i, (loadWord(src + i) << shift) | (src[i + 8] >> (8 - shift)));
  }
  for (; i < n; ++i) dst[i] = std::uint8_t((src[i] << shift) | (src[i + 1] >> (8 - shift)));
}

}  // namespace

void copyBits(const std::uint8_t* src, std::int64_t srcX, std::uint8_t* dst, std::int64_t dstX,
              std::int64_t count) {
  if (count <= 0) return;
  if (const std::int64_t head = dstX & 7; head != 0) {
    const std::int64_t n = count < 8 - head ? count : 8 - head;
    putBits(dst, dstX, n, getBits(src, srcX, n));
    srcX += n;
    dstX += n;
    count -= n;
  }
  const std::int64_t whole = count >> 3;
  const std::uint8_t* s = src + (srcX >> 3);
  std::uint8_t* d = dst + (dstX >> 3);
  const int shift = int(srcX & 7);
  if (shift == 0) {
    std::memcpy(d, s, std::size_t(whole));
  } else if (whole > 0) {
    copyShiftedBytes(s, shift, d, whole);
  }
  if (const std::int64_t tail = count & 7; tail != 0) {
    putBits(dst, dstX + whole * 8, tail, getBits(src, srcX + whole * 8, tail));
  }
}

void fillBits(std::uint8_t* row, std::int64_t first, std::int64_t count, bool ink) {
  if (count <= 0) return;
  const std::uint8_t value = ink ? 0xFF : 0x00;
  if (const std::int64_t head = first & 7; head != 0) {
    const std::int64_t n = count < 8 - head ? count : 8 - head;
    putBits(row, first, n, value);
    first += n;
    count -= n;
  }
  std::memset(row + (first >> 3), value, std::size_t(count >> 3));
  if (const std::int64_t tail = count & 7; tail != 0) {
    putBits(row, first + (count & ~std::int64_t(7)), tail, value);
  }
}

bool anyBits(const std::uint8_t* row, std::int64_t count) {
  const std::int64_t whole = count >> 3;
  std::int64_t i = 0;
  for (; i + 8 <= whole; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, row + i, 8);
    if (word != 0) return true;
  }
  for (; i < whole; ++i) {
    if (row[i] != 0) return true;
  }
  return (count & 7) != 0 && (row[whole] & topMask(count & 7)) != 0;
}

bool anyBitsIn(const std::uint8_t* row, std::int64_t first, std::int64_t count) {
  if (count <= 0) return false;
  if (const std::int64_t head = first & 7; head != 0) {
    const std::int64_t n = count < 8 - head ? count : 8 - head;
    if (getBits(row, first, n) != 0) return true;
    first += n;
    count -= n;
  }
  return anyBits(row + (first >> 3), count);
}

void reverseRow(const std::uint8_t* src, std::int64_t width, std::uint8_t* dst) {
  // Target byte j holds source pixels width - 8j - 8 .. width - 8j - 1, all starting at the
  // same bit offset within their bytes.
  const int shift = int(width & 7);
  const std::int64_t whole = width >> 3;
  std::int64_t j = 0;
  for (; j + 8 <= whole; j += 8) {
    const std::int64_t x = width - 8 * j - 64;
    const std::uint8_t* s = src + (x >> 3);
    std::uint64_t word = loadWord(s);
    if (shift != 0) word = (word << shift) | (s[8] >> (8 - shift));
    storeWord(dst + j, reverseWord(word));
  }
  for (; j < whole; ++j) dst[j] = kReverse[getBits(src, width - 8 * j - 8, 8)];
  // The first `shift` source pixels, right-aligned so that reversing leaves the padding zero.
  if (shift != 0) dst[whole] = kReverse[getBits(src, 0, shift) >> (8 - shift)];
}

}  // namespace tenmark::bits
