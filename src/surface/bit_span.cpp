#include "surface/bit_span.h"

#include <algorithm>
#include <cstring>

#include "surface/instruction_set.h"
#include "surface/shifted_bytes.h"

namespace tenmark::bits {

namespace {

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

// Whole target bytes from a source that starts kShift bits into src[0]. Every source byte read
// holds pixels of the span, also src[n] (it supplies the last byte's low bits). The plain byte
// loop with a constant shift is what the compiler vectorizes best.
template <int kShift>
void copyShiftedBytes(const std::uint8_t* src, std::uint8_t* dst, std::int64_t n) {
  for (std::int64_t i = 0; i < n; ++i) {
    dst[i] = std::uint8_t((src[i] << kShift) | (src[i + 1] >> (8 - kShift)));
  }
}

void copyShiftedBytesPlain(const std::uint8_t* src, int shift, std::uint8_t* dst, std::int64_t n) {
  switch (shift) {
    case 1:
      return copyShiftedBytes<1>(src, dst, n);
    case 2:
      return copyShiftedBytes<2>(src, dst, n);
    case 3:
      return copyShiftedBytes<3>(src, dst, n);
    case 4:
      return copyShiftedBytes<4>(src, dst, n);
    case 5:
      return copyShiftedBytes<5>(src, dst, n);
    case 6:
      return copyShiftedBytes<6>(src, dst, n);
    default:
      return copyShiftedBytes<7>(src, dst, n);
  }
}

#ifdef TENMARK_X86_KERNELS
void copyShiftedBytesSse2(const std::uint8_t* src, int shift, std::uint8_t* dst, std::int64_t n) {
  if (n < 16) return copyShiftedBytesPlain(src, shift, dst, n);
  // The last block overlaps the one before it when n is no multiple of 16.
  for (std::int64_t i = 0;; i = std::min<std::int64_t>(i + 16, n - 16)) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i + 1));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), simd::shiftedBytes(a, b, shift));
    if (i == n - 16) return;
  }
}

__attribute__((target("avx2"))) void copyShiftedBytesAvx2(const std::uint8_t* src, int shift,
                                                          std::uint8_t* dst, std::int64_t n) {
  if (n < 32) return copyShiftedBytesPlain(src, shift, dst, n);
  // The last block overlaps the one before it when n is no multiple of 32.
  for (std::int64_t i = 0;; i = std::min<std::int64_t>(i + 32, n - 32)) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i + 1));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), simd::shiftedBytes(a, b, shift));
    if (i == n - 32) return;
  }
}
#endif

void copyShiftedBytes(const std::uint8_t* src, int shift, std::uint8_t* dst, std::int64_t n) {
  switch (simd::instructionSet()) {
#ifdef TENMARK_X86_KERNELS
    case simd::InstructionSet::Avx2:
      return copyShiftedBytesAvx2(src, shift, dst, n);
    case simd::InstructionSet::Sse2:
      return copyShiftedBytesSse2(src, shift, dst, n);
#endif
    default:
      return copyShiftedBytesPlain(src, shift, dst, n);
  }
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
  // Blocks of 64 bytes ORed together (vectorized), so the early exit costs one test per block.
  for (; i + 64 <= whole; i += 64) {
    std::uint8_t any = 0;
    for (int k = 0; k < 64; ++k) any = std::uint8_t(any | row[i + k]);
    if (any != 0) return true;
  }
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

}  // namespace tenmark::bits
