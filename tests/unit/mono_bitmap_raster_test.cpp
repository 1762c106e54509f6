#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "support/test_surfaces.h"
#include "surface/mono_bitmap.h"

namespace tenmark {
namespace {

// Sets every bit after the last pixel of every row.
void setPadding(MonoBitmap& b) {
  for (std::int32_t y = 0; y < b.height(); ++y) {
    for (int x = b.width(); x < b.stride() * 8; ++x)
      b.row(y)[x >> 3] |= std::uint8_t(0x80u >> (x & 7));
  }
}

// Random bytes, padding included, so that byte comparisons also see stray writes into it.
MonoBitmap randomBitmap(int w, int h, std::mt19937& rng) {
  MonoBitmap b;
  EXPECT_TRUE(b.create(w, h));
  for (std::size_t i = 0; i < b.byteCount(); ++i) b.pixels()[i] = std::uint8_t(rng());
  return b;
}

// The per-pixel meaning of copyRectTo, walked over the target so that any origin works.
void referenceCopy(const MonoBitmap& src, int sx, int sy, int w, int h, MonoBitmap& dst, int tx,
                   int ty) {
  for (int y = 0; y < dst.height(); ++y) {
    for (int x = 0; x < dst.width(); ++x) {
      const std::int64_t i = std::int64_t(x) - tx, j = std::int64_t(y) - ty;
      const std::int64_t px = sx + i, py = sy + j;
      if (i < 0 || j < 0 || i >= w || j >= h) continue;
      if (px < 0 || py < 0 || px >= src.width() || py >= src.height()) continue;
      dst.setPixel(x, y, src.pixel(int(px), int(py)));
    }
  }
}

// Copies with both the real and the reference copy; true when every byte agrees.
bool copyMatches(const MonoBitmap& src, int sx, int sy, int w, int h, MonoBitmap& dst, int tx,
                 int ty) {
  MonoBitmap want = copyOf(dst);
  src.copyRectTo(Rect{sx, sy, w, h}, dst, Point{tx, ty});
  referenceCopy(src, sx, sy, w, h, want, tx, ty);
  return bytesOf(dst) == bytesOf(want);
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
    for (std::int32_t y = 0; y < 3; ++y)
      EXPECT_EQ(std::vector<std::uint8_t>(b.row(y), b.row(y) + b.stride()), c.row) << c.width;
    b.fill(0);
    EXPECT_EQ(bytesOf(b), std::vector<std::uint8_t>(b.byteCount(), 0)) << c.width;
  }
}

TEST(MonoBitmapBlank, PaddingIsIgnoredAndAnySinglePixelCounts) {
  for (int width : {1, 7, 8, 9, 31, 32, 33, 64, 65, 100}) {
    MonoBitmap b;
    ASSERT_TRUE(b.create(width, 3));
    setPadding(b);
    EXPECT_TRUE(b.isBlank()) << width;
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < width; ++x) {
        b.setPixel(x, y, 1);
        EXPECT_FALSE(b.isBlank()) << width << " " << x << "," << y;
        b.setPixel(x, y, 0);
      }
    }
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
  empty.copyRectTo(Rect{0, 0, 10, 10}, real, Point{0, 0});
  real.copyRectTo(Rect{0, 0, 10, 10}, empty, Point{0, 0});
  empty.copyAllFrom(real);
  EXPECT_TRUE(empty.isBlank());
  EXPECT_FALSE(empty.hasPixels());
  real.copyAllFrom(empty);
  EXPECT_EQ(bytesOf(real).front(), 0xFF);
}

// Rectangles and origins at the ends of int; ordinary clipping is the random-rectangle test's.
TEST(MonoBitmapCopy, ClipsWithoutOverflowAtTheEndsOfInt) {
  const struct {
    int sx, sy, w, h, tx, ty;
  } cases[] = {{INT_MIN, 0, INT_MAX, 30, 0, 0},
               {0, 0, INT_MAX, INT_MAX, 1, 1},
               {INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MIN, INT_MIN}};
  std::mt19937 rng(5);
  const MonoBitmap src = randomBitmap(37, 29, rng);
  for (const auto& c : cases) {
    MonoBitmap got = randomBitmap(33, 21, rng);
    EXPECT_TRUE(copyMatches(src, c.sx, c.sy, c.w, c.h, got, c.tx, c.ty))
        << c.sx << "," << c.sy << " " << c.w << "x" << c.h << " -> " << c.tx << "," << c.ty;
  }
}

TEST(MonoBitmapCopy, OverlappingCopyWithinOneSurfaceReadsTheOriginalPixels) {
  const struct { int dx, dy; } shifts[] = {{3, 0}, {-3, 0}, {0, 2}, {0, -2}, {13, 5}, {-9, -4}};
  std::mt19937 rng(9);
  for (const auto& s : shifts) {
    MonoBitmap b = randomBitmap(100, 20, rng);
    const MonoBitmap before = copyOf(b);
    MonoBitmap want = copyOf(b);
    b.copyRectTo(Rect{2, 1, 90, 17}, b, Point{2 + s.dx, 1 + s.dy});
    referenceCopy(before, 2, 1, 90, 17, want, 2 + s.dx, 1 + s.dy);
    EXPECT_EQ(bytesOf(b), bytesOf(want)) << s.dx << "," << s.dy;
  }
}

// Origins mostly inside both surfaces, so that most copies move pixels at every bit offset.
TEST(MonoBitmapCopy, RandomRectanglesMatchThePerPixelCopy) {
  std::mt19937 rng(20240601);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int round = 0; round < 1000; ++round) {
    const MonoBitmap src = randomBitmap(pick(1, 140), pick(1, 12), rng);
    MonoBitmap got = randomBitmap(pick(1, 140), pick(1, 12), rng);
    const int sx = pick(-9, src.width()), sy = pick(-2, src.height());
    const int tx = pick(-9, got.width()), ty = pick(-2, got.height());
    ASSERT_TRUE(copyMatches(src, sx, sy, pick(-1, 150), pick(-1, 14), got, tx, ty))
        << "round " << round;
  }
}

// The Move tool's shift: the same pixels as clearing the canvas and copying the source shifted.
TEST(MonoBitmapCopy, ShiftedCopyEqualsClearingAndCopyingAtTheOffset) {
  std::mt19937 rng(11);
  for (int run = 0; run < 200; ++run) {
    const int w = 1 + int(rng() % 70);
    const int h = 1 + int(rng() % 9);
    const MonoBitmap source = randomSurface(w, h, rng);
    MonoBitmap want = randomSurface(w, h, rng);
    MonoBitmap got = copyOf(want);
    const int dx = int(rng() % unsigned(2 * w + 7)) - w - 3;
    const int dy = int(rng() % unsigned(2 * h + 3)) - h - 1;
    want.fill(0);
    source.copyRectTo(Rect{0, 0, w, h}, want, Point{dx, dy});
    got.copyShiftedFrom(source, dx, dy);
    ASSERT_EQ(indicesOf(got), indicesOf(want)) << w << "x" << h << " by " << dx << "," << dy;
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
}

TEST(MonoBitmapAssign, BecomesACopyOfSizeColoursAndPixels) {
  std::mt19937 rng(11);
  for (int width : {1, 7, 8, 9, 31, 32, 33}) {
    MonoBitmap src = randomPicture(width, 5, rng);
    MonoBitmap dst;
    ASSERT_TRUE(dst.create(width == 33 ? 33 : 40, width == 33 ? 5 : 9));
    dst.fill(1);
    dst.assign(src);
    EXPECT_TRUE(samePicture(dst, src)) << width;
    dst.assign(dst);
    EXPECT_TRUE(samePicture(dst, src)) << width;
  }
}

MonoBitmap referenceMirror(const MonoBitmap& b, bool leftRight) {
  MonoBitmap m;
  EXPECT_TRUE(m.create(b.width(), b.height()));
  const int w = b.width(), h = b.height();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      m.setPixel(leftRight ? w - 1 - x : x, leftRight ? y : h - 1 - y, b.pixel(x, y));
  return m;
}

// Random padding too: a mirror that lets padding bits in shows up as wrong pixels.
TEST(MonoBitmapMirror, RandomPicturesMatchThePerPixelMirrorAndTwiceIsIdentity) {
  std::mt19937 rng(8);
  for (int width : {1, 7, 8, 9, 31, 32, 33, 63, 64, 65, 100, 257, 263, 520}) {
    for (int height : {1, 4, 5}) {
      MonoBitmap b = randomBitmap(width, height, rng);
      const MonoBitmap original = copyOf(b);
      b.mirrorLeftRight();
      EXPECT_TRUE(samePicture(b, referenceMirror(original, true))) << width << "x" << height;
      b.mirrorLeftRight();
      EXPECT_TRUE(samePicture(b, original));
      b.mirrorTopBottom();
      EXPECT_TRUE(samePicture(b, referenceMirror(original, false))) << width << "x" << height;
      b.mirrorTopBottom();
      EXPECT_TRUE(samePicture(b, original));
    }
  }
}

}  // namespace
}  // namespace tenmark
