#include "win32/monitors.h"

namespace tenmark {

namespace {

Rect rectOf(const RECT& r) {
  return Rect{int(r.left), int(r.top), int(r.right - r.left), int(r.bottom - r.top)};
}

MonitorAreas areasOf(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoA(monitor, &info);
  return MonitorAreas{rectOf(info.rcMonitor), rectOf(info.rcWork)};
}

BOOL CALLBACK addWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
  reinterpret_cast<std::vector<Rect>*>(areas)->push_back(areasOf(monitor).work);
  return TRUE;
}

}  // namespace

MonitorAreas monitorAreasOf(HWND hwnd) {
  return areasOf(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST));
}

Rect workAreaOf(HWND hwnd) { return monitorAreasOf(hwnd).work; }

std::vector<Rect> allWorkAreas() {
  std::vector<Rect> areas;
  EnumDisplayMonitors(nullptr, nullptr, addWorkArea, reinterpret_cast<LPARAM>(&areas));
  return areas;
}

}  // namespace tenmark
