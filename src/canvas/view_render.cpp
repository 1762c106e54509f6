#include "canvas/view_render.h"

namespace tenmark {

Rect renderViewArea(const MonoBitmap& canvas, const CanvasView& view, Color background,
                    const Rect& area, Rgb32Image& image) {
  const Rect& viewRect = view.viewRect();
  const Rect part = intersect(area, viewRect);
  if (part.empty()) return Rect{};
  image.assign(part.width, part.height, toScreenPixel(background));
  const Rect source = view.paintSource(viewRect.width, viewRect.height);
  const Point size = view.paintTargetSize(source);
  // The target keeps the view window's origin, so every part uses the full repaint's mapping.
  canvas.stretchTo(source.x, source.y, source.width, source.height, image, viewRect.x - part.x,
                   viewRect.y - part.y, size.x, size.y);
  return part;
}

std::vector<Rect> backgroundStrips(int clientWidth, int clientHeight, const Rect& view) {
  std::vector<Rect> strips;
  const auto add = [&](int left, int top, int right, int bottom) {
    if (right > left && bottom > top) strips.push_back(Rect{left, top, right - left, bottom - top});
  };
  if (clientWidth > view.right()) {
    add(0, 0, view.x, clientHeight);
    add(view.right(), 0, clientWidth, clientHeight);
  }
  if (clientHeight > view.bottom()) {
    add(view.x, 0, clientWidth, view.y);
    add(view.x, view.bottom(), clientWidth, clientHeight);
  }
  return strips;
}

}  // namespace tenmark
