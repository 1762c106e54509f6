#pragma once
// A DIB as other programs put it on the clipboard (info header, masks, colour table, rows; no
// file header), read into the part of it that the canvas can show.

#include <cstdint>
#include <span>

#include "surface/mono_bitmap.h"

namespace tenmark {

enum class DibReading {
  Read,
  // Anything its bytes do not bear out (sides of 0, negative or too large, rows past the end,
  // unknown headers and compressions such as JPEG or PNG), or no memory for the picture.
  Refused,
  // Run-length rows: left to the system's conversion.
  NotDecoded,
};

// `picture` becomes the DIB's top-left part of at most the canvas's size, laid over the
// canvas's paper where it has an alpha channel and reduced to the nearer of the canvas's two
// colours, which it takes; no row or column beyond that part is decoded. Unless Read, `picture`
// is left as it was.
DibReading readDib(std::span<const std::uint8_t> dib, const MonoBitmap& canvas,
                   MonoBitmap& picture);

}  // namespace tenmark
