#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <random>

#include "surface/mono_bitmap.h"
#include "surface/rgb32_image.h"
#include "support/test_surfaces.h"

namespace tenmark {
namespace {

constexpr std::uint32_t kUntouched = 0xDEADBEEF;

Rgb32Image image(int w, int h) {
  Rgb32Image img;
  img.resize(w, h);
  std::fill(img.pixels.begin(), img.pixels.end(), kUntouched);
  return img;
}

// The colours reach the screen as 0x00RRGGBB.
TEST(MonoBitmapBlit, CopiesThroughThePaletteClippedToSourceAndTarget) {
  const struct {
    int sx, sy, w, h, tx, ty;
  } cases[] = {{0, 0, 20, 20, -3, -2},   {0, 0, 20, 20, 5, 4},
               {-4, -1, 20, 20, 0, 0},   {6, 2, 50, 50, 1, 1},
               {0, 0, 0, 9, 0, 0},       {INT_MIN, 0, INT_MAX, 9, 0, 0},
               {0, 0, 9, 9, INT_MAX, 0}, {0, 0, INT_MAX, INT_MAX, INT_MIN, INT_MIN}};
  std::mt19937 rng(1);
  MonoBitmap b = randomSurface(13, 9, rng);
  b.setColor(0, makeColor(0x11, 0x22, 0x33));
  b.setColor(1, makeColor(0xAA, 0xBB, 0xCC));
  const std::uint32_t colour[2] = {0x112233, 0xAABBCC};
  for (const auto& c : cases) {
    Rgb32Image img = image(11, 8);
    b.blitTo(Rect{c.sx, c.sy, c.w, c.h}, img, Point{c.tx, c.ty});
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 11; ++x) {
        const std::int64_t i = std::int64_t(x) - c.tx, j = std::int64_t(y) - c.ty;
        const std::int64_t px = c.sx + i, py = c.sy + j;
        const bool copied =
            i >= 0 && j >= 0 && i < c.w && j < c.h && px >= 0 && py >= 0 && px < 13 && py < 9;
        const std::uint32_t want = copied ? colour[b.pixel(int(px), int(py))] : kUntouched;
        ASSERT_EQ(img.at(x, y), want) << c.sx << "," << c.tx << " at " << x << "," << y;
      }
    }
  }
}

// Rectangles on the zoom grid land on exactly the pixels a whole stretch gives them.
TEST(MonoBitmapStretch, PartOfAStretchMatchesTheWholeStretch) {
  const struct {
    int c, d;
  } zooms[] = {{4, 1}, {2, 1}, {4, 3}, {1, 1}, {4, 5}, {2, 3}, {4, 7}, {1, 2}};
  std::mt19937 rng(3);
  const MonoBitmap b = randomSurface(48, 40, rng);
  for (const auto& z : zooms) {
    Rgb32Image whole = image(48 * z.d / z.c, 40 * z.d / z.c);
    b.stretchTo(Rect{0, 0, 48, 40}, whole, Rect{0, 0, whole.width, whole.height});
    Rgb32Image part = whole;
    std::fill(part.pixels.begin(), part.pixels.end(), kUntouched);
    const int x = 2 * z.c, y = 3 * z.c, w = 5 * z.c, h = 4 * z.c;
    b.stretchTo(Rect{x, y, w, h}, part,
                Rect{x * z.d / z.c, y * z.d / z.c, w * z.d / z.c, h * z.d / z.c});
    for (int ty = 0; ty < whole.height; ++ty) {
      for (int tx = 0; tx < whole.width; ++tx) {
        if (part.at(tx, ty) == kUntouched) continue;
        ASSERT_EQ(part.at(tx, ty), whole.at(tx, ty)) << z.c << ":" << z.d << " " << tx << "," << ty;
      }
    }
    int written = 0;
    for (std::uint32_t p : part.pixels) written += p != kUntouched;
    EXPECT_EQ(written, (w * z.d / z.c) * (h * z.d / z.c));
  }
}

// Every zoom's reduction and enlargement, pixel by pixel against the meaning of a scaled copy
// (enlarging repeats pixels, reducing ANDs the colours a target pixel covers), at the widths
// where the row tables start to be used (64 and 256 target pixels) and beside them.
TEST(MonoBitmapStretch, EveryTargetPixelIsTheAndOfTheColoursItCovers) {
  const struct {
    int c, d;
  } zooms[] = {{4, 1}, {2, 1}, {4, 3}, {1, 1}, {4, 5}, {2, 3}, {4, 7}, {1, 2}};
  const Color paper = makeColor(0xF0, 0x0F, 0xFF);
  const Color ink = makeColor(0x3C, 0xFF, 0x81);
  const std::uint32_t shown[2] = {toScreenPixel(paper), toScreenPixel(ink)};
  std::mt19937 rng(11);
  for (const auto& z : zooms) {
    for (int tw : {63, 64, 65, 255, 256, 257}) {
      const int sw = tw * z.c / z.d, sh = 3 * z.c;
      const int th = sh * z.d / z.c;
      MonoBitmap b = randomSurface(sw, sh, rng);
      b.setColor(0, paper);
      b.setColor(1, ink);
      Rgb32Image img = image(tw, th);
      b.stretchTo(Rect{0, 0, sw, sh}, img, Rect{0, 0, tw, th});
      for (int ty = 0; ty < th; ++ty) {
        for (int tx = 0; tx < tw; ++tx) {
          std::uint32_t want = 0xFFFFFFu;
          for (int y = ty * sh / th; y < std::max(ty * sh / th + 1, (ty + 1) * sh / th); ++y)
            for (int x = tx * sw / tw; x < std::max(tx * sw / tw + 1, (tx + 1) * sw / tw); ++x)
              want &= shown[b.pixel(x, y)];
          ASSERT_EQ(img.at(tx, ty), want) << z.c << ":" << z.d << " width " << tw << " at " << tx;
        }
      }
    }
  }
}

TEST(MonoBitmapStretch, ClipsToSourceAndTarget) {
  MonoBitmap b;
  ASSERT_TRUE(b.create(10, 10));
  b.fill(1);
  Rgb32Image img = image(8, 8);
  // Target rectangle hanging over the top-left corner; source reaching past the right edge.
  b.stretchTo(Rect{5, 0, 10, 10}, img, Rect{-4, -4, 20, 20});
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      // Target x maps to source 5 + (x + 4) / 2, which is inside the source up to x = 5.
      const bool inside = 5 + (x + 4) / 2 < 10 && (y + 4) / 2 < 10;
      EXPECT_EQ(img.at(x, y), inside ? 0u : kUntouched) << x << "," << y;
    }
  }
  Rgb32Image tiny = image(3, 3);
  b.stretchTo(Rect{0, 0, 10, 10}, tiny, Rect{INT_MAX - 5, 0, 100, 100});
  b.stretchTo(Rect{0, 0, 10, 10}, tiny, Rect{0, 0, 0, 5});
  b.stretchTo(Rect{INT_MIN, 0, 10, 10}, tiny, Rect{0, 0, 3, 3});
  MonoBitmap none;
  none.stretchTo(Rect{0, 0, 10, 10}, tiny, Rect{0, 0, 3, 3});
  none.blitTo(Rect{0, 0, 10, 10}, tiny, Point{0, 0});
  for (std::uint32_t p : tiny.pixels) EXPECT_EQ(p, kUntouched);
}

}  // namespace
}  // namespace tenmark
