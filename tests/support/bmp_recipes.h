#pragma once
// BMP files and clipboard DIBs assembled field by field, so that every header variant and fault
// can be built, with the variants and faults that the BMP decoder and the DIB reader share.

#include <climits>
#include <cstdint>
#include <vector>

#include "surface/mono_bitmap.h"

namespace tenmark {

using Bytes = std::vector<std::uint8_t>;

inline void put16(Bytes& b, std::size_t at, std::uint32_t v) {
  b[at] = std::uint8_t(v);
  b[at + 1] = std::uint8_t(v >> 8);
}
inline void put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = std::uint8_t(v >> (8 * i));
}

struct BmpRecipe {
  std::uint32_t headerSize = 40;
  std::int32_t width = 1;
  std::int32_t height = 1;
  std::uint16_t bitCount = 24;
  std::uint32_t compression = 0;
  std::uint32_t colorsUsed = 0;
  std::vector<Color> palette{};        // written as blue, green, red (, 0)
  std::vector<std::uint32_t> masks{};  // after a 40-byte header, else inside the header
  Bytes pixels{};                      // exactly as they stand in the file
};

inline Bytes buildBmp(const BmpRecipe& s) {
  Bytes b(14 + s.headerSize, 0);
  b[0] = 'B';
  b[1] = 'M';
  put32(b, 14, s.headerSize);
  if (s.headerSize == 12) {
    put16(b, 18, std::uint32_t(s.width));
    put16(b, 20, std::uint32_t(s.height));
    put16(b, 22, 1);
    put16(b, 24, s.bitCount);
  } else {
    put32(b, 18, std::uint32_t(s.width));
    put32(b, 22, std::uint32_t(s.height));
    put16(b, 26, 1);
    put16(b, 28, s.bitCount);
    put32(b, 30, s.compression);
    put32(b, 46, s.colorsUsed);
    for (std::size_t i = 0; i < s.masks.size(); ++i) {
      if (s.headerSize == 40) b.resize(b.size() + 4);
      put32(b, s.headerSize == 40 ? b.size() - 4 : 54 + 4 * i, s.masks[i]);
    }
  }
  for (Color c : s.palette) {
    b.insert(b.end(), {std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c)});
    if (s.headerSize != 12) b.push_back(0);
  }
  put32(b, 10, std::uint32_t(b.size()));
  b.insert(b.end(), s.pixels.begin(), s.pixels.end());
  put32(b, 2, std::uint32_t(b.size()));
  return b;
}

// Every variant holds the same 3×2 picture: top row black, white, grey(100); bottom row
// white, grey(200), black. Expected indices: 1 0 1 / 0 0 1.
inline const std::vector<int> kVariantPicture = {1, 0, 1, 0, 0, 1};

struct Variant {
  const char* name;
  BmpRecipe recipe;
};

inline std::vector<Variant> variants() {
  std::vector<Color> grey = {makeColor(0, 0, 0), makeColor(255, 255, 255), makeColor(100, 100, 100),
                             makeColor(200, 200, 200)};
  grey.resize(256, 0);  // a core header always has the full table
  const Bytes rgba = {255, 255, 255, 0, 200, 200, 200, 0, 0,   0,   0,   0,
                      0,   0,   0,   0, 255, 255, 255, 0, 100, 100, 100, 0};
  std::vector<Variant> v;
  // True-colour files skip the grey table: their pixel offset points past it.
  auto add = [&](const char* name, std::uint16_t bitCount, std::uint32_t compression,
                 Bytes pixels) -> BmpRecipe& {
    v.push_back({name,
                 {.width = 3,
                  .height = 2,
                  .bitCount = bitCount,
                  .compression = compression,
                  .palette = grey,
                  .pixels = std::move(pixels)}});
    return v.back().recipe;
  };
  add("4-bit", 4, 0, {0x13, 0x00, 0, 0, 0x01, 0x20, 0, 0});
  add("8-bit top-down", 8, 0, {0, 1, 2, 0, 1, 3, 0, 0}).height = -2;
  add("8-bit core header", 8, 0, {1, 3, 0, 0, 0, 1, 2, 0}).headerSize = 12;
  add("24-bit", 24, 0,
      {255, 255, 255, 200, 200, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255, 100, 100, 100});
  v.back().recipe.pixels.resize(24);
  add("16-bit 5-5-5", 16, 0,
      {0xFF, 0x7F, 0x39, 0x67, 0, 0, 0, 0, 0, 0, 0xFF, 0x7F, 0x8C, 0x31, 0, 0});
  add("16-bit 5-6-5 bit fields", 16, 3,
      {0xFF, 0xFF, 0x59, 0xCE, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0x2C, 0x63, 0, 0})
      .masks = {0xF800, 0x07E0, 0x001F};
  BmpRecipe& v5 = add("32-bit bit fields in a V5 header", 32, 3, rgba);
  v5.headerSize = 124;
  v5.masks = {0xFF, 0xFF00, 0xFF0000};  // R, G, B in byte order
  add("32-bit alpha bit fields", 32, 6, rgba).masks = {0xFF, 0xFF00, 0xFF0000, 0xFF000000};
  BmpRecipe& v4 = add("32-bit V4 header, masks ignored without BI_BITFIELDS", 32, 0, rgba);
  v4.headerSize = 108;
  v4.masks = {1, 2, 4};
  // Bottom row: three one-pixel runs, end of line; top row: a padded literal 0 1 2, end.
  add("8-bit RLE", 8, 1, {1, 1, 1, 3, 1, 0, 0, 0, 0, 3, 0, 1, 2, 0, 0, 1});
  // Bottom row: one pixel of entry 1, then a two-pixel run of entries 3 (white) and 0 (black):
  // the high nibble comes first. Top row as above.
  add("4-bit RLE", 4, 2, {1, 0x11, 2, 0x30, 0, 0, 0, 3, 0x01, 0x20, 0, 1});
  return v;
}

inline std::vector<Variant> faults() {
  std::vector<Variant> f;
  // A sound 3×2 file in the given format, with a full colour table, for the caller to break.
  auto add = [&](const char* name, std::uint16_t bitCount = 24, std::uint32_t compression = 0,
                 Bytes pixels = Bytes(24, 0)) -> BmpRecipe& {
    f.push_back({name,
                 {.width = 3,
                  .height = 2,
                  .bitCount = bitCount,
                  .compression = compression,
                  .palette = std::vector<Color>(bitCount <= 8 ? 1u << bitCount : 0u),
                  .pixels = std::move(pixels)}});
    return f.back().recipe;
  };
  add("zero width").width = 0;
  add("zero height").height = 0;
  add("INT_MIN height").height = INT_MIN;
  // Data enough for the sides, so that only the limit can refuse them.
  add("width above the limit", 1, 0, Bytes(2 * 8192, 0)).width = MonoBitmap::kMaxSide + 1;
  add("height above the limit", 1, 0, Bytes(4 * 65536, 0)).height = -(MonoBitmap::kMaxSide + 1);
  add("unknown header size").headerSize = 41;
  add("bit count 2", 2);
  add("JPEG compression", 24, 4);
  add("bit fields on 24 bits", 24, 3).masks = {0xFF0000, 0xFF00, 0xFF};
  add("a zero mask", 32, 3).masks = {0xFF0000, 0, 0xFF};
  add("overlapping masks", 32, 3).masks = {0xFF0000, 0x01FF00, 0xFF};
  add("a mask wider than a 16-bit pixel", 16, 3, Bytes(16, 0)).masks = {0x1F0000, 0x3E0, 0x1F};
  add("rows one byte shorter than claimed", 24, 0, Bytes(23, 0));
  BmpRecipe& table = add("8-bit colour table past the end of the file", 8, 0, {});
  table.colorsUsed = 256;
  table.palette = {0, 0};
  add("RLE with a top-down height", 8, 1, {0, 1}).height = -2;
  add("RLE8 on 4 bits", 4, 1, {0, 1});
  add("RLE data without its end code", 8, 1, {3, 0, 0, 0});
  add("RLE literal longer than the data", 8, 1, {0, 9, 1, 2, 3});
  add("RLE delta cut off", 4, 2, {0, 2, 1});
  add("core header with 32 bits", 32, 0, Bytes(32, 0)).headerSize = 12;
  return f;
}

// The same as a DIB on the clipboard: the file without its file header, and the rows right after
// the colour table that the header describes, since no pixel offset can point past more. Above 8
// bits the header lists the entries it carries.
inline Bytes buildDib(BmpRecipe recipe) {
  if (recipe.bitCount > 8 && recipe.colorsUsed == 0)
    recipe.colorsUsed = std::uint32_t(recipe.palette.size());
  if (recipe.bitCount <= 8 && recipe.colorsUsed == 0 &&
      recipe.palette.size() > 1u << recipe.bitCount)
    recipe.palette.resize(1u << recipe.bitCount);
  const Bytes file = buildBmp(recipe);
  return Bytes(file.begin() + 14, file.end());
}

}  // namespace tenmark
