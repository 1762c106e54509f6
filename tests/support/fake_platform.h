#pragma once
// A platform for the main window's model without a window: it records the effects the model
// asks for and keeps a client-sized screen that painting and presenting draw on, as the real
// window's screen would show them. Scroll bars in use take their width from the client area.

#include <functional>
#include <map>
#include <set>
#include <string>

#include "app/paper_platform.h"

namespace tenmark {

class FakePlatform : public PaperPlatform {
 public:
  static constexpr int kBarWidth = 17;

  // The client area without scroll bars.
  Point area{800, 600};
  std::set<int> keysDown;
  Point pointer{-1, -1};
  Color buttonFace = 0xC0C0C0;

  Rgb32Image screen;
  Rect viewWindow;
  ScrollBar bars[2];
  std::string caption;
  int captionChanges = 0;
  ToolMode cursor = ToolMode::Pen;
  int cursorChanges = 0;
  bool captured = false;
  std::map<int, bool> menuEnabled;
  int windowInvalidations = 0;
  int translucencyOn = -1;
  int translucencyAlpha = -1;
  bool menuBarShown = true;
  std::function<void()> onResize;

  Point clientSize() const override {
    const bool h = bars[0].inUse();
    const bool v = bars[1].inUse();
    return Point{area.x - (v ? kBarWidth : 0), area.y - (h ? kBarWidth : 0)};
  }
  bool isKeyDown(int virtualKey) const override { return keysDown.count(virtualKey) > 0; }
  Point pointerPosition() const override { return pointer; }
  Color buttonFaceColor() const override { return buttonFace; }

  void moveViewWindow(const Rect& r) override { viewWindow = r; }
  void invalidateView() override {}
  void invalidateWindow() override { ++windowInvalidations; }
  void fillBackground(const Rect& r, Color color) override {
    fitScreen();
    for (int y = r.y; y < r.bottom(); ++y)
      for (int x = r.x; x < r.right(); ++x)
        if (onScreen(x, y)) screen.at(x, y) = toScreenPixel(color);
  }
  void presentView(const Rgb32Image& image) override {
    draw(Point{viewWindow.x, viewWindow.y}, image);
  }
  void present(Point at, const Rgb32Image& image) override { draw(at, image); }
  // As on the platform, a bar that appears or goes away changes the client size, and the window
  // hears of it at once.
  void setScrollBar(ScrollAxis axis, const ScrollBar& bar) override {
    ScrollBar& kept = bars[axis == ScrollAxis::Horizontal ? 0 : 1];
    const bool resized = kept.inUse() != bar.inUse();
    kept = bar;
    if (resized && onResize) onResize();
  }

  void setCaption(const std::string& text) override {
    caption = text;
    ++captionChanges;
  }
  void setCursor(ToolMode tool) override {
    cursor = tool;
    ++cursorChanges;
  }
  void capturePointer() override { captured = true; }
  void releasePointer() override { captured = false; }
  void enableMenuItem(int id, bool enabled) override { menuEnabled[id] = enabled; }
  void applyTranslucency(int on, int alpha) override {
    translucencyOn = on;
    translucencyAlpha = alpha;
  }
  void toggleMenuBar() override { menuBarShown = !menuBarShown; }
  void redrawWindow() override {}

 private:
  void fitScreen() {
    const Point c = clientSize();
    if (screen.width != c.x || screen.height != c.y) screen.assign(c.x, c.y, 0xDEADBEEFu);
  }
  bool onScreen(int x, int y) const {
    return x >= 0 && y >= 0 && x < screen.width && y < screen.height;
  }
  void draw(Point at, const Rgb32Image& image) {
    fitScreen();
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x)
        if (onScreen(at.x + x, at.y + y)) screen.at(at.x + x, at.y + y) = image.at(x, y);
  }
};

}  // namespace tenmark
