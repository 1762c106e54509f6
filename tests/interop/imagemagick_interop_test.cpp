// Our files read by ImageMagick, and ImageMagick's BMP files read by us. (Its PNG files are
// libpng's, as are the files of the PNG unit test's format table.)
#include <gtest/gtest.h>

#include <cstdio>
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

  // The picture as ImageMagick decodes it: 8-bit red, green, blue per pixel.
  Bytes rgbOf(const std::string& file) const {
    const std::string raw = run(std::string(TENMARK_CONVERT) + " '" + file + "' -depth 8 rgb:-");
    return Bytes(raw.begin(), raw.end());
  }

  std::string identify(const std::string& format, const std::string& file) const {
    return run(std::string(TENMARK_IDENTIFY) + " -format '" + format + "' '" + file + "'");
  }
};

// Greys around the reduction edge: 127 (sum 381, black) and 128 (sum 384, white); ImageMagick
// makes its own two-tone pictures of them.
Bytes manyGreys(std::mt19937& rng) {
  Bytes greys(kWidth * kHeight);
  for (std::size_t i = 0; i < greys.size(); ++i)
    greys[i] = i % 3 == 0 ? std::uint8_t(127 + (i / 3) % 2) : std::uint8_t(rng());
  return greys;
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

// One-bit BMPs keep their indices and colours; deeper ones reduce to white and black.
TEST_F(ImageMagickInterop, TheirBmpsKeepOneBitColoursAndReduceDeeperOnes) {
  std::mt19937 rng(17);
  const std::string source = writeSource("many.pgm", manyGreys(rng));
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
    // "bmp3:" in front of the full path names ImageMagick's writer.
    const std::string target(c.target), bmp = path(target.substr(target.find(':') + 1));
    run(std::string(TENMARK_CONVERT) + " '" + source + "' " + c.options + " " +
        target.substr(0, target.find(':') + 1) + "'" + bmp + "' 2>&1");
    std::ifstream in(bmp, std::ios::binary);
    const Bytes file{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GT(file.size(), 30u);
    EXPECT_EQ(file[file[14] == 12 ? 24 : 28], c.depth) << c.target;
    MonoBitmap b;
    ASSERT_EQ(b.loadBmp(bmp), PictureFault::None) << c.target;
    expectPixels(b, rgbOf(bmp), c.target, c.depth > 1);
  }
}

}  // namespace
}  // namespace tenmark
