// Transfers from a MonoBitmap into a 32-bit image through the palette: 1:1 and scaled.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "surface/bit_span.h"
#include "surface/copy_clip.h"
#include "surface/mono_bitmap.h"
#include "surface/rgb32_image.h"

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
        ink_(bytes_ + 1),
        paper_(bytes_ + 1),
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

  void write(std::uint32_t* out) const {
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

  // The target pixels of whole source bytes: their blocks' flags gathered into one word, then
  // four pixels at a time from a table indexed by four ink and four paper flags.
  void writeGroups(std::uint32_t* out) const {
    unsigned ink = 0;
    unsigned paper = 0;
    unsigned pending = 0;
    for (std::size_t g = 0; g < groups_; ++g) {
      const std::size_t byte = firstGroupByte_ + g;
      ink |= unsigned(byteFlags_[ink_[byte]]) << pending;
      paper |= unsigned(byteFlags_[paper_[byte]]) << pending;
      pending += unsigned(perByte_);
      for (; pending >= 4; pending -= 4, ink >>= 4, paper >>= 4, out += 4)
        std::memcpy(out, quads_[(ink & 15u) | (paper & 15u) << 4], 16);
    }
    for (; pending > 0; --pending, ink >>= 1, paper >>= 1)
      *out++ = colors_[(ink & 1u) | (paper & 1u) << 1];
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
    for (unsigned value = 0; value < 256; ++value) {
      unsigned flags = 0;
      for (std::size_t k = 0; k < std::size_t(perByte); ++k) {
        const Cover c = covers_[start + k];
        const auto from = unsigned(c.first - covers_[start].first);
        const auto count = unsigned(c.end - c.first);
        const unsigned mask = ((1u << count) - 1u) << (8u - from - count);
        if (value & mask) flags |= 1u << k;
      }
      byteFlags_[value] = std::uint8_t(flags);
    }
    perByte_ = std::size_t(perByte);
    alignedStart_ = start;
    firstGroupByte_ = std::size_t((covers_[start].first >> 3) - firstByte_);
    // Whole source bytes whose blocks are not cut by the source's edge.
    for (std::size_t i = start; i + perByte_ <= covers_.size(); i += perByte_) {
      if (covers_[i + perByte_ - 1].end != covers_[i].first + 8) break;
      ++groups_;
    }
    const auto color = [this](unsigned index, unsigned k, unsigned width) {
      return colors_[((index >> k) & 1u) | ((index >> (width + k)) & 1u) << 1];
    };
    for (unsigned index = 0; index < 256; ++index)
      for (unsigned k = 0; k < 4; ++k) quads_[index][k] = color(index, k, 4);
  }

  static constexpr std::size_t kTableWorthwhile = 64;

  const std::vector<Cover>& covers_;
  std::int64_t firstByte_;
  std::size_t bytes_;
  // One spare byte at the end, so a block's window never reads past them.
  std::vector<std::uint8_t> ink_;
  std::vector<std::uint8_t> paper_;
  std::vector<Block> blocks_;
  std::uint32_t colors_[4];  // by (ink present) | (paper present) << 1
  std::size_t perByte_ = 0;
  std::size_t alignedStart_ = 0;
  std::size_t firstGroupByte_ = 0;
  std::size_t groups_ = 0;  // 0: no byte table
  std::uint8_t byteFlags_[256] = {};
  std::uint32_t quads_[256][4];
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
