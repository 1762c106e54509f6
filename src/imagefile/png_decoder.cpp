#include <cstring>
#include <memory>
#include <new>
#include <utility>

#include "imagefile/png_codec.h"
#include "imagefile/png_errors.h"
#include "surface/nearer_index.h"

namespace tenmark {

namespace {

constexpr std::size_t kSignatureSize = 8;
// Deflate turns one compressed byte into at most 1032 bytes (a 258-byte match in 2 bits).
constexpr std::uint64_t kMaxInflateRatio = 1032;

struct MemoryReader {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t position;
  bool ranOut = false;  // libpng asked for bytes past the end: the file is cut short

  // What an error libpng raised means.
  PictureFault fault() const { return ranOut ? PictureFault::CutShort : PictureFault::Damaged; }
};

void readFromMemory(png_structp png, png_bytep out, std::size_t length) {
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (length > reader->size - reader->position) {
    reader->ranOut = true;
    png_error(png, "truncated");
  }
  std::memcpy(out, reader->data + reader->position, length);
  reader->position += length;
}

// A file too short to inflate into width × height pixels of its own depth cannot succeed:
// refusing it before the allocation keeps a tiny file from claiming half a gigabyte.
bool couldHoldPicture(std::size_t fileSize, png_uint_32 width, png_uint_32 height,
                      unsigned bitsPerPixel) {
  const std::uint64_t pixelBytes = std::uint64_t(width) * height * bitsPerPixel / 8;
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
  for (std::int32_t y = 0; y < out.height(); ++y) out.row(y)[out.width() >> 3] &= keep;
}

bool isOneBit(int bitDepth, int colorType) {
  return bitDepth == 1 && (colorType == PNG_COLOR_TYPE_PALETTE || colorType == PNG_COLOR_TYPE_GRAY);
}

// What the header says and how the rows then arrive from libpng.
struct Layout {
  png_uint_32 width;
  png_uint_32 height;
  bool oneBit;
  // One-bit rows: libpng's passes over whole rows. Other rows: 1, or the seven Adam7 passes,
  // each read as its own smaller picture.
  int passes;
  int channels;          // of a transformed row of another depth: 3 (RGB) or 4 (RGBA)
  std::size_t rowBytes;  // of a transformed row of the full width
};

// libpng leaves the functions that call setjmp by longjmp on any error; their frames hold only
// trivially destructible locals, and nothing read after the jump was changed after setjmp.
// Memory is asked for between them, in frames that libpng never crosses.

PictureFault readLayout(png_structp png, png_infop info, MemoryReader& reader, Layout& layout) {
  if (setjmp(png_jmpbuf(png))) return reader.fault();
  png_set_read_fn(png, &reader, readFromMemory);
  png_set_sig_bytes(png, int(kSignatureSize));
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  // A mutated chunk almost never carries its right CRC; checking it would stop the fuzzer at
  // the first chunk it changed, before the data reaches the decoder.
  png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#endif
  // Sides are checked below, so that a picture too large for us is told apart from a broken one;
  // nothing is allocated for them before.
  png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
  // Ancillary chunks carry nothing we use (tRNS, which libpng still reads, aside); skipping
  // them unread also keeps libpng from allocating whatever length a text or profile chunk claims.
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_read_info(png, info);
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colorType = 0, interlace = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlace, nullptr, nullptr);
  if (width > png_uint_32(MonoBitmap::kMaxSide) || height > png_uint_32(MonoBitmap::kMaxSide))
    return PictureFault::TooLarge;
  if (!couldHoldPicture(reader.size, width, height,
                        unsigned(bitDepth) * png_get_channels(png, info)))
    return PictureFault::CutShort;
  const bool oneBit = isOneBit(bitDepth, colorType);
  int passes = 1;
  if (oneBit) {
    // A greyscale 0 sample is black, which is ink (index 1); palette files keep their indices.
    if (colorType == PNG_COLOR_TYPE_GRAY) png_set_invert_mono(png);
    passes = png_set_interlace_handling(png);
  } else {
    // Palette entries, greyscale of any depth and 16-bit samples all become 8-bit RGB, with
    // an alpha channel when the file has one or a tRNS chunk.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    if (interlace != PNG_INTERLACE_NONE) passes = PNG_INTERLACE_ADAM7_PASSES;
  }
  png_read_update_info(png, info);
  layout = {
      width, height, oneBit, passes, png_get_channels(png, info), png_get_rowbytes(png, info)};
  return PictureFault::None;
}

// One-bit rows are the surface's row format: libpng writes them straight into its memory.
bool readOneBitRows(png_structp png, png_infop info, const Layout& layout, MonoBitmap& out) {
  if (setjmp(png_jmpbuf(png))) return false;
  takePalette(png, info, out);
  for (int pass = 0; pass < layout.passes; ++pass)
    for (std::int32_t y = 0; y < out.height(); ++y) png_read_row(png, out.row(y), nullptr);
  png_read_end(png, nullptr);
  return true;
}

// A channel over white paper: c·a + 255·(255 − a), divided by 255 and rounded to the nearest
// (255 is odd, so no result lies halfway).
constexpr int overWhite(int channel, int alpha) {
  return (channel * alpha + 255 * (255 - alpha) + 127) / 255;
}

// Sets the ink bits of `columns` transformed pixels in a zeroed surface row, pixel i at column
// first + i·step; each is the nearer of white and black, as colour BMP pixels are.
template <int Channels>
void reduceRow(const png_byte* src, png_uint_32 columns, png_uint_32 first, png_uint_32 step,
               std::uint8_t* dst) {
  for (png_uint_32 i = 0, x = first; i < columns; ++i, x += step, src += Channels) {
    const bool ink = Channels == 4
                         ? kWhiteBlack(overWhite(src[0], src[3]), overWhite(src[1], src[3]),
                                       overWhite(src[2], src[3]))
                         : kWhiteBlack(src[0], src[1], src[2]);
    if (ink) dst[x >> 3] |= std::uint8_t(0x80u >> (x & 7));
  }
}

// `row` holds a transformed row of the full width. An interlaced file is read pass by pass
// without libpng's own interlace handling, which would need every row of the picture at once;
// each pass row lands on its own pixels, and libpng skips passes without pixels as we do.
bool readReducedRows(png_structp png, const Layout& layout, png_bytep row, MonoBitmap& out) {
  if (setjmp(png_jmpbuf(png))) return false;
  const bool interlaced = layout.passes > 1;
  for (int pass = 0; pass < layout.passes; ++pass) {
    const png_uint_32 columns = interlaced ? PNG_PASS_COLS(layout.width, pass) : layout.width;
    const png_uint_32 rows = interlaced ? PNG_PASS_ROWS(layout.height, pass) : layout.height;
    if (columns == 0) continue;
    const png_uint_32 firstColumn = interlaced ? PNG_PASS_START_COL(pass) : 0;
    const png_uint_32 columnStep = interlaced ? PNG_PASS_COL_OFFSET(pass) : 1;
    const png_uint_32 firstRow = interlaced ? PNG_PASS_START_ROW(pass) : 0;
    const png_uint_32 rowStep = interlaced ? PNG_PASS_ROW_OFFSET(pass) : 1;
    for (png_uint_32 r = 0; r < rows; ++r) {
      png_read_row(png, row, nullptr);
      std::uint8_t* dst = out.row(firstRow + r * rowStep);
      if (layout.channels == 4)
        reduceRow<4>(row, columns, firstColumn, columnStep, dst);
      else
        reduceRow<3>(row, columns, firstColumn, columnStep, dst);
    }
  }
  png_read_end(png, nullptr);
  return true;
}

PictureFault readPicture(png_structp png, png_infop info, MemoryReader& reader, MonoBitmap& out,
                         bool& reduced) {
  Layout layout{};
  if (const PictureFault fault = readLayout(png, info, reader, layout); fault != PictureFault::None)
    return fault;
  if (!out.create(std::int32_t(layout.width), std::int32_t(layout.height)))
    return PictureFault::TooLarge;
  reduced = !layout.oneBit;
  if (layout.oneBit) {
    if (layout.rowBytes > std::size_t(out.stride())) return PictureFault::Unsupported;
    if (!readOneBitRows(png, info, layout, out)) return reader.fault();
    clearRowPadding(out);
    return PictureFault::None;
  }
  // The colour table stays white and black, as for colour BMP files.
  if (layout.channels != 3 && layout.channels != 4) return PictureFault::Unsupported;
  const std::unique_ptr<png_byte[]> row(new (std::nothrow) png_byte[layout.rowBytes]);
  if (!row) return PictureFault::TooLarge;
  return readReducedRows(png, layout, row.get(), out) ? PictureFault::None : reader.fault();
}

}  // namespace

PictureFault decodePng(std::span<const std::uint8_t> file, MonoBitmap& target, bool* reduced) {
  if (file.empty()) return PictureFault::Empty;
  if (file.size() < kSignatureSize || png_sig_cmp(file.data(), 0, kSignatureSize) != 0)
    return PictureFault::NotPicture;
  png_structp png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngFailQuietly, pngIgnoreWarning);
  if (!png) return PictureFault::TooLarge;
  png_infop info = png_create_info_struct(png);
  MemoryReader reader{file.data(), file.size(), kSignatureSize};
  MonoBitmap decoded;
  bool decodedReduced = false;
  const PictureFault fault =
      info ? readPicture(png, info, reader, decoded, decodedReduced) : PictureFault::TooLarge;
  png_destroy_read_struct(&png, &info, nullptr);
  if (fault != PictureFault::None) return fault;
  target = std::move(decoded);
  if (reduced) *reduced = decodedReduced;
  return PictureFault::None;
}

}  // namespace tenmark
