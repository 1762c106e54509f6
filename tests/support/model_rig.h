#pragma once
// A main-window model on a fake platform, set up as start-up leaves it: a blank canvas, an
// empty undo ring, the view laid out and painted once.

#include "app/paper_model.h"
#include "support/fake_platform.h"
#include "support/test_surfaces.h"
#include "tenmark/texts.h"

namespace tenmark {

inline constexpr Color kPaper = 0xEAF1F4;
inline constexpr Color kInk = 0x000000;

struct ModelRig {
  FakePlatform platform;
  PaperModel model{platform, text::VersionText};

  explicit ModelRig(int width = 640, int height = 480, Point area = Point{800, 600}) {
    platform.area = area;
    platform.onResize = [this] { model.onSize(); };
    model.canvas() = canvasOf(width, height, kPaper, kInk);
    model.resetUndoRing();
    model.finishInitialisation();
    model.onSize();
    paint();
  }

  // What the window does on a repaint of all of it: the main window's paint, then the view
  // window's.
  void paint() {
    model.paintMargins();
    model.paintView(Rect{0, 0, platform.viewWindow.width, platform.viewWindow.height});
  }

  // The client point over a canvas point, at zoom 1.0 without scrolling.
  Point at(int x, int y) const {
    return Point{platform.viewWindow.x + x, platform.viewWindow.y + y};
  }

  void stroke(std::initializer_list<Point> canvasPoints) {
    auto it = canvasPoints.begin();
    model.leftButtonDown(at(it->x, it->y));
    for (++it; it != canvasPoints.end(); ++it) model.pointerMoved(at(it->x, it->y));
    const Point last = *(canvasPoints.end() - 1);
    model.leftButtonUp(at(last.x, last.y));
  }

  void zoomTo(double zoom) {
    while (model.view().zoomFactor() > zoom) model.runCommand(CommandId::ZoomDown);
    while (model.view().zoomFactor() < zoom) model.runCommand(CommandId::ZoomUp);
  }

  // What a full repaint shows now, on a screen of its own.
  Rgb32Image repaintedScreen() {
    const Rgb32Image kept = platform.screen;
    platform.screen = Rgb32Image{};
    paint();
    Rgb32Image fresh = platform.screen;
    platform.screen = kept;
    return fresh;
  }
};

}  // namespace tenmark
