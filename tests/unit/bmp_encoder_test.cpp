#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "imagefile/bmp_codec.h"

namespace tenmark {
namespace {

// Rows run bottom-up as in memory, padding past the width written as it stands; the table holds
// the surface's colours.
TEST(BmpEncoder, WritesTheHeaderTableAndRowsOfTheSurface) {
  MonoBitmap b;
  ASSERT_TRUE(b.create(33, 2));
  b.setColor(0, makeColor(244, 241, 234));
  b.setColor(1, makeColor(1, 2, 3));
  b.setPixel(0, 0, 1);   // top row: first pixel
  b.setPixel(32, 1, 1);  // bottom row: last pixel
  b.row(0)[7] = 0x5A;
  const std::vector<std::uint8_t> expected = {
      'B', 'M', 78, 0, 0,    0, 0, 0, 0,    0,   62,  0, 0, 0,        // file header
      40,  0,   0,  0, 33,   0, 0, 0, 2,    0,   0,   0, 1, 0, 1, 0,  // 33 × 2 bottom-up, 1 bit
      0,   0,   0,  0, 16,   0, 0, 0, 0,    0,   0,   0, 0, 0, 0, 0,  // 16 bytes of rows
      0,   0,   0,  0, 0,    0, 0, 0, 234,  241, 244, 0, 3, 2, 1, 0,  // full table: 2 colours
      0,   0,   0,  0, 0x80, 0, 0, 0, 0x80, 0,   0,   0, 0, 0, 0, 0x5A};  // bottom row first
  EXPECT_EQ(encodeBmp(b), expected);
  EXPECT_EQ(b.info().header.biHeight, -2);  // the surface itself stays top-down
}

// The rescue after a fault writes the file piece by piece, straight from the canvas memory.
struct Pieces {
  std::vector<std::pair<const std::uint8_t*, std::size_t>> seen;
  std::size_t refuseAt = SIZE_MAX;

  static bool take(void* context, const std::uint8_t* bytes, std::size_t size) {
    Pieces& p = *static_cast<Pieces*>(context);
    p.seen.emplace_back(bytes, size);
    return p.seen.size() != p.refuseAt;
  }
};

TEST(BmpEncoder, PiecesAreTheHeaderThenTheRowsInTheSurfaceBottomUpUntilARefusal) {
  MonoBitmap b;
  ASSERT_TRUE(b.create(40, 3));
  Pieces all;
  EXPECT_TRUE(writeBmpPieces(b, Pieces::take, &all));
  ASSERT_EQ(all.seen.size(), 4u);
  EXPECT_EQ(all.seen[0].second, 62u);
  for (int y = 0; y < 3; ++y)
    EXPECT_EQ(all.seen[std::size_t(3 - y)], std::make_pair(std::as_const(b).row(y), std::size_t(8)))
        << y;
  Pieces refused{{}, 2};
  EXPECT_FALSE(writeBmpPieces(b, Pieces::take, &refused));
  EXPECT_EQ(refused.seen.size(), 2u);
}

// A surface without pixels is the file tests'; here its rescue writes nothing.
TEST(BmpEncoder, SurfaceWithoutPixelsGivesNoPieces) {
  MonoBitmap b;
  Pieces none;
  EXPECT_FALSE(writeBmpPieces(b, Pieces::take, &none));
  EXPECT_TRUE(none.seen.empty());
}

}  // namespace
}  // namespace tenmark
