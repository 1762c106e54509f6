#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "imagefile/bmp_codec.h"
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

// Writes test files of any format with libpng itself.
struct PngRecipe {
  std::uint32_t width = 1;
  std::uint32_t height = 1;
  int bitDepth = 1;
  int colorType = PNG_COLOR_TYPE_PALETTE;
  int interlace = PNG_INTERLACE_NONE;
  std::vector<png_color> palette = {{255, 255, 255}, {0, 0, 0}};
  std::vector<Bytes> rows{};  // packed as the format wants
};

void appendTo(png_structp png, png_bytep data, std::size_t n) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}

bool writeBody(png_structp png, png_infop info, const PngRecipe& s, png_bytepp rows, Bytes& out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, &out, appendTo, nullptr);
  png_set_IHDR(png, info, s.width, s.height, s.bitDepth, s.colorType, s.interlace,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (s.colorType == PNG_COLOR_TYPE_PALETTE)
    png_set_PLTE(png, info, s.palette.data(), int(s.palette.size()));
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, info);
  return true;
}

Bytes writeTestPng(PngRecipe s) {
  std::vector<png_bytep> rows;
  for (Bytes& r : s.rows) rows.push_back(r.data());
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  Bytes out;
  const bool ok = writeBody(png, info, s, rows.data(), out);
  png_destroy_write_struct(&png, &info);
  EXPECT_TRUE(ok);
  return out;
}

std::vector<Bytes> randomOneBitRows(std::uint32_t width, std::uint32_t height, std::mt19937& rng) {
  std::vector<Bytes> rows(height, Bytes((width + 7) / 8));
  for (Bytes& r : rows)
    for (auto& byte : r) byte = std::uint8_t(rng());
  return rows;
}

std::vector<int> indicesOf(const std::vector<Bytes>& rows, std::uint32_t width) {
  std::vector<int> out;
  for (const Bytes& r : rows)
    for (std::uint32_t x = 0; x < width; ++x) out.push_back((r[x / 8] >> (7 - x % 8)) & 1);
  return out;
}

TEST(PngEncoder, WritesExactlyIhdrPlteIdatIend) {
  MonoBitmap b;
  ASSERT_TRUE(b.create(1, 1));
  b.setPixel(0, 0, 1);
  b.setColor(0, makeColor(244, 241, 234));
  Bytes file;
  ASSERT_TRUE(encodePng(b, file));
  const std::vector<Chunk> chunks = chunksOf(file);
  ASSERT_EQ(chunks.size(), 4u);
  EXPECT_EQ(chunks[0].type, "IHDR");
  EXPECT_EQ(chunks[0].data, (Bytes{0, 0, 0, 1, 0, 0, 0, 1, 1, 3, 0, 0, 0}));
  EXPECT_EQ(chunks[1].type, "PLTE");
  EXPECT_EQ(chunks[1].data, (Bytes{244, 241, 234, 0, 0, 0}));
  EXPECT_EQ(chunks[2].type, "IDAT");
  EXPECT_EQ(chunks[3].type, "IEND");
  // Every filter leaves a lone first-row byte as it is.
  EXPECT_EQ(inflatedRows(file, 1, 1)[1], 0x80);
}

TEST(PngEncoder, FiltersAreAdaptiveAndCompressionIsTheDefaultLevel) {
  MonoBitmap b;
  ASSERT_TRUE(b.create(64, 16));
  for (std::uint32_t y = 0; y < 16; ++y)
    for (int i = 0; i < 8; ++i) b.row(y)[i] = std::uint8_t(0x35 * (i + 1));
  Bytes file;
  ASSERT_TRUE(encodePng(b, file));
  const Bytes raw = inflatedRows(file, 8, 16);
  // Repeated rows are cheapest as Up (2): only a writer with all filters enabled picks it.
  bool up = false;
  for (std::size_t y = 0; y < 16; ++y) up = up || raw[y * 9] == 2;
  EXPECT_TRUE(up);
  const Bytes z = chunksOf(file)[2].data;
  ASSERT_GE(z.size(), 2u);
  EXPECT_EQ(z[1] >> 6, 2) << "zlib FLEVEL of the default level 6, not 9";
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

TEST(PngDecoder, AcceptedOneBitFormatsKeepTheStoredIndices) {
  std::mt19937 rng(99);
  const struct {
    int colorType, interlace;
    std::vector<png_color> palette;
    Color color0, color1;
  } cases[] = {
      {PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, {{0, 0, 0}, {255, 255, 255}}, 0, 0xFFFFFF},
      {PNG_COLOR_TYPE_PALETTE,
       PNG_INTERLACE_ADAM7,
       {{10, 20, 30}, {40, 50, 60}},
       makeColor(10, 20, 30),
       makeColor(40, 50, 60)},
      {PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE, {}, 0xFFFFFF, 0},
      {PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, {{1, 2, 3}}, makeColor(1, 2, 3), 0}};
  for (const auto& c : cases) {
    for (std::uint32_t width : {1u, 9u, 33u}) {
      PngRecipe s{.width = width,
                  .height = 11,
                  .colorType = c.colorType,
                  .interlace = c.interlace,
                  .palette = c.palette,
                  .rows = randomOneBitRows(width, 11, rng)};
      // A one-entry palette only allows index 0.
      if (c.palette.size() == 1)
        for (Bytes& r : s.rows) std::fill(r.begin(), r.end(), 0);
      MonoBitmap b = markedSurface();
      ASSERT_TRUE(decodePng(writeTestPng(s), b)) << c.colorType << " " << width;
      EXPECT_EQ(indicesOf(b), indicesOf(s.rows, width)) << c.colorType << " " << width;
      EXPECT_EQ(b.getColor(0), c.color0) << c.colorType;
      EXPECT_EQ(b.getColor(1), c.color1) << c.colorType;
    }
  }
}

TEST(PngDecoder, OtherDepthsAndColourTypesAreRefused) {
  const struct {
    int bitDepth, colorType;
    std::size_t rowBytes;
  } cases[] = {
      {2, PNG_COLOR_TYPE_PALETTE, 1}, {8, PNG_COLOR_TYPE_GRAY, 4}, {8, PNG_COLOR_TYPE_RGB, 12}};
  for (const auto& c : cases) {
    const Bytes file = writeTestPng({.width = 4,
                                     .height = 2,
                                     .bitDepth = c.bitDepth,
                                     .colorType = c.colorType,
                                     .rows = std::vector<Bytes>(2, Bytes(c.rowBytes, 0))});
    EXPECT_TRUE(refusedWithoutChange([&](MonoBitmap& b) { return decodePng(file, b); }))
        << c.bitDepth << " " << c.colorType;
  }
}

TEST(PngDecoder, AncillaryChunksAreSkipped) {
  std::mt19937 rng(8);
  const MonoBitmap picture = randomSurface(20, 6, rng);
  Bytes plain;
  ASSERT_TRUE(encodePng(picture, plain));
  std::vector<Chunk> chunks = chunksOf(plain);
  chunks.insert(chunks.begin() + 2, {{"gAMA", {0, 0, 0xB1, 0x8F}}, {"tEXt", {'a', 0, 'b'}}});
  chunks.insert(chunks.end() - 1, Chunk{"tIME", {7, 0xEA, 12, 6, 18, 0, 0}});
  MonoBitmap b;
  ASSERT_TRUE(decodePng(fileOf(chunks), b));
  EXPECT_EQ(indicesOf(b), indicesOf(picture));
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
  MonoBitmap small;
  small.create(3, 3);
  broken.emplace_back("a BMP file", encodeBmp(small));
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
