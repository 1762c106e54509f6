#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "imagefile/png_codec.h"
#include "support/test_surfaces.h"

namespace tenmark {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Chunk {
  std::string type;
  Bytes data;
};

std::uint32_t be32(const std::uint8_t* p) {
  return (std::uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

std::vector<Chunk> chunksOf(const Bytes& file) {
  std::vector<Chunk> chunks;
  for (std::size_t at = 8; at + 12 <= file.size();) {
    const std::uint32_t length = be32(&file[at]);
    chunks.push_back({std::string(file.begin() + long(at) + 4, file.begin() + long(at) + 8),
                      Bytes(file.begin() + long(at) + 8, file.begin() + long(at + 8 + length))});
    at += 12 + length;
  }
  return chunks;
}

// Rebuilds a file from chunks with fresh CRCs, so that a test can change chunk contents.
Bytes fileOf(const std::vector<Chunk>& chunks) {
  Bytes file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  for (const Chunk& c : chunks) {
    const std::uint32_t n = std::uint32_t(c.data.size());
    file.insert(file.end(), {std::uint8_t(n >> 24), std::uint8_t(n >> 16), std::uint8_t(n >> 8),
                             std::uint8_t(n)});
    Bytes body(c.type.begin(), c.type.end());
    body.insert(body.end(), c.data.begin(), c.data.end());
    const std::uint32_t crc = std::uint32_t(crc32(0, body.data(), uInt(body.size())));
    file.insert(file.end(), body.begin(), body.end());
    file.insert(file.end(), {std::uint8_t(crc >> 24), std::uint8_t(crc >> 16),
                             std::uint8_t(crc >> 8), std::uint8_t(crc)});
  }
  return file;
}

// The inflated IDAT stream: each row its filter byte and then its bytes.
Bytes inflatedRows(const Bytes& file, std::size_t rowBytes, std::size_t height) {
  Bytes z;
  for (const Chunk& c : chunksOf(file))
    if (c.type == "IDAT") z.insert(z.end(), c.data.begin(), c.data.end());
  Bytes raw(height * (rowBytes + 1) + 1);
  uLongf rawSize = uLongf(raw.size());
  EXPECT_EQ(uncompress(raw.data(), &rawSize, z.data(), uLong(z.size())), Z_OK);
  EXPECT_EQ(rawSize, height * (rowBytes + 1)) << "rows of " << rowBytes << " bytes";
  raw.resize(rawSize);
  return raw;
}

// Our own file for a picture, as chunks, for a test to change.
std::vector<Chunk> chunksFor(const MonoBitmap& picture) {
  Bytes file;
  EXPECT_TRUE(encodePng(picture, file));
  return chunksOf(file);
}

// Repeated rows are cheapest as Up (2): only a writer with all filters enabled picks it.
TEST(PngEncoder, WritesIhdrPlteIdatIendWithAdaptiveFiltersAtTheDefaultLevel) {
  MonoBitmap b;
  ASSERT_TRUE(b.create(64, 16));
  b.setColor(0, makeColor(244, 241, 234));
  for (std::uint32_t y = 0; y < 16; ++y)
    for (int i = 0; i < 8; ++i) b.row(y)[i] = std::uint8_t(0x35 * (i + 1));
  Bytes file;
  ASSERT_TRUE(encodePng(b, file));
  const std::vector<Chunk> chunks = chunksOf(file);
  std::vector<std::string> types;
  for (const Chunk& c : chunks) types.push_back(c.type);
  ASSERT_EQ(types, (std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"}));
  EXPECT_EQ(chunks[0].data, (Bytes{0, 0, 0, 64, 0, 0, 0, 16, 1, 3, 0, 0, 0}));
  EXPECT_EQ(chunks[1].data, (Bytes{244, 241, 234, 0, 0, 0}));
  const Bytes raw = inflatedRows(file, 8, 16);
  EXPECT_EQ(raw[1], 0x35);  // every filter leaves the first byte of the first row as it is
  bool up = false;
  for (std::size_t y = 0; y < 16; ++y) up = up || raw[y * 9] == 2;
  EXPECT_TRUE(up);
  ASSERT_GE(chunks[2].data.size(), 2u);
  EXPECT_EQ(chunks[2].data[1] >> 6, 2) << "zlib FLEVEL of the default level 6, not 9";
}

TEST(PngEncoder, SurfaceWithoutPixelsWritesNothing) {
  MonoBitmap b;
  Bytes file = {1, 2, 3};
  EXPECT_FALSE(encodePng(b, file));
  EXPECT_EQ(file, (Bytes{1, 2, 3}));
}

TEST(PngCodec, RoundTripKeepsIndicesAndBothColours) {
  std::mt19937 rng(12345);
  for (int width : {1, 7, 8, 9, 31, 32, 33}) {
    for (int height : {1, 5}) {
      const MonoBitmap original = randomPicture(width, height, rng);
      Bytes file;
      ASSERT_TRUE(encodePng(original, file));
      MonoBitmap loaded = markedSurface();
      ASSERT_TRUE(decodePng(file, loaded));
      EXPECT_TRUE(samePicture(loaded, original)) << width << "x" << height;
    }
  }
}

// In greyscale a 0 sample is black: it becomes ink (index 1), a 1 sample paper. Interlaced
// files come from ImageMagick in the interop test.
TEST(PngDecoder, GreyscaleBlackBecomesInkWithWhiteAndBlack) {
  std::mt19937 rng(99);
  for (int width : {1, 9, 33}) {
    const MonoBitmap picture = randomPicture(width, 11, rng);
    std::vector<Chunk> chunks = chunksFor(picture);
    chunks[0].data[9] = 0;  // colour type 0
    chunks.erase(chunks.begin() + 1);
    MonoBitmap b = markedSurface();
    ASSERT_TRUE(decodePng(fileOf(chunks), b)) << width;
    std::vector<int> inverted = indicesOf(picture);
    for (int& i : inverted) i ^= 1;
    EXPECT_EQ(indicesOf(b), inverted) << width;
    EXPECT_EQ(b.getColor(0), 0xFFFFFFu);
    EXPECT_EQ(b.getColor(1), 0u);
    if (width & 7) {
      for (std::uint32_t y = 0; y < b.height(); ++y)
        EXPECT_EQ(b.row(y)[width / 8] & (0xFF >> (width & 7)), 0) << "padding bits, row " << y;
    }
  }
}

TEST(PngDecoder, OneEntryPaletteLeavesColourOneBlack) {
  MonoBitmap blank;
  ASSERT_TRUE(blank.create(5, 3));
  std::vector<Chunk> chunks = chunksFor(blank);
  chunks[1].data = {1, 2, 3};
  MonoBitmap b = markedSurface();
  ASSERT_TRUE(decodePng(fileOf(chunks), b));
  EXPECT_TRUE(b.isBlank());
  EXPECT_EQ(b.getColor(0), makeColor(1, 2, 3));
  EXPECT_EQ(b.getColor(1), 0u);
}

TEST(PngDecoder, AncillaryChunksAreSkipped) {
  std::mt19937 rng(8);
  const MonoBitmap picture = randomSurface(20, 6, rng);
  std::vector<Chunk> chunks = chunksFor(picture);
  chunks.insert(chunks.begin() + 2, {{"gAMA", {0, 0, 0xB1, 0x8F}}, {"tEXt", {'a', 0, 'b'}}});
  chunks.insert(chunks.end() - 1, Chunk{"tIME", {7, 0xEA, 12, 6, 18, 0, 0}});
  MonoBitmap b;
  ASSERT_TRUE(decodePng(fileOf(chunks), b));
  EXPECT_EQ(indicesOf(b), indicesOf(picture));
}

// A single-row file of the given width, with an IDAT of exactly that many blank pixels.
Bytes oneRowFile(std::uint32_t width) {
  MonoBitmap pixel;
  EXPECT_TRUE(pixel.create(1, 1));
  std::vector<Chunk> chunks = chunksFor(pixel);
  for (int i = 0; i < 4; ++i) chunks[0].data[i] = std::uint8_t(width >> (24 - 8 * i));
  const Bytes row(1 + (width + 7) / 8, 0);  // filter byte, then the pixels
  uLongf size = compressBound(uLong(row.size()));
  chunks[2].data.assign(size, 0);
  EXPECT_EQ(compress(chunks[2].data.data(), &size, row.data(), uLong(row.size())), Z_OK);
  chunks[2].data.resize(size);
  return fileOf(chunks);
}

// One more is refused with the broken files below.
TEST(PngDecoder, LargestSideIsAccepted) {
  MonoBitmap b;
  ASSERT_TRUE(decodePng(oneRowFile(65535), b));
  EXPECT_EQ(b.width(), 65535);
  EXPECT_TRUE(b.isBlank());
}

std::vector<std::pair<std::string, Bytes>> brokenFiles() {
  std::mt19937 rng(5);
  MonoBitmap picture = randomSurface(40, 30, rng);
  Bytes good;
  encodePng(picture, good);
  const std::vector<Chunk> chunks = chunksOf(good);
  std::vector<std::pair<std::string, Bytes>> broken;
  for (std::size_t cut : {0, 7, 20, 40})
    broken.emplace_back("cut", Bytes(good.begin(), good.begin() + long(cut)));
  broken.emplace_back("cut before IEND", Bytes(good.begin(), good.end() - 12));
  broken.emplace_back("cut inside IDAT", Bytes(good.begin(), good.end() - 20));
  broken.emplace_back("not a PNG signature", good);
  broken.back().second[1] = 'Q';
  broken.emplace_back("CRC error in IDAT", good);
  broken.back().second[good.size() - 14] ^= 1;
  auto withChunks = [&](const char* name, auto change) {
    std::vector<Chunk> c = chunks;
    change(c);
    broken.emplace_back(name, fileOf(c));
  };
  withChunks("corrupt zlib data", [](std::vector<Chunk>& c) { c[2].data[0] = 0xFF; });
  withChunks("inflated rows too short", [](std::vector<Chunk>& c) {
    Bytes rows(10, 0);
    uLongf size = compressBound(10);
    c[2].data.assign(size, 0);
    compress(c[2].data.data(), &size, rows.data(), 10);
    c[2].data.resize(size);
  });
  withChunks("width above the limit", [](std::vector<Chunk>& c) { c[0].data[1] = 1; });
  withChunks("zero height", [](std::vector<Chunk>& c) { std::fill_n(&c[0].data[4], 4, 0); });
  withChunks("sides far too large for the data", [](std::vector<Chunk>& c) {
    const std::uint8_t side[4] = {0, 0, 0xEA, 0x60};  // 60000 × 60000
    std::copy(side, side + 4, &c[0].data[0]);
    std::copy(side, side + 4, &c[0].data[4]);
  });
  withChunks("text chunk claiming 1.9 GB", [](std::vector<Chunk>& c) {
    c.insert(c.begin() + 2, Chunk{"tEXt", {'a', 0, 'b'}});
  });
  const std::size_t textLength = 8 + 25 + 18;  // after signature, IHDR and PLTE
  broken.back().second.resize(textLength + 12);
  std::copy_n("\x72\x65\x61\x25", 4, broken.back().second.begin() + long(textLength));
  withChunks("no IDAT", [](std::vector<Chunk>& c) { c.erase(c.begin() + 2); });
  withChunks("palette after IDAT", [](std::vector<Chunk>& c) { std::swap(c[1], c[2]); });
  broken.emplace_back("65536 wide", oneRowFile(65536));
  // IHDR changed to 4 pixels a row of another format, with the data sized to match it, so that
  // only the format check can refuse the file.
  const struct {
    std::uint8_t bitDepth, colorType, channels;
  } formats[] = {{2, 3, 1}, {8, 0, 1}, {8, 2, 3}};
  for (const auto& f : formats) {
    MonoBitmap other;
    other.create(4 * f.bitDepth * f.channels, 2);
    std::vector<Chunk> c = chunksFor(other);
    c[0].data[3] = 4;
    c[0].data[8] = f.bitDepth;
    c[0].data[9] = f.colorType;
    if (f.colorType != 3) c.erase(c.begin() + 1);
    broken.emplace_back(
        "depth " + std::to_string(f.bitDepth) + " colour type " + std::to_string(f.colorType),
        fileOf(c));
  }
  return broken;
}

TEST(PngDecoder, BrokenFilesAreRefusedAndLeaveTheSurfaceAsItWas) {
  for (const auto& [name, file] : brokenFiles()) {
    EXPECT_TRUE(refusedWithoutChange([&](MonoBitmap& b) { return decodePng(file, b); }))
        << name << " " << file.size();
  }
}

}  // namespace
}  // namespace tenmark
