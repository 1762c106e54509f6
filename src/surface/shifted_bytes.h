#pragma once
// Vectors of bytes read `shift` bits (1 to 7) into a string of bytes: a << shift | b >> (8 - shift)
// for each byte, with b the bytes one further on. There are no byte shifts, so 16-bit ones are
// masked: no bit crosses into the next byte.

#include "surface/instruction_set.h"

#ifdef TENMARK_X86_KERNELS
#include <immintrin.h>

namespace tenmark::simd {

inline __m128i shiftedBytes(__m128i a, __m128i b, int shift) {
  const __m128i up = _mm_and_si128(_mm_sll_epi16(a, _mm_cvtsi32_si128(shift)),
                                   _mm_set1_epi8(char(0xFFu << shift)));
  const __m128i down = _mm_and_si128(_mm_srl_epi16(b, _mm_cvtsi32_si128(8 - shift)),
                                     _mm_set1_epi8(char(0xFFu >> (8 - shift))));
  return _mm_or_si128(up, down);
}

__attribute__((target("avx2"))) inline __m256i shiftedBytes(__m256i a, __m256i b, int shift) {
  const __m256i up = _mm256_and_si256(_mm256_sll_epi16(a, _mm_cvtsi32_si128(shift)),
                                      _mm256_set1_epi8(char(0xFFu << shift)));
  const __m256i down = _mm256_and_si256(_mm256_srl_epi16(b, _mm_cvtsi32_si128(8 - shift)),
                                        _mm256_set1_epi8(char(0xFFu >> (8 - shift))));
  return _mm256_or_si256(up, down);
}

}  // namespace tenmark::simd
#endif
