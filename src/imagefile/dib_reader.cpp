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
  if (!canvas.hasPixels() || !parseDibLayout(dib, layout)) return DibReading::Refused;
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
  const BmpRowExpander expand(layout, hasAlpha(rows, layout) ? std::optional(paper) : std::nullopt);
  RowReduction reduce(NearerIndex(paper, canvas.getColor(1)));
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width));
  for (int y = 0; y < height; ++y) {
    const int dibRow = layout.topDown ? y : layout.height - 1 - y;
    expand(rows + std::size_t(dibRow) * layout.rowBytes, width, pixels.data());
    reduce(pixels.data(), width, out.row(y));
  }
  picture = std::move(out);
  return DibReading::Read;
}

bool dibHasAlpha(std::span<const std::uint8_t> dib) {
  BmpLayout layout;
  return parseDibLayout(dib, layout) && hasAlpha(dib.data() + layout.pixelOffset, layout);
}

}  // namespace tenmark
