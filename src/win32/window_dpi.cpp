#include "win32/window_dpi.h"

namespace tenmark {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
// SetDialogDpiChangeBehavior and SetDialogControlDpiChangeBehavior: a window, a mask, values.
using DpiChangeBehaviorFn = BOOL(WINAPI*)(HWND, int, int);

// The values of DDC_DISABLE_ALL and DCDC_DISABLE_FONT_UPDATE.
constexpr int kDialogDisableAll = 1;
constexpr int kControlDisableFontUpdate = 1;

// Looked up, not linked: the program also starts where the call does not exist.
template <typename Function>
Function user32Function(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

int systemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

}  // namespace

int windowDpi(HWND hwnd) {
  static const auto getDpiForWindow = user32Function<GetDpiForWindowFn>("GetDpiForWindow");
  const UINT dpi = getDpiForWindow ? getDpiForWindow(hwnd) : 0;
  return dpi ? int(dpi) : systemDpi();
}

int metricForDpi(int index, int dpi) {
  static const auto getMetric = user32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  if (getMetric) return getMetric(index, UINT(dpi));
  return MulDiv(GetSystemMetrics(index), dpi, systemDpi());
}

RECT outerRectForDpi(RECT client, HWND hwnd, bool hasMenu, int dpi) {
  static const auto adjust = user32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
  const DWORD style = DWORD(GetWindowLongW(hwnd, GWL_STYLE));
  const DWORD exStyle = DWORD(GetWindowLongW(hwnd, GWL_EXSTYLE));
  if (!adjust || !adjust(&client, style, hasMenu, exStyle, UINT(dpi)))
    AdjustWindowRectEx(&client, style, hasMenu, exStyle);
  return client;
}

void keepDialogLayoutAtDpiChange(HWND dialog) {
  static const auto set = user32Function<DpiChangeBehaviorFn>("SetDialogDpiChangeBehavior");
  if (set) set(dialog, kDialogDisableAll, kDialogDisableAll);
}

void keepControlFontAtDpiChange(HWND control) {
  static const auto set = user32Function<DpiChangeBehaviorFn>("SetDialogControlDpiChangeBehavior");
  if (set) set(control, kControlDisableFontUpdate, kControlDisableFontUpdate);
}

}  // namespace tenmark
