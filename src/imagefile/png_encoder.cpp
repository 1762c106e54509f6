#include <new>
#include <utility>

#include "imagefile/png_codec.h"
#include "imagefile/png_errors.h"

namespace tenmark {

namespace {

bool appendBytes(std::vector<std::uint8_t>& out, const std::uint8_t* data, std::size_t length) {
  try {
    out.insert(out.end(), data, data + length);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

void appendToBuffer(png_structp png, png_bytep data, std::size_t length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  if (!appendBytes(*out, data, length)) png_error(png, "out of memory");
}

void flushNothing(png_structp) {}

// libpng leaves this function by longjmp on any error; its frame holds only trivially
// destructible locals, so jumping out of it is well defined.
bool writeChunks(png_structp png, png_infop info, const MonoBitmap& bitmap,
                 std::vector<std::uint8_t>& out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, &out, appendToBuffer, flushNothing);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
  png_set_IHDR(png, info, png_uint_32(bitmap.width()), bitmap.height(), 1, PNG_COLOR_TYPE_PALETTE,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_color palette[2];
  for (int i = 0; i < 2; ++i) {
    const Color c = bitmap.getColor(i);
    palette[i] = png_color{png_byte(c), png_byte(c >> 8), png_byte(c >> 16)};
  }
  png_set_PLTE(png, info, palette, 2);
  png_write_info(png, info);
  // The surface rows are already the PNG packing of bit depth 1: written in place.
  for (std::int32_t y = 0; y < bitmap.height(); ++y) png_write_row(png, bitmap.row(y));
  png_write_end(png, info);
  return true;
}

}  // namespace

bool encodePng(const MonoBitmap& bitmap, std::vector<std::uint8_t>& out) {
  if (!bitmap.hasPixels()) return false;
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, pngFailQuietly, pngIgnoreWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  std::vector<std::uint8_t> bytes;
  const bool written = info && writeChunks(png, info, bitmap, bytes);
  png_destroy_write_struct(&png, &info);
  if (written) out = std::move(bytes);
  return written;
}

}  // namespace tenmark
