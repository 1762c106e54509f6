#pragma once
// What the BMP headers say about the pixel data, after every bound has been checked.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "imagefile/picture_fault.h"

namespace tenmark {

struct BmpLayout {
  enum class Encoding { kIndexed, kTrueColour, kRle8, kRle4 };

  std::int32_t width = 0;
  std::int32_t height = 0;  // always positive; topDown tells the row order
  bool topDown = false;
  int bitCount = 0;
  Encoding encoding = Encoding::kIndexed;
  // Red, green, blue masks of a 16- or 32-bit pixel; unused below 16 bits.
  std::array<std::uint32_t, 3> masks{};
  // Where a 32-bit pixel keeps its alpha, if anywhere: the free top byte without bit fields,
  // else the header's alpha mask; 0 for none.
  std::uint32_t alphaMask = 0;
  // Colour table as 0x00BBGGRR; entries the file does not hold are black.
  std::array<std::uint32_t, 256> palette{};
  std::uint64_t pixelOffset = 0;
  // Row length in the file for uncompressed data (0 for RLE).
  std::size_t rowBytes = 0;
  // Bytes from pixelOffset on that belong to the picture: all rows, or the RLE data.
  std::uint64_t pixelBytes = 0;
};

// The most a file's headers, masks and colour table can take up: parsing needs only this much.
constexpr std::size_t kBmpHeadBytes = 14 + 124 + 16 + 256 * 4;

// Parses the first min(fileSize, kBmpHeadBytes) bytes of a file of fileSize bytes. A fault for
// anything the reader does not accept: no "BM", an unknown header or compression, zero or
// overlapping masks, sides of zero or above MonoBitmap::kMaxSide, headers, a colour table or
// pixel data that reach past the end of the file.
PictureFault parseBmpLayout(std::span<const std::uint8_t> head, std::uint64_t fileSize,
                            BmpLayout& layout);

// The same for a DIB as the clipboard holds it: no file header, the rows right after the header,
// masks and colour table, all of them inside `dib`.
PictureFault parseDibLayout(std::span<const std::uint8_t> dib, BmpLayout& layout);

}  // namespace tenmark
