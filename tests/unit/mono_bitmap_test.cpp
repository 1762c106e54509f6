#include "surface/mono_bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

#include "support/test_surfaces.h"
#include "surface/bit_reverse.h"
#include "surface/bit_span.h"
#include "surface/instruction_set.h"
#include "surface/picture_reduction.h"
#include "surface/rgb32_image.h"

namespace tenmark {
namespace {

constexpr std::uint32_t kUntouched = 0xDEADBEEF;

int pick(std::mt19937& rng, int lo, int hi) {
  return std::uniform_int_distribution<int>(lo, hi)(rng);
}

// Random bytes, row padding included, so that byte comparisons also see stray writes into it.
MonoBitmap randomBitmap(int w, int h, std::mt19937& rng) {
  MonoBitmap b = canvasOf(w, h);
  for (std::size_t i = 0; i < b.byteCount(); ++i) b.pixels()[i] = std::uint8_t(rng());
  return b;
}

// The source pixel that a copy of rectangle r of a w × h source to `at`, clipped to both, puts
// at target pixel (x, y); none when the copy does not reach it. In 64 bits: any int works.
std::optional<Point> copiedFrom(const Rect& r, Point at, int x, int y, int w, int h) {
  const std::int64_t i = std::int64_t(x) - at.x, j = std::int64_t(y) - at.y;
  const std::int64_t sx = r.x + i, sy = r.y + j;
  if (i < 0 || j < 0 || i >= r.width || j >= r.height || sx < 0 || sy < 0 || sx >= w || sy >= h)
    return std::nullopt;
  return Point{int(sx), int(sy)};
}

void referenceCopy(const MonoBitmap& src, const Rect& r, Point at, MonoBitmap& dst) {
  for (int y = 0; y < dst.height(); ++y)
    for (int x = 0; x < dst.width(); ++x)
      if (const auto p = copiedFrom(r, at, x, y, src.width(), src.height()))
        dst.setPixel(x, y, src.pixel(p->x, p->y));
}

// The stride rounds the width up to whole 32-bit words, up to the largest side; other sizes are
// refused. Either way the surface starts over: no ink, white paper, black ink, header to match.
TEST(MonoBitmapCreate, SidesUpToTheLimitAndAFreshSurfaceEitherWay) {
  const struct {
    int w, h, stride;  // stride 0: refused; MonoBitmap::kMaxSide is 65535
  } cases[] = {{4, 4, 4},     {1, 3, 4},         {32, 3, 4},       {33, 3, 8}, {5999, 3, 752},
               {1, 65535, 4}, {65535, 1, 8192},  {0, 5, 0},        {5, -7, 0}, {65536, 1, 0},
               {1, 65536, 0}, {INT32_MAX, 1, 0}, {4, INT32_MIN, 0}};
  for (const auto& c : cases) {
    MonoBitmap b;
    ASSERT_TRUE(b.create(4, 4));
    b.setPixel(0, 0, 1);
    b.setColor(0, 0x123456);
    b.setColor(1, 0xABCDEF);
    EXPECT_EQ(b.create(c.w, c.h), c.stride > 0) << c.w << "x" << c.h;
    const std::int32_t w = c.stride ? c.w : 0, h = c.stride ? c.h : 0;
    EXPECT_EQ(std::tuple(b.width(), b.height(), b.stride(), b.byteCount(), b.hasPixels()),
              std::tuple(w, h, c.stride, std::size_t(c.stride) * std::size_t(h), c.stride > 0))
        << c.w << "x" << c.h;
    EXPECT_EQ(b.info().header.biSizeImage, std::uint32_t(c.stride * h));
    EXPECT_EQ(std::tuple(b.pixel(0, 0), b.getColor(0), b.getColor(1)),
              std::tuple(0, 0xFFFFFFu, 0u));
  }
}

// setColor takes any index above 0 as ink, getColor any but 0 (the table's byte order is the BMP
// encoder test's). The leftmost pixel is the most significant bit; pixels outside read 0 and take
// no writes.
TEST(MonoBitmap, ColourIndicesBitOrderAndMove) {
  MonoBitmap b;
  ASSERT_TRUE(b.create(9, 2));
  b.setColor(0, 0xEAF1F4);
  b.setColor(7, 0x010203);
  EXPECT_EQ(b.getColor(-1), 0x010203u);
  b.setColor(-1, 0x0A0B0C);
  EXPECT_EQ(b.getColor(0), 0x0A0B0Cu);
  for (const Point p : std::array<Point, 4>{{{8, 1}, {9, 0}, {-1, 0}, {0, 2}}})
    b.setPixel(p.x, p.y, 1);
  EXPECT_EQ(bytesOf(b), (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0x80, 0, 0}));
  EXPECT_EQ(b.pixel(100, 100) | b.pixel(-1, 0), 0);
  MonoBitmap moved = std::move(b);
  EXPECT_EQ(std::tuple(moved.pixel(8, 1), moved.getColor(0)), std::tuple(1, 0x0A0B0Cu));
  EXPECT_FALSE(b.hasPixels());  // NOLINT(bugprone-use-after-move): the moved-from state is defined
  EXPECT_EQ(b.width(), 0);
}

// Fill sets every pixel as setPixel does and leaves the bits after the last pixel of a row alone;
// the blank test reads every pixel and none of those bits.
TEST(MonoBitmapFill, EveryPixelAndNoPaddingBit) {
  std::mt19937 rng(1);
  for (int width : {1, 7, 8, 9, 31, 32, 33, 64, 65, 100}) {
    MonoBitmap b = randomBitmap(width, 3, rng);
    for (int index : {1, 0}) {
      MonoBitmap want = copyOf(b);
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < width; ++x) want.setPixel(x, y, index);
      b.fill(index);
      EXPECT_EQ(bytesOf(b), bytesOf(want)) << width;
    }
    for (std::int32_t y = 0; y < 3; ++y)
      for (int x = width; x < b.stride() * 8; ++x)
        b.row(y)[x >> 3] |= std::uint8_t(0x80u >> (x & 7));
    EXPECT_TRUE(b.isBlank()) << width;
    for (int i = 0; i < 3 * width; ++i) {
      b.setPixel(i % width, i / width, 1);
      EXPECT_FALSE(b.isBlank()) << width << " " << i;
      b.setPixel(i % width, i / width, 0);
    }
  }
}

TEST(MonoBitmapNoPixels, EveryOperationIsHarmless) {
  MonoBitmap empty;
  MonoBitmap real = canvasOf(10, 10);
  real.fill(1);
  empty.fill(1);
  empty.mirrorLeftRight();
  empty.mirrorTopBottom();
  empty.drawLine(0, 0, 5, 5, 3, 1);
  empty.drawDot(0, 0, 1, 1);
  empty.copyRectTo(Rect{0, 0, 10, 10}, real, Point{0, 0});
  real.copyRectTo(Rect{0, 0, 10, 10}, empty, Point{0, 0});
  empty.copyAllFrom(real);
  empty.copyShiftedFrom(real, 0, 0);
  EXPECT_TRUE(empty.isBlank());
  EXPECT_FALSE(empty.hasPixels());
  real.copyAllFrom(empty);
  real.copyShiftedFrom(empty, 0, 0);
  EXPECT_EQ(bytesOf(real).front(), 0xFF);
  Rgb32Image img;
  img.assign(3, 3, kUntouched);
  empty.stretchTo(Rect{0, 0, 10, 10}, img, Rect{0, 0, 3, 3});
  empty.blitTo(Rect{0, 0, 10, 10}, img, Point{0, 0});
  EXPECT_EQ(img.pixels, std::vector<std::uint32_t>(9, kUntouched));
}

// Random rectangles and origins, mostly inside both surfaces so that most copies move pixels at
// every bit offset; every fourth within one surface, where the copy must read the pixels as they
// were; the last rounds at the ends of int. The shifted copy (the Move tool's) is the whole
// source copied at the offset onto paper; the blit, the same copy through the palette into a
// 32-bit image, each pixel as 0x00RRGGBB.
TEST(MonoBitmapCopy, RandomRectanglesMatchThePerPixelCopy) {
  const struct {
    Rect r;
    Point at;
  } ends[] = {{{INT_MIN, 0, INT_MAX, 30}, {0, 0}},
              {{0, 0, INT_MAX, INT_MAX}, {1, 1}},
              {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}}};
  std::mt19937 rng(20240601);
  for (int round = 0; round < 1003; ++round) {
    MonoBitmap a = randomBitmap(pick(rng, 1, 140), pick(rng, 1, 12), rng);
    MonoBitmap b = randomBitmap(pick(rng, 1, 140), pick(rng, 1, 12), rng);
    const int dx = pick(rng, -a.width() - 3, b.width() + 3);
    const int dy = pick(rng, -a.height() - 1, b.height() + 1);
    MonoBitmap shifted = copyOf(b);
    MonoBitmap wantShifted = copyOf(b);
    shifted.copyShiftedFrom(a, dx, dy);
    wantShifted.fill(0);
    referenceCopy(a, Rect{0, 0, a.width(), a.height()}, Point{dx, dy}, wantShifted);
    ASSERT_EQ(bytesOf(shifted), bytesOf(wantShifted)) << "round " << round;

    MonoBitmap& target = round % 4 ? b : a;
    Rect r{pick(rng, -9, a.width()), pick(rng, -2, a.height()), pick(rng, -1, 150),
           pick(rng, -1, 14)};
    Point at{pick(rng, -9, target.width()), pick(rng, -2, target.height())};
    if (round >= 1000) std::tie(r, at) = std::pair(ends[round - 1000].r, ends[round - 1000].at);
    a.setColor(0, makeColor(0x11, 0x22, 0x33));
    a.setColor(1, makeColor(0xAA, 0xBB, 0xCC));
    Rgb32Image img;
    img.assign(target.width(), target.height(), kUntouched);
    a.blitTo(r, img, at);
    for (int y = 0; y < img.height; ++y) {
      for (int x = 0; x < img.width; ++x) {
        const auto p = copiedFrom(r, at, x, y, a.width(), a.height());
        const std::uint32_t colour[2] = {0x112233, 0xAABBCC};
        ASSERT_EQ(img.at(x, y), p ? colour[a.pixel(p->x, p->y)] : kUntouched) << round;
      }
    }
    MonoBitmap want = copyOf(target);
    referenceCopy(a, r, at, want);
    a.copyRectTo(r, target, at);
    ASSERT_EQ(bytesOf(target), bytesOf(want)) << "round " << round;
  }
}

TEST(MonoBitmapAssign, BecomesACopyOfSizeColoursAndPixels) {
  std::mt19937 rng(11);
  for (int width : {1, 7, 8, 9, 31, 32, 33}) {
    const MonoBitmap src = randomPicture(width, 5, rng);
    // 33 changes the height alone, 32 the width alone, the others both.
    MonoBitmap dst = randomPicture(width == 33 ? 33 : 40, width == 32 ? 5 : 9, rng);
    dst.assign(src);
    EXPECT_TRUE(samePicture(dst, src)) << width;
    dst.assign(dst);
    EXPECT_TRUE(samePicture(dst, src)) << width;
  }
}

// Random padding too: a mirror that lets padding bits in shows up as wrong pixels.
TEST(MonoBitmapMirror, RandomPicturesMatchThePerPixelMirrorAndTwiceIsIdentity) {
  std::mt19937 rng(8);
  for (int width : {1, 7, 8, 9, 31, 32, 33, 63, 64, 65, 100, 257, 263, 520}) {
    for (int height : {1, 4, 5}) {
      MonoBitmap b = randomBitmap(width, height, rng);
      const MonoBitmap original = copyOf(b);
      for (const bool leftRight : {true, false}) {
        MonoBitmap want = copyOf(original);
        for (int y = 0; y < height; ++y)
          for (int x = 0; x < width; ++x)
            want.setPixel(leftRight ? width - 1 - x : x, leftRight ? y : height - 1 - y,
                          original.pixel(x, y));
        const auto mirror = leftRight ? &MonoBitmap::mirrorLeftRight : &MonoBitmap::mirrorTopBottom;
        (b.*mirror)();
        EXPECT_TRUE(samePicture(b, want)) << width << "x" << height << " " << leftRight;
        (b.*mirror)();
        EXPECT_TRUE(samePicture(b, original)) << width << "x" << height << " " << leftRight;
      }
    }
  }
}

// What one instruction set's kernels make of random rows: rows mirrored into another and in place,
// shifted copies at every bit offset, reduced renderings and colour rows reduced to indices, each
// in buffers of exactly the bytes they may touch so that the sanitizer sees any overrun.
std::vector<std::uint32_t> kernelResults(std::uint32_t rngStart) {
  std::mt19937 rng(rngStart);
  std::vector<std::uint32_t> out;
  const auto randomBytes = [&rng](std::int64_t n) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(n));
    for (auto& b : bytes) b = std::uint8_t(rng());
    return bytes;
  };
  // Around the ends of bytes, of 16- and 32-byte vectors and of whole runs of them.
  for (const std::int64_t count :
       {1, 7, 8, 9, 121, 128, 135, 249, 256, 263, 264, 511, 520, 777, 1999, 2055}) {
    for (int offset = 0; offset < 8; ++offset) {
      const std::int64_t width = count + offset;
      const std::vector<std::uint8_t> src = randomBytes((width + 7) / 8);
      std::vector<std::uint8_t> mirrored(src.size()), inPlace = src, scratch(src.size());
      bits::reverseRow(src.data(), width, mirrored.data());
      bits::mirrorRow(inPlace.data(), width, scratch.data());
      out.insert(out.end(), mirrored.begin(), mirrored.end());
      out.insert(out.end(), inPlace.begin(), inPlace.end());
      for (int to = 0; to < 8; ++to) {
        std::vector<std::uint8_t> copy = randomBytes((to + count + 7) / 8);
        bits::copyBits(src.data(), offset, copy.data(), to, count);
        out.insert(out.end(), copy.begin(), copy.end());
      }
    }
  }
  const struct { int c, d; } zooms[] = {{8, 1}, {4, 1}, {2, 1}, {4, 3}};
  for (const auto& z : zooms) {
    for (int tw : {64, 65, 71, 263}) {
      const MonoBitmap b = randomBitmap(tw * z.c / z.d + 8, 2 * z.c, rng);
      Rgb32Image image;
      image.reshape(tw, 2);
      for (int from = 0; from < 8; ++from) {
        std::fill(image.pixels.begin(), image.pixels.end(), kUntouched);
        b.stretchTo(Rect{from, 0, tw * z.c / z.d, 2 * z.c}, image, Rect{0, 0, tw, 2 * z.d});
        out.insert(out.end(), image.pixels.begin(), image.pixels.end());
      }
    }
  }
  // Colour rows onto indices, laid over the paper by their alpha or not, widths around 8 and 16.
  for (const std::optional<Color> paper :
       {std::optional<Color>(), std::optional<Color>(0xEAF1F4)}) {
    RowReduction reduce(NearerIndex(makeColor(250, 240, 200), makeColor(20, 40, 90)), paper);
    for (const int width : {1, 7, 8, 9, 15, 16, 17, 23, 24, 25, 263}) {
      const std::vector<std::uint8_t> colours = randomBytes(4 * std::int64_t(width));
      std::vector<std::uint8_t> row = randomBytes((width + 7) / 8);
      reduce(colours.data(), width, row.data());
      out.insert(out.end(), row.begin(), row.end());
    }
  }
  return out;
}

// Every instruction set this processor has gives exactly what the plain kernels give.
TEST(InstructionSets, EveryVectorKernelMatchesThePlainOne) {
  const auto sets = simd::availableInstructionSets();
  ASSERT_EQ(sets.front(), simd::InstructionSet::Plain);
  const simd::InstructionSet widest = simd::instructionSet();
  simd::forceInstructionSet(simd::InstructionSet::Plain);
  const std::vector<std::uint32_t> plain = kernelResults(31);
  for (const simd::InstructionSet set : sets) {
    simd::forceInstructionSet(set);
    EXPECT_EQ(kernelResults(31), plain) << simd::nameOf(set);
  }
  simd::forceInstructionSet(widest);
}

// Whether the thin line takes pixel (x, y): step i of the major axis, from the start up to but
// not including the end, lies i × minor / major off the start on the minor axis, rounded half
// away from the start. In 64 bits, so that any int works.
bool onThinLine(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, int x, int y) {
  if (std::abs(x2 - x1) < std::abs(y2 - y1)) return onThinLine(y1, x1, y2, x2, y, x);
  const std::int64_t i = x2 < x1 ? x1 - x : x - x1;
  const auto major = std::uint64_t(std::abs(x2 - x1)), minor = std::uint64_t(std::abs(y2 - y1));
  if (i < 0 || std::uint64_t(i) >= major) return false;
  const std::uint64_t q = std::uint64_t(i) * minor;  // below 2^64: both lengths are below 2^32
  const auto off = std::int64_t(q / major + (2 * (q % major) >= major ? 1 : 0));
  return y == (y2 < y1 ? y1 - off : y1 + off);
}

// Whether a pen of `width`, 2 or more, takes the pixel centred at (x, y): within half the width
// of the segment, a band with round ends; none for a centre exactly on its rim (the symmetry
// test's). Odd pens are centred on a pixel, even ones on its top-left corner.
std::optional<bool> inBand(int x1, int y1, int x2, int y2, int width, int x, int y) {
  const double shift = width % 2 ? 0.0 : -0.5;
  const double ax = x1 + shift, ay = y1 + shift, dx = double(x2) - x1, dy = double(y2) - y1;
  const double len2 = dx * dx + dy * dy;
  const double t = len2 == 0 ? 0 : std::clamp(((x - ax) * dx + (y - ay) * dy) / len2, 0.0, 1.0);
  const double dist = std::hypot(x - (ax + t * dx), y - (ay + t * dy));
  if (std::abs(dist - width / 2.0) <= 1e-6) return std::nullopt;
  return dist < width / 2.0;
}

// Lines far beyond the surface, up to the ends of int, then random lines and pens reaching
// outside it; in ink or paper over random pixels and padding. A dot is the line to the next pixel
// on the right. Then every thin line between a corner of a tiny surface and the points near it,
// where half-way steps meet an edge and the cut must agree with the walk.
TEST(MonoBitmapLine, LinesMatchTheirDefinitionCutToTheSurface) {
  const int big = 1 << 30;
  const std::array<int, 5> far[] = {{-big, -big, big, big, 1},
                                    {INT_MIN, 7, INT_MAX, 7, 1},
                                    {3, INT_MAX, 3, INT_MIN, 1},
                                    {INT_MIN, 20, INT_MAX, 20, 5},
                                    {-big, -big, -big + 10, big, 30},
                                    {big, 0, big, 39, 1},
                                    {INT_MIN, INT_MIN, INT_MAX, INT_MIN, 30}};
  std::mt19937 rng(4242);
  const auto check = [&](int w, int h, int x1, int y1, int x2, int y2, int pen, bool dot) {
    MonoBitmap got = randomBitmap(w, h, rng);
    MonoBitmap want = copyOf(got);
    const int index = int(rng() & 1);
    if (dot)
      got.drawDot(x1, y1, pen, index);
    else
      got.drawLine(x1, y1, x2, y2, pen, index);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const auto in =
            pen == 1 ? onThinLine(x1, y1, x2, y2, x, y) : inBand(x1, y1, x2, y2, pen, x, y);
        if (!in || *in) want.setPixel(x, y, in ? index : got.pixel(x, y));
      }
    }
    return bytesOf(got) == bytesOf(want);
  };
  for (int round = 0; round < 1500; ++round) {
    const bool dot = round % 5 == 4;
    const int pen = round < 7 ? far[round][4] : round % 2 ? 1 : pick(rng, 2, 30);
    int x1 = pick(rng, -30, 90), y1 = pick(rng, -30, 90);
    int x2 = dot ? x1 + 1 : pick(rng, -30, 90), y2 = dot ? y1 : pick(rng, -30, 90);
    if (round < 7)
      std::tie(x1, y1, x2, y2) =
          std::tuple(far[round][0], far[round][1], far[round][2], far[round][3]);
    ASSERT_TRUE(check(60, 45, x1, y1, x2, y2, pen, dot && round >= 7))
        << x1 << "," << y1 << " -> " << x2 << "," << y2 << " pen " << pen;
  }
  for (int side = 1; side <= 5; ++side) {
    for (int ex = -12; ex <= 12; ++ex) {
      for (int ey = -12; ey <= 12; ++ey) {
        ASSERT_TRUE(check(side, side + 1, 0, 0, ex, ey, 1, false))
            << side << ": " << ex << "," << ey;
        ASSERT_TRUE(check(side, side + 1, ex, ey, 0, 0, 1, false))
            << side << ": " << ex << "," << ey;
      }
    }
  }
}

// A dot at the last int lies beyond every surface; a pen as wide as an int covers all of it.
TEST(MonoBitmapLine, DotsAndPensAtTheEndsOfInt) {
  MonoBitmap all = canvasOf(37, 21);
  all.drawDot(INT_MAX, 0, 7, 1);
  EXPECT_TRUE(all.isBlank());
  all.drawDot(18, 10, INT_MAX, 1);
  EXPECT_EQ(indicesOf(all), std::vector<int>(37 * 21, 1));
  all.drawLine(-1000, -1000, 2000, 3000, 1 << 20, 0);
  EXPECT_TRUE(all.isBlank());
}

// Pixel centres exactly on the edge of the band must be decided the same way on both sides.
TEST(MonoBitmapWideLine, StraightAndDiagonalBandsAreSymmetric) {
  for (int width = 2; width <= 30; ++width) {
    // Odd widths are symmetric about the centre pixel 40, even ones about 39.5.
    const int mirror = width % 2 ? 80 : 79;
    MonoBitmap h = canvasOf(81, 81);
    h.drawLine(25, 40, 55, 40, width, 1);
    MonoBitmap d = canvasOf(81, 81);
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

// The meaning of a scaled copy: target pixel i of the destination covers the source pixels from
// i * s / t up to (i + 1) * s / t (at least one: enlarging repeats pixels), cut to the source,
// and shows the AND of their colours, so that ink survives any reduction. A target pixel that
// covers no source pixel is left alone.
testing::AssertionResult stretchMatches(const MonoBitmap& b, const Rect& from, int w, int h,
                                        const Rect& to) {
  Rgb32Image img;
  img.assign(w, h, kUntouched);
  b.stretchTo(from, img, to);
  const std::uint32_t shown[2] = {toScreenPixel(b.getColor(0)), toScreenPixel(b.getColor(1))};
  const auto cover = [](std::int64_t k, int origin, int s, int t, int extent) {
    const std::int64_t first = k * s / t, end = std::max(first + 1, (k + 1) * s / t);
    return std::pair(std::max<std::int64_t>(0, origin + first),
                     std::min<std::int64_t>(extent, origin + end));
  };
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const std::int64_t i = std::int64_t(x) - to.x, j = std::int64_t(y) - to.y;
      std::uint32_t want = kUntouched;
      if (i >= 0 && j >= 0 && i < to.width && j < to.height && from.width > 0 && from.height > 0) {
        const auto [left, right] = cover(i, from.x, from.width, to.width, b.width());
        const auto [top, bottom] = cover(j, from.y, from.height, to.height, b.height());
        for (std::int64_t sy = top; sy < bottom; ++sy)
          for (std::int64_t sx = left; sx < right; ++sx)
            want = (want == kUntouched ? 0xFFFFFFu : want) & shown[b.pixel(int(sx), int(sy))];
      }
      if (img.at(x, y) != want)
        return testing::AssertionFailure() << std::hex << img.at(x, y) << " instead of " << want
                                           << std::dec << " at " << x << "," << y;
    }
  }
  return testing::AssertionSuccess();
}

// Every zoom's reduction and enlargement, at the target widths where the row tables start to be
// used (64 and 256 pixels) and beside them: the whole picture, then a rectangle reaching past
// the source and the target, from any source column (the view's are on the zoom grid; one off
// it has no byte-wise blocks).
TEST(MonoBitmapStretch, EveryTargetPixelIsTheAndOfTheColoursItCovers) {
  const struct {
    int c, d;
  } zooms[] = {{4, 1}, {2, 1}, {4, 3}, {1, 1}, {4, 5}, {2, 3}, {4, 7}, {1, 2}};
  std::mt19937 rng(11);
  for (const auto& z : zooms) {
    for (int tw : {63, 64, 65, 255, 256, 257}) {
      const int sw = tw * z.c / z.d, sh = 3 * z.c, th = sh * z.d / z.c;
      MonoBitmap b = randomSurface(sw + 4, sh + 1, rng);
      b.setColor(0, makeColor(0xF0, 0x0F, 0xFF));
      b.setColor(1, makeColor(0x3C, 0xFF, 0x81));
      EXPECT_TRUE(stretchMatches(b, Rect{0, 0, sw, sh}, tw, th, Rect{0, 0, tw, th}))
          << z.c << ":" << z.d << " width " << tw;
      const Rect from{pick(rng, -9, 9), pick(rng, -1, 1), sw, sh};
      const Rect to{pick(rng, -9, 9), pick(rng, -1, 1), tw, th};
      EXPECT_TRUE(stretchMatches(b, from, tw, th, to))
          << z.c << ":" << z.d << " width " << tw << " from " << from.x << " to " << to.x;
    }
  }
  const MonoBitmap b = randomSurface(10, 10, rng);
  const std::pair<Rect, Rect> ends[] = {{{0, 0, 10, 10}, {INT_MAX - 5, 0, 100, 100}},
                                        {{0, 0, 10, 10}, {0, 0, 0, 5}},
                                        {{INT_MIN, 0, 10, 10}, {0, 0, 3, 3}},
                                        {{5, 0, 10, 10}, {-4, -4, 20, 20}}};
  for (const auto& [from, to] : ends) EXPECT_TRUE(stretchMatches(b, from, 8, 8, to)) << to.x;
}

}  // namespace
}  // namespace tenmark
