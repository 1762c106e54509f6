#pragma once
// What the picture file readers' fuzz targets share: a refused file must leave the target
// untouched, and an accepted picture must survive our own writer and reader unchanged.
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "surface/mono_bitmap.h"

namespace tenmark::fuzz {

// A target with content of its own, so that any change to it shows.
inline MonoBitmap markedTarget() {
  MonoBitmap b;
  b.create(5, 3);
  b.setPixel(2, 1, 1);
  b.setColor(0, makeColor(1, 2, 3));
  return b;
}

// Size, colours and every byte, row padding included.
inline bool sameSurface(const MonoBitmap& a, const MonoBitmap& b) {
  return a.width() == b.width() && a.height() == b.height() && a.getColor(0) == b.getColor(0) &&
         a.getColor(1) == b.getColor(1) && a.byteCount() == b.byteCount() &&
         std::memcmp(a.pixels(), b.pixels(), a.byteCount()) == 0;
}

// Size, colours and pixels; bits past the width are not pixels.
inline bool samePicture(const MonoBitmap& a, const MonoBitmap& b) {
  if (a.width() != b.width() || a.height() != b.height() || a.getColor(0) != b.getColor(0) ||
      a.getColor(1) != b.getColor(1) || a.hasPixels() != b.hasPixels())
    return false;
  for (std::int32_t y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, int(y)) != b.pixel(x, int(y))) return false;
  return true;
}

// decode(bytes, target) -> bool; encode(bitmap, out) -> bool; same(a, b) judges the round trip.
template <typename Decode, typename Encode, typename Same>
void checkReader(std::span<const std::uint8_t> input, Decode decode, Encode encode, Same same) {
  const MonoBitmap untouched = markedTarget();
  MonoBitmap target = markedTarget();
  if (!decode(input, target)) {
    if (!sameSurface(target, untouched)) __builtin_trap();
    return;
  }
  std::vector<std::uint8_t> file;
  MonoBitmap again;
  if (!encode(target, file) || !decode(file, again) || !same(again, target)) __builtin_trap();
}

}  // namespace tenmark::fuzz
