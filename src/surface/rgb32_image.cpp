#include "surface/rgb32_image.h"

namespace tenmark {

void Rgb32Image::resize(int w, int h) { assign(w, h, 0u); }

void Rgb32Image::reshape(int w, int h) {
  width = w > 0 ? w : 0;
  height = h > 0 ? h : 0;
  pixels.resize(std::size_t(width) * std::size_t(height));
}

void Rgb32Image::assign(int w, int h, std::uint32_t value) {
  width = w > 0 ? w : 0;
  height = h > 0 ? h : 0;
  pixels.assign(std::size_t(width) * std::size_t(height), value);
}

}  // namespace tenmark
