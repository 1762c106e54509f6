// Lines and dots of MonoBitmap, drawn by palette index.
#include <cstdint>

#include "surface/line_raster.h"
#include "surface/mono_bitmap.h"

namespace tenmark {

void MonoBitmap::drawLine(int x1, int y1, int x2, int y2, int penWidth, int index) {
  if (!hasPixels()) return;
  if (penWidth <= 1) {
    drawThinLine(*this, x1, y1, x2, y2, index != 0);
  } else {
    drawWideLine(*this, x1, y1, x2, y2, penWidth, index != 0);
  }
}

void MonoBitmap::drawDot(int x, int y, int penWidth, int index) {
  // The line to the next pixel; at x = INT32_MAX that pixel cannot be on any surface anyway.
  if (x == INT32_MAX) return;
  drawLine(x, y, x + 1, y, penWidth, index);
}

}  // namespace tenmark
