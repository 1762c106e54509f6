#pragma once
// A 32-bit top-down image as the screen takes it (each pixel 0x00RRGGBB, the byte order of a
// 32-bit DIB): the view renders the canvas into one, the shell puts it on screen 1:1.

#include <cstdint>
#include <vector>

#include "surface/mono_bitmap.h"

namespace tenmark {

struct Rgb32Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  void resize(int w, int h);
  // Every pixel `value`; the memory is kept when it is large enough, so a view that repaints
  // at the same size does not allocate.
  void assign(int w, int h, std::uint32_t value);
  // The size only: the pixels are left as they are, for a caller that writes every one.
  void reshape(int w, int h);
  std::uint32_t& at(int x, int y) {
    return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)];
  }
  std::uint32_t at(int x, int y) const {
    return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)];
  }
};

// 0x00BBGGRR → 0x00RRGGBB.
constexpr std::uint32_t toScreenPixel(Color c) {
  return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

}  // namespace tenmark
