#include "win32/monitors.h"

namespace tenmark {

namespace {

Rect workAreaOf(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoA(monitor, &info);
  const RECT& r = info.rcWork;
  return Rect{int(r.left), int(r.top), int(r.right - r.left), int(r.bottom - r.top)};
}

BOOL CALLBACK addWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
  reinterpret_cast<std::vector<Rect>*>(areas)->push_back(workAreaOf(monitor));
  return TRUE;
}

}  // namespace

Rect workAreaOf(HWND hwnd) { return workAreaOf(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST)); }

std::vector<Rect> allWorkAreas() {
  std::vector<Rect> areas;
  EnumDisplayMonitors(nullptr, nullptr, addWorkArea, reinterpret_cast<LPARAM>(&areas));
  return areas;
}

}  // namespace tenmark
