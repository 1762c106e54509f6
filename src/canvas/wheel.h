#pragma once
// The mouse wheel: notches and the fractions of a notch that high-resolution wheels and touchpads
// send, turned into whole scroll steps and zoom steps without losing or doubling any part.

#include <array>
#include <cstdint>

#include "canvas/scroll_bar.h"
#include "surface/geometry.h"

namespace tenmark {

// One notch, in the units the platform reports.
inline constexpr int kWheelNotch = 120;
// The system's "one screen at a time" setting instead of a number of lines.
inline constexpr int kWheelScreen = -1;

struct WheelTurn {
  ScrollAxis axis = ScrollAxis::Vertical;
  // Positive towards the start of the picture (up or left), in 1/120 notches.
  int delta = 0;
  // Zooms one step per notch instead of scrolling (Ctrl held).
  bool zoom = false;
  Point client;  // the pointer
  // Lines (or characters) per notch as the system is set, or kWheelScreen.
  int linesPerNotch = 3;
};

class WheelAccumulator {
 public:
  // Client pixels to scroll by (positive towards the end) for `turn`, with `lineStep` pixels a
  // line and `page` pixels a screen; the part of a pixel left over waits for the next turn.
  int scrollPixels(const WheelTurn& turn, int lineStep, int page);
  // Whole notches turned so far, positive towards zooming in; the rest waits.
  int zoomNotches(int delta);
  // The view changed under the wheel (other zoom, bar gone): the parts waiting mean nothing.
  void forget(ScrollAxis axis) { travel_[index(axis)] = Travel{}; }

 private:
  struct Travel {
    std::int64_t turned = 0;    // in 1/120 of a step
    std::int64_t scrolled = 0;  // whole steps handed out
  };
  static std::size_t index(ScrollAxis axis) { return axis == ScrollAxis::Horizontal ? 0 : 1; }
  std::array<Travel, 2> travel_{};
  Travel zoom_;
};

}  // namespace tenmark
