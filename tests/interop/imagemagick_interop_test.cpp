// Our files read by ImageMagick, and ImageMagick's files read by us.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "support/test_surfaces.h"
#include "surface/mono_bitmap.h"

namespace tenmark {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr int kWidth = 37;
constexpr int kHeight = 13;

// The command's standard output; a command that cannot start or ends with a failure fails the
// test, so that no check runs on a file ImageMagick did not finish.
std::string run(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) {
    ADD_FAILURE() << "cannot start: " << command;
    return out;
  }
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  EXPECT_EQ(pclose(pipe), 0) << command << "\n" << out;
  return out;
}

class ImageMagickInterop : public TempFolderTest {
 protected:
  // Writes a greyscale source picture for ImageMagick as a binary PGM.
  std::string writeSource(const std::string& name, const Bytes& greys) const {
    std::ofstream out(path(name), std::ios::binary);
    out << "P5\n" << kWidth << " " << kHeight << "\n255\n";
    out.write(reinterpret_cast<const char*>(greys.data()), std::streamsize(greys.size()));
    return path(name);
  }

  // convert <source> <options> <target>; the written file is returned. A target such as
  // "png8:name.png" names ImageMagick's writer in front of the file's full path, where it takes
  // it as the writer and not as part of the name.
  std::string convert(const std::string& source, const std::string& options,
                      const std::string& target) const {
    const std::size_t colon = target.find(':');
    const std::string written = path(target.substr(colon + 1));
    const std::string writer = colon == std::string::npos ? "" : target.substr(0, colon + 1);
    run(std::string(TENMARK_CONVERT) + " '" + source + "' " + options + " '" + writer + written +
        "' 2>&1");
    EXPECT_TRUE(fs::exists(written)) << options << " " << target;
    return written;
  }

  // A 16-bit source: a PGM for one channel, a PAM with alpha for four; samples most significant
  // byte first.
  std::string writeSource16(const std::string& name, const std::vector<std::uint16_t>& samples,
                            int channels) const {
    std::ofstream out(path(name), std::ios::binary);
    if (channels == 1)
      out << "P5\n" << kWidth << " " << kHeight << "\n65535\n";
    else
      out << "P7\nWIDTH " << kWidth << "\nHEIGHT " << kHeight
          << "\nDEPTH 4\nMAXVAL 65535\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    for (std::uint16_t s : samples) out.put(char(s >> 8)).put(char(s & 0xFF));
    return path(name);
  }

  // The picture as ImageMagick decodes it: 16-bit red, green, blue and alpha per pixel, most
  // significant byte first.
  Bytes rgba16Of(const std::string& file) const {
    const std::string raw =
        run(std::string(TENMARK_CONVERT) + " '" + file + "' -depth 16 -endian MSB rgba:-");
    return Bytes(raw.begin(), raw.end());
  }

  // The picture as ImageMagick decodes it: 8-bit red, green, blue per pixel.
  Bytes rgbOf(const std::string& file) const {
    const std::string raw = run(std::string(TENMARK_CONVERT) + " '" + file + "' -depth 8 rgb:-");
    return Bytes(raw.begin(), raw.end());
  }

  std::string identify(const std::string& format, const std::string& file) const {
    return run(std::string(TENMARK_IDENTIFY) + " -format '" + format + "' '" + file + "'");
  }
};

Bytes twoToneGreys(std::mt19937& rng, bool blackFirst) {
  Bytes greys(kWidth * kHeight);
  for (auto& g : greys) g = (rng() & 1) ? 0 : 255;
  greys[0] = blackFirst ? 0 : 255;  // ImageMagick orders its palette by first appearance
  greys[1] = blackFirst ? 255 : 0;
  return greys;
}

// Greys around the reduction edge: 127 (sum 381, black) and 128 (sum 384, white).
Bytes manyGreys(std::mt19937& rng) {
  Bytes greys(kWidth * kHeight);
  for (std::size_t i = 0; i < greys.size(); ++i)
    greys[i] = i % 3 == 0 ? std::uint8_t(127 + (i / 3) % 2) : std::uint8_t(rng());
  return greys;
}

// 16-bit greys, a third of them on either side of the middle (0x7FFF and 0x8000).
std::vector<std::uint16_t> deepGreys(std::mt19937& rng) {
  std::vector<std::uint16_t> greys(kWidth * kHeight);
  for (std::size_t i = 0; i < greys.size(); ++i)
    greys[i] = i % 3 == 0 ? std::uint16_t(0x7FFF + (i / 3) % 2) : std::uint16_t(rng());
  return greys;
}

// 16-bit colours, opaque, transparent or anything between. (The close calls of the reduction
// are the PNG unit test's edge table.)
std::vector<std::uint16_t> deepColours(std::mt19937& rng) {
  std::vector<std::uint16_t> samples;
  for (int i = 0; i < kWidth * kHeight; ++i) {
    for (int c = 0; c < 3; ++c) samples.push_back(std::uint16_t(rng()));
    const unsigned alpha = rng() % 4;
    samples.push_back(alpha == 0 ? 0 : alpha == 1 ? std::uint16_t(rng()) : 0xFFFF);
  }
  return samples;
}

// 16-bit red, green, blue and alpha to 8-bit red, green and blue over white: each sample's
// high byte, each channel blended with 255 by the alpha and rounded to the nearest.
Bytes overWhite(const Bytes& rgba16) {
  Bytes rgb;
  for (std::size_t i = 0; i + 8 <= rgba16.size(); i += 8) {
    const int alpha = rgba16[i + 6];
    for (int c = 0; c < 3; ++c)
      rgb.push_back(std::uint8_t((rgba16[i + 2 * c] * alpha + 255 * (255 - alpha) + 127) / 255));
  }
  return rgb;
}

// Every pixel against ImageMagick's 8-bit red, green and blue for it: a kept picture shows the
// colour its index selects; a reduced one is white and black, each pixel the nearer of the two
// by squared RGB distance, ties to white.
void expectPixels(const MonoBitmap& b, const Bytes& rgb, const std::string& what, bool reduced) {
  ASSERT_EQ(rgb.size(), std::size_t(3 * kWidth * kHeight)) << what;
  if (reduced) {
    EXPECT_EQ(b.getColor(0), 0xFFFFFFu) << what;
    EXPECT_EQ(b.getColor(1), 0u) << what;
  }
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const std::uint8_t* p = &rgb[3 * std::size_t(y * kWidth + x)];
      const int toBlack = p[0] * p[0] + p[1] * p[1] + p[2] * p[2];
      const int toWhite =
          (255 - p[0]) * (255 - p[0]) + (255 - p[1]) * (255 - p[1]) + (255 - p[2]) * (255 - p[2]);
      if (reduced)
        ASSERT_EQ(b.pixel(x, y), toBlack < toWhite ? 1 : 0) << what << " at " << x << "," << y;
      else
        ASSERT_EQ(b.getColor(b.pixel(x, y)), makeColor(p[0], p[1], p[2]))
            << what << " at " << x << "," << y;
    }
  }
}

TEST_F(ImageMagickInterop, OurFilesAreOneBitTwoColourPicturesOfTheRightSizeAndPixels) {
  std::mt19937 rng(11);
  const MonoBitmap picture = randomPicture(kWidth, kHeight, rng);
  ASSERT_TRUE(picture.savePng(path("ours.png")));
  ASSERT_TRUE(picture.saveBmp(path("ours.bmp")));
  EXPECT_EQ(
      identify("%w %h %[png:IHDR.bit-depth-orig] %[png:IHDR.color-type-orig] %k", path("ours.png")),
      "37 13 1 3 2");
  EXPECT_EQ(identify("%w %h %z %k %r", path("ours.bmp")), "37 13 1 2 PseudoClass sRGB ");
  expectPixels(picture, rgbOf(path("ours.png")), "our PNG", false);
  expectPixels(picture, rgbOf(path("ours.bmp")), "our BMP", false);
}

// Palette PNGs keep their stored indices, whichever colour comes first in the palette.
// Greyscale PNGs (ImageMagick's usual bilevel PNG among them) open the right way round: black
// samples become ink (index 1) on white paper. Every file shows what ImageMagick shows.
TEST_F(ImageMagickInterop, TheirOneBitPngsKeepPaletteIndicesAndOpenGreyscaleBlackAsInk) {
  std::mt19937 rng(13);
  const std::string oneBit = "-define png:bit-depth=1 -define png:color-type=";
  const struct {
    const char* name;
    std::string options;
    bool blackFirst;
    const char* colorType;
    int blackIndex;
  } cases[] = {
      {"palette, black first", "-interlace PNG " + oneBit + "3", true, "3", 0},
      {"palette, white first", oneBit + "3", false, "3", 1},
      {"greyscale, interlaced", "-interlace PNG " + oneBit + "0", true, "0", 1},
      {"bilevel", "-type bilevel", false, "0", 1},
  };
  for (const auto& c : cases) {
    const Bytes greys = twoToneGreys(rng, c.blackFirst);
    const std::string png = convert(writeSource("src.pgm", greys), c.options, "their.png");
    EXPECT_EQ(identify("%[png:IHDR.bit-depth-orig] %[png:IHDR.color-type-orig]", png),
              std::string("1 ") + c.colorType)
        << c.name;
    MonoBitmap b;
    ASSERT_TRUE(b.loadPng(png)) << c.name;
    expectPixels(b, rgbOf(png), c.name, false);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        ASSERT_EQ(b.pixel(x, y),
                  greys[std::size_t(y * kWidth + x)] ? 1 - c.blackIndex : c.blackIndex)
            << c.name << " at " << x << "," << y;
  }
}

// Deeper PNGs of every colour type and depth reduce to white and black. The expected index of
// each pixel comes from ImageMagick's own reading of the file at 16 bits: the high byte of each
// sample (what an 8-bit sample was, and what a 16-bit one keeps), each channel laid over white
// by the alpha, (c·a + 255·(255 − a)) / 255 rounded to the nearest, then the nearer of white and
// black.
TEST_F(ImageMagickInterop, TheirDeeperPngsReduceToWhiteAndBlack) {
  std::mt19937 rng(15);
  const std::string grey = writeSource("grey.pgm", manyGreys(rng));
  const std::string grey16 = writeSource16("grey16.pgm", deepGreys(rng), 1);
  const std::string colour = writeSource16("colour.pam", deepColours(rng), 4);
  const std::string binaryAlpha = "-channel A -threshold 50% +channel ";
  auto as = [](int colorType, int bitDepth) {
    return "-define png:color-type=" + std::to_string(colorType) +
           " -define png:bit-depth=" + std::to_string(bitDepth);
  };
  const struct {
    const char* name;
    const std::string& source;
    std::string options;
    std::string target;
    const char* depthAndType;
    bool transparencyChunk;
  } cases[] = {
      {"grey 2", grey, as(0, 2), "g2.png", "2 0", false},
      {"grey 4", grey, as(0, 4), "g4.png", "4 0", false},
      {"grey 8, interlaced", grey, "-interlace PNG " + as(0, 8), "g8.png", "8 0", false},
      {"grey 16", grey16, as(0, 16), "g16.png", "16 0", false},
      {"grey+alpha 8", colour, "-colorspace gray " + as(4, 8), "ga8.png", "8 4", false},
      {"grey+alpha 16, interlaced", colour, "-colorspace gray -interlace PNG " + as(4, 16),
       "ga16.png", "16 4", false},
      {"palette 2, tRNS", colour, binaryAlpha + "-colors 4 -define png:bit-depth=2", "png8:p2.png",
       "2 3", true},
      {"palette 4, tRNS, interlaced", colour,
       binaryAlpha + "-interlace PNG -colors 16 -define png:bit-depth=4", "png8:p4.png", "4 3",
       true},
      {"palette 8", colour, "-alpha off -colors 200 " + as(3, 8), "p8.png", "8 3", false},
      {"palette 8, tRNS", colour, binaryAlpha + "-colors 100", "png8:p8t.png", "8 3", true},
      {"RGB 8", colour, "-alpha off " + as(2, 8), "rgb8.png", "8 2", false},
      {"RGB 16, interlaced", colour, "-alpha off -interlace PNG " + as(2, 16), "rgb16.png", "16 2",
       false},
      {"RGB 8, tRNS", colour, binaryAlpha + as(2, 8), "rgb8t.png", "8 2", true},
      {"RGBA 8", colour, as(6, 8), "rgba8.png", "8 6", false},
      {"RGBA 16, interlaced", colour, "-interlace PNG " + as(6, 16), "rgba16.png", "16 6", false},
  };
  for (const auto& c : cases) {
    const std::string png = convert(c.source, c.options, c.target);
    EXPECT_EQ(identify("%[png:IHDR.bit-depth-orig] %[png:IHDR.color-type-orig]", png),
              c.depthAndType)
        << c.name;
    std::ifstream in(png, std::ios::binary);
    const std::string file{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(file.find("tRNS") != std::string::npos, c.transparencyChunk) << c.name;
    EXPECT_EQ(file[28] != 0, c.options.find("-interlace") != std::string::npos) << c.name;
    MonoBitmap b = markedSurface();
    ASSERT_TRUE(b.loadPng(png)) << c.name;
    expectPixels(b, overWhite(rgba16Of(png)), c.name, true);
  }
}

// One-bit BMPs keep their indices and colours; deeper ones reduce to white and black.
TEST_F(ImageMagickInterop, TheirBmpsKeepOneBitColoursAndReduceDeeperOnes) {
  std::mt19937 rng(17);
  const std::string twoTone = writeSource("two.pgm", twoToneGreys(rng, true));
  const std::string many = writeSource("many.pgm", manyGreys(rng));
  const struct {
    const char* options;
    const char* target;
    int depth;
  } cases[] = {{"-type bilevel", "bmp3:one.bmp", 1},
               {"-type bilevel", "bmp:onev5.bmp", 1},
               {"-colors 16 -type palette", "bmp3:four.bmp", 4},
               {"-type palette", "bmp3:eight.bmp", 8},
               {"-type truecolor", "bmp3:rgb24.bmp", 24},
               {"-type truecolor", "bmp2:core.bmp", 24},
               {"-type truecolormatte -alpha on", "bmp:rgb32.bmp", 32}};
  for (const auto& c : cases) {
    const std::string bmp = convert(c.depth == 1 ? twoTone : many, c.options, c.target);
    std::ifstream in(bmp, std::ios::binary);
    const Bytes file{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GT(file.size(), 30u);
    EXPECT_EQ(file[file[14] == 12 ? 24 : 28], c.depth) << c.target;
    MonoBitmap b;
    ASSERT_TRUE(b.loadBmp(bmp)) << c.target;
    expectPixels(b, rgbOf(bmp), c.target, c.depth > 1);
  }
}

}  // namespace
}  // namespace tenmark
