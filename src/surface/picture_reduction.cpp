#include "surface/picture_reduction.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "surface/nearer_index.h"

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

void reduceOntoCanvas(const Rgb32Image& picture, MonoBitmap& canvas) {
  if (!canvas.hasPixels() || picture.pixels.size() != std::size_t(picture.width) * picture.height)
    return;
  const int width = std::min(picture.width, canvas.width());
  const int height = std::min(picture.height, canvas.height());
  if (width <= 0 || height <= 0) return;
  const NearerIndex nearer(canvas.getColor(0), canvas.getColor(1));
  // One row of flags first (a loop the compiler turns into vector code), then eight to a byte.
  std::vector<std::uint8_t> flags(std::size_t(width + 7) / 8 * 8);
  const int wholeBytes = width / 8;
  const int rest = width % 8;
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* in = picture.pixels.data() + std::size_t(y) * std::size_t(picture.width);
    for (int x = 0; x < width; ++x) {
      flags[std::size_t(x)] = std::uint8_t(nearer.inkFor(in[x]));
    }
    std::uint8_t* out = canvas.row(std::int32_t(y));
    for (int b = 0; b < wholeBytes; ++b) out[b] = packFlags(&flags[std::size_t(b) * 8]);
    if (rest == 0) continue;
    // The pixels right of the picture keep theirs.
    std::fill(flags.begin() + width, flags.end(), std::uint8_t(0));
    const auto keep = std::uint8_t(0xFFu >> rest);
    out[wholeBytes] =
        std::uint8_t((out[wholeBytes] & keep) | packFlags(&flags[std::size_t(wholeBytes) * 8]));
  }
}

}  // namespace tenmark
