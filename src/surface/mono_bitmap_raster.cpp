// Raster operations of MonoBitmap: fill, copies, mirrors, swapped indices and the ink tests. All
// work on palette indices, whole rows at a time; the bits after the last pixel of a row are never
// read as pixels.
#include <algorithm>
#include <cstring>
#include <vector>

#include "surface/bit_reverse.h"
#include "surface/bit_span.h"
#include "surface/copy_clip.h"
#include "surface/mono_bitmap.h"

namespace tenmark {

void MonoBitmap::fill(int index) {
  if (!hasPixels()) return;
  for (std::int32_t y = 0; y < height_; ++y) bits::fillBits(row(y), 0, width_, index != 0);
}

void MonoBitmap::copyRectTo(const Rect& source, MonoBitmap& target, Point at) const {
  if (!hasPixels() || !target.hasPixels()) return;
  CopyRect r{source.x, source.y, at.x, at.y, source.width, source.height};
  if (!clipCopy(r, width_, height_, target.width(), target.height())) return;

  if (&target != this) {
    for (std::int64_t i = 0; i < r.h; ++i) {
      bits::copyBits(row(std::int32_t(r.sy + i)), r.sx, target.row(std::int32_t(r.ty + i)), r.tx,
                     r.w);
    }
    return;
  }
  // A copy within one surface: each source row goes through a scratch row, and rows are taken
  // in the order that reads every source row before it is overwritten.
  std::vector<std::uint8_t> scratch(static_cast<std::size_t>(stride_));
  const bool downward = r.ty > r.sy;
  for (std::int64_t k = 0; k < r.h; ++k) {
    const std::int64_t i = downward ? r.h - 1 - k : k;
    std::memcpy(scratch.data(), row(std::int32_t(r.sy + i)), scratch.size());
    bits::copyBits(scratch.data(), r.sx, target.row(std::int32_t(r.ty + i)), r.tx, r.w);
  }
}

void MonoBitmap::copyShiftedFrom(const MonoBitmap& source, int dx, int dy) {
  if (!hasPixels() || !source.hasPixels() || &source == this) return;
  // The columns that the source covers, the same on every row it reaches.
  const std::int64_t from = std::clamp<std::int64_t>(dx, 0, width_);
  const std::int64_t to = std::clamp<std::int64_t>(std::int64_t(source.width()) + dx, from, width_);
  for (std::int64_t y = 0; y < std::int64_t(height_); ++y) {
    std::uint8_t* out = row(std::int32_t(y));
    const std::int64_t sy = y - dy;
    if (sy < 0 || sy >= source.height() || to == from) {
      bits::fillBits(out, 0, width_, false);
      continue;
    }
    bits::fillBits(out, 0, from, false);
    bits::copyBits(source.row(std::int32_t(sy)), from - dx, out, from, to - from);
    bits::fillBits(out, to, width_ - to, false);
  }
}

void MonoBitmap::copyAllFrom(const MonoBitmap& source) {
  source.copyRectTo(Rect{0, 0, source.width(), source.height()}, *this, Point{0, 0});
}

void MonoBitmap::assign(const MonoBitmap& source) {
  if (&source == this) return;
  if (source.width() != width_ || source.height() != height_) {
    create(source.width(), source.height());
  }
  setColor(0, source.getColor(0));
  setColor(1, source.getColor(1));
  copyAllFrom(source);
}

void MonoBitmap::mirrorLeftRight() {
  if (!hasPixels()) return;
  std::vector<std::uint8_t> scratch(static_cast<std::size_t>(stride_));
  for (std::int32_t y = 0; y < height_; ++y) bits::mirrorRow(row(y), width_, scratch.data());
}

void MonoBitmap::mirrorTopBottom() {
  if (!hasPixels()) return;
  for (std::int32_t top = 0, bottom = height_ - 1; top < bottom; ++top, --bottom) {
    std::swap_ranges(row(top), row(top) + stride_, row(bottom));
  }
}

void MonoBitmap::swapIndices() {
  if (!hasPixels()) return;
  const std::size_t whole = std::size_t(width_) / 8;
  // The pixels of a last byte that is only partly the picture's; the padding keeps its bits.
  const auto last = std::uint8_t(0xFF00u >> (width_ % 8));
  for (std::int32_t y = 0; y < height_; ++y) {
    std::uint8_t* r = row(y);
    for (std::size_t i = 0; i < whole; ++i) r[i] = std::uint8_t(~r[i]);
    if (width_ % 8 != 0) r[whole] ^= last;
  }
  const Color zero = getColor(0);
  setColor(0, getColor(1));
  setColor(1, zero);
}

bool MonoBitmap::isBlank() const {
  if (!hasPixels()) return true;
  for (std::int32_t y = 0; y < height_; ++y) {
    if (bits::anyBits(row(y), width_)) return false;
  }
  return true;
}

bool MonoBitmap::hasInkOutside(std::int32_t width, std::int32_t height) const {
  if (!hasPixels()) return false;
  const std::int32_t keptWidth = std::clamp(width, 0, width_);
  for (std::int32_t y = 0; y < height_; ++y) {
    const std::int32_t first = y < height ? keptWidth : 0;
    if (bits::anyBitsIn(row(y), first, width_ - first)) return true;
  }
  return false;
}

}  // namespace tenmark
