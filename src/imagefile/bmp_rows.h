#pragma once
// Rows of uncompressed BMP pixel data as 0xAARRGGBB pixels: the one place that reads palettes,
// 24-bit triples and bit fields, for picture files and the clipboard alike.

#include <cstdint>

#include "imagefile/bmp_layout.h"

namespace tenmark {

class BmpRowExpander {
 public:
  explicit BmpRowExpander(const BmpLayout& layout);

  // The first `count` pixels of the row at `src`; alpha is the 32-bit pixel's own where the
  // layout names one, else 0.
  void operator()(const std::uint8_t* src, int count, std::uint32_t* out) const;
  // The general reading of 16- and 32-bit pixels, each channel through its mask: what every
  // shortcut for plain 32-bit rows must equal.
  void expandBitFields(const std::uint8_t* src, int count, std::uint32_t* out) const;

 private:
  // One channel of a bit-field pixel scaled to 0..255; masks with holes still scale correctly
  // because the extracted value never exceeds the mask shifted down.
  class Channel {
   public:
    explicit Channel(std::uint32_t mask);
    unsigned operator()(std::uint32_t pixel) const {
      return unsigned((std::uint64_t((pixel & mask_) >> shift_) * 255 + max_ / 2) / max_);
    }

   private:
    std::uint32_t mask_;
    int shift_;
    std::uint64_t max_;
  };

  const BmpLayout& layout_;
  std::uint32_t palette_[256];
  Channel red_, green_, blue_, alpha_;
};

// Whether the layout's 32-bit pixels are blue, green, red and alpha bytes as they lie, as
// reductions take them: such rows need no expanding.
bool plainThirtyTwoBits(const BmpLayout& layout);

// Whether any 32-bit pixel of the picture has a non-zero alpha: a picture whose alpha is 0
// everywhere is opaque, as older programs leave that byte 0.
bool hasAlpha(const std::uint8_t* rows, const BmpLayout& layout);

}  // namespace tenmark
