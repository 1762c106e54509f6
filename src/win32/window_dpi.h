#pragma once
// Each window's own DPI, for a program that is aware of every monitor's scale. The calls that
// give it came with Windows 10; before them every window has the system's DPI, and these fall
// back to it.

#include <windows.h>

namespace tenmark {

constexpr int kDesignDpi = 96;

// The DPI of the monitor the window is on.
int windowDpi(HWND hwnd);

// GetSystemMetrics at the given DPI.
int metricForDpi(int index, int dpi);

// The outer rectangle of a window whose client area is `client`, at the given DPI.
RECT outerRectForDpi(RECT client, HWND hwnd, bool hasMenu, int dpi);

// The dialog manager leaves this dialog's size, layout and fonts alone when its DPI changes:
// the window lays itself out.
void keepDialogLayoutAtDpiChange(HWND dialog);

// The dialog manager leaves this control's font alone when the dialog's DPI changes: the
// dialog makes it anew.
void keepControlFontAtDpiChange(HWND control);

}  // namespace tenmark
