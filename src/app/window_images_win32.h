#pragma once
// The main window's cursors and icons, made at the window's DPI from the images the resources
// hold for each size, and made again when the window moves to a monitor of another scale.

#include <windows.h>

#include "canvas/tool_mode.h"

namespace tenmark {

class WindowImages {
 public:
  WindowImages() = default;
  ~WindowImages();
  WindowImages(const WindowImages&) = delete;
  WindowImages& operator=(const WindowImages&) = delete;

  // Loads every image at `dpi` and gives the window its icons; what was loaded before goes.
  void load(HWND window, int dpi);
  HCURSOR cursor(ToolMode tool) const { return cursors_[int(tool)]; }

 private:
  void release();

  HCURSOR cursors_[4] = {};
  HICON icon_ = nullptr;
  HICON smallIcon_ = nullptr;
};

}  // namespace tenmark
