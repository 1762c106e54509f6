#pragma once
// The two line primitives behind MonoBitmap::drawLine. Both first cut the segment down to the
// surface, so the work depends on the visible part only, whatever the coordinates.

#include "surface/mono_bitmap.h"

namespace tenmark {

// The one-pixel Bresenham line from (x1, y1) towards (x2, y2), without the end point.
void drawThinLine(MonoBitmap& b, int x1, int y1, int x2, int y2, bool ink);

// Every pixel whose centre lies within width / 2 of the segment: a band with round ends.
void drawWideLine(MonoBitmap& b, int x1, int y1, int x2, int y2, int width, bool ink);

}  // namespace tenmark
