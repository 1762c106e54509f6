// PNG reader on arbitrary bytes: it must never crash, a refused file must leave the target
// untouched, and an accepted picture must survive our own writer and reader unchanged.
#include <cstdint>
#include <vector>

#include "imagefile/png_codec.h"

using tenmark::MonoBitmap;

namespace {

MonoBitmap markedTarget() {
  MonoBitmap b;
  b.create(5, 3);
  b.setPixel(2, 1, 1);
  b.setColor(0, tenmark::makeColor(1, 2, 3));
  return b;
}

// Bits past the width are not pixels, so pictures are compared pixel by pixel.
bool samePicture(const MonoBitmap& a, const MonoBitmap& b) {
  if (a.width() != b.width() || a.height() != b.height() || a.getColor(0) != b.getColor(0) ||
      a.getColor(1) != b.getColor(1) || a.hasPixels() != b.hasPixels())
    return false;
  for (std::uint32_t y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, int(y)) != b.pixel(x, int(y))) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const MonoBitmap untouched = markedTarget();
  MonoBitmap target = markedTarget();
  if (!tenmark::decodePng({data, size}, target)) {
    if (!samePicture(target, untouched)) __builtin_trap();
    return 0;
  }
  std::vector<std::uint8_t> file;
  MonoBitmap again;
  if (!tenmark::encodePng(target, file) || !tenmark::decodePng(file, again) ||
      !samePicture(again, target))
    __builtin_trap();
  return 0;
}
