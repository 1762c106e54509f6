// Clipboard DIB reader on arbitrary bytes: it must never crash or read outside the bytes, a
// refused DIB must leave the picture untouched, and a read one must have the canvas's colours
// and at most its size.
#include <cstdint>
#include <span>

#include "fuzz_support.h"
#include "imagefile/dib_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using tenmark::MonoBitmap;
  // A canvas of 37 × 29 with colours of its own; the first byte chooses whether the picture
  // is laid over a light or a dark paper.
  static const MonoBitmap light = [] {
    MonoBitmap c;
    c.create(37, 29);
    c.setColor(0, 0xEAF1F4);
    return c;
  }();
  static const MonoBitmap dark = [] {
    MonoBitmap c;
    c.create(37, 29);
    c.setColor(0, 0x102030);
    c.setColor(1, 0xF0F0F0);
    return c;
  }();
  if (size == 0) return 0;
  const MonoBitmap& canvas = data[0] & 1 ? dark : light;
  const std::span<const std::uint8_t> dib(data + 1, size - 1);
  const MonoBitmap untouched = tenmark::fuzz::markedTarget();
  MonoBitmap picture = tenmark::fuzz::markedTarget();
  if (tenmark::readDib(dib, canvas, picture) != tenmark::DibReading::Read) {
    if (!tenmark::fuzz::sameSurface(picture, untouched)) __builtin_trap();
    return 0;
  }
  if (picture.width() > canvas.width() || picture.height() > canvas.height() ||
      picture.getColor(0) != canvas.getColor(0) || picture.getColor(1) != canvas.getColor(1))
    __builtin_trap();
  return 0;
}
