#pragma once
// Where the main window goes: fitted to the canvas, placed at the first start, or brought back
// from a stored placement. Every rule keeps the whole window in the work area of a monitor
// (the screen less the task bar), so that the caption and every canvas row stay reachable.

#include <vector>

#include "surface/geometry.h"

namespace tenmark {

struct WindowFitInput {
  Rect workArea;    // the work area of the window's monitor, in screen coordinates
  Point outerSize;  // the outer window size for the client area and both scroll bars
  Rect current;     // the window's outer rectangle now, in screen coordinates
};

// `window` moved up or left (or down or right) until it lies in the work area, and made smaller
// where it is larger than the work area, so that its scroll bars take over.
Rect keptInside(Rect window, const Rect& workArea);

// The window at the outer size, its top-left corner kept where that fits.
Rect fittedWindowRect(const WindowFitInput& in);

// The fit again, from where the first one placed the window, when its client area came out
// `shortfall` short of the one asked for: a menu bar narrower than its items wraps onto more
// lines than the outer size allowed for. The window grows by what is missing, within the same
// limits; a client area that came out large enough changes nothing.
WindowFitInput grownByShortfall(WindowFitInput in, const Rect& placed, Point shortfall);

// The window of the first start, centred in the work area.
Rect centredIn(const Rect& workArea, Point size);

// The normal position the system reports for a window counts from the top left of its
// monitor's work area, not of the screen: with a task bar at the top or left the two differ by
// the bar. A placement is stored and given back in screen coordinates.
Rect screenFromWorkspace(const Rect& normalPosition, const Rect& monitor, const Rect& workArea);

// A stored placement brought wholly into the work area that holds most of it, or the nearest
// one when none does (a monitor taken away, a resolution lowered): moved first, then made
// smaller, as the first placement is. One that lies in a work area stays as it is; with no
// work area at all it stays as it is too.
Rect storedPlacementOnScreen(const Rect& stored, const std::vector<Rect>& workAreas);

}  // namespace tenmark
