// Transfers from a MonoBitmap into a 32-bit image through the palette: 1:1 and scaled.
#include <algorithm>
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
  // Only the source bytes under the visible target are read, so presenting a small rectangle
  // costs the same on any canvas size.
  std::int64_t firstX = width_;
  std::int64_t endX = 0;
  for (const Cover& c : covers) {
    if (c.first >= c.end) continue;
    firstX = std::min(firstX, c.first);
    endX = std::max(endX, c.end);
  }
  if (firstX >= endX) return;
  const std::int64_t firstByte = firstX >> 3;
  const std::size_t byteCount = std::size_t(((endX + 7) >> 3) - firstByte);
  // Per target row, which pixels of the covered source rows hold ink and which paper: the
  // target pixel is the AND of the colours present, so ink on paper shows as ink & paper.
  std::vector<std::uint8_t> ink(byteCount);
  std::vector<std::uint8_t> paper(byteCount);
  const std::uint32_t palette[2] = {toScreenPixel(getColor(0)), toScreenPixel(getColor(1))};
  Cover previous{-1, -1};
  for (std::int64_t j = rows.first; j < rows.end; ++j) {
    const Cover band = coverOf(j, sy, sh, th, std::int64_t(height_));
    std::uint32_t* out = &target.at(int(tx + cols.first), int(ty + j));
    if (band.first >= band.end) continue;
    if (band.first == previous.first && band.end == previous.end) {
      // Enlarging repeats the row just made.
      std::memcpy(out, out - target.width, std::size_t(cols.end - cols.first) * 4);
      continue;
    }
    previous = band;
    std::fill(ink.begin(), ink.end(), std::uint8_t(0));
    std::fill(paper.begin(), paper.end(), std::uint8_t(0));
    for (std::int64_t y = band.first; y < band.end; ++y) {
      const std::uint8_t* src = row(std::uint32_t(y)) + firstByte;
      for (std::size_t k = 0; k < ink.size(); ++k) {
        ink[k] = std::uint8_t(ink[k] | src[k]);
        paper[k] = std::uint8_t(paper[k] | ~src[k]);
      }
    }
    for (std::size_t i = 0; i < covers.size(); ++i) {
      const Cover c = covers[i];
      if (c.first >= c.end) continue;
      const std::int64_t x = c.first - firstByte * 8;
      const bool hasInk = bits::anyBitsIn(ink.data(), x, c.end - c.first);
      const bool hasPaper = bits::anyBitsIn(paper.data(), x, c.end - c.first);
      out[i] = (hasPaper ? palette[0] : ~0u) & (hasInk ? palette[1] : ~0u);
    }
  }
}

}  // namespace tenmark
