// BMP reader on arbitrary bytes: it must never crash, a refused file must leave the target
// untouched, and an accepted picture must survive our own writer and reader unchanged.
#include <cstdint>
#include <cstring>
#include <vector>

#include "imagefile/bmp_codec.h"

using tenmark::MonoBitmap;

namespace {

MonoBitmap markedTarget() {
  MonoBitmap b;
  b.create(5, 3);
  b.setPixel(2, 1, 1);
  b.setColor(0, tenmark::makeColor(1, 2, 3));
  return b;
}

bool sameSurface(const MonoBitmap& a, const MonoBitmap& b) {
  return a.width() == b.width() && a.height() == b.height() && a.getColor(0) == b.getColor(0) &&
         a.getColor(1) == b.getColor(1) && a.byteCount() == b.byteCount() &&
         std::memcmp(a.pixels(), b.pixels(), a.byteCount()) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const MonoBitmap untouched = markedTarget();
  MonoBitmap target = markedTarget();
  if (!tenmark::decodeBmp({data, size}, target)) {
    if (!sameSurface(target, untouched)) __builtin_trap();
    return 0;
  }
  const std::vector<std::uint8_t> file = tenmark::encodeBmp(target);
  MonoBitmap again;
  if (!tenmark::decodeBmp(file, again) || !sameSurface(again, target)) __builtin_trap();
  return 0;
}
