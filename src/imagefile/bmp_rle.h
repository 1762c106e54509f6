#pragma once
// Run-length encoded BMP pixel data (RLE8 and RLE4), drawn into a surface.

#include <array>
#include <cstdint>
#include <span>

#include "surface/mono_bitmap.h"

namespace tenmark {

// Surface index (0 white, 1 black) for each palette index.
using InkTable = std::array<std::uint8_t, 256>;

// Draws the runs bottom-up into a freshly created surface, writing every byte of every row
// itself (its initial content does not matter). Pixels the data skips take palette entry 0;
// runs and deltas that leave the picture are clipped. False when the data ends before its
// end-of-picture code; the surface is then only partly written.
bool decodeRle(std::span<const std::uint8_t> data, int bitCount, const InkTable& ink,
               MonoBitmap& out);

}  // namespace tenmark
