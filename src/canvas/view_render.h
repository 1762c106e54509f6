#pragma once
// What the view shows on screen, rendered by the core: the visible canvas at the zoom into
// 32-bit pixels, and the background strips around it. A full repaint and the update of any
// rectangle go through the same mapping, so they give the same pixels.

#include <vector>

#include "canvas/canvas_view.h"
#include "surface/mono_bitmap.h"
#include "surface/rgb32_image.h"

namespace tenmark {

// Renders the part of the view window that lies in `area` (client coordinates) into `image`,
// sized to that part, and returns the part; empty when `area` misses the view window. Pixels of
// the view that no canvas pixel reaches show the background.
Rect renderViewArea(const MonoBitmap& canvas, const CanvasView& view, Color background,
                    const Rect& area, Rgb32Image& image);

// The client strips around the view window that painting fills with the background colour.
std::vector<Rect> backgroundStrips(int clientWidth, int clientHeight, const Rect& view);

}  // namespace tenmark
