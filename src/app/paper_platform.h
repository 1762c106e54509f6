#pragma once
// What the main window's model needs from the platform: readings of the window and the input,
// and the effects it asks for. The Win32 window implements it; the tests implement it with a
// recording fake.

#include <string>

#include "canvas/geometry.h"
#include "canvas/scroll_bar.h"
#include "canvas/tool_mode.h"
#include "surface/rgb32_image.h"

namespace tenmark {

class PaperPlatform {
 public:
  virtual ~PaperPlatform() = default;

  // Readings.
  virtual Point clientSize() const = 0;
  virtual bool isKeyDown(int virtualKey) const = 0;
  // The mouse pointer in client coordinates.
  virtual Point pointerPosition() const = 0;
  virtual Color buttonFaceColor() const = 0;

  // The view: the canvas view window, painting and scroll bars. Repaints never erase.
  virtual void moveViewWindow(const Rect& r) = 0;
  virtual void invalidateView() = 0;
  virtual void invalidateWindow() = 0;
  // Only while a paint is in progress: a background strip, and the view window's picture.
  virtual void fillBackground(const Rect& r, Color color) = 0;
  virtual void presentView(const Rgb32Image& image) = 0;
  // At once, outside painting: an image onto the client area at `at`.
  virtual void present(Point at, const Rgb32Image& image) = 0;
  virtual void setScrollBar(ScrollAxis axis, const ScrollBar& bar) = 0;

  // The window.
  virtual void setCaption(const std::string& text) = 0;
  virtual void setCursor(ToolMode tool) = 0;
  virtual void capturePointer() = 0;
  virtual void releasePointer() = 0;
  virtual void enableMenuItem(int id, bool enabled) = 0;
  virtual void applyTranslucency(int on, int alpha) = 0;
  virtual void toggleMenuBar() = 0;
  // Redraws the whole window at once, frame included.
  virtual void redrawWindow() = 0;
};

}  // namespace tenmark
