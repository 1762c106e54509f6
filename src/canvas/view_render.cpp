#include "canvas/view_render.h"

#include <algorithm>
#include <cstdint>

namespace tenmark {

namespace {

// How many client pixels from the view's edge show canvas pixels along one axis: the rest of
// the view (past the canvas's far edge, or past the painted extent) shows the background.
int shownExtent(const ZoomRatio& r, int canvasExtent, int origin, int paintedExtent) {
  const std::int64_t reach = std::int64_t(canvasExtent - origin) * r.d;
  return int(std::clamp<std::int64_t>((reach + r.c - 1) / r.c, 0, paintedExtent));
}

void fillRect(Rgb32Image& image, int left, int top, int right, int bottom, std::uint32_t value) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, image.width);
  bottom = std::min(bottom, image.height);
  for (int y = top; y < bottom; ++y)
    std::fill(&image.at(left, y), &image.at(left, y) + std::max(right - left, 0), value);
}

}  // namespace

Rect renderViewArea(const MonoBitmap& canvas, const CanvasView& view, Color background,
                    const Rect& area, Rgb32Image& image) {
  const Rect& viewRect = view.viewRect();
  const Rect part = intersect(area, viewRect);
  if (part.empty()) return Rect{};
  image.reshape(part.width, part.height);
  const Rect source = view.paintSource(viewRect.width, viewRect.height);
  const Point size = view.paintTargetSize(source);
  // The target keeps the view window's origin, so every part uses the full repaint's mapping.
  const Point at{viewRect.x - part.x, viewRect.y - part.y};
  canvas.stretchTo(source, image, Rect{at.x, at.y, size.x, size.y});
  const ZoomRatio ratio = zoomRatioOf(view.zoomFactor());
  const int shownRight = at.x + shownExtent(ratio, canvas.width(), source.x, size.x);
  const int shownBottom = at.y + shownExtent(ratio, canvas.height(), source.y, size.y);
  const std::uint32_t paper = toScreenPixel(background);
  fillRect(image, shownRight, 0, image.width, shownBottom, paper);
  fillRect(image, 0, shownBottom, image.width, image.height, paper);
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
