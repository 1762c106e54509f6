// Transfers from a MonoBitmap into a 32-bit image through the palette: 1:1 and scaled.
#include <algorithm>
#include <cstdint>
#include <cstring>
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

// Which source pixels under one target row hold ink and which paper. A target pixel is the AND
// of the colours present in its block, so ink on paper shows as ink & paper. Only the source
// bytes under the visible target are read: presenting a small rectangle costs the same on any
// canvas size.
class RowReduction {
 public:
  explicit RowReduction(Cover columns)
      : firstByte_(columns.first >> 3),
        ink_(std::size_t(((columns.end + 7) >> 3) - firstByte_)),
        paper_(ink_.size()) {}

  void gather(const MonoBitmap& source, Cover rows) {
    std::fill(ink_.begin(), ink_.end(), std::uint8_t(0));
    std::fill(paper_.begin(), paper_.end(), std::uint8_t(0));
    for (std::int64_t y = rows.first; y < rows.end; ++y) {
      const std::uint8_t* src = source.row(std::uint32_t(y)) + firstByte_;
      for (std::size_t k = 0; k < ink_.size(); ++k) {
        ink_[k] = std::uint8_t(ink_[k] | src[k]);
        paper_[k] = std::uint8_t(paper_[k] | ~src[k]);
      }
    }
  }

  void write(const std::vector<Cover>& covers, const std::uint32_t palette[2],
             std::uint32_t* out) const {
    for (std::size_t i = 0; i < covers.size(); ++i) {
      const Cover c = covers[i];
      if (c.first >= c.end) continue;
      const std::int64_t x = c.first - firstByte_ * 8;
      const bool hasInk = bits::anyBitsIn(ink_.data(), x, c.end - c.first);
      const bool hasPaper = bits::anyBitsIn(paper_.data(), x, c.end - c.first);
      out[i] = (hasPaper ? palette[0] : ~0u) & (hasInk ? palette[1] : ~0u);
    }
  }

 private:
  std::int64_t firstByte_;
  std::vector<std::uint8_t> ink_;
  std::vector<std::uint8_t> paper_;
};

}  // namespace

void MonoBitmap::blitTo(int sx, int sy, int w, int h, Rgb32Image& target, int tx, int ty) const {
  if (!hasPixels() || !usable(target)) return;
  CopyRect r{sx, sy, tx, ty, w, h};
  if (!clipCopy(r, width_, height_, target.width, target.height)) return;
  const std::uint32_t palette[2] = {toScreenPixel(getColor(0)), toScreenPixel(getColor(1))};
  for (std::int64_t j = 0; j < r.h; ++j) {
    const std::uint8_t* src = row(std::uint32_t(r.sy + j));
    std::uint32_t* out = &target.at(int(r.tx), int(r.ty + j));
    for (std::int64_t i = 0; i < r.w; ++i) {
      const std::int64_t x = r.sx + i;
      out[i] = palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
    }
  }
}

void MonoBitmap::stretchTo(int sx, int sy, int sw, int sh, Rgb32Image& target, int tx, int ty,
                           int tw, int th) const {
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

  RowReduction reduction(span);
  const std::uint32_t palette[2] = {toScreenPixel(getColor(0)), toScreenPixel(getColor(1))};
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
    reduction.gather(*this, band);
    reduction.write(covers, palette, out);
  }
}

}  // namespace tenmark
