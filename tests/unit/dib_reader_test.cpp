#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <span>
#include <string>

#include "imagefile/dib_reader.h"
#include "support/bmp_recipes.h"
#include "support/starting_corpus.h"
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

// The fuzz target's starting corpus, after the byte that chooses the target's paper. The broken
// DIBs are faults of the header, masks, table and rows, and a sound one cut short; the others
// hold the corpus picture in every layout but run-length rows, which are left to the system.
TEST(DibReader, StartingCorpusFilesAreReadOrRefusedAsNamed) {
  const MonoBitmap canvas = canvasOf(10, 10, 0xFFFFFF, 0x000000);
  const auto read = expectCorpusReadAsNamed("dib", 21, [&](const Bytes& file, MonoBitmap& b) {
    return readDib(std::span(file).subspan(1), canvas, b) != DibReading::Refused;
  });
  EXPECT_EQ(read.size(), 11u);
  for (const auto& [name, picture] : read) {
    if (name.find("rle") != std::string::npos) {
      EXPECT_TRUE(samePicture(picture, markedSurface())) << name << ": not left as it was";
      continue;
    }
    EXPECT_EQ(picture.width(), 3) << name;
    EXPECT_EQ(indicesOf(picture), kCorpusPicture) << name;
    EXPECT_EQ(picture.getColor(0), 0xFFFFFFu) << name;
  }
}

// Sides one past MonoBitmap::kMaxSide, with rows enough for them.
TEST(DibReader, SidesPastTheLimitAreRefused) {
  for (const auto& [width, height] : {std::pair{65536, 2}, {3, -65536}}) {
    const Bytes dib =
        buildDib({.width = width,
                  .height = height,
                  .bitCount = 1,
                  .palette = {0, 0xFFFFFF},
                  .pixels = Bytes((width + 31) / 32 * 4 * std::size_t(std::abs(height)), 0)});
    EXPECT_TRUE(refusedWithoutChange([&](MonoBitmap& picture) {
      return readDib(dib, canvasOf(10, 10, 0xFFFFFF, 0), picture) != DibReading::Refused;
    })) << width;
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

// Random colours and alpha against the rule itself: each channel (c·a + p·(255 − a) + 127) / 255,
// then the nearer canvas colour; the same with the alpha named by a V5 header's mask (here the
// low byte), and with every alpha 0, which means the picture has none.
TEST(DibReader, AlphaLaysThePictureOverThePaperAsTheRuleSays) {
  std::mt19937 rng(11);
  const Color paper = makeColor(200, 180, 40), ink = makeColor(30, 60, 230);
  const NearerIndex nearer(paper, ink);
  const int w = 61, h = 40;
  BmpRecipe r{.width = w, .height = -h, .bitCount = 32, .pixels = Bytes(std::size_t(w * h * 4))};
  for (std::uint8_t& b : r.pixels) b = std::uint8_t(rng());
  BmpRecipe v5 = r, opaque = r;
  v5.headerSize = 124;
  v5.compression = 3;
  v5.masks = {0xFF000000, 0xFF0000, 0xFF00, 0xFF};
  for (std::size_t i = 0; i < r.pixels.size(); i += 4) {
    v5.pixels[i] = r.pixels[i + 3];
    std::copy_n(&r.pixels[i], 3, &v5.pixels[i + 1]);
    opaque.pixels[i + 3] = 0;
  }
  const auto over = [](int c, int a, unsigned p) {
    return (c * a + int(p) * (255 - a) + 127) / 255;
  };
  for (const BmpRecipe* recipe : {&r, &v5, &opaque}) {
    MonoBitmap picture;
    ASSERT_EQ(readDib(buildDib(*recipe), canvasOf(w, h, paper, ink), picture), DibReading::Read);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const std::uint8_t* p = &r.pixels[std::size_t((y * w + x) * 4)];
        const int a = recipe == &opaque ? 255 : p[3];
        const int want = nearer(over(p[2], a, paper & 0xFF), over(p[1], a, (paper >> 8) & 0xFF),
                                over(p[0], a, paper >> 16));
        ASSERT_EQ(picture.pixel(x, y), want) << recipe->headerSize << " at " << x << "," << y;
      }
  }
}

}  // namespace
}  // namespace tenmark
