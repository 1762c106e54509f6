#include "app/window_fit.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace tenmark {

namespace {

// Moves [start, start + length) into [low, low + room), shortening it to the room; where it
// cannot fit, it starts at `low` so that its top or left edge stays on screen.
void keepSpanInside(int& start, int& length, int low, int room) {
  length = std::min(length, room);
  start = std::max(std::min(start, low + room - length), low);
}

// How far apart two spans are: 0 when they only touch, -1 when they overlap; in 64 bits, as a
// stored placement may hold any 32-bit numbers.
std::int64_t spanGap(std::int64_t start, std::int64_t length, std::int64_t low, std::int64_t room) {
  const std::int64_t gap = std::max(low - (start + length), start - (low + room));
  return gap >= 0 ? gap : -1;
}

// The square of a gap, a gap beyond any screen counted as one just that far.
std::int64_t squared(std::int64_t gap) {
  const std::int64_t g = std::min<std::int64_t>(std::max<std::int64_t>(gap, 0), 1 << 30);
  return g * g;
}

}  // namespace

Rect keptInside(Rect window, const Rect& workArea) {
  keepSpanInside(window.x, window.width, workArea.x, workArea.width);
  keepSpanInside(window.y, window.height, workArea.y, workArea.height);
  return window;
}

Rect fittedWindowRect(const WindowFitInput& in) {
  return keptInside(Rect{in.current.x, in.current.y, in.outerSize.x, in.outerSize.y}, in.workArea);
}

WindowFitInput grownByShortfall(WindowFitInput in, const Rect& placed, Point shortfall) {
  in.outerSize.x += std::max(shortfall.x, 0);
  in.outerSize.y += std::max(shortfall.y, 0);
  in.current = placed;
  return in;
}

Rect centredIn(const Rect& workArea, Point size) {
  return keptInside(Rect{workArea.x + (workArea.width - size.x) / 2,
                         workArea.y + (workArea.height - size.y) / 2, size.x, size.y},
                    workArea);
}

Rect storedPlacementOnScreen(const Rect& stored, const std::vector<Rect>& workAreas) {
  const Rect* nearest = nullptr;
  std::int64_t nearestGap = std::numeric_limits<std::int64_t>::max();
  for (const Rect& area : workAreas) {
    const std::int64_t dx = spanGap(stored.x, stored.width, area.x, area.width);
    const std::int64_t dy = spanGap(stored.y, stored.height, area.y, area.height);
    if (dx < 0 && dy < 0) return stored;
    const std::int64_t gap = squared(dx) + squared(dy);
    if (gap < nearestGap) {
      nearestGap = gap;
      nearest = &area;
    }
  }
  return nearest ? keptInside(stored, *nearest) : stored;
}

}  // namespace tenmark
