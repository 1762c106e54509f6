#include "canvas/canvas_view.h"

#include <algorithm>

namespace tenmark {

ZoomRatio zoomRatioOf(double zoomFactor) {
  static constexpr struct {
    double zoom;
    ZoomRatio ratio;
  } kTable[] = {
      {0.25, {4, 1, 1, 4}}, {0.5, {2, 1, 1, 2}}, {0.75, {4, 3, 3, 4}}, {1.0, {1, 1, 1, 1}},
      {1.25, {4, 5, 5, 4}}, {1.5, {2, 3, 3, 2}}, {1.75, {4, 7, 7, 4}}, {2.0, {1, 2, 1, 1}},
  };
  for (const auto& entry : kTable)
    if (entry.zoom == zoomFactor) return entry.ratio;
  return ZoomRatio{1, 1, 1, 1};
}

void CanvasView::setZoom(double zoom) {
  zoomFactor_ = zoom;
  ratio_ = zoomRatioOf(zoom);
}

void CanvasView::zoomUp() { setZoom(std::min(zoomFactor_ + kZoomStep, kMaxZoom)); }
void CanvasView::zoomDown() { setZoom(std::max(zoomFactor_ - kZoomStep, kMinZoom)); }
void CanvasView::zoomNormal() { setZoom(1.0); }

Point CanvasView::snapScroll(int h, int v) const {
  const int s = ratio_.scrollStep;
  return Point{h / s * s, v / s * s};
}

Point CanvasView::padExtent(int w, int h) const {
  const int g = ratio_.canvasStep;
  if (g == 1) return Point{w, h};
  return Point{w / g * g + g, h / g * g + g};
}

Rect CanvasView::snapRect(const Rect& r) const {
  const int g = ratio_.canvasStep;
  if (g == 1) return r;
  return Rect{r.x / g * g, r.y / g * g, (r.width / g + 2) * g, (r.height / g + 2) * g};
}

// Snapping down at the bar's largest position can leave the canvas's last column (row) short of
// the view for good: the bar goes no further. There the position goes up to the next step
// instead, which stays on the grid and shows that column as long as the view is wider than one
// step; where the step below already shows it, nothing changes.
int CanvasView::snappedPosition(const ScrollBar& b, int canvasExtent) const {
  const int s = ratio_.scrollStep;
  const int down = b.position / s * s;
  if (down == b.position || b.position != b.largestPosition()) return down;
  // The last client pixel in view shows the canvas pixels from its own toCanvas up to the next
  // pixel's, and at least one.
  const int last = down + b.page - 1;
  if (std::max(toCanvas(last) + 1, toCanvas(last + 1)) >= canvasExtent) return down;
  return down + s;
}

Point CanvasView::viewOrigin() const {
  return Point{toCanvas(snappedPosition(hbar_, canvasWidth_)),
               toCanvas(snappedPosition(vbar_, canvasHeight_))};
}

Point CanvasView::clientToCanvas(Point client) const {
  const Point origin = viewOrigin();
  return Point{toCanvas(client.x - viewRect_.x) + origin.x,
               toCanvas(client.y - viewRect_.y) + origin.y};
}

Rect CanvasView::clientRectOf(const Rect& snapped) const {
  const Point origin = viewOrigin();
  return Rect{toClient(snapped.x - origin.x) + viewRect_.x,
              toClient(snapped.y - origin.y) + viewRect_.y, toClient(snapped.width),
              toClient(snapped.height)};
}

Rect CanvasView::paintSource(int viewWidth, int viewHeight) const {
  const Point origin = viewOrigin();
  const Point size = padExtent(toCanvas(viewWidth), toCanvas(viewHeight));
  return Rect{origin.x, origin.y, size.x, size.y};
}

Point CanvasView::paintTargetSize(const Rect& source) const {
  return Point{toClient(source.width), toClient(source.height)};
}

const Rect& CanvasView::layout(int clientWidth, int clientHeight, int canvasWidth,
                               int canvasHeight) {
  if (!layoutEnabled_) return viewRect_;
  const int cw = toClient(canvasWidth);
  const int ch = toClient(canvasHeight);
  viewRect_.x = clientWidth > cw ? (clientWidth - cw) / 2 : 0;
  viewRect_.y = clientHeight > ch ? (clientHeight - ch) / 2 : 0;
  viewRect_.width = std::max(0, std::min(clientWidth, cw));
  viewRect_.height = std::max(0, std::min(clientHeight, ch));
  return viewRect_;
}

void CanvasView::fitBar(ScrollAxis axis, int clientExtent, int canvasExtent) {
  ScrollBar& b = bar(axis);
  (axis == ScrollAxis::Horizontal ? canvasWidth_ : canvasHeight_) = canvasExtent;
  const int zoomed = toClient(canvasExtent);
  if (clientExtent < zoomed)
    b.set(zoomed, clientExtent, b.position);
  else
    b.set(0, 0, b.position);
}

bool CanvasView::scroll(ScrollAxis axis, ScrollRequest request, int trackPosition) {
  ScrollBar& b = bar(axis);
  if (!b.inUse()) return false;
  int position = b.position;
  switch (request) {
    case ScrollRequest::LineBack:
      position -= kLineStep;
      break;
    case ScrollRequest::LineForward:
      position += kLineStep;
      break;
    case ScrollRequest::PageBack:
      position -= b.page;
      break;
    case ScrollRequest::PageForward:
      position += b.page;
      break;
    case ScrollRequest::ThumbTrack:
      position = trackPosition;
      break;
    case ScrollRequest::Other:
      break;
  }
  b.position = std::clamp(position, b.minimum, std::max(b.minimum, b.maximum - b.page + 1));
  return true;
}

CanvasView::ViewState CanvasView::state() const {
  return ViewState{zoomFactor_, Point{hbar_.position, vbar_.position}, viewRect_};
}

void CanvasView::holdAnchor(Point client) {
  if (anchor_.held && anchor_.client == client && anchor_.view == state()) return;
  // The middle of the pointer's pixel, (position + offset + 1/2) * c / d, kept as a fraction
  // so that it converts to every zoom without rounding.
  const std::int64_t pixel[2] = {std::int64_t{hbar_.position} + client.x - viewRect_.x,
                                 std::int64_t{vbar_.position} + client.y - viewRect_.y};
  for (int i = 0; i < 2; ++i) anchor_.numerator[i] = (2 * pixel[i] + 1) * ratio_.c;
  anchor_.denominator = 2 * std::int64_t{ratio_.d};
  anchor_.client = client;
  anchor_.view = state();
  anchor_.held = true;
}

int CanvasView::anchoredPosition(ScrollAxis axis) const {
  const bool h = axis == ScrollAxis::Horizontal;
  // The client pixel, counted from the canvas's edge, that holds the point at this zoom.
  const std::int64_t pixel =
      floorDiv(anchor_.numerator[h ? 0 : 1] * ratio_.d, anchor_.denominator * ratio_.c);
  return int(pixel - (h ? anchor_.client.x - viewRect_.x : anchor_.client.y - viewRect_.y));
}

void CanvasView::scrollToAnchor() {
  for (ScrollAxis axis : {ScrollAxis::Horizontal, ScrollAxis::Vertical})
    scroll(axis, ScrollRequest::ThumbTrack, anchoredPosition(axis));
  anchor_.view = state();
}

}  // namespace tenmark
