#include <gtest/gtest.h>

#include <cstdint>

#include "surface/mono_bitmap.h"

namespace tenmark {
namespace {

// Up to the largest side, 65535, which needs 8192 bytes a row.
TEST(MonoBitmapCreate, StrideRoundsWidthUpToWholeWords) {
  ASSERT_EQ(MonoBitmap::kMaxSide, 65535);
  const struct {
    int width, height, stride;
  } cases[] = {{1, 3, 4},  {7, 3, 4},    {8, 3, 4},      {9, 3, 4},        {31, 3, 4},   {32, 3, 4},
               {33, 3, 8}, {640, 3, 80}, {5999, 3, 752}, {65535, 1, 8192}, {1, 65535, 4}};
  for (const auto& c : cases) {
    MonoBitmap b;
    ASSERT_TRUE(b.create(c.width, c.height)) << c.width;
    EXPECT_EQ(b.stride(), c.stride) << c.width;
    EXPECT_EQ(b.height(), std::uint32_t(c.height)) << c.width;
    EXPECT_EQ(b.info().header.biSizeImage, std::uint32_t(c.stride * c.height)) << c.width;
  }
}

// Whatever the surface held before, a refusal leaves it empty: no pixels, no size, the header
// of an empty picture, and nothing that a negative or huge request could wrap into.
TEST(MonoBitmapCreate, RefusedSizesLeaveAnEmptySurface) {
  const struct {
    int w, h;
  } bad[] = {{0, 5},         {5, 0},         {-1, 5},        {5, -7},
             {65536, 1},     {1, 65536},     {70000, 70000}, {INT32_MAX, 1},
             {1, INT32_MAX}, {4, INT32_MIN}, {INT32_MIN, 4}};
  for (const auto& c : bad) {
    MonoBitmap b;
    ASSERT_TRUE(b.create(4, 4));
    b.setColor(0, 0x123456);
    EXPECT_FALSE(b.create(c.w, c.h)) << c.w << "x" << c.h;
    EXPECT_FALSE(b.hasPixels());
    EXPECT_EQ(b.width() | b.stride() | b.height() | int(b.byteCount()), 0);
    const BitmapInfoHeader& h = b.info().header;
    EXPECT_EQ(h.biWidth | h.biHeight | std::int32_t(h.biSizeImage), 0);
    EXPECT_EQ(b.getColor(0), 0xFFFFFFu);
  }
}

TEST(MonoBitmapCreate, RecreatingFreshensPixelsAndPalette) {
  MonoBitmap b;
  ASSERT_TRUE(b.create(10, 10));
  b.setColor(0, 0x123456);
  b.setColor(1, 0xABCDEF);
  b.setPixel(3, 3, 1);
  ASSERT_TRUE(b.create(10, 10));
  EXPECT_EQ(b.pixel(3, 3), 0);
  EXPECT_EQ(b.info().header.biHeight, -10);
  EXPECT_EQ(b.getColor(0), 0xFFFFFFu);
  EXPECT_EQ(b.getColor(1), 0u);
}

TEST(MonoBitmapColors, SetColorStoresBlueGreenRedInTheTable) {
  MonoBitmap b;
  ASSERT_TRUE(b.create(1, 1));
  b.setColor(0, 0xEAF1F4);  // red 0xF4, green 0xF1, blue 0xEA
  b.setColor(7, 0x010203);  // any index above 0 is the pen entry
  EXPECT_EQ(b.info().colors[0].blue, 0xEA);
  EXPECT_EQ(b.info().colors[0].green, 0xF1);
  EXPECT_EQ(b.info().colors[0].red, 0xF4);
  EXPECT_EQ(b.info().colors[0].reserved, 0);
  EXPECT_EQ(b.getColor(1), 0x010203u);
  EXPECT_EQ(b.getColor(-1), 0x010203u);  // getColor: any non-zero index is the pen entry
  b.setColor(-1, 0x0A0B0C);              // setColor: only positive indices are the pen entry
  EXPECT_EQ(b.getColor(0), 0x0A0B0Cu);
}

TEST(MonoBitmapPixels, MostSignificantBitIsTheLeftmostPixel) {
  MonoBitmap b;
  ASSERT_TRUE(b.create(9, 2));
  b.setPixel(0, 0, 1);
  b.setPixel(8, 1, 1);
  EXPECT_EQ(b.row(0)[0], 0x80);
  EXPECT_EQ(b.row(1)[1], 0x80);
  b.setPixel(9, 0, 1);   // outside: ignored
  b.setPixel(-1, 0, 1);  // outside: ignored
  EXPECT_EQ(b.row(0)[1], 0);
  EXPECT_EQ(b.pixel(100, 100), 0);
}

TEST(MonoBitmapMove, MovingHandsThePixelsOverAndEmptiesTheSource) {
  MonoBitmap a;
  ASSERT_TRUE(a.create(12, 3));
  a.setPixel(11, 2, 1);
  a.setColor(0, 0x112233);
  MonoBitmap b = std::move(a);
  EXPECT_EQ(b.pixel(11, 2), 1);
  EXPECT_EQ(b.getColor(0), 0x112233u);
  EXPECT_FALSE(a.hasPixels());  // NOLINT(bugprone-use-after-move): the moved-from state is defined
  EXPECT_EQ(a.width(), 0);
}

}  // namespace
}  // namespace tenmark
