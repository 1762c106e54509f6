// PNG reader on arbitrary bytes: it must never crash, a refused file must leave the target
// untouched, and an accepted picture must survive our own writer and reader unchanged.
//
// Bytes that do not start as a PNG file are a recipe for one instead: colour type and depth,
// interlacing, transparency, sides, palette and rows, written by libpng. Mutated files rarely
// keep a deeper format with data that inflates to enough rows; recipes reach every format with
// every kind of pixel, and the picture read from one must hold exactly the pixels it describes.
#include <png.h>

#include <cstdint>
#include <span>
#include <vector>

#include "fuzz_support.h"
#include "imagefile/png_codec.h"
#include "imagefile/png_errors.h"
#include "surface/nearer_index.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr struct {
  int bitDepth;
  int colorType;
} kFormats[] = {
    {1, PNG_COLOR_TYPE_GRAY},        {2, PNG_COLOR_TYPE_GRAY},      {4, PNG_COLOR_TYPE_GRAY},
    {8, PNG_COLOR_TYPE_GRAY},        {16, PNG_COLOR_TYPE_GRAY},     {8, PNG_COLOR_TYPE_GRAY_ALPHA},
    {16, PNG_COLOR_TYPE_GRAY_ALPHA}, {1, PNG_COLOR_TYPE_PALETTE},   {2, PNG_COLOR_TYPE_PALETTE},
    {4, PNG_COLOR_TYPE_PALETTE},     {8, PNG_COLOR_TYPE_PALETTE},   {8, PNG_COLOR_TYPE_RGB},
    {16, PNG_COLOR_TYPE_RGB},        {8, PNG_COLOR_TYPE_RGB_ALPHA}, {16, PNG_COLOR_TYPE_RGB_ALPHA},
};
constexpr std::uint32_t kMaxRecipeSide = 64;

// The recipe's input, read byte by byte from the start again when it runs out.
class Ingredients {
 public:
  explicit Ingredients(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint8_t next() {
    if (bytes_.empty()) return 0;
    if (at_ == bytes_.size()) at_ = 0;
    return bytes_[at_++];
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

struct Recipe {
  int bitDepth = 0;
  int colorType = 0;
  bool interlaced = false;
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  std::vector<png_color> palette;
  Bytes paletteAlpha;
  bool keyed = false;  // a greyscale or RGB file with a tRNS colour
  png_color_16 key{};
  int channels = 1;
  std::size_t rowBytes = 0;
  Bytes rows;  // packed as in the file, rowBytes each

  unsigned maxSample() const { return (1u << bitDepth) - 1; }

  // Sample `c` of pixel (x, y) as stored.
  unsigned sample(png_uint_32 x, png_uint_32 y, int c) const {
    const std::uint8_t* row = &rows[y * rowBytes];
    const std::size_t index = std::size_t(x) * std::size_t(channels) + std::size_t(c);
    if (bitDepth == 16) return unsigned(row[2 * index] << 8 | row[2 * index + 1]);
    const std::size_t bit = index * std::size_t(bitDepth);
    return (row[bit / 8] >> (8 - bitDepth - int(bit % 8))) & maxSample();
  }

  // The same sample in 8 bits: lower depths scaled up, 16 bits cut to the high byte.
  int sample8(png_uint_32 x, png_uint_32 y, int c) const {
    const unsigned v = sample(x, y, c);
    return int(bitDepth == 16 ? v >> 8 : v * 255 / maxSample());
  }
};

Recipe recipeFrom(std::span<const std::uint8_t> input) {
  Ingredients in(input);
  Recipe r;
  const auto& format = kFormats[in.next() % std::size(kFormats)];
  r.bitDepth = format.bitDepth;
  r.colorType = format.colorType;
  const std::uint8_t flags = in.next();
  r.interlaced = flags & 1;
  const bool transparent = flags & 2;
  r.width = 1 + in.next() % kMaxRecipeSide;
  r.height = 1 + in.next() % kMaxRecipeSide;
  auto sample = [&] {
    const unsigned high = in.next();
    return png_uint_16((high << 8 | in.next()) & r.maxSample());
  };
  switch (r.colorType) {
    case PNG_COLOR_TYPE_PALETTE:
      r.palette.resize(std::size_t(1) << r.bitDepth);
      for (png_color& c : r.palette) c = {in.next(), in.next(), in.next()};
      if (transparent) r.paletteAlpha.resize(1 + in.next() % r.palette.size());
      for (std::uint8_t& a : r.paletteAlpha) a = in.next();
      break;
    case PNG_COLOR_TYPE_GRAY:
      r.keyed = transparent;
      r.key.gray = sample();
      break;
    case PNG_COLOR_TYPE_RGB:
      r.keyed = transparent;
      r.key.red = sample();
      r.key.green = sample();
      r.key.blue = sample();
      break;
  }
  r.channels = r.colorType == PNG_COLOR_TYPE_GRAY_ALPHA  ? 2
               : r.colorType == PNG_COLOR_TYPE_RGB       ? 3
               : r.colorType == PNG_COLOR_TYPE_RGB_ALPHA ? 4
                                                         : 1;
  r.rowBytes = (std::size_t(r.width) * std::size_t(r.channels * r.bitDepth) + 7) / 8;
  r.rows.resize(r.rowBytes * r.height);
  for (std::uint8_t& b : r.rows) b = in.next();
  return r;
}

void appendToBytes(png_structp png, png_bytep data, std::size_t length) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

// libpng leaves this function by longjmp on any error: its frame holds nothing to destroy.
bool writeRecipe(png_structp png, png_infop info, const Recipe& r, png_bytepp rows, Bytes& out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, &out, appendToBytes, nullptr);
  png_set_compression_level(png, 1);
  png_set_IHDR(png, info, r.width, r.height, r.bitDepth, r.colorType,
               r.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!r.palette.empty()) png_set_PLTE(png, info, r.palette.data(), int(r.palette.size()));
  if (!r.paletteAlpha.empty())
    png_set_tRNS(png, info, r.paletteAlpha.data(), int(r.paletteAlpha.size()), nullptr);
  if (r.keyed) png_set_tRNS(png, info, nullptr, 0, &r.key);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  return true;
}

Bytes fileOf(Recipe& r) {
  std::vector<png_bytep> rows;
  for (png_uint_32 y = 0; y < r.height; ++y) rows.push_back(&r.rows[y * r.rowBytes]);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, tenmark::pngFailQuietly,
                                            tenmark::pngIgnoreWarning);
  png_infop info = png_create_info_struct(png);
  Bytes file;
  if (!info || !writeRecipe(png, info, r, rows.data(), file)) __builtin_trap();
  png_destroy_write_struct(&png, &info);
  return file;
}

// The index the recipe's pixel must become: one-bit files keep palette indices and turn
// greyscale round; every other pixel is laid over white and reduced to white or black.
int expectedIndex(const Recipe& r, png_uint_32 x, png_uint_32 y) {
  const bool oneBit = r.bitDepth == 1;
  if (oneBit)
    return r.colorType == PNG_COLOR_TYPE_PALETTE ? int(r.sample(x, y, 0))
                                                 : 1 - int(r.sample(x, y, 0));
  int rgb[3] = {};
  int alpha = 255;
  switch (r.colorType) {
    case PNG_COLOR_TYPE_PALETTE: {
      const unsigned entry = r.sample(x, y, 0);
      const png_color& c = r.palette[entry];
      rgb[0] = c.red, rgb[1] = c.green, rgb[2] = c.blue;
      if (entry < r.paletteAlpha.size()) alpha = r.paletteAlpha[entry];
      break;
    }
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      rgb[0] = rgb[1] = rgb[2] = r.sample8(x, y, 0);
      if (r.colorType == PNG_COLOR_TYPE_GRAY_ALPHA) alpha = r.sample8(x, y, 1);
      if (r.keyed && r.sample(x, y, 0) == r.key.gray) alpha = 0;
      break;
    default:
      for (int c = 0; c < 3; ++c) rgb[c] = r.sample8(x, y, c);
      if (r.colorType == PNG_COLOR_TYPE_RGB_ALPHA) alpha = r.sample8(x, y, 3);
      if (r.keyed && r.sample(x, y, 0) == r.key.red && r.sample(x, y, 1) == r.key.green &&
          r.sample(x, y, 2) == r.key.blue)
        alpha = 0;
  }
  for (int& c : rgb) c = (c * alpha + 255 * (255 - alpha) + 127) / 255;
  return tenmark::kWhiteBlack(rgb[0], rgb[1], rgb[2]);
}

bool holdsRecipe(const tenmark::MonoBitmap& b, const Recipe& r) {
  if (b.width() != std::int32_t(r.width) || b.height() != std::int32_t(r.height)) return false;
  tenmark::Color paper = 0xFFFFFF, ink = 0;
  if (r.bitDepth == 1 && r.colorType == PNG_COLOR_TYPE_PALETTE) {
    paper = tenmark::makeColor(r.palette[0].red, r.palette[0].green, r.palette[0].blue);
    ink = tenmark::makeColor(r.palette[1].red, r.palette[1].green, r.palette[1].blue);
  }
  if (b.getColor(0) != paper || b.getColor(1) != ink) return false;
  for (png_uint_32 y = 0; y < r.height; ++y)
    for (png_uint_32 x = 0; x < r.width; ++x)
      if (b.pixel(int(x), int(y)) != expectedIndex(r, x, y)) return false;
  return true;
}

void checkFile(std::span<const std::uint8_t> file) {
  tenmark::fuzz::checkReader(
      file,
      [](std::span<const std::uint8_t> bytes, tenmark::MonoBitmap& target) {
        return tenmark::decodePng(bytes, target) == tenmark::PictureFault::None;
      },
      tenmark::encodePng, tenmark::fuzz::samePicture);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  if (size >= 8 && png_sig_cmp(data, 0, 8) == 0) {
    checkFile(input);
    return 0;
  }
  Recipe recipe = recipeFrom(input);
  const Bytes file = fileOf(recipe);
  checkFile(file);
  tenmark::MonoBitmap decoded;
  if (tenmark::decodePng(file, decoded) != tenmark::PictureFault::None ||
      !holdsRecipe(decoded, recipe))
    __builtin_trap();
  return 0;
}
