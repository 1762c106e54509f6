#include "app/window_fit.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace tenmark {

namespace {

// Moves [start, start + length) into [low, low + room), shortening it to the room; where it
// cannot fit, it starts at `low` so that its top or left edge stays on screen.
void keepSpanInside(int& start, int& length, int low, int room) {
  length = std::min(length, room);
  start = std::max(std::min(start, low + room - length), low);
}

// How much two spans share, and how far apart they are (0 when they meet); in 64 bits, as a
// stored placement may hold any 32-bit numbers.
std::int64_t spanOverlap(std::int64_t start, std::int64_t length, std::int64_t low,
                         std::int64_t room) {
  return std::max<std::int64_t>(std::min(start + length, low + room) - std::max(start, low), 0);
}
std::int64_t spanGap(std::int64_t start, std::int64_t length, std::int64_t low, std::int64_t room) {
  return std::max<std::int64_t>(std::max(low - (start + length), start - (low + room)), 0);
}

// The square of a gap, a gap beyond any screen counted as one just that far.
std::int64_t squared(std::int64_t gap) {
  const std::int64_t g = std::min<std::int64_t>(gap, 1 << 30);
  return g * g;
}

// How near a window is to a work area, the smaller the nearer: the more of the window it
// holds, the nearer; holding none, by how far apart they are.
std::pair<std::int64_t, std::int64_t> nearness(const Rect& window, const Rect& area) {
  const std::int64_t shared = spanOverlap(window.x, window.width, area.x, area.width) *
                              spanOverlap(window.y, window.height, area.y, area.height);
  if (shared > 0) return {-shared, 0};
  return {0, squared(spanGap(window.x, window.width, area.x, area.width)) +
                 squared(spanGap(window.y, window.height, area.y, area.height))};
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

Rect screenFromWorkspace(const Rect& normalPosition, const Rect& monitor, const Rect& workArea) {
  return Rect{normalPosition.x + workArea.x - monitor.x, normalPosition.y + workArea.y - monitor.y,
              normalPosition.width, normalPosition.height};
}

Rect storedPlacementOnScreen(const Rect& stored, const std::vector<Rect>& workAreas) {
  if (workAreas.empty()) return stored;
  const auto nearest = std::min_element(
      workAreas.begin(), workAreas.end(),
      [&](const Rect& a, const Rect& b) { return nearness(stored, a) < nearness(stored, b); });
  return keptInside(stored, *nearest);
}

}  // namespace tenmark
