#include "surface/picture_reduction.h"

#include <algorithm>
#include <cstring>

#include "surface/instruction_set.h"

#ifdef TENMARK_X86_KERNELS
#include <immintrin.h>
#endif

namespace tenmark {

namespace {

// Eight flags of 0 or 1, leftmost first, as one byte of indices with the leftmost in the high
// bit: the multiplication gathers the eight low bits into the top byte.
inline std::uint8_t packFlags(const std::uint8_t* flags) {
  std::uint64_t v;
  std::memcpy(&v, flags, 8);
  return std::uint8_t((v * 0x8040201008040201ull) >> 56);
}

#ifdef TENMARK_X86_KERNELS
// Four pixels at a time in 16-bit lanes: each channel laid over the paper as
// (c·a + p·(255 − a) + 127) / 255, the division exact as (t · 0x8081) >> 23 for every 16-bit t,
// then the weighted sum of the channels (pmaddwd) against half the threshold
// (2s > t is s > ⌊t / 2⌋ for whole numbers).
class FourPixels {
 public:
  FourPixels(const NearerIndex::Weights& w, bool blend, const std::uint32_t* paper)
      : weights_(_mm_setr_epi16(std::int16_t(w.blue), std::int16_t(w.green), std::int16_t(w.red), 0,
                                std::int16_t(w.blue), std::int16_t(w.green), std::int16_t(w.red),
                                0)),
        half_(_mm_set1_epi32(w.threshold >> 1)),
        paper_(_mm_setr_epi16(std::int16_t(paper[0]), std::int16_t(paper[1]),
                              std::int16_t(paper[2]), 0, std::int16_t(paper[0]),
                              std::int16_t(paper[1]), std::int16_t(paper[2]), 0)),
        paperTerm_(
            _mm_add_epi16(_mm_mullo_epi16(paper_, _mm_set1_epi16(255)), _mm_set1_epi16(127))),
        blend_(blend) {}

  // Bit i set when pixel i is ink.
  int inkMask(const std::uint8_t* pixels) const {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels));
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = sums(_mm_unpacklo_epi8(v, zero));
    const __m128i high = sums(_mm_unpackhi_epi8(v, zero));
    // Pixel i's sum is the two halves 2i and 2i + 1.
    const __m128 a = _mm_castsi128_ps(low), b = _mm_castsi128_ps(high);
    const __m128i score =
        _mm_add_epi32(_mm_castps_si128(_mm_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0))),
                      _mm_castps_si128(_mm_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1))));
    return _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(score, half_)));
  }

 private:
  // Two pixels as blue, green, red, alpha in 16-bit lanes → their two pairs of partial sums.
  __m128i sums(__m128i channels) const {
    if (blend_) {
      const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(channels, 0xFF), 0xFF);
      // c·a + p·(255 − a) + 127 is (c − p)·a + 255·p + 127, which lies in 0..65152: computed
      // modulo 2^16 it comes out whole.
      const __m128i t =
          _mm_add_epi16(_mm_mullo_epi16(_mm_sub_epi16(channels, paper_), alpha), paperTerm_);
      channels = _mm_srli_epi16(_mm_mulhi_epu16(t, _mm_set1_epi16(std::int16_t(0x8081))), 7);
    }
    return _mm_madd_epi16(channels, weights_);
  }

  __m128i weights_;
  __m128i half_;
  __m128i paper_;
  __m128i paperTerm_;  // 255·p + 127
  bool blend_;
};

// A nibble's four bits in the opposite order.
constexpr std::uint8_t kReversedNibble[16] = {0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15};

// Whole bytes of indices, eight pixels to a byte; returns the pixels done.
int reduceBytesSse2(const NearerIndex::Weights& w, bool blend, const std::uint32_t* paper,
                    const std::uint8_t* pixels, int width, std::uint8_t* row) {
  const FourPixels four(w, blend, paper);
  int done = 0;
  for (; done + 8 <= width; done += 8) {
    const std::uint8_t* p = pixels + 4 * std::size_t(done);
    row[done / 8] =
        std::uint8_t(kReversedNibble[four.inkMask(p)] << 4 | kReversedNibble[four.inkMask(p + 16)]);
  }
  return done;
}

// The same as FourPixels, eight pixels at a time: each 128-bit lane works as FourPixels does on
// its four pixels, and the lanes' results stay in pixel order.
__attribute__((target("avx2"))) int reduceBytesAvx2(const NearerIndex::Weights& w, bool blend,
                                                    const std::uint32_t* paper,
                                                    const std::uint8_t* pixels, int width,
                                                    std::uint8_t* row) {
  const __m256i weights = _mm256_setr_epi16(
      std::int16_t(w.blue), std::int16_t(w.green), std::int16_t(w.red), 0, std::int16_t(w.blue),
      std::int16_t(w.green), std::int16_t(w.red), 0, std::int16_t(w.blue), std::int16_t(w.green),
      std::int16_t(w.red), 0, std::int16_t(w.blue), std::int16_t(w.green), std::int16_t(w.red), 0);
  const __m256i half = _mm256_set1_epi32(w.threshold >> 1);
  const __m256i paperLanes =
      _mm256_setr_epi16(std::int16_t(paper[0]), std::int16_t(paper[1]), std::int16_t(paper[2]), 0,
                        std::int16_t(paper[0]), std::int16_t(paper[1]), std::int16_t(paper[2]), 0,
                        std::int16_t(paper[0]), std::int16_t(paper[1]), std::int16_t(paper[2]), 0,
                        std::int16_t(paper[0]), std::int16_t(paper[1]), std::int16_t(paper[2]), 0);
  const __m256i paperTerm = _mm256_add_epi16(_mm256_mullo_epi16(paperLanes, _mm256_set1_epi16(255)),
                                             _mm256_set1_epi16(127));
  const __m256i zero = _mm256_setzero_si256();
  int done = 0;
  for (; done + 8 <= width; done += 8) {
    const __m256i v =
        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels + 4 * std::size_t(done)));
    __m256i halves[2] = {_mm256_unpacklo_epi8(v, zero), _mm256_unpackhi_epi8(v, zero)};
    for (__m256i& channels : halves) {
      if (blend) {
        const __m256i alpha = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(channels, 0xFF), 0xFF);
        const __m256i t = _mm256_add_epi16(
            _mm256_mullo_epi16(_mm256_sub_epi16(channels, paperLanes), alpha), paperTerm);
        channels =
            _mm256_srli_epi16(_mm256_mulhi_epu16(t, _mm256_set1_epi16(std::int16_t(0x8081))), 7);
      }
      channels = _mm256_madd_epi16(channels, weights);
    }
    const __m256 a = _mm256_castsi256_ps(halves[0]), b = _mm256_castsi256_ps(halves[1]);
    const __m256i score =
        _mm256_add_epi32(_mm256_castps_si256(_mm256_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0))),
                         _mm256_castps_si256(_mm256_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1))));
    const int ink = _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpgt_epi32(score, half)));
    row[done / 8] = std::uint8_t(kReversedNibble[ink & 15] << 4 | kReversedNibble[ink >> 4]);
  }
  return done;
}
#endif

}  // namespace

RowReduction::RowReduction(const NearerIndex& nearer, std::optional<Color> paper)
    : nearer_(nearer),
      blend_(paper.has_value()),
      paper_{(paper.value_or(0) >> 16) & 0xFFu, (paper.value_or(0) >> 8) & 0xFFu,
             paper.value_or(0) & 0xFFu} {}

void RowReduction::operator()(const std::uint8_t* pixels, int width, std::uint8_t* row) {
  int done = 0;
  switch (simd::instructionSet()) {
#ifdef TENMARK_X86_KERNELS
    case simd::InstructionSet::Avx2:
      done = reduceBytesAvx2(nearer_.weights(), blend_, paper_, pixels, width, row);
      break;
    case simd::InstructionSet::Sse2:
      done = reduceBytesSse2(nearer_.weights(), blend_, paper_, pixels, width, row);
      break;
#endif
    default:
      break;
  }
  // The rest one pixel at a time, by the same rule (every pixel for the plain form); eight flags
  // to a byte.
  const int rest = width - done;
  if (rest == 0) return;
  flags_.resize(std::size_t(rest + 7) / 8 * 8);
  std::fill(flags_.begin(), flags_.end(), std::uint8_t(0));
  for (int x = 0; x < rest; ++x) {
    const std::uint8_t* p = pixels + 4 * std::size_t(done + x);
    int c[3] = {p[0], p[1], p[2]};
    if (blend_)
      for (int k = 0; k < 3; ++k) c[k] = (c[k] * p[3] + int(paper_[k]) * (255 - p[3]) + 127) / 255;
    flags_[std::size_t(x)] = std::uint8_t(nearer_(c[2], c[1], c[0]));
  }
  for (int b = 0; b < rest / 8; ++b) row[done / 8 + b] = packFlags(&flags_[std::size_t(b) * 8]);
  if (rest % 8 == 0) return;
  const int last = width / 8;
  const auto keep = std::uint8_t(0xFFu >> (width % 8));
  row[last] = std::uint8_t((row[last] & keep) | packFlags(&flags_[std::size_t(rest / 8) * 8]));
}

void reduceOntoCanvas(const Rgb32Image& picture, MonoBitmap& canvas) {
  if (!canvas.hasPixels() || picture.pixels.size() != std::size_t(picture.width) * picture.height)
    return;
  const int width = std::min(picture.width, canvas.width());
  const int height = std::min(picture.height, canvas.height());
  if (width <= 0 || height <= 0) return;
  RowReduction reduce(NearerIndex(canvas.getColor(0), canvas.getColor(1)));
  for (int y = 0; y < height; ++y)
    reduce(reinterpret_cast<const std::uint8_t*>(picture.pixels.data() +
                                                 std::size_t(y) * std::size_t(picture.width)),
           width, canvas.row(std::int32_t(y)));
}

}  // namespace tenmark
