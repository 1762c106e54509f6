#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <string>
#include <vector>

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
  for (int y = 0; y < int(b.height()); ++y) {
    std::string row;
    for (int x = 0; x < b.width(); ++x) row += b.pixel(x, y) ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

int countInk(const MonoBitmap& b) {
  int n = 0;
  for (int y = 0; y < int(b.height()); ++y)
    for (int x = 0; x < b.width(); ++x) n += b.pixel(x, y);
  return n;
}

struct Box {
  int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
};

Box inkBox(const MonoBitmap& b) {
  Box box;
  for (int y = 0; y < int(b.height()); ++y) {
    for (int x = 0; x < b.width(); ++x) {
      if (!b.pixel(x, y)) continue;
      box.left = std::min(box.left, x);
      box.right = std::max(box.right, x);
      box.top = std::min(box.top, y);
      box.bottom = std::max(box.bottom, y);
    }
  }
  return box;
}

TEST(MonoBitmapThinLine, LeavesOutTheEndPointInEveryDirection) {
  const struct {
    int x1, y1, x2, y2;
  } lines[] = {{0, 0, 5, 0}, {5, 0, 0, 0}, {3, 0, 3, 6}, {3, 6, 3, 0}, {0, 0, 6, 6},
               {6, 6, 0, 0}, {6, 0, 0, 6}, {1, 0, 3, 7}, {7, 2, 0, 5}, {2, 7, 4, 0}};
  for (const auto& l : lines) {
    MonoBitmap b = blank(8, 8);
    b.drawLine(l.x1, l.y1, l.x2, l.y2, 1, 1);
    const int steps = std::max(std::abs(l.x2 - l.x1), std::abs(l.y2 - l.y1));
    EXPECT_EQ(b.pixel(l.x1, l.y1), 1);
    EXPECT_EQ(b.pixel(l.x2, l.y2), 0);
    EXPECT_EQ(countInk(b), steps) << l.x1 << "," << l.y1 << " -> " << l.x2 << "," << l.y2;
  }
}

TEST(MonoBitmapThinLine, KnownPictures) {
  MonoBitmap b = blank(8, 4);
  b.drawLine(0, 0, 5, 0, 1, 1);
  b.drawLine(0, 1, 7, 3, 1, 1);
  EXPECT_EQ(picture(b), (std::vector<std::string>{"#####...",  //
                                                  "##......",  //
                                                  "..####..",  //
                                                  "......#."}));
  MonoBitmap steep = blank(3, 7);
  steep.drawLine(0, 0, 2, 6, 1, 1);
  EXPECT_EQ(picture(steep),
            (std::vector<std::string>{"#..", "#..", ".#.", ".#.", ".#.", "..#", "..."}));
}

// Every step of the major axis sets one pixel, never more than half a pixel off the ideal
// line, each pixel touching the one before.
TEST(MonoBitmapThinLine, RandomLinesStayOnTheIdealLine) {
  std::mt19937 rng(4242);
  std::uniform_int_distribution<int> coord(0, 39);
  for (int round = 0; round < 300; ++round) {
    const int x1 = coord(rng), y1 = coord(rng), x2 = coord(rng), y2 = coord(rng);
    MonoBitmap b = blank(40, 40);
    b.drawLine(x1, y1, x2, y2, 1, 1);
    const int dx = x2 - x1, dy = y2 - y1;
    const int steps = std::max(std::abs(dx), std::abs(dy));
    ASSERT_EQ(countInk(b), steps);
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

TEST(MonoBitmapThinLine, DotSetsExactlyOnePixelAndIndexZeroErases) {
  MonoBitmap b = blank(9, 9);
  b.drawDot(4, 7, 1, 1);
  EXPECT_EQ(countInk(b), 1);
  EXPECT_EQ(b.pixel(4, 7), 1);
  b.fill(1);
  b.drawDot(8, 0, 1, 0);
  EXPECT_EQ(countInk(b), 80);
  EXPECT_EQ(b.pixel(8, 0), 0);
}

// A line on a small surface is the same line drawn on a larger one, cut to the small one.
TEST(MonoBitmapLine, LinesReachingOutsideAreClipped) {
  std::mt19937 rng(31337);
  std::uniform_int_distribution<int> coord(-60, 100);
  std::uniform_int_distribution<int> pen(1, 12);
  const int offset = 80;
  for (int round = 0; round < 300; ++round) {
    const int x1 = coord(rng), y1 = coord(rng), x2 = coord(rng), y2 = coord(rng);
    const int width = round % 3 == 0 ? 1 : pen(rng);
    MonoBitmap small = blank(41, 30);
    MonoBitmap big = blank(260, 260);
    small.drawLine(x1, y1, x2, y2, width, 1);
    big.drawLine(x1 + offset, y1 + offset, x2 + offset, y2 + offset, width, 1);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 41; ++x)
        ASSERT_EQ(small.pixel(x, y), big.pixel(x + offset, y + offset))
            << x1 << "," << y1 << " -> " << x2 << "," << y2 << " w " << width << " at " << x << ","
            << y;
  }
}

// Half-way steps sit exactly between two pixels; where they meet an edge, the cut must agree
// with the walk, or a pixel lands outside the surface.
TEST(MonoBitmapLine, HalfWayStepsAtTheEdgesAreCutLikeTheWholeLine) {
  const int offset = 20;
  for (int side = 1; side <= 5; ++side) {
    for (int ex = -12; ex <= 12; ++ex) {
      for (int ey = -12; ey <= 12; ++ey) {
        for (const bool reverse : {false, true}) {
          const int x1 = reverse ? ex : 0, y1 = reverse ? ey : 0;
          const int x2 = reverse ? 0 : ex, y2 = reverse ? 0 : ey;
          MonoBitmap small = blank(side, side + 1);
          MonoBitmap big = blank(60, 60);
          small.drawLine(x1, y1, x2, y2, 1, 1);
          big.drawLine(x1 + offset, y1 + offset, x2 + offset, y2 + offset, 1, 1);
          for (int y = 0; y < side + 1; ++y) {
            for (int x = 0; x < side; ++x) {
              ASSERT_EQ(small.pixel(x, y), big.pixel(x + offset, y + offset))
                  << x1 << "," << y1 << " -> " << x2 << "," << y2 << " side " << side;
            }
          }
        }
      }
    }
  }
}

TEST(MonoBitmapLine, HugeCoordinatesAreCutToTheSurface) {
  const int big = 1 << 30;
  MonoBitmap b = blank(50, 40);
  b.drawLine(-big, -big, big, big, 1, 1);
  EXPECT_EQ(countInk(b), 40);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(b.pixel(i, i), 1) << i;

  MonoBitmap row = blank(50, 40);
  row.drawLine(INT_MIN, 7, INT_MAX, 7, 1, 1);
  EXPECT_EQ(countInk(row), 50);

  MonoBitmap column = blank(50, 40);
  column.drawLine(3, INT_MAX, 3, INT_MIN, 1, 1);
  EXPECT_EQ(countInk(column), 40);

  MonoBitmap band = blank(50, 40);
  band.drawLine(INT_MIN, 20, INT_MAX, 20, 5, 1);
  EXPECT_EQ(countInk(band), 50 * 5);
  EXPECT_EQ(inkBox(band).top, 18);
  EXPECT_EQ(inkBox(band).bottom, 22);

  MonoBitmap far = blank(50, 40);
  far.drawLine(-big, -big, -big + 10, big, 30, 1);
  far.drawLine(INT_MIN, INT_MIN, INT_MAX, INT_MIN, 30, 1);
  far.drawLine(big, 0, big, 39, 1, 1);
  far.drawDot(INT_MAX, 0, 7, 1);
  EXPECT_TRUE(far.isBlank());
}

TEST(MonoBitmapWideLine, DotCoversADiscOfThePenWidth) {
  for (int width = 2; width <= 30; ++width) {
    MonoBitmap b = blank(80, 80);
    b.drawDot(40, 40, width, 1);
    const int k = width / 2;
    const Box box = inkBox(b);
    // Odd widths are centred on the pixel, even ones on its top-left corner; the line to
    // (x + 1, y) makes the blot one pixel longer horizontally.
    const int top = 40 - k;
    const int bottom = width % 2 ? 40 + k : 40 + k - 1;
    EXPECT_EQ(box.top, top) << width;
    EXPECT_EQ(box.bottom, bottom) << width;
    EXPECT_EQ(box.left, top) << width;
    EXPECT_EQ(box.right, bottom + 1) << width;
    // Round, not square: the corners stay empty from width 4 on; the area is near π r² + w.
    if (width >= 4) {
      EXPECT_EQ(b.pixel(box.left, box.top), 0) << width;
    }
    const double r = width / 2.0;
    const double area = std::numbers::pi * r * r + width;
    EXPECT_NEAR(countInk(b), area, area * 0.12 + 2) << width;
  }
}

TEST(MonoBitmapWideLine, APenWiderThanTheSurfaceCoversIt) {
  MonoBitmap b = blank(37, 21);
  b.drawDot(18, 10, INT_MAX, 1);
  EXPECT_EQ(countInk(b), 37 * 21);
  b.drawLine(-1000, -1000, 2000, 3000, 1 << 20, 0);
  EXPECT_TRUE(b.isBlank());
}

TEST(MonoBitmapWideLine, SmallDotsHaveTheirKnownShapes) {
  MonoBitmap two = blank(6, 5);
  two.drawDot(2, 2, 2, 1);
  EXPECT_EQ(picture(two),
            (std::vector<std::string>{"......", ".###..", ".###..", "......", "......"}));
  MonoBitmap three = blank(6, 5);
  three.drawDot(2, 2, 3, 1);
  EXPECT_EQ(picture(three),
            (std::vector<std::string>{"......", ".####.", ".####.", ".####.", "......"}));
}

// Pixel centres within half the width of the segment are inked, those beyond are not.
TEST(MonoBitmapWideLine, BandWithRoundEndsAroundTheSegment) {
  std::mt19937 rng(99);
  std::uniform_int_distribution<int> coord(5, 55);
  std::uniform_int_distribution<int> pen(2, 30);
  for (int round = 0; round < 200; ++round) {
    const int x1 = coord(rng), y1 = coord(rng), x2 = coord(rng), y2 = coord(rng);
    const int width = pen(rng);
    MonoBitmap b = blank(60, 60);
    b.drawLine(x1, y1, x2, y2, width, 1);
    const double shift = width % 2 ? 0.0 : -0.5;
    const double ax = x1 + shift, ay = y1 + shift, dx = x2 - x1, dy = y2 - y1;
    const double len2 = dx * dx + dy * dy;
    for (int y = 0; y < 60; ++y) {
      for (int x = 0; x < 60; ++x) {
        double t = len2 == 0 ? 0 : ((x - ax) * dx + (y - ay) * dy) / len2;
        t = std::clamp(t, 0.0, 1.0);
        const double dist = std::hypot(x - (ax + t * dx), y - (ay + t * dy));
        if (dist < width / 2.0 - 1e-6) {
          ASSERT_EQ(b.pixel(x, y), 1) << round << " " << x << "," << y;
        }
        if (dist > width / 2.0 + 1e-6) {
          ASSERT_EQ(b.pixel(x, y), 0) << round << " " << x << "," << y;
        }
      }
    }
  }
}

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
        const int mx = mirror - x, my = mirror - y;
        if (mx >= 0 && mx <= 80) {
          ASSERT_EQ(h.pixel(x, y), h.pixel(mx, y)) << width;
        }
        if (my >= 0 && my <= 80) {
          ASSERT_EQ(h.pixel(x, y), h.pixel(x, my)) << width;
        }
        ASSERT_EQ(d.pixel(x, y), d.pixel(y, x)) << width;
      }
    }
    EXPECT_EQ(inkBox(h).bottom - inkBox(h).top + 1, width);
  }
}

}  // namespace
}  // namespace tenmark
