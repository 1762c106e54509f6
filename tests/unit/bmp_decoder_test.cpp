#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <vector>

#include "imagefile/bmp_codec.h"
#include "support/starting_corpus.h"
#include "support/test_surfaces.h"

namespace tenmark {
namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& b, std::size_t at, std::uint32_t v) {
  b[at] = std::uint8_t(v);
  b[at + 1] = std::uint8_t(v >> 8);
}
void put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = std::uint8_t(v >> (8 * i));
}

// A BMP file assembled field by field, so that every header variant and fault can be built.
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

Bytes buildBmp(const BmpRecipe& s) {
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

TEST(BmpDecoder, RoundTripKeepsSizeIndicesColoursAndBytes) {
  std::mt19937 rng(12345);
  for (int width : {1, 7, 8, 9, 31, 32, 33}) {
    for (int height : {1, 3}) {
      const MonoBitmap original = randomPicture(width, height, rng);
      const Bytes file = encodeBmp(original);
      MonoBitmap loaded = markedSurface();
      ASSERT_TRUE(decodeBmp(file, loaded)) << width;
      EXPECT_TRUE(samePicture(loaded, original)) << width << "x" << height;
      EXPECT_EQ(encodeBmp(loaded), file);
    }
  }
}

// Bottom row first in the file; the indices stay whatever colours the table gives them.
TEST(BmpDecoder, OneBitFilesKeepIndicesAndTakeTheColourTableAsCounted) {
  const Color black = 0, white = 0xFFFFFF, dark = makeColor(10, 20, 30);
  const struct {
    std::uint32_t colorsUsed;
    std::vector<Color> palette;
    Color color0, color1;
  } cases[] = {
      {0, {black, white}, black, white},        // 0 means the full table
      {1, {dark}, dark, black},                 // entries past the count are black
      {0xFFFFFFFF, {dark, white}, dark, white}  // cut to the entries the pixels can address
  };
  for (const auto& c : cases) {
    BmpRecipe s{.width = 2, .height = 2, .bitCount = 1, .colorsUsed = c.colorsUsed};
    s.palette = c.palette;
    s.pixels = {0x40, 0, 0, 0, 0x80, 0, 0, 0};
    MonoBitmap b;
    ASSERT_TRUE(decodeBmp(buildBmp(s), b)) << c.colorsUsed;
    EXPECT_EQ(indicesOf(b), (std::vector<int>{1, 0, 0, 1})) << c.colorsUsed;
    EXPECT_EQ(b.getColor(0), c.color0) << c.colorsUsed;
    EXPECT_EQ(b.getColor(1), c.color1) << c.colorsUsed;
  }
}

// Every variant holds the same 3×2 picture: top row black, white, grey(100); bottom row
// white, grey(200), black. Expected indices: 1 0 1 / 0 0 1.
const std::vector<int> kVariantPicture = {1, 0, 1, 0, 0, 1};

struct Variant {
  const char* name;
  BmpRecipe recipe;
};

std::vector<Variant> variants() {
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

TEST(BmpDecoder, VariantsReduceToTheNearerOfWhiteAndBlack) {
  for (const Variant& v : variants()) {
    MonoBitmap b = markedSurface();
    ASSERT_TRUE(decodeBmp(buildBmp(v.recipe), b)) << v.name;
    EXPECT_EQ(b.width(), 3) << v.name;
    EXPECT_EQ(b.height(), 2) << v.name;
    EXPECT_EQ(indicesOf(b), kVariantPicture) << v.name;
    EXPECT_EQ(b.getColor(0), 0xFFFFFFu) << v.name;
    EXPECT_EQ(b.getColor(1), 0u) << v.name;
  }
}

TEST(BmpDecoder, RleWritesOutsideThePictureAreClippedAndSkippedPixelsTakeEntryZero) {
  const struct {
    int width;
    std::vector<Color> palette;
    Bytes pixels;
    std::vector<int> indices;
  } cases[] = {// 200-pixel run on the bottom row, a delta far beyond the top, a run there, end.
               {3, {0xFFFFFF, 0}, {200, 1, 0, 2, 255, 255, 9, 1, 0, 1}, {0, 0, 0, 1, 1, 1}},
               // Skip to (8, top row), one white pixel: the skipped ones are entry 0, black.
               {9,
                {0, 0xFFFFFF},
                {0, 2, 8, 1, 1, 1, 0, 1},
                {1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1}}};
  for (const auto& c : cases) {
    BmpRecipe s{.width = c.width, .height = 2, .bitCount = 8, .compression = 1, .colorsUsed = 2};
    s.palette = c.palette;
    s.pixels = c.pixels;
    MonoBitmap b;
    ASSERT_TRUE(decodeBmp(buildBmp(s), b)) << c.width;
    EXPECT_EQ(indicesOf(b), c.indices) << c.width;
  }
}

// Squared distance to black is smaller exactly while r + g + b <= 382. 5-bit and 6-bit channels
// scale to the nearest 8-bit value (v · 255 / max, rounded), which decides the reduction for
// colours next to that edge: channel sums 387, 383 and 382.
TEST(BmpDecoder, ColourReductionEdgeIsAChannelSumOf382) {
  const auto rgb = [](std::uint8_t r, std::uint8_t g, std::uint8_t b) { return Bytes{b, g, r, 0}; };
  const auto pixel16 = [](unsigned v) {
    return Bytes{std::uint8_t(v), std::uint8_t(v >> 8), 0, 0};
  };
  const std::vector<std::uint32_t> m565 = {0xF800, 0x07E0, 0x001F};
  const struct {
    const char* what;
    std::uint16_t bitCount;
    std::uint32_t compression;
    std::vector<std::uint32_t> masks;
    Bytes pixels;
    int index;
  } cases[] = {
      {"127, 127, 128", 24, 0, {}, rgb(127, 127, 128), 1},
      {"127, 128, 128", 24, 0, {}, rgb(127, 128, 128), 0},
      {"255, 127, 0", 24, 0, {}, rgb(255, 127, 0), 1},
      {"255, 128, 0", 24, 0, {}, rgb(255, 128, 0), 0},
      {"5-5-5 (0, 16, 31): 0 + 132 + 255", 16, 0, {}, pixel16(16 << 5 | 31), 0},
      {"5-6-5 (0, 50, 22): 0 + 202 + 181", 16, 3, m565, pixel16(50 << 5 | 22), 0},
      {"5-6-5 (1, 62, 15): 8 + 251 + 123", 16, 3, m565, pixel16(1 << 11 | 62 << 5 | 15), 1},
  };
  for (const auto& c : cases) {
    BmpRecipe s{.bitCount = c.bitCount, .compression = c.compression, .masks = c.masks};
    s.pixels = c.pixels;
    MonoBitmap b;
    ASSERT_TRUE(decodeBmp(buildBmp(s), b)) << c.what;
    EXPECT_EQ(b.pixel(0, 0), c.index) << c.what;
  }
}

#if !defined(__SANITIZE_ADDRESS__)
// Virtual memory in use by this process, from /proc/self/statm.
std::uint64_t addressSpace() {
  std::uint64_t pages = 0;
  std::ifstream("/proc/self/statm") >> pages;
  return pages * std::uint64_t(sysconf(_SC_PAGESIZE));
}
#endif

// Run in a child whose address space leaves room for the picture once (512 MiB) but not twice;
// AddressSanitizer reserves far more address space than it uses, so there only the result is
// checked.
TEST(BmpDecoder, HugeRleHeaderWithNoDataGivesABackgroundPictureInItsOwnMemory) {
  // 64 bytes claiming 65535 × 65535 pixels of RLE8 that end at once: an all-background picture.
  const Bytes file = buildBmp({.width = 65535,
                               .height = 65535,
                               .bitCount = 8,
                               .compression = 1,
                               .colorsUsed = 2,
                               .palette = {0xFFFFFF, 0xFFFFFF},
                               .pixels = {0, 1}});
  ASSERT_EQ(file.size(), 64u);
  const auto decodeBlank = [&] {
    MonoBitmap b;
    return decodeBmp(file, b) && b.width() == 65535 && b.height() == 65535u && b.isBlank() &&
           b.getColor(0) == 0xFFFFFFu;
  };
#if defined(__SANITIZE_ADDRESS__)
  EXPECT_TRUE(decodeBlank());
#else
  const std::uint64_t picture = 8192ull * 65535;
  const std::uint64_t limit = addressSpace() + picture + picture / 2;
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const rlimit r{limit, limit};
    _exit(setrlimit(RLIMIT_AS, &r) == 0 && decodeBlank() ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
#endif
}

// Sides of exactly MonoBitmap::kMaxSide are read; one more is refused, with data enough for
// the sides so that only the limit can refuse them.
TEST(BmpDecoder, SidesUpToTheLimitAreRead) {
  ASSERT_EQ(MonoBitmap::kMaxSide, 65535);
  const struct {
    std::int32_t width, height;
    std::size_t rowBytes;
    bool read;
  } cases[] = {{65535, 1, 8192, true},
               {1, 65535, 4, true},
               {1, -65535, 4, true},
               {65536, 2, 8192, false},
               {3, -65536, 4, false}};
  for (const auto& c : cases) {
    BmpRecipe s{.width = c.width, .height = c.height, .bitCount = 1};
    s.palette = {0xFFFFFF, 0};
    s.pixels.assign(c.rowBytes * std::size_t(std::abs(c.height)), 0xFF);
    const Bytes file = buildBmp(s);
    if (!c.read) {
      EXPECT_TRUE(refusedWithoutChange([&](MonoBitmap& b) { return decodeBmp(file, b); }))
          << c.width << "x" << c.height;
      continue;
    }
    MonoBitmap b;
    ASSERT_TRUE(decodeBmp(file, b)) << c.width << "x" << c.height;
    EXPECT_EQ(b.width(), c.width);
    EXPECT_EQ(b.height(), std::uint32_t(std::abs(c.height)));
    EXPECT_EQ(b.pixel(c.width - 1, b.height() - 1), 1);
  }
}

// Faults in the headers (sides, sizes, bit counts, compressions, masks, tables) and the data
// (rows too short, RLE cut off or out of place), and broken frames around a sound file.
TEST(BmpDecoder, BrokenFilesOfTheStartingCorpusAreRefusedAndLeaveTheSurfaceAsItWas) {
  expectCorpusReadAsNamed("bmp", 28,
                          [](const Bytes& file, MonoBitmap& b) { return decodeBmp(file, b); });
}

}  // namespace
}  // namespace tenmark
