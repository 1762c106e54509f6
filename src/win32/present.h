#pragma once
// Puts a core-rendered 32-bit image on screen 1:1.

#include <windows.h>

#include "surface/rgb32_image.h"

namespace tenmark {

// The header of a top-down 32-bit image of width × height, the layout of Rgb32Image.
BITMAPINFO topDown32BitInfo(int width, int height);

void presentImage(HDC dc, int x, int y, const Rgb32Image& image);

// Fills a rectangle with a 0x00BBGGRR colour.
void fillSolid(HDC dc, const RECT& r, Color color);

}  // namespace tenmark
