#include <algorithm>
#include <cstring>

#include "imagefile/bmp_codec.h"
#include "imagefile/little_endian.h"

namespace tenmark {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kHeaderBlockSize = kFileHeaderSize + sizeof(MonoBitmapInfo);

// The surface's own info header and colour table; only biHeight changes sign, because the
// file stores its rows bottom-up.
void writeInfoBlock(const MonoBitmapInfo& info, std::uint32_t height, std::uint8_t* out) {
  const BitmapInfoHeader& h = info.header;
  writeLe32(out + 0, h.biSize);
  writeLe32(out + 4, std::uint32_t(h.biWidth));
  writeLe32(out + 8, height);
  writeLe16(out + 12, h.biPlanes);
  writeLe16(out + 14, h.biBitCount);
  writeLe32(out + 16, h.biCompression);
  writeLe32(out + 20, h.biSizeImage);
  writeLe32(out + 24, std::uint32_t(h.biXPelsPerMeter));
  writeLe32(out + 28, std::uint32_t(h.biYPelsPerMeter));
  writeLe32(out + 32, h.biClrUsed);
  writeLe32(out + 36, h.biClrImportant);
  for (int i = 0; i < 2; ++i) {
    const RgbQuad& c = info.colors[i];
    const std::uint8_t quad[4] = {c.blue, c.green, c.red, c.reserved};
    std::memcpy(out + 40 + 4 * i, quad, 4);
  }
}

}  // namespace

bool writeBmpPieces(const MonoBitmap& bitmap, BmpPieceWriter write, void* context) {
  if (!bitmap.hasPixels()) return false;
  std::uint8_t head[kHeaderBlockSize];
  writeLe16(head, 0x4D42);  // "BM"
  writeLe32(head + 2, std::uint32_t(kHeaderBlockSize + bitmap.byteCount()));
  writeLe32(head + 6, 0);
  writeLe32(head + 10, std::uint32_t(kHeaderBlockSize));
  writeInfoBlock(bitmap.info(), bitmap.height(), head + kFileHeaderSize);
  if (!write(context, head, sizeof head)) return false;
  const std::size_t stride = std::size_t(bitmap.stride());
  for (std::int32_t y = bitmap.height(); y-- > 0;)
    if (!write(context, bitmap.row(y), stride)) return false;
  return true;
}

std::vector<std::uint8_t> encodeBmp(const MonoBitmap& bitmap) {
  if (!bitmap.hasPixels()) return {};
  std::vector<std::uint8_t> file(kHeaderBlockSize + bitmap.byteCount());
  std::uint8_t* out = file.data();
  writeBmpPieces(
      bitmap,
      [](void* context, const std::uint8_t* bytes, std::size_t size) {
        std::uint8_t*& at = *static_cast<std::uint8_t**>(context);
        at = std::copy(bytes, bytes + size, at);
        return true;
      },
      &out);
  return file;
}

}  // namespace tenmark
