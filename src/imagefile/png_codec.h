#pragma once
// 1-bit PNG files in memory, through libpng.

#include <cstdint>
#include <span>
#include <vector>

#include "surface/mono_bitmap.h"

namespace tenmark {

// Signature, IHDR (bit depth 1, palette, not interlaced), a two-entry PLTE from the colour
// table, IDAT and IEND, nothing else; all five row filters, library default compression.
// False (and out unchanged) when the bitmap holds no pixels or libpng fails.
bool encodePng(const MonoBitmap& bitmap, std::vector<std::uint8_t>& out);

// Accepts only bit depth 1, palette or greyscale, interlaced or not. Palette indices arrive as
// stored; greyscale samples are turned round so that black (0) is ink (index 1) and white paper
// (index 0). Colours come from PLTE entries 0 and 1 where the file has them, otherwise they stay
// white and black. On failure the target is left exactly as it was.
bool decodePng(std::span<const std::uint8_t> file, MonoBitmap& target);

}  // namespace tenmark
