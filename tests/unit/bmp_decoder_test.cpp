#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "imagefile/bmp_codec.h"
#include "support/bmp_recipes.h"
#include "support/starting_corpus.h"
#include "support/test_surfaces.h"

namespace tenmark {
namespace {

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
    ASSERT_EQ(decodeBmp(buildBmp(s), b), PictureFault::None) << c.colorsUsed;
    EXPECT_EQ(indicesOf(b), (std::vector<int>{1, 0, 0, 1})) << c.colorsUsed;
    EXPECT_EQ(b.getColor(0), c.color0) << c.colorsUsed;
    EXPECT_EQ(b.getColor(1), c.color1) << c.colorsUsed;
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
    ASSERT_EQ(decodeBmp(buildBmp(s), b), PictureFault::None) << c.width;
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
      {"5-5-5 (0, 16, 31): 0 + 132 + 255", 16, 0, {}, pixel16(16 << 5 | 31), 0},
      {"5-6-5 (0, 50, 22): 0 + 202 + 181", 16, 3, m565, pixel16(50 << 5 | 22), 0},
      {"5-6-5 (1, 62, 15): 8 + 251 + 123", 16, 3, m565, pixel16(1 << 11 | 62 << 5 | 15), 1},
  };
  for (const auto& c : cases) {
    BmpRecipe s{.bitCount = c.bitCount, .compression = c.compression, .masks = c.masks};
    s.pixels = c.pixels;
    MonoBitmap b;
    ASSERT_EQ(decodeBmp(buildBmp(s), b), PictureFault::None) << c.what;
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
    return decodeBmp(file, b) == PictureFault::None && b.width() == 65535 && b.height() == 65535u &&
           b.isBlank() && b.getColor(0) == 0xFFFFFFu;
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

// Run-length files show the sides at the limit read (above) and one past it refused (the corpus);
// a top-down file, which cannot be one, has rows enough for its height.
TEST(BmpDecoder, TopDownFilesUpToTheLimitAreRead) {
  for (const int rows : {65535, 65536}) {
    const Bytes file = buildBmp({.width = 1,
                                 .height = -rows,
                                 .bitCount = 1,
                                 .palette = {0xFFFFFF, 0},
                                 .pixels = Bytes(4 * std::size_t(rows), 0xFF)});
    MonoBitmap b = markedSurface();
    const bool read = decodeBmp(file, b) == PictureFault::None;
    EXPECT_EQ(read, rows <= MonoBitmap::kMaxSide) << rows;
    EXPECT_TRUE(read ? b.height() == 65535u && b.pixel(0, 65534) == 1
                     : samePicture(b, markedSurface()))
        << rows;
  }
}

// Faults in the headers (sides, sizes, bit counts, compressions, masks, tables) and the data
// (rows too short, RLE cut off or out of place), and broken frames around a sound file; the
// others hold the corpus picture in every layout, reduced to white and black.
TEST(BmpDecoder, StartingCorpusFilesAreReadOrRefusedAsNamed) {
  const auto read = expectCorpusReadAsNamed("bmp", 30, [](const Bytes& file, MonoBitmap& b) {
    return decodeBmp(file, b) == PictureFault::None;
  });
  EXPECT_EQ(read.size(), 11u);
  for (const auto& [name, b] : read) {
    EXPECT_EQ(b.width(), 3) << name;
    EXPECT_EQ(indicesOf(b), kCorpusPicture) << name;
    EXPECT_EQ(b.getColor(0), 0xFFFFFFu) << name;
    EXPECT_EQ(b.getColor(1), 0u) << name;
  }
}

// What the message after a refused file says, for broken files of each kind.
TEST(BmpDecoder, RefusalsSayWhy) {
  expectRefusalsSayWhy("bmp", [](const Bytes& file, MonoBitmap& b) { return decodeBmp(file, b); },
                       {{"refused-empty.bmp", PictureFault::Empty},
                        {"refused-not-bm.bmp", PictureFault::NotPicture},
                        {"refused-truncated-2-bytes.bmp", PictureFault::CutShort},
                        {"refused-header-size-past-the-end.bmp", PictureFault::CutShort},
                        {"refused-rows-one-byte-shorter-than-claimed.bmp", PictureFault::CutShort},
                        {"refused-rle-data-without-its-end-code.bmp", PictureFault::CutShort},
                        {"refused-unknown-header-size.bmp", PictureFault::Unsupported},
                        {"refused-jpeg-compression.bmp", PictureFault::Unsupported},
                        {"refused-bit-count-2.bmp", PictureFault::Unsupported},
                        {"refused-overlapping-masks.bmp", PictureFault::Damaged},
                        {"refused-zero-height.bmp", PictureFault::Damaged},
                        {"refused-width-above-the-limit.bmp", PictureFault::TooLarge}});
}

}  // namespace
}  // namespace tenmark
