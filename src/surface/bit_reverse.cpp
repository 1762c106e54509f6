#include "surface/bit_reverse.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "surface/instruction_set.h"
#include "surface/shifted_bytes.h"

namespace tenmark::bits {

namespace {

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

void mirrorBytesTable(const std::uint8_t* src, int shift, std::uint8_t* dst, std::int64_t q) {
  if (shift == 0) {
    for (std::int64_t j = 0; j < q; ++j) dst[j] = kReverse[src[q - 1 - j]];
    return;
  }
  for (std::int64_t j = 0; j < q; ++j) {
    const std::int64_t k = q - 1 - j;
    dst[j] = kReverse[std::uint8_t((src[k] << shift) | (src[k + 1] >> (8 - shift)))];
  }
}

#ifdef TENMARK_X86_KERNELS
// Each byte's bits swapped in pairs `count` apart, `low` selecting the lower of each pair.
__m128i swapBits(__m128i x, int count, char low) {
  const __m128i mask = _mm_set1_epi8(low);
  return _mm_or_si128(_mm_and_si128(_mm_srli_epi16(x, count), mask),
                      _mm_slli_epi16(_mm_and_si128(x, mask), count));
}

// 16 bytes at a time with SSE2 alone: no byte shuffle, so the order of the bytes is reversed
// through dwords, words and bytes, and the bits of each byte by swapping nibbles, pairs and bits.
// The source is read upwards, as the next row's will be.
void mirrorBytesSse2(const std::uint8_t* src, int shift, std::uint8_t* dst, std::int64_t q) {
  if (q < 16) return mirrorBytesTable(src, shift, dst, q);
  // Downwards from the last block; the first, when q is no multiple of 16, overlaps the one
  // before it, which costs less than the bytes one at a time.
  for (std::int64_t j = q - 16;; j = std::max<std::int64_t>(j - 16, 0)) {
    const std::uint8_t* p = src + (q - 16 - j);
    __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    // With no shift the neighbour contributes nothing, and byte q may not exist.
    if (shift)
      x = simd::shiftedBytes(x, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1)), shift);
    x = _mm_shuffle_epi32(x, 0x1B);
    x = _mm_shufflehi_epi16(_mm_shufflelo_epi16(x, 0xB1), 0xB1);
    x = _mm_or_si128(_mm_slli_epi16(x, 8), _mm_srli_epi16(x, 8));
    x = swapBits(swapBits(swapBits(x, 4, 0x0F), 2, 0x33), 1, 0x55);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + j), x);
    if (j == 0) return;
  }
}

// 32 bytes in the opposite order (within each 16-byte lane, then the lanes), each byte's bits
// reversed through a 16-entry nibble table.
__attribute__((target("avx2"))) inline __m256i reversed(__m256i x) {
  const __m256i byteOrder = _mm256_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0,
                                             15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
  const __m256i lowNibble =
      _mm256_setr_epi8(0x00, 0x08, 0x04, 0x0C, 0x02, 0x0A, 0x06, 0x0E, 0x01, 0x09, 0x05, 0x0D, 0x03,
                       0x0B, 0x07, 0x0F, 0x00, 0x08, 0x04, 0x0C, 0x02, 0x0A, 0x06, 0x0E, 0x01, 0x09,
                       0x05, 0x0D, 0x03, 0x0B, 0x07, 0x0F);
  const __m256i highNibble = _mm256_slli_epi16(lowNibble, 4);
  const __m256i nibble = _mm256_set1_epi8(0x0F);
  x = _mm256_permute4x64_epi64(_mm256_shuffle_epi8(x, byteOrder), 0x4E);
  const __m256i lo = _mm256_and_si256(x, nibble);
  const __m256i hi = _mm256_and_si256(_mm256_srli_epi16(x, 4), nibble);
  return _mm256_or_si256(_mm256_shuffle_epi8(highNibble, lo), _mm256_shuffle_epi8(lowNibble, hi));
}

// 32 bytes at a time: shift the source bytes into place and reverse them. The source is read
// upwards, as the next row's will be, so the memory keeps pace.
__attribute__((target("avx2"))) void mirrorBytesAvx2(const std::uint8_t* src, int shift,
                                                     std::uint8_t* dst, std::int64_t q) {
  if (q < 32) return mirrorBytesTable(src, shift, dst, q);
  // Downwards from the last block; the first, when q is no multiple of 32, overlaps the one
  // before it, which costs less than the bytes one at a time.
  for (std::int64_t j = q - 32;; j = std::max<std::int64_t>(j - 32, 0)) {
    const std::uint8_t* p = src + (q - 32 - j);
    __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    // With no shift the neighbour contributes nothing, and byte q may not exist.
    if (shift)
      x = simd::shiftedBytes(x, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 1)), shift);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + j), reversed(x));
    if (j == 0) return;
  }
}

// A row mirrored where it lies, in one pass: a block from each end, both read before either is
// written; the last two may overlap, and less than a block left between them goes through a
// small buffer. Each block for the right end is stored only after the next blocks are read, since
// its first byte is still needed as the neighbour of the next block from the right.
__attribute__((target("avx2"))) void mirrorRowAvx2(std::uint8_t* row, std::int64_t width) {
  const std::int64_t q = width >> 3;
  const int shift = int(width & 7);
  const std::uint8_t first = row[0];
  std::uint8_t* pendingAt = nullptr;
  __m256i pending = _mm256_setzero_si256();
  std::int64_t i = 0;
  for (; q - 2 * i >= 32; i += 32) {
    std::uint8_t* left = row + i;
    std::uint8_t* right = row + (q - 32 - i);
    __m256i fromRight = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(right));
    __m256i fromLeft = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(left));
    if (shift) {
      fromRight = simd::shiftedBytes(
          fromRight, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(right + 1)), shift);
      fromLeft = simd::shiftedBytes(
          fromLeft, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(left + 1)), shift);
    }
    if (pendingAt) _mm256_storeu_si256(reinterpret_cast<__m256i*>(pendingAt), pending);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(left), reversed(fromRight));
    pending = reversed(fromLeft);
    pendingAt = right;
  }
  const std::int64_t middle = std::max<std::int64_t>(q - 2 * i, 0);
  std::uint8_t buffer[33];
  if (middle > 0) std::memcpy(buffer, row + i, std::size_t(middle + (shift ? 1 : 0)));
  if (pendingAt) _mm256_storeu_si256(reinterpret_cast<__m256i*>(pendingAt), pending);
  mirrorBytesTable(buffer, shift, row + i, middle);
  if (shift != 0) row[q] = kReverse[first >> (8 - shift)];
}
#endif

void mirrorBytes(const std::uint8_t* src, int shift, std::uint8_t* dst, std::int64_t q) {
  switch (simd::instructionSet()) {
#ifdef TENMARK_X86_KERNELS
    case simd::InstructionSet::Avx2:
      return mirrorBytesAvx2(src, shift, dst, q);
    case simd::InstructionSet::Sse2:
      return mirrorBytesSse2(src, shift, dst, q);
#endif
    default:
      return mirrorBytesTable(src, shift, dst, q);
  }
}

}  // namespace

void reverseRow(const std::uint8_t* src, std::int64_t width, std::uint8_t* dst) {
  const std::int64_t whole = width >> 3;
  const int shift = int(width & 7);
  mirrorBytes(src, shift, dst, whole);
  // The first `shift` pixels, right-aligned so that reversing leaves the padding bits zero.
  if (shift != 0) dst[whole] = kReverse[src[0] >> (8 - shift)];
}

void mirrorRow(std::uint8_t* row, std::int64_t width, std::uint8_t* scratch) {
#ifdef TENMARK_X86_KERNELS
  if (simd::instructionSet() == simd::InstructionSet::Avx2) return mirrorRowAvx2(row, width);
#endif
  reverseRow(row, width, scratch);
  std::memcpy(row, scratch, std::size_t((width + 7) / 8));
}

}  // namespace tenmark::bits
