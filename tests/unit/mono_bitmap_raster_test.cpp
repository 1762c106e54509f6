#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "support/test_surfaces.h"
#include "surface/mono_bitmap.h"

namespace tenmark {
namespace {

const int kOddWidths[] = {1, 7, 8, 9, 31, 32, 33};

void scribble(MonoBitmap& b, std::mt19937& rng) {
  for (std::size_t i = 0; i < b.byteCount(); ++i) b.pixels()[i] = std::uint8_t(rng());
}

// Sets every bit after the last pixel of every row.
void setPadding(MonoBitmap& b) {
  for (std::uint32_t y = 0; y < b.height(); ++y) {
    for (int x = b.width(); x < b.stride() * 8; ++x)
      b.row(y)[x >> 3] |= std::uint8_t(0x80u >> (x & 7));
  }
}

// The per-pixel meaning of copyRectTo, walked over the target so that any origin works.
void referenceCopy(const MonoBitmap& src, int sx, int sy, int w, int h, MonoBitmap& dst, int tx,
                   int ty) {
  for (int y = 0; y < int(dst.height()); ++y) {
    for (int x = 0; x < dst.width(); ++x) {
      const std::int64_t i = std::int64_t(x) - tx;
      const std::int64_t j = std::int64_t(y) - ty;
      const std::int64_t px = sx + i;
      const std::int64_t py = sy + j;
      if (i < 0 || j < 0 || i >= w || j >= h) continue;
      if (px < 0 || py < 0 || px >= src.width() || py >= std::int64_t(src.height())) continue;
      dst.setPixel(x, y, src.pixel(int(px), int(py)));
    }
  }
}

bool samePixels(const MonoBitmap& a, const MonoBitmap& b) {
  if (a.width() != b.width() || a.height() != b.height()) return false;
  for (int y = 0; y < int(a.height()); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) return false;
  return true;
}

MonoBitmap randomBitmap(int w, int h, std::mt19937& rng) {
  MonoBitmap b;
  EXPECT_TRUE(b.create(w, h));
  scribble(b, rng);
  return b;
}

// Byte for byte, padding included, so that comparisons also see stray writes into the padding.
MonoBitmap copyOf(const MonoBitmap& b) {
  MonoBitmap c;
  EXPECT_TRUE(c.create(b.width(), std::int32_t(b.height())));
  std::memcpy(c.pixels(), b.pixels(), b.byteCount());
  c.setColor(0, b.getColor(0));
  c.setColor(1, b.getColor(1));
  return c;
}

TEST(MonoBitmapFill, InkCoversExactlyThePixelsOfEveryRow) {
  const struct {
    int width;
    std::vector<std::uint8_t> row;
  } cases[] = {{1, {0x80, 0, 0, 0}},
               {7, {0xFE, 0, 0, 0}},
               {8, {0xFF, 0, 0, 0}},
               {9, {0xFF, 0x80, 0, 0}},
               {31, {0xFF, 0xFF, 0xFF, 0xFE}},
               {32, {0xFF, 0xFF, 0xFF, 0xFF}},
               {33, {0xFF, 0xFF, 0xFF, 0xFF, 0x80, 0, 0, 0}}};
  for (const auto& c : cases) {
    MonoBitmap b;
    ASSERT_TRUE(b.create(c.width, 3));
    b.fill(1);
    for (std::uint32_t y = 0; y < 3; ++y) {
      EXPECT_EQ(std::vector<std::uint8_t>(b.row(y), b.row(y) + b.stride()), c.row) << c.width;
    }
    EXPECT_FALSE(b.isBlank());
    b.fill(0);
    EXPECT_TRUE(b.isBlank()) << c.width;
    EXPECT_EQ(bytesOf(b), std::vector<std::uint8_t>(b.byteCount(), 0)) << c.width;
  }
}

TEST(MonoBitmapBlank, AnySinglePixelMakesTheSurfaceNonBlank) {
  for (int width : {5, 12, 33, 64, 65, 100}) {
    MonoBitmap b;
    ASSERT_TRUE(b.create(width, 4));
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < width; ++x) {
        b.setPixel(x, y, 1);
        EXPECT_FALSE(b.isBlank()) << width << " " << x << "," << y;
        b.setPixel(x, y, 0);
      }
    }
    EXPECT_TRUE(b.isBlank());
  }
}

TEST(MonoBitmapBlank, PaddingBitsAloneLeaveTheSurfaceBlank) {
  for (int width : kOddWidths) {
    MonoBitmap b;
    ASSERT_TRUE(b.create(width, 3));
    setPadding(b);
    if (width % 32 != 0) {
      EXPECT_NE(bytesOf(b), std::vector<std::uint8_t>(b.byteCount(), 0));
    }
    EXPECT_TRUE(b.isBlank()) << width;
    b.setPixel(width - 1, 2, 1);
    EXPECT_FALSE(b.isBlank()) << width;
  }
}

TEST(MonoBitmapNoPixels, EveryOperationIsHarmless) {
  MonoBitmap empty;
  MonoBitmap real;
  ASSERT_TRUE(real.create(10, 10));
  real.fill(1);
  empty.fill(1);
  empty.mirrorLeftRight();
  empty.mirrorTopBottom();
  empty.drawLine(0, 0, 5, 5, 3, 1);
  empty.drawDot(0, 0, 1, 1);
  empty.copyRectTo(0, 0, 10, 10, real, 0, 0);
  real.copyRectTo(0, 0, 10, 10, empty, 0, 0);
  empty.copyAllFrom(real);
  EXPECT_TRUE(empty.isBlank());
  EXPECT_FALSE(empty.hasPixels());
  real.copyAllFrom(empty);
  EXPECT_EQ(bytesOf(real).front(), 0xFF);
  EXPECT_FALSE(real.isBlank());
}

// Every source and target bit offset, spans within one byte and across 64-bit words.
TEST(MonoBitmapCopy, EveryBitOffsetMatchesThePerPixelCopy) {
  std::mt19937 rng(77);
  const MonoBitmap src = randomBitmap(150, 3, rng);
  for (int w : {1, 3, 7, 8, 9, 15, 63, 64, 65, 72, 130}) {
    for (int sx = 0; sx < 8; ++sx) {
      for (int tx = 0; tx < 8; ++tx) {
        MonoBitmap got = randomBitmap(150, 3, rng);
        MonoBitmap want = copyOf(got);
        src.copyRectTo(sx, 0, w, 3, got, tx + 8, 0);
        referenceCopy(src, sx, 0, w, 3, want, tx + 8, 0);
        ASSERT_EQ(bytesOf(got), bytesOf(want)) << "w " << w << " sx " << sx << " tx " << tx;
      }
    }
  }
}

TEST(MonoBitmapCopy, ClipsAtEveryEdgeOfBothSurfaces) {
  const struct {
    int sx, sy, w, h, tx, ty;
  } cases[] = {
      {0, 0, 40, 30, -5, 0},
      {0, 0, 40, 30, 0, -7},
      {0, 0, 40, 30, 20, 0},
      {0, 0, 40, 30, 0, 15},
      {-9, 0, 40, 30, 0, 0},
      {0, -4, 40, 30, 0, 0},
      {30, 0, 40, 30, 0, 0},
      {0, 25, 40, 30, 0, 0},
      {-3, -3, 100, 100, -2, -6},
      {5, 5, 3, 3, 30, 18},
      {5, 5, 3, 3, 31, 19},
      {5, 5, 3, 3, -3, 10},
      {0, 0, 0, 5, 0, 0},
      {0, 0, 5, -1, 0, 0},
      {INT_MIN, 0, INT_MAX, 30, 0, 0},
      {0, 0, INT_MAX, INT_MAX, 1, 1},
      {INT_MAX, INT_MAX, 10, 10, 0, 0},
      {0, 0, 10, 10, INT_MAX, INT_MIN},
      {INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MIN, INT_MIN},
  };
  std::mt19937 rng(5);
  const MonoBitmap src = randomBitmap(37, 29, rng);
  for (const auto& c : cases) {
    MonoBitmap got = randomBitmap(33, 21, rng);
    MonoBitmap want = copyOf(got);
    src.copyRectTo(c.sx, c.sy, c.w, c.h, got, c.tx, c.ty);
    referenceCopy(src, c.sx, c.sy, c.w, c.h, want, c.tx, c.ty);
    EXPECT_EQ(bytesOf(got), bytesOf(want))
        << c.sx << "," << c.sy << " " << c.w << "x" << c.h << " -> " << c.tx << "," << c.ty;
  }
}

TEST(MonoBitmapCopy, OverlappingCopyWithinOneSurfaceReadsTheOriginalPixels) {
  const struct {
    int dx, dy;
  } shifts[] = {{3, 0}, {-3, 0}, {0, 2}, {0, -2}, {13, 5}, {-9, -4}, {70, 1}, {1, 1}, {-1, -1}};
  std::mt19937 rng(9);
  for (const auto& s : shifts) {
    MonoBitmap b = randomBitmap(100, 20, rng);
    const MonoBitmap before = copyOf(b);
    MonoBitmap want = copyOf(b);
    b.copyRectTo(2, 1, 90, 17, b, 2 + s.dx, 1 + s.dy);
    referenceCopy(before, 2, 1, 90, 17, want, 2 + s.dx, 1 + s.dy);
    EXPECT_EQ(bytesOf(b), bytesOf(want)) << s.dx << "," << s.dy;
  }
}

TEST(MonoBitmapCopy, RandomRectanglesMatchThePerPixelCopy) {
  std::mt19937 rng(20240601);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int round = 0; round < 400; ++round) {
    const MonoBitmap src = randomBitmap(pick(1, 140), pick(1, 12), rng);
    MonoBitmap got = randomBitmap(pick(1, 140), pick(1, 12), rng);
    MonoBitmap want = copyOf(got);
    const int sx = pick(-20, 150), sy = pick(-5, 14), w = pick(-2, 160), h = pick(-2, 16);
    const int tx = pick(-20, 150), ty = pick(-5, 14);
    src.copyRectTo(sx, sy, w, h, got, tx, ty);
    referenceCopy(src, sx, sy, w, h, want, tx, ty);
    ASSERT_EQ(bytesOf(got), bytesOf(want)) << "round " << round;
  }
}

TEST(MonoBitmapCopy, CopyAllFromClipsToThisSurfaceAndKeepsItsSizeAndColours) {
  std::mt19937 rng(3);
  const MonoBitmap big = randomBitmap(50, 40, rng);
  MonoBitmap small;
  ASSERT_TRUE(small.create(21, 13));
  small.setColor(0, 0x123456);
  MonoBitmap want = copyOf(small);
  small.copyAllFrom(big);
  referenceCopy(big, 0, 0, 50, 40, want, 0, 0);
  EXPECT_EQ(bytesOf(small), bytesOf(want));
  EXPECT_EQ(small.width(), 21);
  EXPECT_EQ(small.getColor(0), 0x123456u);

  MonoBitmap wide = randomBitmap(70, 50, rng);
  MonoBitmap wideWant = copyOf(wide);
  wide.copyAllFrom(small);
  referenceCopy(small, 0, 0, 21, 13, wideWant, 0, 0);
  EXPECT_EQ(bytesOf(wide), bytesOf(wideWant));
}

TEST(MonoBitmapAssign, BecomesACopyOfSizeColoursAndPixels) {
  std::mt19937 rng(11);
  for (int width : kOddWidths) {
    MonoBitmap src = randomBitmap(width, 5, rng);
    src.setColor(0, 0x0A0B0C);
    src.setColor(1, 0xF0E0D0);
    MonoBitmap dst;
    ASSERT_TRUE(dst.create(width == 33 ? 33 : 40, 9));
    dst.fill(1);
    dst.assign(src);
    EXPECT_EQ(dst.width(), width);
    EXPECT_EQ(dst.height(), 5u);
    EXPECT_EQ(dst.getColor(0), 0x0A0B0Cu);
    EXPECT_EQ(dst.getColor(1), 0xF0E0D0u);
    EXPECT_TRUE(samePixels(dst, src)) << width;
  }
}

TEST(MonoBitmapAssign, SelfAssignmentKeepsThePicture) {
  std::mt19937 rng(12);
  MonoBitmap b = randomBitmap(19, 7, rng);
  const auto before = bytesOf(b);
  b.assign(b);
  EXPECT_EQ(bytesOf(b), before);
}

TEST(MonoBitmapCopy, KnownBytesLandThreePixelsIn) {
  MonoBitmap src;
  ASSERT_TRUE(src.create(16, 1));
  src.row(0)[0] = 0xCA;
  src.row(0)[1] = 0xFE;
  MonoBitmap dst;
  ASSERT_TRUE(dst.create(33, 1));
  src.copyRectTo(0, 0, 16, 1, dst, 3, 0);
  EXPECT_EQ(bytesOf(dst), (std::vector<std::uint8_t>{0x19, 0x5F, 0xC0, 0, 0, 0, 0, 0}));
  src.copyRectTo(0, 0, 16, 1, dst, 25, 0);  // only 8 pixels fit
  EXPECT_EQ(bytesOf(dst), (std::vector<std::uint8_t>{0x19, 0x5F, 0xC0, 0x65, 0, 0, 0, 0}));
}

TEST(MonoBitmapMirror, KnownBytesWithPaddingSetByHand) {
  const struct {
    int width;
    std::vector<std::uint8_t> row, mirrored;
  } cases[] = {
      {1, {0x80, 0, 0, 0}, {0x80, 0, 0, 0}},
      {7, {0xCA, 0, 0, 0}, {0xA6, 0, 0, 0}},
      {8, {0xCA, 0, 0, 0}, {0x53, 0, 0, 0}},
      {9, {0xCA, 0x80, 0, 0}, {0xA9, 0x80, 0, 0}},
      {31, {0xCA, 0xFE, 0x12, 0x34}, {0x58, 0x90, 0xFE, 0xA6}},
      {32, {0xCA, 0xFE, 0x12, 0x35}, {0xAC, 0x48, 0x7F, 0x53}},
      {33, {0xCA, 0xFE, 0x12, 0x35, 0x80, 0, 0, 0}, {0xD6, 0x24, 0x3F, 0xA9, 0x80, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    MonoBitmap b;
    ASSERT_TRUE(b.create(c.width, 1));
    std::memcpy(b.row(0), c.row.data(), c.row.size());
    setPadding(b);
    b.mirrorLeftRight();
    for (int x = 0; x < c.width; ++x) {
      EXPECT_EQ(b.pixel(x, 0), (c.mirrored[std::size_t(x >> 3)] >> (7 - (x & 7))) & 1)
          << c.width << " x " << x;
    }
  }
}

MonoBitmap referenceMirror(const MonoBitmap& b, bool leftRight) {
  MonoBitmap m;
  EXPECT_TRUE(m.create(b.width(), std::int32_t(b.height())));
  const int w = b.width(), h = int(b.height());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      m.setPixel(leftRight ? w - 1 - x : x, leftRight ? y : h - 1 - y, b.pixel(x, y));
  return m;
}

TEST(MonoBitmapMirror, SinglePixelsLandOnTheMirroredPosition) {
  for (int width : {1, 7, 8, 9, 31, 32, 33, 63, 64, 65, 71, 72, 73, 129}) {
    MonoBitmap b;
    ASSERT_TRUE(b.create(width, 3));
    for (int x = 0; x < width; ++x) {
      b.fill(0);
      b.setPixel(x, 1, 1);
      b.mirrorLeftRight();
      MonoBitmap want;
      ASSERT_TRUE(want.create(width, 3));
      want.setPixel(width - 1 - x, 1, 1);
      ASSERT_TRUE(samePixels(b, want)) << width << " x " << x;
    }
  }
  for (int height : {1, 2, 3, 8}) {
    MonoBitmap b;
    ASSERT_TRUE(b.create(9, height));
    for (int y = 0; y < height; ++y) {
      b.fill(0);
      b.setPixel(8, y, 1);
      b.mirrorTopBottom();
      EXPECT_EQ(b.pixel(8, height - 1 - y), 1) << height << " y " << y;
      b.setPixel(8, height - 1 - y, 0);
      EXPECT_TRUE(b.isBlank());
    }
  }
}

TEST(MonoBitmapMirror, RandomPicturesMatchThePerPixelMirrorAndTwiceIsIdentity) {
  std::mt19937 rng(8);
  for (int width : {1, 7, 8, 9, 31, 32, 33, 63, 64, 65, 100, 200, 257}) {
    for (int height : {1, 4, 5}) {
      MonoBitmap b = randomBitmap(width, height, rng);
      const MonoBitmap original = copyOf(b);
      b.mirrorLeftRight();
      EXPECT_TRUE(samePixels(b, referenceMirror(original, true))) << width << "x" << height;
      b.mirrorLeftRight();
      EXPECT_TRUE(samePixels(b, original));
      b.mirrorTopBottom();
      EXPECT_TRUE(samePixels(b, referenceMirror(original, false))) << width << "x" << height;
      b.mirrorTopBottom();
      EXPECT_TRUE(samePixels(b, original));
    }
  }
}

TEST(MonoBitmapMirror, PaddingBitsNeverBecomePixels) {
  for (int width : {1, 7, 9, 31, 33, 65, 100}) {
    MonoBitmap b;
    ASSERT_TRUE(b.create(width, 4));
    setPadding(b);
    b.mirrorLeftRight();
    EXPECT_TRUE(b.isBlank()) << width;
    for (int x = 0; x < width; ++x) EXPECT_EQ(b.pixel(x, 0), 0) << width << " x " << x;
    setPadding(b);
    b.mirrorTopBottom();
    EXPECT_TRUE(b.isBlank()) << width;
  }
}

}  // namespace
}  // namespace tenmark
