#include "canvas/wheel.h"

#include <algorithm>
#include <limits>

namespace tenmark {

int WheelAccumulator::scrollPixels(const WheelTurn& turn, int lineStep, int page) {
  const std::int64_t perNotch =
      turn.linesPerNotch == kWheelScreen ? page : std::int64_t{turn.linesPerNotch} * lineStep;
  Travel& travel = travel_[index(turn.axis)];
  // The whole way in 1/120 of a pixel, so that every piece of a turn counts exactly once.
  travel.turned -= std::int64_t{turn.delta} * perNotch;
  const std::int64_t pixels = floorDiv(travel.turned, kWheelNotch) - travel.scrolled;
  travel.scrolled += pixels;
  // A system set to thousands of lines a notch scrolls to the end, no further.
  constexpr std::int64_t kFar = std::numeric_limits<int>::max() / 2;
  return int(std::clamp(pixels, -kFar, kFar));
}

int WheelAccumulator::zoomNotches(int delta) {
  zoom_.turned += delta;
  // Rounded down, not toward 0: a whole notch either way is always one step.
  const std::int64_t notches = floorDiv(zoom_.turned, kWheelNotch) - zoom_.scrolled;
  zoom_.scrolled += notches;
  return int(notches);
}

}  // namespace tenmark
