#pragma once
// PNG files in memory, through libpng: 1-bit files written, every file libpng reads read.

#include <cstdint>
#include <span>
#include <vector>

#include "imagefile/picture_fault.h"
#include "surface/mono_bitmap.h"

namespace tenmark {

// Signature, IHDR (bit depth 1, palette, not interlaced), a two-entry PLTE from the colour
// table, IDAT and IEND, nothing else; all five row filters, library default compression.
// False (and out unchanged) when the bitmap holds no pixels or libpng fails.
bool encodePng(const MonoBitmap& bitmap, std::vector<std::uint8_t>& out);

// Reads every PNG that libpng reads. One-bit palette and greyscale files, interlaced or not,
// keep what they store: palette indices as they are, greyscale samples turned round so that
// black (0) is ink (index 1) and white paper (index 0), colours from PLTE entries 0 and 1 where
// the file has them (otherwise white and black). Every other depth and colour type is expanded
// to 8-bit RGB (16-bit samples keep their high byte), pixels with alpha or a tRNS entry are laid
// over white (each channel blended with 255 by the alpha, rounded to the nearest), and each pixel
// becomes the nearer of white (index 0) and black (index 1), with a white/black colour table, as
// colour BMP files do. `reduced`, when given, tells which of the two happened. Unless read
// (None), the target is left exactly as it was.
PictureFault decodePng(std::span<const std::uint8_t> file, MonoBitmap& target,
                       bool* reduced = nullptr);

}  // namespace tenmark
