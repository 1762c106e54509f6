#include <gtest/gtest.h>

#include <algorithm>
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

// The fuzz target's starting corpus, after the byte that chooses the target's paper. The broken
// DIBs are faults of the header (sides past the limit among them), masks, table and rows, and a
// sound one cut short; the others hold the corpus picture in every layout but run-length rows,
// which are left to the system.
TEST(DibReader, StartingCorpusFilesAreReadOrRefusedAsNamed) {
  const MonoBitmap canvas = canvasOf(10, 10, 0xFFFFFF, 0x000000);
  const auto read = expectCorpusReadAsNamed("dib", 23, [&](const Bytes& file, MonoBitmap& b) {
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

// Random colours and alpha in each pixel layout and row order, on canvases smaller, equal and
// larger in each direction: the picture is the top-left part that the canvas holds, each pixel
// against the rule itself: each channel laid over the paper, (c·a + p·(255 − a) + 127) / 255,
// then the nearer canvas colour. 24 bits have no alpha, nor have 32 when every alpha is 0; a V5
// header's mask names it, here the low byte, or only the top nibble of the byte where alpha
// usually lies (scaled up from 4 bits as any other channel).
TEST(DibReader, TakesTheTopLeftPartTheCanvasHoldsLaidOverThePaperInItsColours) {
  std::mt19937 rng(7);
  const int w = 61, h = 20;
  Bytes bgra(std::size_t(w * h * 4));  // top row first
  for (std::uint8_t& b : bgra) b = std::uint8_t(rng());
  const Color paper = makeColor(200, 180, 40), ink = makeColor(30, 60, 230);
  const NearerIndex nearer(paper, ink);
  const auto over = [](int c, int a, unsigned p) {
    return (c * a + int(p) * (255 - a) + 127) / 255;
  };
  const struct {
    std::uint16_t bitCount;
    bool topDown, v5, alpha, nibble = false;
  } layouts[] = {{24, false, false, false},     {24, true, false, false},
                 {32, true, false, true},       {32, false, true, true},
                 {32, true, false, true, true}, {32, true, false, false}};
  for (const auto& l : layouts) {
    BmpRecipe r{.width = w, .height = l.topDown ? -h : h, .bitCount = l.bitCount};
    if (l.v5) r.headerSize = 124, r.compression = 3, r.masks = {0xFF000000, 0xFF0000, 0xFF00, 0xFF};
    if (l.nibble)
      r.headerSize = 124, r.compression = 3, r.masks = {0xFF0000, 0xFF00, 0xFF, 0xF0000000};
    const int size = l.bitCount / 8, rowBytes = (w * size + 3) / 4 * 4;
    r.pixels.assign(std::size_t(rowBytes * h), 0);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const std::uint8_t* p = &bgra[std::size_t((y * w + x) * 4)];
        std::uint8_t* q = &r.pixels[std::size_t((l.topDown ? y : h - 1 - y) * rowBytes + size * x)];
        std::copy_n(p, 3, q + l.v5);
        if (size == 4) q[l.v5 ? 0 : 3] = l.alpha ? p[3] : 0;
      }
    for (const auto& [cw, ch] : {std::pair{13, 4}, {61, 20}, {70, 25}, {8, 30}}) {
      const std::string what = std::to_string(l.bitCount) + (l.v5 ? " V5 " : " ") +
                               (l.nibble ? "nibble " : "") + std::to_string(cw) + "x" +
                               std::to_string(ch);
      MonoBitmap picture;
      ASSERT_EQ(readDib(buildDib(r), canvasOf(cw, ch, paper, ink), picture), DibReading::Read)
          << what;
      ASSERT_EQ(picture.width(), std::min(w, cw)) << what;
      ASSERT_EQ(picture.height(), std::min(h, ch)) << what;
      EXPECT_EQ(picture.getColor(0), paper);
      EXPECT_EQ(picture.getColor(1), ink);
      for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
          const std::uint8_t* p = &bgra[std::size_t((y * w + x) * 4)];
          const int a = l.nibble ? (p[3] >> 4) * 17 : l.alpha ? p[3] : 255;
          ASSERT_EQ(picture.pixel(x, y),
                    nearer(over(p[2], a, paper & 0xFF), over(p[1], a, (paper >> 8) & 0xFF),
                           over(p[0], a, paper >> 16)))
              << what << " at " << x << "," << y;
        }
    }
  }
}

}  // namespace
}  // namespace tenmark
