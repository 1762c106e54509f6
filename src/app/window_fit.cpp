#include "app/window_fit.h"

#include <algorithm>

namespace tenmark {

Rect fittedWindowRect(const WindowFitInput& in) {
  Rect r{std::max(in.current.x, 0), std::max(in.current.y, 0), in.outerSize.x, in.outerSize.y};
  if (r.width > in.maxWidth) {
    r.width = in.maxWidth;
    r.x = 0;
  }
  if (r.height > in.maxHeight) {
    r.height = in.maxHeight;
    r.y = 0;
  }
  if (r.x + r.width > in.maxWidth) r.x = in.maxWidth - r.width;
  if (r.y + r.height > in.maxHeight) r.y = in.maxHeight - r.height;
  return r;
}

WindowFitInput grownByShortfall(WindowFitInput in, const Rect& placed, Point shortfall) {
  in.outerSize.x += std::max(shortfall.x, 0);
  in.outerSize.y += std::max(shortfall.y, 0);
  in.current = placed;
  return in;
}

}  // namespace tenmark
