#include <cstring>
#include <utility>

#include "imagefile/png_codec.h"
#include "imagefile/png_errors.h"

namespace tenmark {

namespace {

constexpr std::size_t kSignatureSize = 8;
// Deflate turns one compressed byte into at most 1032 bytes (a 258-byte match in 2 bits).
constexpr std::uint64_t kMaxInflateRatio = 1032;

struct MemoryReader {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t position;
};

void readFromMemory(png_structp png, png_bytep out, std::size_t length) {
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (length > reader->size - reader->position) png_error(png, "truncated");
  std::memcpy(out, reader->data + reader->position, length);
  reader->position += length;
}

// A file too short to inflate into width × height bits cannot succeed: refusing it before the
// allocation keeps a tiny file from claiming half a gigabyte.
bool couldHoldPicture(std::size_t fileSize, png_uint_32 width, png_uint_32 height) {
  const std::uint64_t pixelBytes = std::uint64_t(width) * height / 8;
  return pixelBytes / kMaxInflateRatio <= fileSize;
}

void takePalette(png_structp png, png_infop info, MonoBitmap& out) {
  png_colorp palette = nullptr;
  int entries = 0;
  if (png_get_PLTE(png, info, &palette, &entries) != PNG_INFO_PLTE) return;
  for (int i = 0; i < entries && i < 2; ++i)
    out.setColor(i, makeColor(palette[i].red, palette[i].green, palette[i].blue));
}

// Bits past the width come from the file's row padding (and, for greyscale, its inversion);
// cleared so that every surface row holds nothing but pixels there.
void clearRowPadding(MonoBitmap& out) {
  if ((out.width() & 7) == 0) return;
  const auto keep = std::uint8_t(0xFFu << (8 - (out.width() & 7)));
  for (std::uint32_t y = 0; y < out.height(); ++y) out.row(y)[out.width() >> 3] &= keep;
}

bool isOneBit(int bitDepth, int colorType) {
  return bitDepth == 1 && (colorType == PNG_COLOR_TYPE_PALETTE || colorType == PNG_COLOR_TYPE_GRAY);
}

// libpng leaves this function by longjmp on any error; its frame holds only trivially
// destructible locals, and nothing read after the jump was changed after setjmp.
bool readPicture(png_structp png, png_infop info, MemoryReader& reader, MonoBitmap& out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, &reader, readFromMemory);
  png_set_sig_bytes(png, int(kSignatureSize));
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  // A mutated chunk almost never carries its right CRC; checking it would stop the fuzzer at
  // the first chunk it changed, before the data reaches the decoder.
  png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#endif
  png_set_user_limits(png, MonoBitmap::kMaxSide, MonoBitmap::kMaxSide);
  // Ancillary chunks carry nothing we use; skipping them unread also keeps libpng from
  // allocating whatever length a text or profile chunk claims.
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_read_info(png, info);
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colorType = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);
  if (!isOneBit(bitDepth, colorType) || !couldHoldPicture(reader.size, width, height)) return false;
  // A greyscale 0 sample is black, which is ink (index 1); palette files keep their indices.
  if (colorType == PNG_COLOR_TYPE_GRAY) png_set_invert_mono(png);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (!out.create(std::int32_t(width), std::int32_t(height))) return false;
  if (png_get_rowbytes(png, info) > std::size_t(out.stride())) return false;
  takePalette(png, info, out);
  for (int pass = 0; pass < passes; ++pass)
    for (std::uint32_t y = 0; y < out.height(); ++y) png_read_row(png, out.row(y), nullptr);
  png_read_end(png, nullptr);
  clearRowPadding(out);
  return true;
}

}  // namespace

bool decodePng(std::span<const std::uint8_t> file, MonoBitmap& target) {
  if (file.size() < kSignatureSize || png_sig_cmp(file.data(), 0, kSignatureSize) != 0)
    return false;
  png_structp png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngFailQuietly, pngIgnoreWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  MemoryReader reader{file.data(), file.size(), kSignatureSize};
  MonoBitmap decoded;
  const bool read = info && readPicture(png, info, reader, decoded);
  png_destroy_read_struct(&png, &info, nullptr);
  if (read) target = std::move(decoded);
  return read;
}

}  // namespace tenmark
