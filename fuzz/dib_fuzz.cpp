// Clipboard DIB reader on arbitrary bytes: it must never crash or read outside the bytes, a
// refused DIB must leave the picture untouched, and a read one must have the canvas's colours
// and at most its size. Plain 32-bit rows, which skip the expansion, must give the picture that
// reading each pixel through its masks gives.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "fuzz_support.h"
#include "imagefile/bmp_layout.h"
#include "imagefile/bmp_rows.h"
#include "imagefile/dib_reader.h"
#include "surface/picture_reduction.h"

namespace {

using tenmark::MonoBitmap;

// The picture readDib gives, with every row expanded pixel by pixel through the masks.
MonoBitmap readThroughMasks(std::span<const std::uint8_t> dib, const tenmark::BmpLayout& layout,
                            const MonoBitmap& canvas, int width, int height) {
  MonoBitmap out;
  out.create(width, height);
  const tenmark::Color paper = canvas.getColor(0);
  out.setColor(0, paper);
  out.setColor(1, canvas.getColor(1));
  const std::uint8_t* rows = dib.data() + layout.pixelOffset;
  tenmark::RowReduction reduce(
      tenmark::NearerIndex(paper, canvas.getColor(1)),
      tenmark::hasAlpha(rows, layout) ? std::optional(paper) : std::nullopt);
  const tenmark::BmpRowExpander expand(layout);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width));
  for (int y = 0; y < height; ++y) {
    const int fileRow = layout.topDown ? y : layout.height - 1 - y;
    expand.expandBitFields(rows + std::size_t(fileRow) * layout.rowBytes, width, pixels.data());
    reduce(reinterpret_cast<const std::uint8_t*>(pixels.data()), width, out.row(y));
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
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
  tenmark::BmpLayout layout;
  if (tenmark::parseDibLayout(dib, layout) == tenmark::PictureFault::None &&
      tenmark::plainThirtyTwoBits(layout)) {
    const MonoBitmap general =
        readThroughMasks(dib, layout, canvas, picture.width(), picture.height());
    if (!tenmark::fuzz::samePicture(picture, general)) __builtin_trap();
  }
  return 0;
}
