#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>
#include <vector>

#include "imagefile/bmp_codec.h"
#include "imagefile/bmp_layout.h"
#include "imagefile/bmp_rle.h"
#include "imagefile/little_endian.h"
#include "surface/nearer_index.h"

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
class Channel {
 public:
  explicit Channel(std::uint32_t mask)
      : mask_(mask), shift_(mask ? std::countr_zero(mask) : 0), max_(mask >> shift_) {}
  unsigned operator()(std::uint32_t pixel) const {
    return unsigned((std::uint64_t((pixel & mask_) >> shift_) * 255 + max_ / 2) / max_);
  }

 private:
  std::uint32_t mask_;
  int shift_;
  std::uint64_t max_;
};

// Turns one file row of 4 to 32 bits per pixel into a surface row of white (0) / black (1).
class RowReducer {
 public:
  explicit RowReducer(const BmpLayout& layout)
      : layout_(layout),
        ink_(inkTableFor(layout)),
        red_(layout.masks[0]),
        green_(layout.masks[1]),
        blue_(layout.masks[2]) {}

  void operator()(const std::uint8_t* src, std::uint8_t* dst) const {
    const int bits = layout_.bitCount;
    if (bits <= 8) {
      const unsigned mask = (1u << bits) - 1;
      packRow(dst, layout_.width, [&](std::int32_t x) {
        const std::size_t bit = std::size_t(x) * bits;
        return ink_[(src[bit >> 3] >> (8 - bits - (bit & 7))) & mask];
      });
    } else if (bits == 24) {
      packRow(dst, layout_.width, [&](std::int32_t x) {
        const std::uint8_t* p = src + 3 * std::size_t(x);
        return kWhiteBlack(p[2], p[1], p[0]);
      });
    } else {
      packRow(dst, layout_.width, [&](std::int32_t x) {
        const std::uint32_t pixel =
            bits == 32 ? readLe32(src + 4 * std::size_t(x)) : readLe16(src + 2 * std::size_t(x));
        return kWhiteBlack(int(red_(pixel)), int(green_(pixel)), int(blue_(pixel)));
      });
    }
  }

 private:
  const BmpLayout& layout_;
  InkTable ink_;
  Channel red_, green_, blue_;
};

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
  const RowReducer reduce(layout);
  std::vector<std::uint8_t> row(layout.rowBytes);
  const std::uint32_t height = out.height();
  for (std::uint32_t fileRow = 0; fileRow < height; ++fileRow) {
    if (!source.read(layout.pixelOffset + std::uint64_t(fileRow) * row.size(), row.data(),
                     row.size()))
      return false;
    reduce(row.data(), out.row(layout.topDown ? fileRow : height - 1 - fileRow));
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

bool decodeBmp(ByteSource& source, MonoBitmap& target, bool* reduced) {
  std::uint8_t head[kBmpHeadBytes];
  const std::size_t headSize = std::size_t(std::min<std::uint64_t>(source.size(), kBmpHeadBytes));
  BmpLayout layout;
  if (!source.read(0, head, headSize) || !parseBmpLayout({head, headSize}, source.size(), layout))
    return false;
  // Uncompressed 1-bit rows come from the file whole and the RLE decoder writes every byte
  // itself: clearing the memory first would only touch every page twice.
  const bool everyByteWritten = layout.bitCount == 1 ||
                                layout.encoding == BmpLayout::Encoding::kRle8 ||
                                layout.encoding == BmpLayout::Encoding::kRle4;
  MonoBitmap decoded;
  if (!decoded.create(
          layout.width, layout.height,
          everyByteWritten ? MonoBitmap::InitialPixels::Unset : MonoBitmap::InitialPixels::Zero) ||
      !decodePixels(source, layout, decoded))
    return false;
  target = std::move(decoded);
  if (reduced) *reduced = layout.bitCount != 1;
  return true;
}

bool decodeBmp(std::span<const std::uint8_t> file, MonoBitmap& target) {
  MemorySource source(file);
  return decodeBmp(source, target);
}

}  // namespace tenmark
