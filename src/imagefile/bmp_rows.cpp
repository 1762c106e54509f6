#include "imagefile/bmp_rows.h"

#include <bit>
#include <cstring>

#include "imagefile/little_endian.h"
#include "surface/rgb32_image.h"

namespace tenmark {

bool plainThirtyTwoBits(const BmpLayout& layout) {
  // The top byte is the alpha as it lies only when the mask takes all of it (or there is none,
  // and the byte is never looked at); a part of it is a narrower channel, scaled up as any other.
  return layout.bitCount == 32 && layout.masks[0] == 0xFF0000u && layout.masks[1] == 0x00FF00u &&
         layout.masks[2] == 0x0000FFu && (layout.alphaMask == 0 || layout.alphaMask == 0xFF000000u);
}

BmpRowExpander::Channel::Channel(std::uint32_t mask)
    : mask_(mask), shift_(mask ? std::countr_zero(mask) : 0), max_(mask ? mask >> shift_ : 1) {}

BmpRowExpander::BmpRowExpander(const BmpLayout& layout)
    : layout_(layout),
      red_(layout.masks[0]),
      green_(layout.masks[1]),
      blue_(layout.masks[2]),
      alpha_(layout.alphaMask) {
  for (std::size_t i = 0; i < 256; ++i) palette_[i] = toScreenPixel(layout.palette[i]);
}

void BmpRowExpander::operator()(const std::uint8_t* src, int count, std::uint32_t* out) const {
  const int bits = layout_.bitCount;
  if (bits <= 8) {
    const unsigned mask = (1u << bits) - 1;
    for (int x = 0; x < count; ++x) {
      const std::size_t bit = std::size_t(x) * std::size_t(bits);
      out[x] = palette_[(src[bit >> 3] >> (8 - bits - int(bit & 7))) & mask];
    }
  } else if (bits == 24) {
    for (int x = 0; x < count; ++x, src += 3)
      out[x] = std::uint32_t(src[0]) | std::uint32_t(src[1]) << 8 | std::uint32_t(src[2]) << 16;
  } else if (plainThirtyTwoBits(layout_)) {
    std::memcpy(out, src, std::size_t(count) * 4);
  } else {
    expandBitFields(src, count, out);
  }
}

void BmpRowExpander::expandBitFields(const std::uint8_t* src, int count, std::uint32_t* out) const {
  const bool wide = layout_.bitCount == 32;
  for (int x = 0; x < count; ++x) {
    const std::uint32_t pixel =
        wide ? readLe32(src + 4 * std::size_t(x)) : readLe16(src + 2 * std::size_t(x));
    out[x] = alpha_(pixel) << 24 | red_(pixel) << 16 | green_(pixel) << 8 | blue_(pixel);
  }
}

bool hasAlpha(const std::uint8_t* rows, const BmpLayout& layout) {
  if (layout.bitCount != 32 || layout.alphaMask == 0) return false;
  const std::uint8_t* end = rows + layout.pixelBytes;
  for (const std::uint8_t* p = rows; p < end; p += 4)
    if (readLe32(p) & layout.alphaMask) return true;
  return false;
}

}  // namespace tenmark
