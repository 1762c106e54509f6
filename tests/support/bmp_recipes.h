#pragma once
// BMP files and clipboard DIBs assembled field by field, for tests that need a file of their own
// beside the fuzz targets' starting corpora (support/starting_corpus.h).

#include <cstdint>
#include <vector>

#include "surface/mono_bitmap.h"

namespace tenmark {

using Bytes = std::vector<std::uint8_t>;

inline void put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = std::uint8_t(v >> (8 * i));
}

struct BmpRecipe {
  std::uint32_t headerSize = 40;  // 40, or 108 and 124 with masks inside
  std::int32_t width = 1;
  std::int32_t height = 1;
  std::uint16_t bitCount = 24;
  std::uint32_t compression = 0;
  std::uint32_t colorsUsed = 0;
  std::vector<Color> palette{};        // written as blue, green, red, 0
  std::vector<std::uint32_t> masks{};  // after a 40-byte header, else inside the header
  Bytes pixels{};                      // exactly as they stand in the file
};

inline Bytes buildBmp(const BmpRecipe& s) {
  Bytes b(14 + s.headerSize, 0);
  b[0] = 'B';
  b[1] = 'M';
  put32(b, 14, s.headerSize);
  put32(b, 18, std::uint32_t(s.width));
  put32(b, 22, std::uint32_t(s.height));
  put32(b, 26, 1u | std::uint32_t(s.bitCount) << 16);  // one plane
  put32(b, 30, s.compression);
  put32(b, 46, s.colorsUsed);
  for (std::size_t i = 0; i < s.masks.size(); ++i) {
    if (s.headerSize == 40) b.resize(b.size() + 4);
    put32(b, s.headerSize == 40 ? b.size() - 4 : 54 + 4 * i, s.masks[i]);
  }
  for (Color c : s.palette)
    b.insert(b.end(), {std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c), 0});
  put32(b, 10, std::uint32_t(b.size()));
  b.insert(b.end(), s.pixels.begin(), s.pixels.end());
  put32(b, 2, std::uint32_t(b.size()));
  return b;
}

// The same as a DIB on the clipboard: the file without its file header.
inline Bytes buildDib(const BmpRecipe& recipe) {
  const Bytes file = buildBmp(recipe);
  return Bytes(file.begin() + 14, file.end());
}

}  // namespace tenmark
