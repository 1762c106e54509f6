#pragma once
// Where the main window goes when it is fitted to the canvas: its outer size for the wanted
// client area, kept within the maximised size, its top-left corner kept where that fits.

#include "surface/geometry.h"

namespace tenmark {

struct WindowFitInput {
  int maxWidth;  // the maximised width less the dialog frame and edge
  int maxHeight;
  Point outerSize;  // the outer window size for the client area and both scroll bars
  Rect current;     // the window's outer rectangle now, in screen coordinates
};

Rect fittedWindowRect(const WindowFitInput& in);

// The fit again, from where the first one placed the window, when its client area came out
// `shortfall` short of the one asked for: a menu bar narrower than its items wraps onto more
// lines than the outer size allowed for. The window grows by what is missing, within the same
// limits; a client area that came out large enough changes nothing.
WindowFitInput grownByShortfall(WindowFitInput in, const Rect& placed, Point shortfall);

}  // namespace tenmark
