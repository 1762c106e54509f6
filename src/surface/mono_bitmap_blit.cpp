// Transfers from a MonoBitmap into a 32-bit image through the palette: 1:1 and scaled.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <optional>
#include <vector>

#include "surface/bit_span.h"
#include "surface/copy_clip.h"
#include "surface/instruction_set.h"
#include "surface/mono_bitmap.h"
#include "surface/rgb32_image.h"

#ifdef TENMARK_X86_KERNELS
#include <immintrin.h>
#endif

namespace tenmark {

namespace {

bool usable(const Rgb32Image& image) {
  return image.width > 0 && image.height > 0 &&
         image.pixels.size() == std::size_t(image.width) * std::size_t(image.height);
}

// The source pixels [first, end) that one target pixel of a scaled copy covers: i * s / t up to
// (i + 1) * s / t, at least one pixel (enlarging repeats it), cut to the source extent.
struct Cover {
  std::int64_t first;
  std::int64_t end;
};

Cover coverOf(std::int64_t i, std::int64_t origin, std::int64_t s, std::int64_t t,
              std::int64_t extent) {
  const std::int64_t from = i * s / t;
  const std::int64_t to = std::max(from + 1, (i + 1) * s / t);
  return Cover{std::max<std::int64_t>(0, origin + from), std::min(extent, origin + to)};
}

// Target indices [first, end) of a scaled axis that land inside the target.
Cover visibleTargets(std::int64_t origin, std::int64_t size, std::int64_t extent) {
  return Cover{std::max<std::int64_t>(0, -origin), std::min(size, extent - origin)};
}

// The source columns that any of the covers reach.
Cover unionOf(const std::vector<Cover>& covers) {
  Cover span{INT64_MAX, 0};
  for (const Cover& c : covers) {
    if (c.first >= c.end) continue;
    span.first = std::min(span.first, c.first);
    span.end = std::max(span.end, c.end);
  }
  return span;
}

inline int bitAt(const std::uint8_t* row, std::int64_t x) {
  return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

// Pixels from a row of colour indices 0 to 3: out[i] = colors[indices[i]].
void writeColorsPlain(const std::uint8_t* indices, std::size_t n, const std::uint32_t colors[4],
                      std::uint32_t* out) {
  for (std::size_t i = 0; i < n; ++i) out[i] = colors[indices[i]];
}

#ifdef TENMARK_X86_KERNELS
// Four pixels at a time: each index compared with 1, 2 and 3 selects the difference of that
// colour from colour 0.
void writeColorsSse2(const std::uint8_t* indices, std::size_t n, const std::uint32_t colors[4],
                     std::uint32_t* out) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i base = _mm_set1_epi32(int(colors[0]));
  __m128i index[3], change[3];
  for (int k = 0; k < 3; ++k) {
    index[k] = _mm_set1_epi32(k + 1);
    change[k] = _mm_set1_epi32(int(colors[k + 1] ^ colors[0]));
  }
  std::size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    std::int32_t four;
    std::memcpy(&four, indices + i, 4);
    const __m128i v = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(four), zero), zero);
    __m128i pixel = base;
    for (int k = 0; k < 3; ++k)
      pixel = _mm_xor_si128(pixel, _mm_and_si128(_mm_cmpeq_epi32(v, index[k]), change[k]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), pixel);
  }
  writeColorsPlain(indices + i, n - i, colors, out + i);
}

// Eight pixels at a time, the indices widened to 32 bits and looked up by a lane permutation.
__attribute__((target("avx2"))) void writeColorsAvx2(const std::uint8_t* indices, std::size_t n,
                                                     const std::uint32_t colors[4],
                                                     std::uint32_t* out) {
  const __m256i table =
      _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(colors)));
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i v =
        _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(indices + i)));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_permutevar8x32_epi32(table, v));
  }
  writeColorsPlain(indices + i, n - i, colors, out + i);
}
#endif

void writeColors(const std::uint8_t* indices, std::size_t n, const std::uint32_t colors[4],
                 std::uint32_t* out) {
  switch (simd::instructionSet()) {
#ifdef TENMARK_X86_KERNELS
    case simd::InstructionSet::Avx2:
      return writeColorsAvx2(indices, n, colors, out);
    case simd::InstructionSet::Sse2:
      return writeColorsSse2(indices, n, colors, out);
#endif
    default:
      return writeColorsPlain(indices, n, colors, out);
  }
}

// Where 16 target pixels at a time find their blocks when every source byte holds perByte of
// them: for each pixel, its source byte counted from the chunk's first byte and its block's
// mask in it. The chunks repeat after `chunks` of them, which span `bytes` source bytes.
struct ChunkPattern {
  std::size_t chunks = 0;
  std::size_t bytes = 0;
  std::uint8_t first[8] = {};  // each chunk's first source byte, from the period's start
  std::uint8_t byte[8][16] = {};
  std::uint8_t mask[8][16] = {};
};

ChunkPattern chunkPattern(std::size_t perByte, const std::uint8_t blockMasks[8]) {
  ChunkPattern p;
  p.chunks = perByte / std::gcd(perByte, std::size_t(16));
  p.bytes = 16 * p.chunks / perByte;
  for (std::size_t j = 0; j < p.chunks; ++j) {
    p.first[j] = std::uint8_t(16 * j / perByte);
    for (std::size_t q = 0; q < 16; ++q) {
      p.byte[j][q] = std::uint8_t((16 * j + q) / perByte - p.first[j]);
      p.mask[j][q] = blockMasks[(16 * j + q) % perByte];
    }
  }
  return p;
}

#ifdef TENMARK_X86_KERNELS
// 1 for each of 16 pixels whose block holds a set bit: its byte gathered by a byte shuffle and
// tested against its block's mask.
__attribute__((target("avx2"))) inline __m128i blockFlags(const std::uint8_t* from, __m128i byte,
                                                          __m128i mask) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
  return _mm_min_epu8(_mm_and_si128(_mm_shuffle_epi8(v, byte), mask), _mm_set1_epi8(1));
}

// Pixels of whole source bytes straight from their ink and paper, 16 at a time. Returns the source
// bytes done, whole repeats of the pattern; ink and paper are readable 16 bytes past `bytes`.
__attribute__((target("avx2"))) std::size_t writeChunksAvx2(
    const ChunkPattern& pattern, const std::uint8_t* ink, const std::uint8_t* paper,
    std::size_t bytes, const std::uint32_t colors[4], std::uint32_t* out) {
  const __m256i table =
      _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(colors)));
  std::size_t done = 0;
  for (; done + pattern.bytes <= bytes; done += pattern.bytes) {
    for (std::size_t j = 0; j < pattern.chunks; ++j, out += 16) {
      const __m128i byte = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pattern.byte[j]));
      const __m128i mask = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pattern.mask[j]));
      const std::size_t at = done + pattern.first[j];
      const __m128i paperFlags = blockFlags(paper + at, byte, mask);
      const __m128i index =
          _mm_or_si128(blockFlags(ink + at, byte, mask), _mm_add_epi8(paperFlags, paperFlags));
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(out),
                          _mm256_permutevar8x32_epi32(table, _mm256_cvtepu8_epi32(index)));
      _mm256_storeu_si256(
          reinterpret_cast<__m256i*>(out + 8),
          _mm256_permutevar8x32_epi32(table, _mm256_cvtepu8_epi32(_mm_srli_si128(index, 8))));
    }
  }
  return done;
}
#endif

// Which source pixels under one target row hold ink and which paper. A target pixel is the AND
// of the colours present in its block, so ink on paper shows as ink & paper. Only the source
// bytes under the visible target are read: presenting a small rectangle costs the same on any
// canvas size.
class RowReduction {
 public:
  // The target pixels show the source at s : t.
  RowReduction(const std::vector<Cover>& covers, Cover span, std::int64_t s, std::int64_t t,
               const std::uint32_t palette[2])
      : covers_(covers),
        firstByte_(span.first >> 3),
        bytes_(std::size_t(((span.end + 7) >> 3) - firstByte_)),
        ink_(bytes_ + 16),
        paper_(bytes_ + 16),
        colors_{~0u, palette[1], palette[0], palette[0] & palette[1]} {
    // Each target pixel's block as a mask over the 16 bits from one byte on, worked out once.
    blocks_.reserve(covers.size());
    for (const Cover& c : covers) {
      Block b{0, 0};
      const std::int64_t x = c.first - firstByte_ * 8;
      const std::int64_t n = c.end - c.first;
      if (n > 0 && (x & 7) + n <= 16) {
        b.byte = std::uint32_t(x >> 3);
        b.mask = std::uint16_t(((1u << n) - 1u) << (16 - (x & 7) - n));
      }
      blocks_.push_back(b);
    }
    if (8 * t % s == 0) makeByteTable(8 * t / s);
  }

  void gather(const MonoBitmap& source, Cover rows) {
    std::uint8_t* __restrict ink = ink_.data();
    std::uint8_t* __restrict paper = paper_.data();
    const std::uint8_t* __restrict src = source.row(std::int32_t(rows.first)) + firstByte_;
    for (std::size_t k = 0; k < bytes_; ++k) {
      ink[k] = src[k];
      paper[k] = std::uint8_t(~src[k]);
    }
    for (std::int64_t y = rows.first + 1; y < rows.end; ++y) {
      src = source.row(std::int32_t(y)) + firstByte_;
      for (std::size_t k = 0; k < bytes_; ++k) {
        ink[k] = std::uint8_t(ink[k] | src[k]);
        paper[k] = std::uint8_t(paper[k] | ~src[k]);
      }
    }
  }

  void write(std::uint32_t* out) {
    std::size_t i = 0;
    if (groups_ > 0) {
      for (; i < alignedStart_; ++i) writeOne(i, out);
      writeGroups(out + i);
      i += groups_ * perByte_;
    }
    for (; i < blocks_.size(); ++i) writeOne(i, out);
  }

 private:
  struct Block {
    std::uint32_t byte;
    std::uint16_t mask;  // 0: the block is empty or too long for one window
  };

  void writeOne(std::size_t i, std::uint32_t* out) const {
    const Block b = blocks_[i];
    bool hasInk;
    bool hasPaper;
    if (b.mask != 0) {
      hasInk = (unsigned(ink_[b.byte]) << 8 | ink_[b.byte + 1]) & b.mask;
      hasPaper = (unsigned(paper_[b.byte]) << 8 | paper_[b.byte + 1]) & b.mask;
    } else {
      const Cover c = covers_[i];
      if (c.first >= c.end) return;
      const std::int64_t x = c.first - firstByte_ * 8;
      hasInk = bits::anyBitsIn(ink_.data(), x, c.end - c.first);
      hasPaper = bits::anyBitsIn(paper_.data(), x, c.end - c.first);
    }
    out[i] = colors_[int(hasInk) | int(hasPaper) << 1];
  }

  // The target pixels of whole source bytes: each byte's ink and paper give the colour indices
  // of its blocks at once, then the indices become pixels.
  void writeGroups(std::uint32_t* out) {
    std::size_t done = 0;
#ifdef TENMARK_X86_KERNELS
    if (simd::instructionSet() == simd::InstructionSet::Avx2) {
      done = writeChunksAvx2(pattern_, &ink_[firstGroupByte_], &paper_[firstGroupByte_], groups_,
                             colors_, out);
      out += done * perByte_;
    }
#endif
    std::uint8_t* indices = indices_.data();
    for (std::size_t g = done; g < groups_; ++g, indices += perByte_) {
      const std::size_t byte = firstGroupByte_ + g;
      // Eight indices written, perByte of them kept: the next byte's overwrite the rest.
      const std::uint64_t both = spread_[ink_[byte]] | spread_[paper_[byte]] << 1;
      std::memcpy(indices, &both, 8);
    }
    writeColors(indices_.data(), (groups_ - done) * perByte_, colors_, out);
  }

  // When the blocks repeat with every source byte (perByte target pixels to 8 source pixels,
  // as at every reducing zoom level), a table gives the flags of a whole byte's blocks at once.
  void makeByteTable(std::int64_t perByte) {
    if (perByte < 1 || perByte > 8 || blocks_.size() < kTableWorthwhile) return;
    std::size_t start = 0;
    while (start < covers_.size() && covers_[start].first >= covers_[start].end) ++start;
    for (; start < covers_.size() && start < std::size_t(perByte) + 1; ++start)
      if (((covers_[start].first - firstByte_ * 8) & 7) == 0) break;
    // A picture whose columns never start a byte (a reduction from an odd column, say) has no
    // byte-wise blocks: each block is taken on its own.
    if (start >= covers_.size() || ((covers_[start].first - firstByte_ * 8) & 7) != 0) return;
    const std::size_t last = start + std::size_t(perByte) - 1;
    if (last >= covers_.size() || covers_[last].end != covers_[start].first + 8) return;
    std::uint8_t blockMasks[8] = {};
    for (std::size_t k = 0; k < std::size_t(perByte); ++k) {
      const Cover c = covers_[start + k];
      const auto from = unsigned(c.first - covers_[start].first);
      const auto count = unsigned(c.end - c.first);
      blockMasks[k] = std::uint8_t(((1u << count) - 1u) << (8u - from - count));
    }
    for (unsigned value = 0; value < 256; ++value) {
      std::uint64_t flags = 0;
      for (std::size_t k = 0; k < std::size_t(perByte); ++k)
        if (value & blockMasks[k]) flags |= std::uint64_t(1) << (8 * k);
      spread_[value] = flags;
    }
    pattern_ = chunkPattern(std::size_t(perByte), blockMasks);
    perByte_ = std::size_t(perByte);
    alignedStart_ = start;
    firstGroupByte_ = std::size_t((covers_[start].first >> 3) - firstByte_);
    // Whole source bytes whose blocks are not cut by the source's edge.
    for (std::size_t i = start; i + perByte_ <= covers_.size(); i += perByte_) {
      if (covers_[i + perByte_ - 1].end != covers_[i].first + 8) break;
      ++groups_;
    }
    indices_.resize(groups_ * perByte_ + 8);
  }

  static constexpr std::size_t kTableWorthwhile = 64;

  const std::vector<Cover>& covers_;
  std::int64_t firstByte_;
  std::size_t bytes_;
  // Spare bytes at the end, so that neither a block's window nor a vector reads past them.
  std::vector<std::uint8_t> ink_;
  std::vector<std::uint8_t> paper_;
  std::vector<Block> blocks_;
  std::uint32_t colors_[4];  // by (ink present) | (paper present) << 1
  std::size_t perByte_ = 0;
  std::size_t alignedStart_ = 0;
  std::size_t firstGroupByte_ = 0;
  std::size_t groups_ = 0;  // 0: no byte table
  // By source byte: bytes of 1 for the blocks that hold a set bit, one byte to a block.
  std::uint64_t spread_[256] = {};
  std::vector<std::uint8_t> indices_;  // the groups' colour indices, with room for 8 more
  ChunkPattern pattern_;
};

// One source row onto one target row where every target pixel shows one source pixel.
class RowExpansion {
 public:
  RowExpansion(const std::vector<Cover>& covers, const std::uint32_t palette[2])
      : covers_(covers), palette_{palette[0], palette[1]} {
    // Side by side at 1:1, eight pixels come from one byte through a table.
    for (const Cover& c : covers) {
      if (c.first >= c.end) continue;
      if (run_ == 0) first_ = std::size_t(&c - covers.data());
      if (run_ > 0 && c.first != covers[first_ + run_ - 1].first + 1) {
        run_ = 0;
        break;
      }
      ++run_;
    }
    if (run_ < kTableWorthwhile) run_ = 0;
    if (run_ == 0) return;
    table_.resize(256 * 8);
    for (unsigned b = 0; b < 256; ++b)
      for (unsigned k = 0; k < 8; ++k) table_[b * 8 + k] = palette_[(b >> (7 - k)) & 1];
  }

  void write(const std::uint8_t* src, std::uint32_t* out) const {
    if (run_ == 0) {
      for (std::size_t i = 0; i < covers_.size(); ++i)
        if (covers_[i].first < covers_[i].end) out[i] = palette_[bitAt(src, covers_[i].first)];
      return;
    }
    std::int64_t x = covers_[first_].first;
    std::uint32_t* to = out + first_;
    std::size_t n = run_;
    for (; n > 0 && (x & 7); --n) *to++ = palette_[bitAt(src, x++)];
    for (; n >= 8; n -= 8, x += 8, to += 8)
      std::memcpy(to, &table_[std::size_t(src[x >> 3]) * 8], 32);
    for (; n > 0; --n) *to++ = palette_[bitAt(src, x++)];
  }

 private:
  static constexpr std::size_t kTableWorthwhile = 256;
  const std::vector<Cover>& covers_;
  std::uint32_t palette_[2];
  std::size_t first_ = 0;
  std::size_t run_ = 0;
  std::vector<std::uint32_t> table_;
};

}  // namespace

void MonoBitmap::blitTo(const Rect& source, Rgb32Image& target, Point at) const {
  if (!hasPixels() || !usable(target)) return;
  CopyRect r{source.x, source.y, at.x, at.y, source.width, source.height};
  if (!clipCopy(r, width_, height_, target.width, target.height)) return;
  const std::uint32_t palette[2] = {toScreenPixel(getColor(0)), toScreenPixel(getColor(1))};
  for (std::int64_t j = 0; j < r.h; ++j) {
    const std::uint8_t* src = row(std::int32_t(r.sy + j));
    std::uint32_t* out = &target.at(int(r.tx), int(r.ty + j));
    for (std::int64_t i = 0; i < r.w; ++i) {
      const std::int64_t x = r.sx + i;
      out[i] = palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
    }
  }
}

void MonoBitmap::stretchTo(const Rect& source, Rgb32Image& target, const Rect& destination) const {
  const int sx = source.x, sy = source.y, sw = source.width, sh = source.height;
  const int tx = destination.x, ty = destination.y, tw = destination.width, th = destination.height;
  if (!hasPixels() || !usable(target) || sw <= 0 || sh <= 0 || tw <= 0 || th <= 0) return;
  const Cover cols = visibleTargets(tx, tw, target.width);
  const Cover rows = visibleTargets(ty, th, target.height);
  if (cols.first >= cols.end || rows.first >= rows.end) return;
  std::vector<Cover> covers;
  covers.reserve(std::size_t(cols.end - cols.first));
  for (std::int64_t i = cols.first; i < cols.end; ++i) {
    covers.push_back(coverOf(i, sx, sw, tw, width_));
  }
  const Cover span = unionOf(covers);
  if (span.first >= span.end) return;

  const std::uint32_t palette[2] = {toScreenPixel(getColor(0)), toScreenPixel(getColor(1))};
  const bool enlarging = sw <= tw;
  std::optional<RowReduction> reduction;
  std::optional<RowExpansion> expansion;
  if (enlarging)
    expansion.emplace(covers, palette);
  else
    reduction.emplace(covers, span, sw, tw, palette);
  Cover previous{-1, -1};
  for (std::int64_t j = rows.first; j < rows.end; ++j) {
    const Cover band = coverOf(j, sy, sh, th, std::int64_t(height_));
    if (band.first >= band.end) continue;
    std::uint32_t* out = &target.at(int(tx + cols.first), int(ty + j));
    if (band.first == previous.first && band.end == previous.end) {
      // Enlarging repeats the row just made.
      std::memcpy(out, out - target.width, covers.size() * sizeof(std::uint32_t));
      continue;
    }
    previous = band;
    if (enlarging) {
      expansion->write(row(std::int32_t(band.first)), out);
    } else {
      reduction->gather(*this, band);
      reduction->write(out);
    }
  }
}

}  // namespace tenmark
