#pragma once
// A colour picture brought onto the canvas: each pixel becomes the index whose canvas colour
// is nearer, so a picture gives the same indices on every display.

#include "surface/mono_bitmap.h"
#include "surface/rgb32_image.h"

namespace tenmark {

// The picture at the canvas's top-left corner, cut at its right and bottom; canvas pixels that
// the picture does not reach keep their index.
void reduceOntoCanvas(const Rgb32Image& picture, MonoBitmap& canvas);

}  // namespace tenmark
