#pragma once
// One scroll bar as the platform keeps it: range, page and position, with the platform's rule
// that the position never passes maximum - page + 1.

#include <algorithm>

namespace tenmark {

enum class ScrollAxis { Horizontal, Vertical };

// The scroll requests the view tells apart; every other request leaves the position alone.
enum class ScrollRequest { LineBack, LineForward, PageBack, PageForward, ThumbTrack, Other };

struct ScrollBar {
  int minimum = 0;
  int maximum = 0;
  int page = 0;
  int position = 0;

  bool inUse() const { return page != 0; }
  int largestPosition() const { return maximum - std::max(page - 1, 0); }
  // Range, page and position set together; the position is clamped to the new range.
  void set(int newMaximum, int newPage, int newPosition) {
    minimum = 0;
    maximum = newMaximum;
    page = newPage;
    position = std::clamp(newPosition, minimum, std::max(minimum, largestPosition()));
  }
  bool operator==(const ScrollBar&) const = default;
};

}  // namespace tenmark
