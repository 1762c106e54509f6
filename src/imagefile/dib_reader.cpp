#include "imagefile/dib_reader.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "imagefile/bmp_layout.h"
#include "imagefile/bmp_rows.h"
#include "surface/picture_reduction.h"

namespace tenmark {

DibReading readDib(std::span<const std::uint8_t> dib, const MonoBitmap& canvas,
                   MonoBitmap& picture) {
  BmpLayout layout;
  if (!canvas.hasPixels() || parseDibLayout(dib, layout) != PictureFault::None)
    return DibReading::Refused;
  if (layout.encoding == BmpLayout::Encoding::kRle8 ||
      layout.encoding == BmpLayout::Encoding::kRle4)
    return DibReading::NotDecoded;
  const int width = std::min(layout.width, canvas.width());
  const int height = std::min(layout.height, canvas.height());
  MonoBitmap out;
  if (!out.create(width, height)) return DibReading::Refused;
  const Color paper = canvas.getColor(0);
  out.setColor(0, paper);
  out.setColor(1, canvas.getColor(1));
  const std::uint8_t* rows = dib.data() + layout.pixelOffset;
  RowReduction reduce(NearerIndex(paper, canvas.getColor(1)),
                      hasAlpha(rows, layout) ? std::optional(paper) : std::nullopt);
  // Rows other than plain 32-bit ones are expanded first, only as far as the canvas reaches.
  const bool plain = plainThirtyTwoBits(layout);
  const BmpRowExpander expand(layout);
  std::vector<std::uint32_t> pixels(plain ? 0 : static_cast<std::size_t>(width));
  // The rows in the order they lie in memory: read backwards, a bottom-up DIB costs half again
  // as much, as the processor's prefetching starts over at each row.
  for (int i = 0; i < height; ++i) {
    const int y = layout.topDown ? i : height - 1 - i;
    const std::uint8_t* row =
        rows + std::size_t(layout.topDown ? y : layout.height - 1 - y) * layout.rowBytes;
    if (!plain) {
      expand(row, width, pixels.data());
      row = reinterpret_cast<const std::uint8_t*>(pixels.data());
    }
    reduce(row, width, out.row(y));
  }
  picture = std::move(out);
  return DibReading::Read;
}

}  // namespace tenmark
