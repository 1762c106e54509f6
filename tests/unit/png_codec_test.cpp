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

std::vector<Chunk> chunksOf(const Bytes& file) {
  std::vector<Chunk> chunks;
  for (std::size_t at = 8; at + 12 <= file.size();) {
    const std::uint32_t length =
        std::uint32_t(file[at] << 24 | file[at + 1] << 16 | file[at + 2] << 8 | file[at + 3]);
    chunks.push_back({std::string(file.begin() + long(at) + 4, file.begin() + long(at) + 8),
                      Bytes(file.begin() + long(at) + 8, file.begin() + long(at + 8 + length))});
    at += 12 + length;
  }
  return chunks;
}

using Samples = std::vector<std::uint16_t>;

// A file format for libpng's own writer, with the chunks that go with it.
struct Format {
  int bitDepth;
  int colorType;
  std::vector<png_color> palette = {};
  Bytes paletteAlpha = {};  // tRNS of a palette file
  Samples key = {};         // tRNS of a greyscale (one sample) or RGB (three) file
};

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
  if (const Samples& k = format.key; !k.empty()) {
    png_color_16 key{0, k[0], k[k.size() / 2], k.back(), k[0]};  // index, red, green, blue, grey
    png_set_tRNS(png, info, nullptr, 0, &key);
  }
  // Chunks that the reader must pass over: a gamma far from any screen's and a black background.
  png_set_gAMA(png, info, 0.25);
  png_color_16 black{};
  png_set_bKGD(png, info, &black);
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

// Every sample of an RGBA file a random value of the depth.
Bytes noiseFile(int bitDepth, int width, int height, bool interlaced, std::mt19937& rng) {
  return libpngFile({bitDepth, PNG_COLOR_TYPE_RGB_ALPHA}, width, height, interlaced, [&](int) {
    Samples row(std::size_t(width * 4));
    for (auto& s : row) s = std::uint16_t(rng() & ((1u << bitDepth) - 1));
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
  Bytes raw(16 * 9 + 1);
  uLongf size = uLongf(raw.size());
  ASSERT_EQ(uncompress(raw.data(), &size, chunks[2].data.data(), uLong(chunks[2].data.size())),
            Z_OK);
  ASSERT_EQ(size, 16u * 9) << "each row its filter byte and its 8 bytes";
  EXPECT_EQ(raw[1], 0x35);  // every filter leaves the first byte of the first row as it is
  bool up = false;
  for (std::size_t y = 0; y < 16; ++y) up = up || raw[y * 9] == 2;
  EXPECT_TRUE(up);
  EXPECT_EQ(chunks[2].data[1] >> 6, 2) << "zlib FLEVEL of the default level 6, not 9";
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
  Color color0 = 0xFFFFFF, color1 = 0;
};

// The case's pixels repeated over pictures of a few sizes, interlaced and not, shifted by three
// on every row so that every interlace pass meets them in other places; tiny sides leave
// passes without pixels. Each picture has the case's colours (reduced: white and black).
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
      ASSERT_EQ(decodePng(file, b), PictureFault::None) << what;
      ASSERT_EQ(b.width(), width) << what;
      ASSERT_EQ(b.height(), std::uint32_t(height)) << what;
      std::vector<int> want;
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) want.push_back(at(x, y).index);
      EXPECT_EQ(indicesOf(b), want) << what;
      EXPECT_EQ(b.getColor(0), c.color0) << what;
      EXPECT_EQ(b.getColor(1), c.color1) << what;
      for (std::int32_t y = 0; y < b.height(); ++y)
        for (int x = width; x < b.stride() * 8; ++x)
          ASSERT_EQ(b.row(y)[x / 8] >> (7 - x % 8) & 1, 0) << what << ": padding bit " << x;
    }
  }
}

// One-bit palette files keep their indices and colours, even with a tRNS chunk, and a palette of
// one entry leaves colour 1 black. One-bit greyscale turns round: a 0 sample is black and becomes
// ink (index 1). Deeper greys and palette entries expand to 8 bits (2-bit 1 is 85, 4-bit 7 is 119),
// 16-bit samples keep their high byte, a tRNS key is compared at the file's own depth, and a pixel
// is ink when its red, green and blue add up to less than 382.5 after alpha lays it over white.
TEST(PngDecoder, EveryFormatIsReadPixelByPixel) {
  constexpr int kGrey = PNG_COLOR_TYPE_GRAY, kGreyAlpha = PNG_COLOR_TYPE_GRAY_ALPHA,
                kPalette = PNG_COLOR_TYPE_PALETTE, kRgb = PNG_COLOR_TYPE_RGB,
                kRgba = PNG_COLOR_TYPE_RGB_ALPHA;
  std::vector<png_color> sixteenGreys;
  for (int i = 0; i < 16; ++i)
    sixteenGreys.push_back({png_byte(17 * i), png_byte(17 * i), png_byte(17 * i)});
  const ReductionCase cases[] = {
      {"palette 1, tRNS: kept",
       {1, kPalette, {{10, 20, 30}, {200, 210, 220}}, {0, 0}},
       {{{0}, 0}, {{1}, 1}},
       makeColor(10, 20, 30),
       makeColor(200, 210, 220)},
      {"palette 1 of one entry", {1, kPalette, {{1, 2, 3}}}, {{{0}, 0}}, makeColor(1, 2, 3)},
      {"grey 1: black is ink", {1, kGrey}, {{{0}, 1}, {{1}, 0}}},
      {"grey 2", {2, kGrey}, {{{0}, 1}, {{1}, 1}, {{2}, 0}, {{3}, 0}}},
      {"grey 4", {4, kGrey}, {{{0}, 1}, {{7}, 1}, {{8}, 0}, {{15}, 0}, {{3}, 1}}},
      {"grey 8: 127 is ink, 128 paper", {8, kGrey}, {{{0}, 1}, {{127}, 1}, {{128}, 0}, {{255}, 0}}},
      {"grey 16: the high byte decides",
       {16, kGrey},
       {{{0}, 1}, {{0x7FFF}, 1}, {{0x8000}, 0}, {{0xFFFF}, 0}}},
      {"grey 2, tRNS 1", {2, kGrey, {}, {}, {1}}, {{{0}, 1}, {{1}, 0}, {{2}, 0}}},
      {"grey 8, tRNS 0", {8, kGrey, {}, {}, {0}}, {{{0}, 0}, {{1}, 1}, {{255}, 0}}},
      {"grey 16, tRNS 1", {16, kGrey, {}, {}, {1}}, {{{1}, 0}, {{0}, 1}, {{0x0100}, 1}}},
      {"grey+alpha 8",
       {8, kGreyAlpha},
       {{{0, 255}, 1}, {{0, 0}, 0}, {{255, 255}, 0}, {{40, 200}, 1}, {{40, 60}, 0}}},
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
      {"RGB 8: sums 382 and 383",
       {8, kRgb},
       {{{255, 0, 0}, 1},
        {{255, 255, 0}, 0},
        {{127, 127, 128}, 1},
        {{127, 128, 128}, 0},
        {{0, 127, 255}, 1},
        {{0, 128, 255}, 0}}},
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
      // Over white, a channel c with alpha a becomes (c·a + 255·(255 − a)) / 255 rounded to the
      // nearest; these pixels sit where rounding down or up instead turns one of them over.
      {"RGB 16: high bytes 126 + 128 + 128, though 0x7EFF is nearer 127",
       {16, kRgb},
       {{{0x7EFF, 0x8000, 0x8000}, 1}, {{0x7F00, 0x8000, 0x8000}, 0}, {{0xFFFF, 0xFFFF, 0}, 0}}},
      {"grey 127 at alpha 254 is 127.502: 128, paper; opaque, ink",
       {8, PNG_COLOR_TYPE_GRAY_ALPHA},
       {{{127, 254}, 0}, {{127, 255}, 1}}},
      {"grey 92 at alpha 200 is 127.16: 127, ink; grey 93 is 127.94: 128, paper",
       {8, PNG_COLOR_TYPE_GRAY_ALPHA},
       {{{92, 200}, 1}, {{93, 200}, 0}}},
      {"black at alpha 128 is 127, at 127 it is 128",
       {8, PNG_COLOR_TYPE_GRAY_ALPHA},
       {{{0, 128}, 1}, {{0, 127}, 0}, {{1, 128}, 0}}},
      {"grey+alpha 16: the alpha's high byte decides",
       {16, kGreyAlpha},
       {{{0, 0x8000}, 1}, {{0, 0x7FFF}, 0}, {{0xFFFF, 0xFFFF}, 0}, {{0x2800, 0xC8FF}, 1}}},
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
  Bytes file = noiseFile(16, 8, 8, false, rng);
  for (std::size_t at : {16, 20}) file[at + 2] = 0x04, file[at + 3] = 0xB0;  // IHDR's sides
  const auto crc = crc32(0, &file[12], 17);
  for (int i = 0; i < 4; ++i) file[29 + std::size_t(i)] = std::uint8_t(crc >> (24 - 8 * i));
  ASSERT_GE(file.size(), 1200u * 1200 / 8 / 1032);
  MonoBitmap b = markedSurface();
  failAllocation(1);
  const bool accepted = decodePng(file, b) == PictureFault::None;
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
  ASSERT_EQ(decodePng(file, b), PictureFault::None);
  EXPECT_EQ(b.width(), kWidth);
  EXPECT_EQ(b.height(), std::uint32_t(kHeight));
  const std::vector<int> indices = indicesOf(b);
  EXPECT_EQ(std::count(indices.begin(), indices.end(), 1), kWidth * kHeight);
}

// The picture and the row buffer each fail once; neither escapes as an exception nor changes
// the target, and nothing else is asked for.
TEST(PngDecoder, ADeeperFileWithoutMemoryIsRefusedCleanly) {
  std::mt19937 rng(32);
  const Bytes file = noiseFile(8, 30, 20, true, rng);
  for (std::size_t n = 1;; ++n) {
    MonoBitmap b = markedSurface();
    failAllocation(n);
    bool accepted = false;
    try {
      accepted = decodePng(file, b) == PictureFault::None;
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

// Files cut short, bad CRCs and zlib data, impossible headers and chunk orders, rows too few for
// the file's own depth, sides far beyond the data and one past the limit; read are a file as wide
// as the limit and one with ancillary chunks.
TEST(PngDecoder, StartingCorpusFilesAreReadOrRefusedAsNamed) {
  const auto read = expectCorpusReadAsNamed("png", 23, [](const Bytes& file, MonoBitmap& b) {
    return decodePng(file, b) == PictureFault::None;
  });
  EXPECT_EQ(read.size(), 2u);
}

// What the message after a refused file says, for broken files of each kind.
TEST(PngDecoder, RefusalsSayWhy) {
  expectRefusalsSayWhy("png", [](const Bytes& file, MonoBitmap& b) { return decodePng(file, b); },
                       {{"refused-cut-0-bytes.png", PictureFault::Empty},
                        {"refused-not-a-png-signature.png", PictureFault::NotPicture},
                        {"refused-cut-20-bytes.png", PictureFault::CutShort},
                        {"refused-cut-inside-idat.png", PictureFault::CutShort},
                        {"refused-cut-before-iend.png", PictureFault::CutShort},
                        {"refused-sides-far-too-large-for-the-data.png", PictureFault::CutShort},
                        {"refused-crc-error-in-idat.png", PictureFault::Damaged},
                        {"refused-corrupt-zlib-data.png", PictureFault::Damaged},
                        {"refused-zero-height.png", PictureFault::Damaged},
                        {"refused-width-above-the-limit.png", PictureFault::TooLarge}});
}

}  // namespace
}  // namespace tenmark
