#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "support/test_surfaces.h"
#include "surface/mono_bitmap.h"

namespace tenmark {
namespace {

MonoBitmap blank(int w, int h) {
  MonoBitmap b;
  EXPECT_TRUE(b.create(w, h));
  return b;
}

std::vector<std::string> picture(const MonoBitmap& b) {
  std::vector<std::string> rows;
  for (int y = 0; y < b.height(); ++y) {
    std::string row;
    for (int x = 0; x < b.width(); ++x) row += b.pixel(x, y) ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

int countInk(const MonoBitmap& b) {
  const std::vector<int> ink = indicesOf(b);
  return int(std::count(ink.begin(), ink.end(), 1));
}

// A line on a small surface is the same line drawn on a larger one, cut to the small one.
testing::AssertionResult clippedLikeOnALargerSurface(int w, int h, int x1, int y1, int x2, int y2,
                                                     int pen) {
  const int offset = 80;
  MonoBitmap small = blank(w, h);
  MonoBitmap big = blank(w + 2 * offset, h + 2 * offset);
  small.drawLine(x1, y1, x2, y2, pen, 1);
  big.drawLine(x1 + offset, y1 + offset, x2 + offset, y2 + offset, pen, 1);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (small.pixel(x, y) != big.pixel(x + offset, y + offset))
        return testing::AssertionFailure() << x1 << "," << y1 << " -> " << x2 << "," << y2
                                           << " pen " << pen << " differs at " << x << "," << y;
  return testing::AssertionSuccess();
}

// Thin lines leave out their end point and round half-way steps away from the start; odd pens are
// centred on a pixel, even ones on its top-left corner; a dot is the line to the next pixel on the
// right.
TEST(MonoBitmapLine, KnownPictures) {
  const struct {
    int w, h, x1, y1, x2, y2, pen;
    std::vector<std::string> picture;
  } cases[] = {
      // Steps exactly half-way between two pixels go to the one farther from the start (the
      // random-line test proves every step without a tie).
      {5, 3, 0, 0, 4, 2, 1, {"#....", ".##..", "...#."}},
      {5, 3, 4, 2, 0, 0, 1, {".#...", "..##.", "....#"}},
      {2, 3, 0, 0, 1, 2, 1, {"#.", ".#", ".."}},
      {6, 5, 2, 2, 3, 2, 2, {"......", ".###..", ".###..", "......", "......"}},
      {6, 5, 2, 2, 3, 2, 3, {"......", ".####.", ".####.", ".####.", "......"}},
  };
  for (const auto& c : cases) {
    MonoBitmap b = blank(c.w, c.h);
    b.drawLine(c.x1, c.y1, c.x2, c.y2, c.pen, 1);
    EXPECT_EQ(picture(b), c.picture) << c.x1 << "," << c.y1 << " pen " << c.pen;
    b.fill(1);
    b.drawLine(c.x1, c.y1, c.x2, c.y2, c.pen, 0);
    for (int y = 0; y < c.h; ++y)
      for (int x = 0; x < c.w; ++x) EXPECT_EQ(b.pixel(x, y), c.picture[y][x] == '.');
  }
}

// Every step of the major axis sets one pixel from the start up to but not including the end,
// never more than half a pixel off the ideal line.
TEST(MonoBitmapThinLine, RandomLinesStayOnTheIdealLine) {
  std::mt19937 rng(4242);
  std::uniform_int_distribution<int> coord(0, 39);
  for (int round = 0; round < 300; ++round) {
    const int x1 = coord(rng), y1 = coord(rng), x2 = coord(rng), y2 = coord(rng);
    MonoBitmap b = blank(40, 40);
    b.drawLine(x1, y1, x2, y2, 1, 1);
    const int dx = x2 - x1, dy = y2 - y1;
    ASSERT_EQ(countInk(b), std::max(std::abs(dx), std::abs(dy)));
    if (dx || dy) {
      ASSERT_EQ(b.pixel(x1, y1), 1);
    }
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 40; ++x) {
        if (!b.pixel(x, y)) continue;
        const double t = std::abs(dx) >= std::abs(dy) ? double(x - x1) / dx : double(y - y1) / dy;
        ASSERT_GE(t, 0.0);
        ASSERT_LT(t, 1.0);
        const double off = std::abs(dx) >= std::abs(dy) ? y - (y1 + t * dy) : x - (x1 + t * dx);
        ASSERT_LE(std::abs(off), 0.5 + 1e-9) << x1 << "," << y1 << " -> " << x2 << "," << y2;
      }
    }
  }
}

// Random lines and pens, and every thin line from a corner to near the surface: half-way steps
// sit exactly between two pixels, and where they meet an edge the cut must agree with the walk.
TEST(MonoBitmapLine, LinesReachingOutsideAreClipped) {
  std::mt19937 rng(31337);
  std::uniform_int_distribution<int> coord(-60, 100);
  std::uniform_int_distribution<int> pen(1, 12);
  for (int round = 0; round < 300; ++round) {
    const int x1 = coord(rng), y1 = coord(rng), x2 = coord(rng), y2 = coord(rng);
    ASSERT_TRUE(clippedLikeOnALargerSurface(41, 30, x1, y1, x2, y2, round % 3 ? pen(rng) : 1));
  }
  for (int side = 1; side <= 5; ++side) {
    for (int ex = -12; ex <= 12; ++ex) {
      for (int ey = -12; ey <= 12; ++ey) {
        ASSERT_TRUE(clippedLikeOnALargerSurface(side, side + 1, 0, 0, ex, ey, 1));
        ASSERT_TRUE(clippedLikeOnALargerSurface(side, side + 1, ex, ey, 0, 0, 1));
      }
    }
  }
}

TEST(MonoBitmapLine, HugeCoordinatesAndPensAreCutToTheSurface) {
  const int big = 1 << 30;
  MonoBitmap b = blank(50, 40);
  b.drawLine(-big, -big, big, big, 1, 1);
  EXPECT_EQ(countInk(b), 40);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(b.pixel(i, i), 1) << i;

  MonoBitmap lines = blank(50, 40);
  lines.drawLine(INT_MIN, 7, INT_MAX, 7, 1, 1);
  lines.drawLine(3, INT_MAX, 3, INT_MIN, 1, 1);
  EXPECT_EQ(countInk(lines), 50 + 40 - 1);

  MonoBitmap band = blank(50, 40);
  band.drawLine(INT_MIN, 20, INT_MAX, 20, 5, 1);
  EXPECT_EQ(countInk(band), 50 * 5);
  EXPECT_EQ(band.pixel(0, 18) & band.pixel(49, 22), 1);

  MonoBitmap far = blank(50, 40);
  far.drawLine(-big, -big, -big + 10, big, 30, 1);
  far.drawLine(INT_MIN, INT_MIN, INT_MAX, INT_MIN, 30, 1);
  far.drawLine(big, 0, big, 39, 1, 1);
  far.drawDot(INT_MAX, 0, 7, 1);
  EXPECT_TRUE(far.isBlank());

  MonoBitmap all = blank(37, 21);
  all.drawDot(18, 10, INT_MAX, 1);
  EXPECT_EQ(countInk(all), 37 * 21);
  all.drawLine(-1000, -1000, 2000, 3000, 1 << 20, 0);
  EXPECT_TRUE(all.isBlank());
}

// Pixel centres within half the width of the segment are inked, those beyond are not.
TEST(MonoBitmapWideLine, BandWithRoundEndsAroundTheSegment) {
  std::mt19937 rng(99);
  std::uniform_int_distribution<int> coord(5, 55);
  std::uniform_int_distribution<int> pen(2, 30);
  for (int round = 0; round < 300; ++round) {
    const bool dot = round % 3 == 0;
    const int x1 = coord(rng), y1 = coord(rng), width = pen(rng);
    const int x2 = dot ? x1 + 1 : coord(rng), y2 = dot ? y1 : coord(rng);
    MonoBitmap b = blank(60, 60);
    if (dot)
      b.drawDot(x1, y1, width, 1);
    else
      b.drawLine(x1, y1, x2, y2, width, 1);
    const double shift = width % 2 ? 0.0 : -0.5;
    const double ax = x1 + shift, ay = y1 + shift, dx = x2 - x1, dy = y2 - y1;
    const double len2 = dx * dx + dy * dy;
    for (int y = 0; y < 60; ++y) {
      for (int x = 0; x < 60; ++x) {
        double t = len2 == 0 ? 0 : ((x - ax) * dx + (y - ay) * dy) / len2;
        t = std::clamp(t, 0.0, 1.0);
        const double dist = std::hypot(x - (ax + t * dx), y - (ay + t * dy));
        if (std::abs(dist - width / 2.0) > 1e-6) {
          ASSERT_EQ(b.pixel(x, y), dist < width / 2.0) << round << " " << x << "," << y;
        }
      }
    }
  }
}

// Pixel centres exactly on the edge of the band must be decided the same way on both sides.
TEST(MonoBitmapWideLine, StraightAndDiagonalBandsAreSymmetric) {
  for (int width = 2; width <= 30; ++width) {
    // Odd widths are symmetric about the centre pixel 40, even ones about 39.5.
    const int mirror = width % 2 ? 80 : 79;
    MonoBitmap h = blank(81, 81);
    h.drawLine(25, 40, 55, 40, width, 1);
    MonoBitmap d = blank(81, 81);
    d.drawLine(28, 28, 52, 52, width, 1);
    for (int y = 0; y < 81; ++y) {
      for (int x = 0; x < 81; ++x) {
        ASSERT_EQ(h.pixel(x, y), h.pixel(mirror - x, y)) << width;
        ASSERT_EQ(h.pixel(x, y), h.pixel(x, mirror - y)) << width;
        ASSERT_EQ(d.pixel(x, y), d.pixel(y, x)) << width;
      }
    }
  }
}

}  // namespace
}  // namespace tenmark
