#pragma once
// A colour picture brought onto the canvas: each pixel becomes the index whose canvas colour
// is nearer, so a picture gives the same indices on every display.

#include <cstdint>
#include <vector>

#include "surface/mono_bitmap.h"
#include "surface/nearer_index.h"
#include "surface/rgb32_image.h"

namespace tenmark {

// Rows of 0x00RRGGBB pixels onto rows of indices, one after another.
class RowReduction {
 public:
  explicit RowReduction(const NearerIndex& nearer) : nearer_(nearer) {}
  // The `width` pixels onto the start of `row`; the indices right of them are kept.
  void operator()(const std::uint32_t* pixels, int width, std::uint8_t* row);

 private:
  NearerIndex nearer_;
  std::vector<std::uint8_t> flags_;
};

// The picture at the canvas's top-left corner, cut at its right and bottom; canvas pixels that
// the picture does not reach keep their index.
void reduceOntoCanvas(const Rgb32Image& picture, MonoBitmap& canvas);

}  // namespace tenmark
