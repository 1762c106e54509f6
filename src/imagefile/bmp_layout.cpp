#include "imagefile/bmp_layout.h"

#include "imagefile/little_endian.h"
#include "surface/mono_bitmap.h"

namespace tenmark {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;  // OS/2 1.x: 16-bit sides, 3-byte colour entries
constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

bool fits(std::span<const std::uint8_t> head, std::uint64_t offset, std::uint64_t length) {
  return offset <= head.size() && length <= head.size() - offset;
}

// Masks must be non-empty, disjoint and inside the pixel, or channels would be read from
// bits that are not there or shared between two colours.
bool masksUsable(const std::array<std::uint32_t, 3>& masks, int bitCount) {
  const std::uint64_t pixelBits = (std::uint64_t(1) << bitCount) - 1;
  std::uint32_t seen = 0;
  for (std::uint32_t mask : masks) {
    if (mask == 0 || (mask & seen) != 0 || mask > pixelBits) return false;
    seen |= mask;
  }
  return true;
}

void useDefaultMasks(BmpLayout& layout) {
  if (layout.bitCount == 16)
    layout.masks = {0x7C00u, 0x03E0u, 0x001Fu};
  else
    layout.masks = {0xFF0000u, 0x00FF00u, 0x0000FFu};
}

struct RawHeader {
  std::uint32_t size = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;
  int bitCount = 0;
  std::uint32_t compression = kBiRgb;
  std::uint32_t colorsUsed = 0;
  std::uint32_t alphaMask = 0;  // of a header from 56 bytes on
  std::size_t entrySize = 4;
};

PictureFault readRawHeader(std::span<const std::uint8_t> head, std::size_t base, RawHeader& raw) {
  if (!fits(head, base, 4)) return PictureFault::CutShort;
  const std::uint8_t* h = head.data() + base;
  raw.size = readLe32(h);
  if (raw.size != kCoreHeaderSize && raw.size != 40 && raw.size != 52 && raw.size != 56 &&
      raw.size != 64 && raw.size != 108 && raw.size != 124)
    return PictureFault::Unsupported;
  if (!fits(head, base, raw.size)) return PictureFault::CutShort;
  if (raw.size == kCoreHeaderSize) {
    raw.width = readLe16(h + 4);
    raw.height = readLe16(h + 6);
    raw.bitCount = readLe16(h + 10);
    raw.entrySize = 3;
    return PictureFault::None;
  }
  raw.width = std::int32_t(readLe32(h + 4));
  raw.height = std::int32_t(readLe32(h + 8));
  raw.bitCount = readLe16(h + 14);
  raw.compression = readLe32(h + 16);
  raw.colorsUsed = readLe32(h + 32);
  if (raw.size >= 56) raw.alphaMask = readLe32(h + 52);
  // In the 64-byte OS/2 2.x header the compression codes from 3 on mean other things.
  return raw.size == 64 && raw.compression >= kBiBitfields ? PictureFault::Unsupported
                                                           : PictureFault::None;
}

bool chooseEncoding(const RawHeader& raw, BmpLayout& layout) {
  const int bits = raw.bitCount;
  const bool indexed = bits == 1 || bits == 4 || bits == 8;
  const bool trueColour = bits == 16 || bits == 24 || bits == 32;
  switch (raw.compression) {
    case kBiRgb:
      if (!indexed && !trueColour) return false;
      layout.encoding = indexed ? BmpLayout::Encoding::kIndexed : BmpLayout::Encoding::kTrueColour;
      return raw.size != kCoreHeaderSize || (bits != 16 && bits != 32);
    case kBiBitfields:
    case kBiAlphaBitfields:
      layout.encoding = BmpLayout::Encoding::kTrueColour;
      return bits == 16 || bits == 32;
    case kBiRle8:
      layout.encoding = BmpLayout::Encoding::kRle8;
      return bits == 8;
    case kBiRle4:
      layout.encoding = BmpLayout::Encoding::kRle4;
      return bits == 4;
    default:
      return false;
  }
}

PictureFault takeSides(const RawHeader& raw, BmpLayout& layout) {
  // 64-bit arithmetic: the magnitude of INT_MIN does not fit in 32 bits.
  const std::int64_t rows = raw.height < 0 ? -raw.height : raw.height;
  if (raw.width <= 0 || rows == 0) return PictureFault::Damaged;
  if (raw.width > MonoBitmap::kMaxSide || rows > MonoBitmap::kMaxSide)
    return PictureFault::TooLarge;
  layout.width = std::int32_t(raw.width);
  layout.height = std::int32_t(rows);
  layout.topDown = raw.height < 0;
  layout.bitCount = raw.bitCount;
  // Compressed rows can only run bottom-up.
  const bool compressed = layout.encoding == BmpLayout::Encoding::kRle8 ||
                          layout.encoding == BmpLayout::Encoding::kRle4;
  return compressed && layout.topDown ? PictureFault::Damaged : PictureFault::None;
}

// Sets where the colour table starts.
PictureFault takeMasks(std::span<const std::uint8_t> head, std::size_t base, const RawHeader& raw,
                       BmpLayout& layout, std::size_t& tableStart) {
  tableStart = base + raw.size;
  if (raw.compression != kBiBitfields && raw.compression != kBiAlphaBitfields) {
    if (layout.encoding == BmpLayout::Encoding::kTrueColour) useDefaultMasks(layout);
    // The byte the colours leave free: alpha, when the picture has any.
    if (layout.bitCount == 32) layout.alphaMask = 0xFF000000u;
    return PictureFault::None;
  }
  std::size_t maskStart = base + 40;
  std::uint32_t alphaMask = raw.alphaMask;
  if (raw.size == 40) {
    // The masks follow the short header, before any colour table.
    const std::size_t maskBytes = raw.compression == kBiAlphaBitfields ? 16 : 12;
    if (!fits(head, maskStart, maskBytes)) return PictureFault::CutShort;
    tableStart += maskBytes;
    alphaMask = maskBytes == 16 ? readLe32(head.data() + maskStart + 12) : 0;
  }
  for (std::size_t i = 0; i < 3; ++i) layout.masks[i] = readLe32(head.data() + maskStart + 4 * i);
  if (!masksUsable(layout.masks, layout.bitCount)) return PictureFault::Damaged;
  // An alpha mask that overlaps a colour is no alpha channel.
  const bool apart = (alphaMask & (layout.masks[0] | layout.masks[1] | layout.masks[2])) == 0;
  layout.alphaMask = layout.bitCount == 32 && apart ? alphaMask : 0;
  return PictureFault::None;
}

// Entries past 1 << bitCount can never be addressed, so a larger count is cut down; a count of
// 0 means the full table. The table must lie inside the file (and so inside its head). Sets
// where the table ends: above 8 bits, after the entries it lists without using them.
PictureFault takePalette(std::span<const std::uint8_t> head, const RawHeader& raw,
                         std::size_t start, BmpLayout& layout, std::uint64_t& tableEnd) {
  layout.palette.fill(0);
  if (layout.bitCount > 8) {
    tableEnd = start + std::uint64_t(raw.colorsUsed) * raw.entrySize;
    return PictureFault::None;
  }
  const std::uint32_t full = 1u << layout.bitCount;
  const std::uint32_t count = raw.colorsUsed == 0 || raw.colorsUsed > full ? full : raw.colorsUsed;
  if (!fits(head, start, std::uint64_t(count) * raw.entrySize)) return PictureFault::CutShort;
  const std::uint8_t* entry = head.data() + start;
  for (std::uint32_t i = 0; i < count; ++i, entry += raw.entrySize)
    layout.palette[i] =
        std::uint32_t(entry[2]) | (std::uint32_t(entry[1]) << 8) | (std::uint32_t(entry[0]) << 16);
  tableEnd = start + std::uint64_t(count) * raw.entrySize;
  return PictureFault::None;
}

PictureFault takePixelData(std::uint64_t fileSize, BmpLayout& layout) {
  if (layout.pixelOffset > fileSize) return PictureFault::CutShort;
  const std::uint64_t available = fileSize - layout.pixelOffset;
  if (layout.encoding == BmpLayout::Encoding::kRle8 ||
      layout.encoding == BmpLayout::Encoding::kRle4) {
    layout.rowBytes = 0;
    layout.pixelBytes = available;
    return PictureFault::None;
  }
  const std::uint64_t rowBytes = (std::uint64_t(layout.width) * layout.bitCount + 31) / 32 * 4;
  const std::uint64_t total = rowBytes * std::uint64_t(layout.height);
  if (total > available) return PictureFault::CutShort;
  layout.rowBytes = std::size_t(rowBytes);
  layout.pixelBytes = total;
  return PictureFault::None;
}

// The info header at `base` up to the end of its colour table, where `tableEnd` is set.
PictureFault parseInfo(std::span<const std::uint8_t> head, std::size_t base, BmpLayout& layout,
                       std::uint64_t& tableEnd) {
  RawHeader raw;
  if (const PictureFault fault = readRawHeader(head, base, raw); fault != PictureFault::None)
    return fault;
  if (!chooseEncoding(raw, layout)) return PictureFault::Unsupported;
  if (const PictureFault fault = takeSides(raw, layout); fault != PictureFault::None) return fault;
  std::size_t tableStart = 0;
  if (const PictureFault fault = takeMasks(head, base, raw, layout, tableStart);
      fault != PictureFault::None)
    return fault;
  return takePalette(head, raw, tableStart, layout, tableEnd);
}

}  // namespace

PictureFault parseBmpLayout(std::span<const std::uint8_t> head, std::uint64_t fileSize,
                            BmpLayout& layout) {
  if (head.size() < 2 || head[0] != 'B' || head[1] != 'M') return PictureFault::NotPicture;
  if (head.size() < kFileHeaderSize) return PictureFault::CutShort;
  std::uint64_t tableEnd = 0;
  if (const PictureFault fault = parseInfo(head, kFileHeaderSize, layout, tableEnd);
      fault != PictureFault::None)
    return fault;
  layout.pixelOffset = readLe32(head.data() + 10);
  return takePixelData(fileSize, layout);
}

PictureFault parseDibLayout(std::span<const std::uint8_t> dib, BmpLayout& layout) {
  if (const PictureFault fault = parseInfo(dib, 0, layout, layout.pixelOffset);
      fault != PictureFault::None)
    return fault;
  return takePixelData(dib.size(), layout);
}

}  // namespace tenmark
