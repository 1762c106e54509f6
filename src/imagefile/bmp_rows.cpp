#include "imagefile/bmp_rows.h"

#include <bit>
#include <cstring>

#include "imagefile/little_endian.h"
#include "surface/rgb32_image.h"

namespace tenmark {

namespace {

bool plainMasks(const BmpLayout& layout) {
  return layout.masks[0] == 0xFF0000u && layout.masks[1] == 0x00FF00u &&
         layout.masks[2] == 0x0000FFu;
}

}  // namespace

BmpRowExpander::Channel::Channel(std::uint32_t mask)
    : mask_(mask), shift_(mask ? std::countr_zero(mask) : 0), max_(mask ? mask >> shift_ : 1) {}

BmpRowExpander::BmpRowExpander(const BmpLayout& layout, std::optional<Color> paper)
    : layout_(layout),
      red_(layout.masks[0]),
      green_(layout.masks[1]),
      blue_(layout.masks[2]),
      alpha_(layout.alphaMask),
      blend_(paper && layout.bitCount == 32 && layout.alphaMask != 0),
      paper_(toScreenPixel(paper.value_or(0))) {
  for (std::size_t i = 0; i < 256; ++i) palette_[i] = toScreenPixel(layout.palette[i]);
}

void BmpRowExpander::operator()(const std::uint8_t* src, int count, std::uint32_t* out) const {
  const int bits = layout_.bitCount;
  if (blend_) {
    layOverPaper(src, count, out);
  } else if (bits <= 8) {
    const unsigned mask = (1u << bits) - 1;
    for (int x = 0; x < count; ++x) {
      const std::size_t bit = std::size_t(x) * std::size_t(bits);
      out[x] = palette_[(src[bit >> 3] >> (8 - bits - int(bit & 7))) & mask];
    }
  } else if (bits == 24) {
    for (int x = 0; x < count; ++x, src += 3)
      out[x] = std::uint32_t(src[0]) | std::uint32_t(src[1]) << 8 | std::uint32_t(src[2]) << 16;
  } else if (bits == 32 && plainMasks(layout_)) {
    std::memcpy(out, src, std::size_t(count) * 4);
    for (int x = 0; x < count; ++x) out[x] &= 0x00FFFFFFu;
  } else {
    expandBitFields(src, count, out);
  }
}

void BmpRowExpander::expandBitFields(const std::uint8_t* src, int count, std::uint32_t* out) const {
  const bool wide = layout_.bitCount == 32;
  for (int x = 0; x < count; ++x) {
    const std::uint32_t pixel =
        wide ? readLe32(src + 4 * std::size_t(x)) : readLe16(src + 2 * std::size_t(x));
    out[x] = red_(pixel) << 16 | green_(pixel) << 8 | blue_(pixel);
  }
}

void BmpRowExpander::layOverPaper(const std::uint8_t* src, int count, std::uint32_t* out) const {
  if (plainMasks(layout_) && layout_.alphaMask == 0xFF000000u) {
    // The usual layout, in a loop the compiler turns into vector code.
    std::memcpy(out, src, std::size_t(count) * 4);
  } else {
    for (int x = 0; x < count; ++x) {
      const std::uint32_t pixel = readLe32(src + 4 * std::size_t(x));
      out[x] = alpha_(pixel) << 24 | red_(pixel) << 16 | green_(pixel) << 8 | blue_(pixel);
    }
  }
  for (int x = 0; x < count; ++x) {
    const std::uint32_t pixel = out[x];
    const std::uint32_t a = pixel >> 24, rest = 255 - a;
    std::uint32_t blended = 0;
    for (int shift = 0; shift < 24; shift += 8) {
      const std::uint32_t c = (pixel >> shift) & 0xFFu, p = (paper_ >> shift) & 0xFFu;
      blended |= ((c * a + p * rest + 127) / 255) << shift;
    }
    out[x] = blended;
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
