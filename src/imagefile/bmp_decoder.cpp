#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "imagefile/bmp_codec.h"
#include "imagefile/bmp_layout.h"
#include "imagefile/bmp_rle.h"
#include "imagefile/bmp_rows.h"
#include "surface/picture_reduction.h"

namespace tenmark {

namespace {

InkTable inkTableFor(const BmpLayout& layout) {
  InkTable ink{};
  for (std::size_t i = 0; i < ink.size(); ++i) {
    const std::uint32_t c = layout.palette[i];
    ink[i] =
        std::uint8_t(kWhiteBlack(int(c & 0xFFu), int((c >> 8) & 0xFFu), int((c >> 16) & 0xFFu)));
  }
  return ink;
}

void reverseRows(MonoBitmap& out) {
  std::vector<std::uint8_t> spare(std::size_t(out.stride()));
  for (std::int32_t top = 0, bottom = out.height() - 1; top < bottom; ++top, --bottom) {
    std::memcpy(spare.data(), out.row(top), spare.size());
    std::memcpy(out.row(top), out.row(bottom), spare.size());
    std::memcpy(out.row(bottom), spare.data(), spare.size());
  }
}

// File rows have exactly the surface's stride: they are read straight into its memory.
bool readOneBitRows(ByteSource& source, const BmpLayout& layout, MonoBitmap& out) {
  if (!source.read(layout.pixelOffset, out.pixels(), out.byteCount())) return false;
  if (!layout.topDown) reverseRows(out);
  out.setColor(0, layout.palette[0]);
  out.setColor(1, layout.palette[1]);
  return true;
}

bool reduceRows(ByteSource& source, const BmpLayout& layout, MonoBitmap& out) {
  const BmpRowExpander expand(layout);
  RowReduction reduce(kWhiteBlack);
  std::vector<std::uint8_t> row(layout.rowBytes);
  std::vector<std::uint32_t> pixels(std::size_t(layout.width));
  const std::uint32_t height = out.height();
  for (std::uint32_t fileRow = 0; fileRow < height; ++fileRow) {
    if (!source.read(layout.pixelOffset + std::uint64_t(fileRow) * row.size(), row.data(),
                     row.size()))
      return false;
    expand(row.data(), layout.width, pixels.data());
    reduce(reinterpret_cast<const std::uint8_t*>(pixels.data()), layout.width,
           out.row(layout.topDown ? fileRow : height - 1 - fileRow));
  }
  return true;
}

bool readRle(ByteSource& source, const BmpLayout& layout, MonoBitmap& out) {
  std::vector<std::uint8_t> data(static_cast<std::size_t>(layout.pixelBytes));
  return source.read(layout.pixelOffset, data.data(), data.size()) &&
         decodeRle(data, layout.bitCount, inkTableFor(layout), out);
}

bool decodePixels(ByteSource& source, const BmpLayout& layout, MonoBitmap& out) {
  if (layout.encoding == BmpLayout::Encoding::kRle8 ||
      layout.encoding == BmpLayout::Encoding::kRle4)
    return readRle(source, layout, out);
  if (layout.bitCount == 1) return readOneBitRows(source, layout, out);
  return reduceRows(source, layout, out);
}

}  // namespace

PictureFault decodeBmp(ByteSource& source, MonoBitmap& target, bool* reduced) {
  if (source.size() == 0) return PictureFault::Empty;
  std::uint8_t head[kBmpHeadBytes];
  const std::size_t headSize = std::size_t(std::min<std::uint64_t>(source.size(), kBmpHeadBytes));
  BmpLayout layout;
  if (!source.read(0, head, headSize)) return PictureFault::CutShort;
  if (const PictureFault fault = parseBmpLayout({head, headSize}, source.size(), layout);
      fault != PictureFault::None)
    return fault;
  // Uncompressed 1-bit rows come from the file whole and the RLE decoder writes every byte
  // itself: clearing the memory first would only touch every page twice.
  const bool everyByteWritten = layout.bitCount == 1 ||
                                layout.encoding == BmpLayout::Encoding::kRle8 ||
                                layout.encoding == BmpLayout::Encoding::kRle4;
  MonoBitmap decoded;
  if (!decoded.create(
          layout.width, layout.height,
          everyByteWritten ? MonoBitmap::InitialPixels::Unset : MonoBitmap::InitialPixels::Zero))
    return PictureFault::TooLarge;
  // The bounds are checked: what is missing now is the end of the run-length data.
  if (!decodePixels(source, layout, decoded)) return PictureFault::CutShort;
  target = std::move(decoded);
  if (reduced) *reduced = layout.bitCount != 1;
  return PictureFault::None;
}

PictureFault decodeBmp(std::span<const std::uint8_t> file, MonoBitmap& target) {
  MemorySource source(file);
  return decodeBmp(source, target);
}

}  // namespace tenmark
