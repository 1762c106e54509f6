#pragma once
// A colour picture brought onto the canvas: each pixel becomes the index whose canvas colour
// is nearer, so a picture gives the same indices on every display.

#include <cstdint>
#include <optional>
#include <vector>

#include "surface/mono_bitmap.h"
#include "surface/nearer_index.h"
#include "surface/rgb32_image.h"

namespace tenmark {

// Rows of 32-bit pixels as they lie in memory (blue, green, red, alpha: a 32-bit DIB's row, or
// an Rgb32Image's) onto rows of indices, one after another.
class RowReduction {
 public:
  // With `paper`, each pixel is first laid over that colour by its alpha byte: 0 is the paper
  // whatever the pixel's colour, 255 the pixel's colour, values between blend (rounded down
  // after adding half). Without, the alpha byte is not looked at.
  explicit RowReduction(const NearerIndex& nearer, std::optional<Color> paper = std::nullopt);

  // The `width` pixels onto the start of `row`; the indices right of them are kept.
  void operator()(const std::uint8_t* pixels, int width, std::uint8_t* row);

 private:
  NearerIndex nearer_;
  bool blend_;
  std::uint32_t paper_[3];  // blue, green, red
  std::vector<std::uint8_t> flags_;
};

// The picture at the canvas's top-left corner, cut at its right and bottom; canvas pixels that
// the picture does not reach keep their index.
void reduceOntoCanvas(const Rgb32Image& picture, MonoBitmap& canvas);

}  // namespace tenmark
