#pragma once
// BMP files in memory: the exact 1-bit writer and a bounded reader for the usual variants.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "imagefile/byte_source.h"
#include "imagefile/picture_fault.h"
#include "surface/mono_bitmap.h"

namespace tenmark {

// The 62-byte header block followed by the rows bottom-up, stride bytes each as in memory.
// Empty when the bitmap holds no pixels.
std::vector<std::uint8_t> encodeBmp(const MonoBitmap& bitmap);

// The same file handed out in pieces, allocating nothing (the rescue after a fault writes it
// so): the header block, then each row, bottom-up, straight from the surface's memory. False
// without pixels, or at once when `write` refuses a piece.
using BmpPieceWriter = bool (*)(void* context, const std::uint8_t* bytes, std::size_t size);
bool writeBmpPieces(const MonoBitmap& bitmap, BmpPieceWriter write, void* context);

// Read (None), the target holds the picture: a 1-bit file keeps its indices and both colours,
// anything else becomes white (0) / black (1) by the nearer colour; `reduced`, when given, tells
// which of the two happened. Otherwise the target is left exactly as it was.
PictureFault decodeBmp(ByteSource& file, MonoBitmap& target, bool* reduced = nullptr);
PictureFault decodeBmp(std::span<const std::uint8_t> file, MonoBitmap& target);

}  // namespace tenmark
