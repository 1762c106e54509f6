#pragma once
// Where the main window goes when it is fitted to the canvas: its outer size for the wanted
// client area, kept within the maximised size, its top-left corner kept where that fits.

#include "canvas/geometry.h"

namespace tenmark {

struct WindowFitInput {
  int maxWidth;  // the maximised width less the dialog frame and edge
  int maxHeight;
  Point outerSize;  // the outer window size for the client area and both scroll bars
  Rect current;     // the window's outer rectangle now, in screen coordinates
};

Rect fittedWindowRect(const WindowFitInput& in);

}  // namespace tenmark
