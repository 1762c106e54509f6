#include <gtest/gtest.h>

#include <vector>

#include "imagefile/bmp_codec.h"

namespace tenmark {
namespace {

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24);
}

TEST(BmpEncoder, OnePixelCanvasIsSixtySixBytesWithTheExactHeader) {
  MonoBitmap b;
  ASSERT_TRUE(b.create(1, 1));
  b.setPixel(0, 0, 1);
  const std::vector<std::uint8_t> file = encodeBmp(b);
  const std::vector<std::uint8_t> expected = {
      'B',  'M', 66,  0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0,  // file header
      40,   0,   0,   0, 1, 0, 0, 0, 1, 0, 0,  0, 1, 0, 1, 0, 0, 0, 0, 0,
      4,    0,   0,   0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0, 0, 0,  // info header
      255,  255, 255, 0, 0, 0, 0, 0,                                       // white, black
      0x80, 0,   0,   0};
  EXPECT_EQ(file, expected);
}

TEST(BmpEncoder, RowsRunBottomUpAsInMemoryAndTheTableHoldsTheSurfaceColours) {
  MonoBitmap b;
  ASSERT_TRUE(b.create(33, 2));
  b.setColor(0, makeColor(244, 241, 234));
  b.setColor(1, makeColor(1, 2, 3));
  b.setPixel(0, 0, 1);   // top row: first pixel
  b.setPixel(32, 1, 1);  // bottom row: last pixel
  b.row(0)[7] = 0x5A;    // padding past the width is written as it stands
  const std::vector<std::uint8_t> file = encodeBmp(b);
  ASSERT_EQ(file.size(), 78u);
  EXPECT_EQ(le32(file, 2), 78u);
  EXPECT_EQ(le32(file, 22), 2u);  // positive height: bottom-up
  EXPECT_EQ(le32(file, 34), 16u);
  const std::vector<std::uint8_t> tableAndRows(file.begin() + 54, file.end());
  const std::vector<std::uint8_t> expected = {234,  241, 244, 0, 3,    2, 1, 0, 0, 0, 0, 0,
                                              0x80, 0,   0,   0, 0x80, 0, 0, 0, 0, 0, 0, 0x5A};
  EXPECT_EQ(tableAndRows, expected);
  EXPECT_EQ(b.info().header.biHeight, -2);  // the surface itself stays top-down
}

TEST(BmpEncoder, SurfaceWithoutPixelsGivesNothing) {
  MonoBitmap b;
  EXPECT_TRUE(encodeBmp(b).empty());
}

}  // namespace
}  // namespace tenmark
