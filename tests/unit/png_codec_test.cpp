#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <new>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "imagefile/png_codec.h"
#include "support/allocation_failure.h"
#include "support/starting_corpus.h"
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

// A file format for libpng's own writer, with the chunks that go with it.
struct Format {
  int bitDepth;
  int colorType;
  std::vector<png_color> palette = {};
  Bytes paletteAlpha = {};              // tRNS of a palette file
  std::vector<std::uint16_t> key = {};  // tRNS of a greyscale (one sample) or RGB (three) file
};

using Samples = std::vector<std::uint16_t>;

// One file row as PNG stores it: the leftmost sample in the top bits, 16 bits big-endian.
Bytes packedRow(const Samples& samples, int bitDepth) {
  Bytes row((samples.size() * std::size_t(bitDepth) + 7) / 8);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (bitDepth == 16) {
      row[2 * i] = std::uint8_t(samples[i] >> 8);
      row[2 * i + 1] = std::uint8_t(samples[i]);
    } else {
      const std::size_t bit = i * std::size_t(bitDepth);
      row[bit / 8] |= std::uint8_t(samples[i] << (8 - bitDepth - int(bit % 8)));
    }
  }
  return row;
}

void appendToBytes(png_structp png, png_bytep data, std::size_t length) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

// libpng leaves this function by longjmp on any error: its frame holds nothing to destroy.
bool writeWithLibpng(png_structp png, png_infop info, const Format& format, png_uint_32 width,
                     png_uint_32 height, bool interlaced, png_bytepp rows, Bytes& out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, &out, appendToBytes, nullptr);
  png_set_compression_level(png, 9);
  png_set_IHDR(png, info, width, height, format.bitDepth, format.colorType,
               interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!format.palette.empty())
    png_set_PLTE(png, info, format.palette.data(), int(format.palette.size()));
  if (!format.paletteAlpha.empty())
    png_set_tRNS(png, info, format.paletteAlpha.data(), int(format.paletteAlpha.size()), nullptr);
  if (!format.key.empty()) {
    png_color_16 key{};
    key.gray = key.red = format.key[0];
    if (format.key.size() == 3) {
      key.green = format.key[1];
      key.blue = format.key[2];
    }
    png_set_tRNS(png, info, nullptr, 0, &key);
  }
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  return true;
}

// A file written by libpng in `format`, row y holding the samples rowAt(y) gives.
template <typename RowAt>
Bytes libpngFile(const Format& format, int width, int height, bool interlaced, RowAt rowAt) {
  std::vector<Bytes> rows;
  std::vector<png_bytep> pointers;
  for (int y = 0; y < height; ++y) rows.push_back(packedRow(rowAt(y), format.bitDepth));
  for (Bytes& row : rows) pointers.push_back(row.data());
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  Bytes file;
  EXPECT_TRUE(writeWithLibpng(png, info, format, png_uint_32(width), png_uint_32(height),
                              interlaced, pointers.data(), file));
  png_destroy_write_struct(&png, &info);
  return file;
}

int samplesPerPixel(int colorType) {
  switch (colorType) {
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      return 2;
    case PNG_COLOR_TYPE_RGB:
      return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA:
      return 4;
    default:
      return 1;
  }
}

// Every sample a random value of the format's depth.
Bytes noiseFile(const Format& format, int width, int height, bool interlaced, std::mt19937& rng) {
  return libpngFile(format, width, height, interlaced, [&](int) {
    Samples row(std::size_t(width * samplesPerPixel(format.colorType)));
    for (auto& s : row) s = std::uint16_t(rng() & ((1u << format.bitDepth) - 1));
    return row;
  });
}

// Repeated rows are cheapest as Up (2): only a writer with all filters enabled picks it.
TEST(PngEncoder, WritesIhdrPlteIdatIendWithAdaptiveFiltersAtTheDefaultLevel) {
  MonoBitmap b;
  ASSERT_TRUE(b.create(64, 16));
  b.setColor(0, makeColor(244, 241, 234));
  for (std::int32_t y = 0; y < 16; ++y)
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

// One-bit files keep their indices and palette colours even with a tRNS chunk: transparency
// only reaches the pictures that are reduced.
TEST(PngDecoder, OneBitPaletteWithTransparencyKeepsItsIndicesAndColours) {
  const Format format{1, PNG_COLOR_TYPE_PALETTE, {{10, 20, 30}, {200, 210, 220}}, {0, 0}};
  for (bool interlaced : {false, true}) {
    const Bytes file = libpngFile(format, 11, 9, interlaced, [](int y) {
      Samples row;
      for (int x = 0; x < 11; ++x) row.push_back(std::uint16_t((x * y + x) % 3 == 0));
      return row;
    });
    MonoBitmap b;
    ASSERT_TRUE(decodePng(file, b)) << interlaced;
    for (int y = 0; y < 9; ++y)
      for (int x = 0; x < 11; ++x) ASSERT_EQ(b.pixel(x, y), (x * y + x) % 3 == 0 ? 1 : 0);
    EXPECT_EQ(b.getColor(0), makeColor(10, 20, 30));
    EXPECT_EQ(b.getColor(1), makeColor(200, 210, 220));
  }
}

// The samples of one pixel and the index it must become.
struct ReducedPixel {
  Samples samples;
  int index;
};

struct ReductionCase {
  const char* name;
  Format format;
  std::vector<ReducedPixel> pixels;
};

// The case's pixels repeated over pictures of a few sizes, interlaced and not, shifted by three
// on every row so that every interlace pass meets them in other places; tiny sides leave
// passes without pixels. Each picture is reduced pixel by pixel and has a white/black table.
void expectReduction(const ReductionCase& c) {
  const std::size_t n = c.pixels.size();
  for (bool interlaced : {false, true}) {
    for (const auto& [width, height] : {std::pair{21, 11}, {6, 3}, {1, 1}}) {
      auto at = [&](int x, int y) -> const ReducedPixel& {
        return c.pixels[std::size_t(x + 3 * y) % n];
      };
      const Bytes file = libpngFile(c.format, width, height, interlaced, [&](int y) {
        Samples row;
        for (int x = 0; x < width; ++x)
          row.insert(row.end(), at(x, y).samples.begin(), at(x, y).samples.end());
        return row;
      });
      const std::string what = std::string(c.name) + (interlaced ? ", interlaced " : ", ") +
                               std::to_string(width) + "x" + std::to_string(height);
      MonoBitmap b = markedSurface();
      ASSERT_TRUE(decodePng(file, b)) << what;
      ASSERT_EQ(b.width(), width) << what;
      ASSERT_EQ(b.height(), std::uint32_t(height)) << what;
      std::vector<int> want;
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) want.push_back(at(x, y).index);
      EXPECT_EQ(indicesOf(b), want) << what;
      EXPECT_EQ(b.getColor(0), 0xFFFFFFu) << what;
      EXPECT_EQ(b.getColor(1), 0u) << what;
      for (std::int32_t y = 0; y < b.height(); ++y)
        for (int x = width; x < b.stride() * 8; ++x)
          ASSERT_EQ(b.row(y)[x / 8] >> (7 - x % 8) & 1, 0) << what << ": padding bit " << x;
    }
  }
}

// One-bit greyscale turns round: a 0 sample is black and becomes ink (index 1). Deeper greys
// and palette entries expand to 8 bits (2-bit 1 is 85, 4-bit 7 is 119), 16-bit samples
// keep their high byte, a tRNS key is compared at the file's own depth, and a pixel is ink when
// its red, green and blue add up to less than 382.5.
TEST(PngDecoder, GreyscaleAndEveryDeeperFormatBecomeWhiteAndBlackPixelByPixel) {
  constexpr int kGrey = PNG_COLOR_TYPE_GRAY, kGreyAlpha = PNG_COLOR_TYPE_GRAY_ALPHA,
                kPalette = PNG_COLOR_TYPE_PALETTE, kRgb = PNG_COLOR_TYPE_RGB,
                kRgba = PNG_COLOR_TYPE_RGB_ALPHA;
  std::vector<png_color> sixteenGreys;
  for (int i = 0; i < 16; ++i)
    sixteenGreys.push_back({png_byte(17 * i), png_byte(17 * i), png_byte(17 * i)});
  const ReductionCase cases[] = {
      {"grey 1: black is ink", {1, kGrey}, {{{0}, 1}, {{1}, 0}}},
      {"grey 2", {2, kGrey}, {{{0}, 1}, {{1}, 1}, {{2}, 0}, {{3}, 0}}},
      {"grey 4", {4, kGrey}, {{{0}, 1}, {{7}, 1}, {{8}, 0}, {{15}, 0}, {{3}, 1}}},
      {"grey 8", {8, kGrey}, {{{0}, 1}, {{60}, 1}, {{200}, 0}, {{255}, 0}}},
      {"grey 16", {16, kGrey}, {{{0}, 1}, {{0x7F00}, 1}, {{0x80FF}, 0}, {{0xFFFF}, 0}}},
      {"grey 2, tRNS 1", {2, kGrey, {}, {}, {1}}, {{{0}, 1}, {{1}, 0}, {{2}, 0}}},
      {"grey 8, tRNS 0", {8, kGrey, {}, {}, {0}}, {{{0}, 0}, {{1}, 1}, {{255}, 0}}},
      {"grey 16, tRNS 1", {16, kGrey, {}, {}, {1}}, {{{1}, 0}, {{0}, 1}, {{0x0100}, 1}}},
      {"grey+alpha 8",
       {8, kGreyAlpha},
       {{{0, 255}, 1}, {{0, 0}, 0}, {{255, 255}, 0}, {{40, 200}, 1}, {{40, 60}, 0}}},
      {"grey+alpha 16",
       {16, kGreyAlpha},
       {{{0, 0xFFFF}, 1}, {{0, 0}, 0}, {{0xFFFF, 0xFFFF}, 0}, {{0x2800, 0xC8FF}, 1}}},
      {"palette 2, tRNS",
       {2, kPalette, {{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 0, 0}}, {255, 255, 255, 0}},
       {{{0}, 1}, {{1}, 0}, {{2}, 1}, {{3}, 0}}},
      {"palette 4, tRNS shorter than the palette",
       {4, kPalette, sixteenGreys, {0, 60}},
       {{{0}, 0}, {{1}, 0}, {{7}, 1}, {{8}, 0}, {{15}, 0}, {{2}, 1}}},
      {"palette 8",
       {8, kPalette, {{0, 0, 255}, {255, 255, 0}, {127, 128, 127}, {128, 128, 127}}},
       {{{0}, 1}, {{1}, 0}, {{2}, 1}, {{3}, 0}}},
      {"palette 8, tRNS",
       {8, kPalette, {{0, 0, 255}, {255, 255, 0}, {0, 0, 0}, {0, 0, 0}}, {255, 255, 0, 100}},
       {{{0}, 1}, {{1}, 0}, {{2}, 0}, {{3}, 0}}},
      {"RGB 8",
       {8, kRgb},
       {{{255, 0, 0}, 1}, {{0, 255, 0}, 1}, {{255, 255, 0}, 0}, {{0, 0, 0}, 1}}},
      {"RGB 16",
       {16, kRgb},
       {{{0xFFFF, 0, 0}, 1}, {{0xFFFF, 0xFFFF, 0}, 0}, {{0x00FF, 0x00FF, 0x00FF}, 1}}},
      {"RGB 8, tRNS black", {8, kRgb, {}, {}, {0, 0, 0}}, {{{0, 0, 0}, 0}, {{0, 0, 1}, 1}}},
      {"RGB 16, tRNS (0, 0, 1)",
       {16, kRgb, {}, {}, {0, 0, 1}},
       {{{0, 0, 1}, 0}, {{0, 0, 0}, 1}, {{0, 0, 0x0101}, 1}}},
      {"RGBA 8",
       {8, kRgba},
       {{{0, 0, 0, 255}, 1},
        {{0, 0, 0, 0}, 0},
        {{255, 0, 0, 255}, 1},
        {{255, 0, 0, 100}, 0},
        {{0, 0, 255, 200}, 1}}},
      {"RGBA 16",
       {16, kRgba},
       {{{0, 0, 0, 0xFFFF}, 1}, {{0, 0, 0, 0x00FF}, 0}, {{0xFFFF, 0, 0, 0xFFFF}, 1}}},
  };
  for (const ReductionCase& c : cases) expectReduction(c);
}

// Over white, a channel c with alpha a becomes (c·a + 255·(255 − a)) / 255 rounded to the
// nearest; the pixels with alpha sit where rounding down or up instead turns one of them over.
TEST(PngDecoder, ReductionEdgeAndAlphaOverWhiteRoundedToTheNearest) {
  const ReductionCase cases[] = {
      {"grey 8: 127 is ink, 128 paper", {8, PNG_COLOR_TYPE_GRAY}, {{{127}, 1}, {{128}, 0}}},
      {"grey 16: the high byte decides", {16, PNG_COLOR_TYPE_GRAY}, {{{0x7FFF}, 1}, {{0x8000}, 0}}},
      {"RGB 16: high bytes 126 + 128 + 128, though 0x7EFF is nearer 127",
       {16, PNG_COLOR_TYPE_RGB},
       {{{0x7EFF, 0x8000, 0x8000}, 1}, {{0x7F00, 0x8000, 0x8000}, 0}}},
      {"RGB 8: sums 382 and 383",
       {8, PNG_COLOR_TYPE_RGB},
       {{{127, 127, 128}, 1}, {{127, 128, 128}, 0}, {{0, 127, 255}, 1}, {{0, 128, 255}, 0}}},
      {"grey 127 at alpha 254 is 127.502: 128, paper; opaque, ink",
       {8, PNG_COLOR_TYPE_GRAY_ALPHA},
       {{{127, 254}, 0}, {{127, 255}, 1}}},
      {"grey 92 at alpha 200 is 127.16: 127, ink; grey 93 is 127.94: 128, paper",
       {8, PNG_COLOR_TYPE_GRAY_ALPHA},
       {{{92, 200}, 1}, {{93, 200}, 0}}},
      {"black at alpha 128 is 127, at 127 it is 128",
       {8, PNG_COLOR_TYPE_GRAY_ALPHA},
       {{{0, 128}, 1}, {{0, 127}, 0}, {{1, 128}, 0}}},
      {"16-bit alpha keeps its high byte",
       {16, PNG_COLOR_TYPE_GRAY_ALPHA},
       {{{0, 0x8000}, 1}, {{0, 0x7FFF}, 0}}},
      {"(2, 0, 0) at alpha 128 is 128 + 127 + 127, (3, 0, 0) 129 + 127 + 127",
       {8, PNG_COLOR_TYPE_RGB_ALPHA},
       {{{2, 0, 0, 128}, 1}, {{3, 0, 0, 128}, 0}}},
      {"palette entry (92, 92, 92) at tRNS alpha 200, and 93",
       {8, PNG_COLOR_TYPE_PALETTE, {{92, 92, 92}, {93, 93, 93}}, {200, 200}},
       {{{0}, 1}, {{1}, 0}}},
  };
  for (const ReductionCase& c : cases) expectReduction(c);
}

// 1200 × 1200 at 64 bits a pixel needs 11.5 MB of rows, more than any 1032-fold compression
// of this file gives, though as many 1-bit pixels would fit: the file is refused before the
// picture's memory is asked for.
TEST(PngDecoder, SizeCheckCountsTheFilesOwnBitsPerPixel) {
  std::mt19937 rng(31);
  std::vector<Chunk> chunks = chunksOf(noiseFile({16, PNG_COLOR_TYPE_RGB_ALPHA}, 8, 8, false, rng));
  const std::uint8_t side[4] = {0, 0, 0x04, 0xB0};
  std::copy(side, side + 4, &chunks[0].data[0]);
  std::copy(side, side + 4, &chunks[0].data[4]);
  const Bytes file = fileOf(chunks);
  ASSERT_GE(file.size(), 1200u * 1200 / 8 / 1032);
  MonoBitmap b = markedSurface();
  failAllocation(1);
  const bool accepted = decodePng(file, b);
  const bool asked = allocationFailed();
  failAllocation(0);
  EXPECT_FALSE(accepted);
  EXPECT_FALSE(asked) << "the picture's memory was asked for";
}

// The best deflate does on one colour is about a thousand to one; the size check must let such
// a file through at every depth.
TEST(PngDecoder, AOneColourFileCompressedAThousandFoldIsAccepted) {
  constexpr int kWidth = 8192, kHeight = 256;
  Samples opaqueBlack(kWidth * 4, 0);
  for (std::size_t i = 3; i < opaqueBlack.size(); i += 4) opaqueBlack[i] = 0xFFFF;
  const Bytes file = libpngFile({16, PNG_COLOR_TYPE_RGB_ALPHA}, kWidth, kHeight, false,
                                [&](int) { return opaqueBlack; });
  ASSERT_LT(file.size(), kWidth * kHeight * 8 / 950) << "not compressed enough to test the limit";
  MonoBitmap b;
  ASSERT_TRUE(decodePng(file, b));
  EXPECT_EQ(b.width(), kWidth);
  EXPECT_EQ(b.height(), std::uint32_t(kHeight));
  const std::vector<int> indices = indicesOf(b);
  EXPECT_EQ(std::count(indices.begin(), indices.end(), 1), kWidth * kHeight);
}

// The picture and the row buffer each fail once; neither escapes as an exception nor changes
// the target, and nothing else is asked for.
TEST(PngDecoder, ADeeperFileWithoutMemoryIsRefusedCleanly) {
  std::mt19937 rng(32);
  const Bytes file = noiseFile({8, PNG_COLOR_TYPE_RGB_ALPHA}, 30, 20, true, rng);
  for (std::size_t n = 1;; ++n) {
    MonoBitmap b = markedSurface();
    failAllocation(n);
    bool accepted = false;
    try {
      accepted = decodePng(file, b);
    } catch (const std::bad_alloc&) {
      failAllocation(0);
      FAIL() << "allocation " << n << " escaped";
    }
    const bool failed = allocationFailed();
    failAllocation(0);
    if (!failed) {
      EXPECT_TRUE(accepted);
      EXPECT_EQ(n, 3u) << "allocations made by decodePng";
      break;
    }
    EXPECT_FALSE(accepted) << n;
    EXPECT_TRUE(samePicture(b, markedSurface())) << n;
  }
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

TEST(PngDecoder, SidesUpToTheLimitAreRead) {
  MonoBitmap b;
  ASSERT_TRUE(decodePng(oneRowFile(65535), b));
  EXPECT_EQ(b.width(), 65535);
  EXPECT_TRUE(b.isBlank());
  EXPECT_TRUE(refusedWithoutChange([](MonoBitmap& t) { return decodePng(oneRowFile(65536), t); }));
}

// Files cut short, bad CRCs and zlib data, impossible headers and chunk orders, rows too few for
// the file's own depth, and sides far beyond the data.
TEST(PngDecoder, BrokenFilesOfTheStartingCorpusAreRefusedAndLeaveTheSurfaceAsItWas) {
  expectCorpusReadAsNamed("png", 23,
                          [](const Bytes& file, MonoBitmap& b) { return decodePng(file, b); });
}

}  // namespace
}  // namespace tenmark
