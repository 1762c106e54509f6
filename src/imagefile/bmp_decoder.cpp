#include <array>
#include <bit>
#include <cstring>
#include <utility>

#include "imagefile/bmp_codec.h"
#include "imagefile/bmp_layout.h"
#include "imagefile/bmp_rle.h"
#include "imagefile/little_endian.h"
#include "imagefile/mono_reduction.h"

namespace tenmark {

namespace {

int inkOf(std::uint32_t color) {
  return nearerMonoIndex(color & 0xFFu, (color >> 8) & 0xFFu, (color >> 16) & 0xFFu);
}

InkTable inkTableFor(const BmpLayout& layout) {
  InkTable ink{};
  for (std::size_t i = 0; i < ink.size(); ++i) ink[i] = std::uint8_t(inkOf(layout.palette[i]));
  return ink;
}

// Packs one surface row from a per-pixel index function, leftmost pixel in the top bit.
template <class InkAt>
void packRow(std::uint8_t* row, std::int32_t width, InkAt inkAt) {
  unsigned byte = 0;
  for (std::int32_t x = 0; x < width; ++x) {
    byte = (byte << 1) | unsigned(inkAt(x));
    if ((x & 7) == 7) {
      row[x >> 3] = std::uint8_t(byte);
      byte = 0;
    }
  }
  if (width & 7) row[width >> 3] = std::uint8_t(byte << (8 - (width & 7)));
}

// One channel of a bit-field pixel scaled to 0..255; masks with holes still scale correctly
// because the extracted value never exceeds the mask shifted down.
struct Channel {
  std::uint32_t mask;
  int shift;
  std::uint64_t max;

  explicit Channel(std::uint32_t m)
      : mask(m), shift(std::countr_zero(m)), max(std::uint64_t(m >> std::countr_zero(m))) {}
  unsigned operator()(std::uint32_t pixel) const {
    return unsigned((std::uint64_t((pixel & mask) >> shift) * 255 + max / 2) / max);
  }
};

class PixelRows {
 public:
  PixelRows(std::span<const std::uint8_t> file, const BmpLayout& layout)
      : data_(file.data() + layout.pixelOffset), layout_(layout) {}

  // File rows run bottom-up unless the height was negative.
  const std::uint8_t* forSurfaceRow(std::uint32_t y) const {
    const std::uint32_t fileRow = layout_.topDown ? y : std::uint32_t(layout_.height) - 1 - y;
    return data_ + std::size_t(fileRow) * layout_.rowBytes;
  }

 private:
  const std::uint8_t* data_;
  const BmpLayout& layout_;
};

void copyOneBitRows(const PixelRows& rows, const BmpLayout& layout, MonoBitmap& out) {
  for (std::uint32_t y = 0; y < out.height(); ++y)
    std::memcpy(out.row(y), rows.forSurfaceRow(y), layout.rowBytes);
  out.setColor(0, layout.palette[0]);
  out.setColor(1, layout.palette[1]);
}

void reduceIndexedRows(const PixelRows& rows, const BmpLayout& layout, MonoBitmap& out) {
  const InkTable ink = inkTableFor(layout);
  const int bits = layout.bitCount;
  const unsigned mask = (1u << bits) - 1;
  for (std::uint32_t y = 0; y < out.height(); ++y) {
    const std::uint8_t* src = rows.forSurfaceRow(y);
    packRow(out.row(y), layout.width, [&](std::int32_t x) {
      const std::size_t bit = std::size_t(x) * bits;
      return ink[(src[bit >> 3] >> (8 - bits - (bit & 7))) & mask];
    });
  }
}

void reduceRgb24Rows(const PixelRows& rows, const BmpLayout& layout, MonoBitmap& out) {
  for (std::uint32_t y = 0; y < out.height(); ++y) {
    const std::uint8_t* src = rows.forSurfaceRow(y);
    packRow(out.row(y), layout.width, [&](std::int32_t x) {
      const std::uint8_t* p = src + 3 * std::size_t(x);
      return nearerMonoIndex(p[2], p[1], p[0]);
    });
  }
}

void reduceBitFieldRows(const PixelRows& rows, const BmpLayout& layout, MonoBitmap& out) {
  const Channel red(layout.masks[0]), green(layout.masks[1]), blue(layout.masks[2]);
  const bool wide = layout.bitCount == 32;
  for (std::uint32_t y = 0; y < out.height(); ++y) {
    const std::uint8_t* src = rows.forSurfaceRow(y);
    packRow(out.row(y), layout.width, [&](std::int32_t x) {
      const std::uint32_t pixel =
          wide ? readLe32(src + 4 * std::size_t(x)) : readLe16(src + 2 * std::size_t(x));
      return nearerMonoIndex(red(pixel), green(pixel), blue(pixel));
    });
  }
}

bool decodePixels(std::span<const std::uint8_t> file, const BmpLayout& layout, MonoBitmap& out) {
  const PixelRows rows(file, layout);
  switch (layout.encoding) {
    case BmpLayout::Encoding::kIndexed:
      if (layout.bitCount == 1)
        copyOneBitRows(rows, layout, out);
      else
        reduceIndexedRows(rows, layout, out);
      return true;
    case BmpLayout::Encoding::kTrueColour:
      if (layout.bitCount == 24)
        reduceRgb24Rows(rows, layout, out);
      else
        reduceBitFieldRows(rows, layout, out);
      return true;
    case BmpLayout::Encoding::kRle8:
    case BmpLayout::Encoding::kRle4:
      return decodeRle(file.subspan(layout.pixelOffset, layout.pixelBytes), layout.bitCount,
                       inkTableFor(layout), out);
  }
  return false;
}

}  // namespace

bool decodeBmp(std::span<const std::uint8_t> file, MonoBitmap& target) {
  BmpLayout layout;
  if (!parseBmpLayout(file, layout)) return false;
  MonoBitmap decoded;
  if (!decoded.create(layout.width, layout.height)) return false;
  if (!decodePixels(file, layout, decoded)) return false;
  target = std::move(decoded);
  return true;
}

}  // namespace tenmark
