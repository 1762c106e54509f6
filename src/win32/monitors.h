#pragma once
// The work areas of the monitors (the screen less the task bar), in screen coordinates.

#include <windows.h>

#include <vector>

#include "surface/geometry.h"

namespace tenmark {

// The work area of the monitor that holds most of the window, or the nearest one.
Rect workAreaOf(HWND hwnd);

// That monitor's whole area and its work area.
struct MonitorAreas {
  Rect monitor;
  Rect work;
};
MonitorAreas monitorAreasOf(HWND hwnd);

// The work area of every monitor.
std::vector<Rect> allWorkAreas();

}  // namespace tenmark
