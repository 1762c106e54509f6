#pragma once
// Rows of uncompressed BMP pixel data as 0x00RRGGBB screen pixels: the one place that reads
// palettes, 24-bit triples and bit fields, for picture files and the clipboard alike.

#include <cstdint>
#include <optional>

#include "imagefile/bmp_layout.h"
#include "surface/mono_bitmap.h"

namespace tenmark {

class BmpRowExpander {
 public:
  // With `paper`, a 32-bit picture with an alpha channel is laid over that colour: alpha 0 is
  // the paper whatever the pixel's colour, 255 the pixel's colour, values between blend.
  explicit BmpRowExpander(const BmpLayout& layout, std::optional<Color> paper = std::nullopt);

  // The first `count` pixels of the row at `src`.
  void operator()(const std::uint8_t* src, int count, std::uint32_t* out) const;

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

  void expandBitFields(const std::uint8_t* src, int count, std::uint32_t* out) const;
  void layOverPaper(const std::uint8_t* src, int count, std::uint32_t* out) const;

  const BmpLayout& layout_;
  std::uint32_t palette_[256];
  Channel red_, green_, blue_, alpha_;
  bool blend_;
  std::uint32_t paper_;  // 0x00RRGGBB
};

// Whether any 32-bit pixel of the picture has a non-zero alpha: a picture whose alpha is 0
// everywhere is opaque, as older programs leave that byte 0.
bool hasAlpha(const std::uint8_t* rows, const BmpLayout& layout);

}  // namespace tenmark
