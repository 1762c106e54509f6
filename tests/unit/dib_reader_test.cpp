#include <gtest/gtest.h>

#include <random>

#include "imagefile/dib_reader.h"
#include "support/bmp_recipes.h"
#include "support/test_surfaces.h"
#include "surface/nearer_index.h"

namespace tenmark {
namespace {

MonoBitmap canvasOf(int width, int height, Color paper, Color ink) {
  MonoBitmap canvas;
  canvas.create(width, height);
  canvas.setColor(0, paper);
  canvas.setColor(1, ink);
  return canvas;
}

bool isRle(const BmpRecipe& r) { return r.compression == 1 || r.compression == 2; }

// The BMP variants as DIBs give the decoder's picture; run-length rows are left to the system.
TEST(DibReader, EveryLayoutGivesThePictureInTheCanvasColours) {
  std::vector<Variant> layouts = variants();
  layouts.push_back({"1-bit", {.width = 3, .height = 2, .bitCount = 1}});
  layouts.back().recipe.palette = {0, 0xFFFFFF};
  layouts.back().recipe.pixels = {0xC0, 0, 0, 0, 0x40, 0, 0, 0};
  const MonoBitmap canvas = canvasOf(3, 2, 0xFFFFFF, 0x000000);
  for (const Variant& v : layouts) {
    if (v.recipe.headerSize == 12) continue;  // no clipboard carries the old OS/2 header
    MonoBitmap picture = markedSurface();
    const DibReading read = readDib(buildDib(v.recipe), canvas, picture);
    if (isRle(v.recipe)) {
      EXPECT_EQ(read, DibReading::NotDecoded) << v.name;
      EXPECT_TRUE(samePicture(picture, markedSurface())) << v.name;
      continue;
    }
    ASSERT_EQ(read, DibReading::Read) << v.name;
    EXPECT_EQ(indicesOf(picture), kVariantPicture) << v.name;
    EXPECT_EQ(picture.getColor(0), 0xFFFFFFu) << v.name;
  }
}

// A 24-bit picture of random colours against the nearer canvas colour of each pixel, in both
// row orders, on canvases smaller, equal and larger in each direction.
TEST(DibReader, TakesTheTopLeftPartTheCanvasHoldsReducedToItsColours) {
  std::mt19937 rng(7);
  const int w = 19, h = 6;
  std::vector<std::uint32_t> colours(w * h);  // 0x00RRGGBB, top row first
  for (std::uint32_t& c : colours) c = rng() & 0xFFFFFFu;
  const Color paper = makeColor(250, 240, 200), ink = makeColor(20, 0, 90);
  const NearerIndex nearer(paper, ink);
  for (bool topDown : {false, true}) {
    BmpRecipe r{.width = w, .height = topDown ? -h : h, .bitCount = 24};
    const int rowBytes = (w * 3 + 3) / 4 * 4;
    r.pixels.assign(std::size_t(rowBytes * h), 0);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const std::size_t at = std::size_t((topDown ? y : h - 1 - y) * rowBytes + 3 * x);
        const std::uint32_t c = colours[std::size_t(y * w + x)];
        r.pixels[at] = std::uint8_t(c), r.pixels[at + 1] = std::uint8_t(c >> 8);
        r.pixels[at + 2] = std::uint8_t(c >> 16);
      }
    for (const auto& [cw, ch] : {std::pair{13, 4}, {19, 6}, {30, 9}, {8, 11}}) {
      MonoBitmap picture;
      ASSERT_EQ(readDib(buildDib(r), canvasOf(cw, ch, paper, ink), picture), DibReading::Read);
      ASSERT_EQ(picture.width(), std::min(w, cw));
      ASSERT_EQ(picture.height(), std::min(h, ch));
      EXPECT_EQ(picture.getColor(0), paper);
      EXPECT_EQ(picture.getColor(1), ink);
      for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
          ASSERT_EQ(picture.pixel(x, y), int(nearer.inkFor(colours[std::size_t(y * w + x)])))
              << topDown << " " << cw << "x" << ch << " at " << x << "," << y;
    }
  }
}

// Two 32-bit pixels (blue, green, red, alpha each) over a canvas of the given colours, nine
// times over, so that both the eight-at-a-time and the one-at-a-time reduction see them.
TEST(DibReader, AlphaLaysThePictureOverThePaper) {
  const Color white = 0xFFFFFF, black = 0;
  const struct {
    const char* name;
    Bytes pair;
    Color paper, ink;
    std::vector<int> expected;
  } cases[] = {
      {"transparent black is paper", {0, 0, 0, 0, 0, 0, 0, 255}, white, black, {0, 1}},
      {"transparent white is paper", {255, 255, 255, 0, 255, 255, 255, 255}, black, white, {0, 1}},
      {"alpha all 0 is opaque", {0, 0, 0, 0, 255, 255, 255, 0}, white, black, {1, 0}},
      {"black at 128 is nearer black", {0, 0, 0, 128, 0, 0, 0, 127}, white, black, {1, 0}},
      {"red over blue", {0, 0, 255, 100, 0, 0, 255, 160}, 0xFF0000, 0x0000FF, {0, 1}},
  };
  for (const auto& c : cases) {
    BmpRecipe r{.width = 18, .height = 1, .bitCount = 32};
    std::vector<int> expected;
    for (int i = 0; i < 9; ++i) {
      r.pixels.insert(r.pixels.end(), c.pair.begin(), c.pair.end());
      expected.insert(expected.end(), c.expected.begin(), c.expected.end());
    }
    MonoBitmap picture;
    ASSERT_EQ(readDib(buildDib(r), canvasOf(18, 1, c.paper, c.ink), picture), DibReading::Read);
    EXPECT_EQ(indicesOf(picture), expected) << c.name;
    // The same pixels with the alpha named by a V5 header's mask, here the low byte.
    BmpRecipe v5 = r;
    v5.headerSize = 124;
    v5.compression = 3;
    v5.masks = {0xFF000000, 0xFF0000, 0xFF00, 0xFF};
    for (std::size_t i = 0; i < r.pixels.size(); i += 4) {
      v5.pixels[i] = r.pixels[i + 3];
      for (std::size_t k = 0; k < 3; ++k) v5.pixels[i + 1 + k] = r.pixels[i + k];
    }
    ASSERT_EQ(readDib(buildDib(v5), canvasOf(18, 1, c.paper, c.ink), picture), DibReading::Read);
    EXPECT_EQ(indicesOf(picture), expected) << c.name << " in a V5 header";
  }
}

// Random colours and alpha against the rule itself: each channel (c·a + p·(255 − a) + 127) / 255,
// then the nearer canvas colour.
TEST(DibReader, EveryAlphaBlendsAsTheRuleSays) {
  std::mt19937 rng(11);
  const Color paper = makeColor(200, 180, 40), ink = makeColor(30, 60, 230);
  const NearerIndex nearer(paper, ink);
  const int w = 61, h = 40;
  BmpRecipe r{.width = w, .height = -h, .bitCount = 32, .pixels = Bytes(std::size_t(w * h * 4))};
  for (std::uint8_t& b : r.pixels) b = std::uint8_t(rng());
  MonoBitmap picture;
  ASSERT_EQ(readDib(buildDib(r), canvasOf(w, h, paper, ink), picture), DibReading::Read);
  const auto over = [](int c, int a, unsigned p) {
    return (c * a + int(p) * (255 - a) + 127) / 255;
  };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::uint8_t* p = &r.pixels[std::size_t((y * w + x) * 4)];
      const int want = nearer(over(p[2], p[3], paper & 0xFF), over(p[1], p[3], (paper >> 8) & 0xFF),
                              over(p[0], p[3], paper >> 16));
      ASSERT_EQ(picture.pixel(x, y), want) << x << "," << y;
    }
}

TEST(DibReader, RefusedDibsLeaveThePictureAsItWas) {
  std::vector<std::pair<std::string, Bytes>> broken;
  for (const Variant& v : faults())
    if (!isRle(v.recipe) && v.recipe.headerSize != 12)
      broken.emplace_back(v.name, buildDib(v.recipe));
  BmpRecipe sound{.width = 3, .height = 2, .bitCount = 24, .pixels = Bytes(24, 0)};
  const auto with = [&](const char* name, auto change) {
    BmpRecipe r = sound;
    change(r);
    broken.emplace_back(name, buildDib(r));
  };
  with("negative width", [](BmpRecipe& r) { r.width = -3; });
  with("PNG compression", [](BmpRecipe& r) { r.compression = 5; });
  with("a row more than the bytes hold", [](BmpRecipe& r) { r.height = 3; });
  with("an unused colour table past the end", [](BmpRecipe& r) { r.colorsUsed = 2; });
  const Bytes good = buildDib(sound);
  for (std::size_t cut : {0, 3, 39, 40, 63})
    broken.emplace_back("cut to " + std::to_string(cut),
                        Bytes(good.begin(), good.begin() + long(cut)));
  const MonoBitmap canvas = canvasOf(10, 10, 0xFFFFFF, 0);
  for (const auto& [name, dib] : broken) {
    EXPECT_TRUE(refusedWithoutChange([&](MonoBitmap& picture) {
      return readDib(dib, canvas, picture) != DibReading::Refused;
    })) << name;
  }
  MonoBitmap picture;
  EXPECT_EQ(readDib(good, canvas, picture), DibReading::Read);
}

}  // namespace
}  // namespace tenmark
