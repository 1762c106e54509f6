#include "surface/bit_reverse.h"

#include <array>

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
#define TENMARK_AVX2_MIRROR 1
#include <immintrin.h>
#endif

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

#ifdef TENMARK_AVX2_MIRROR
// 32 bytes at a time: shift the source bytes into place, reverse their order (within each
// 16-byte lane, then the lanes), and reverse the bits of each byte through a 16-entry nibble
// table. A table of bytes is too slow for the whole-canvas budget.
__attribute__((target("avx2"))) void mirrorBytesAvx2(const std::uint8_t* src, int shift,
                                                     std::uint8_t* dst, std::int64_t q) {
  const __m128i up = _mm_cvtsi32_si128(shift);
  const __m128i down = _mm_cvtsi32_si128(8 - shift);
  const __m256i upMask = _mm256_set1_epi8(char(0xFFu << shift));
  const __m256i downMask = _mm256_set1_epi8(char(0xFFu >> (8 - shift)));
  const __m256i byteOrder = _mm256_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0,
                                             15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
  const __m256i lowNibble =
      _mm256_setr_epi8(0x00, 0x08, 0x04, 0x0C, 0x02, 0x0A, 0x06, 0x0E, 0x01, 0x09, 0x05, 0x0D, 0x03,
                       0x0B, 0x07, 0x0F, 0x00, 0x08, 0x04, 0x0C, 0x02, 0x0A, 0x06, 0x0E, 0x01, 0x09,
                       0x05, 0x0D, 0x03, 0x0B, 0x07, 0x0F);
  const __m256i highNibble = _mm256_slli_epi16(lowNibble, 4);
  const __m256i nibble = _mm256_set1_epi8(0x0F);
  std::int64_t j = 0;
  for (; j + 32 <= q; j += 32) {
    const std::uint8_t* p = src + (q - 32 - j);
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    // With no shift the neighbour contributes nothing, and byte q may not exist.
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(shift ? p + 1 : p));
    __m256i x = _mm256_or_si256(_mm256_and_si256(_mm256_sll_epi16(a, up), upMask),
                                _mm256_and_si256(_mm256_srl_epi16(b, down), downMask));
    x = _mm256_permute4x64_epi64(_mm256_shuffle_epi8(x, byteOrder), 0x4E);
    const __m256i lo = _mm256_and_si256(x, nibble);
    const __m256i hi = _mm256_and_si256(_mm256_srli_epi16(x, 4), nibble);
    x = _mm256_or_si256(_mm256_shuffle_epi8(highNibble, lo), _mm256_shuffle_epi8(lowNibble, hi));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + j), x);
  }
  mirrorBytesTable(src, shift, dst + j, q - j);
}
#endif

MirrorBytes fastestKernel() { return mirrorKernels().front().run; }

}  // namespace

std::vector<MirrorKernel> mirrorKernels() {
  std::vector<MirrorKernel> kernels;
#ifdef TENMARK_AVX2_MIRROR
  if (__builtin_cpu_supports("avx2")) kernels.push_back({"avx2", mirrorBytesAvx2});
#endif
  kernels.push_back({"table", mirrorBytesTable});
  return kernels;
}

void reverseRow(const std::uint8_t* src, std::int64_t width, std::uint8_t* dst) {
  static const MirrorBytes mirrorBytes = fastestKernel();
  const std::int64_t whole = width >> 3;
  const int shift = int(width & 7);
  mirrorBytes(src, shift, dst, whole);
  // The first `shift` pixels, right-aligned so that reversing leaves the padding bits zero.
  if (shift != 0) dst[whole] = kReverse[src[0] >> (8 - shift)];
}

}  // namespace tenmark::bits
