#include "surface/picture_reduction.h"

#include <algorithm>
#include <cstring>

namespace tenmark {

namespace {

// Eight flags of 0 or 1, leftmost first, as one byte of indices with the leftmost in the high
// bit: the multiplication gathers the eight low bits into the top byte.
inline std::uint8_t packFlags(const std::uint8_t* flags) {
  std::uint64_t v;
  std::memcpy(&v, flags, 8);
  return std::uint8_t((v * 0x8040201008040201ull) >> 56);
}

}  // namespace

void RowReduction::operator()(const std::uint32_t* pixels, int width, std::uint8_t* row) {
  // The flags first (a loop the compiler turns into vector code), then eight to a byte.
  flags_.resize(std::size_t(width + 7) / 8 * 8);
  for (int x = 0; x < width; ++x) flags_[std::size_t(x)] = std::uint8_t(nearer_.inkFor(pixels[x]));
  const int wholeBytes = width / 8;
  const int rest = width % 8;
  for (int b = 0; b < wholeBytes; ++b) row[b] = packFlags(&flags_[std::size_t(b) * 8]);
  if (rest == 0) return;
  std::fill(flags_.begin() + width, flags_.end(), std::uint8_t(0));
  const auto keep = std::uint8_t(0xFFu >> rest);
  row[wholeBytes] =
      std::uint8_t((row[wholeBytes] & keep) | packFlags(&flags_[std::size_t(wholeBytes) * 8]));
}

void reduceOntoCanvas(const Rgb32Image& picture, MonoBitmap& canvas) {
  if (!canvas.hasPixels() || picture.pixels.size() != std::size_t(picture.width) * picture.height)
    return;
  const int width = std::min(picture.width, canvas.width());
  const int height = std::min(picture.height, canvas.height());
  if (width <= 0 || height <= 0) return;
  RowReduction reduce(NearerIndex(canvas.getColor(0), canvas.getColor(1)));
  for (int y = 0; y < height; ++y)
    reduce(picture.pixels.data() + std::size_t(y) * std::size_t(picture.width), width,
           canvas.row(std::int32_t(y)));
}

}  // namespace tenmark
