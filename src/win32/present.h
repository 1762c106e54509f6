#pragma once
// Puts a core-rendered 32-bit image on screen 1:1.

#include <windows.h>

#include "surface/rgb32_image.h"

namespace tenmark {

void presentImage(HDC dc, int x, int y, const Rgb32Image& image);

// Fills a rectangle with a 0x00BBGGRR colour.
void fillSolid(HDC dc, int left, int top, int right, int bottom, Color color);

}  // namespace tenmark
