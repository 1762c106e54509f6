#include "app/view_presenter.h"

#include <new>

#include "canvas/view_render.h"

namespace tenmark {

ViewPresenter::ViewPresenter(PaperPlatform& platform, const MonoBitmap& canvas,
                             const Settings& settings)
    : platform_(platform), canvas_(canvas), settings_(settings) {}

Color ViewPresenter::backgroundColor() const {
  return settings_.b_ClientDef ? platform_.buttonFaceColor() : Color(settings_.n_clnt_color);
}

void ViewPresenter::finishInitialisation() {
  view_.setLayoutEnabled(true);
  relayout();
}

void ViewPresenter::layoutView() {
  if (!view_.layoutEnabled()) return;
  const Point client = platform_.clientSize();
  platform_.moveViewWindow(view_.layout(client.x, client.y, canvas_.width(), canvas_.height()));
}

void ViewPresenter::relayout() {
  if (!view_.layoutEnabled()) return;
  layoutView();
  platform_.invalidateView();
}

void ViewPresenter::onSize() {
  Point client = platform_.clientSize();
  if (client.x <= 0 || client.y <= 0) return;
  view_.fitBar(ScrollAxis::Horizontal, client.x, canvas_.width());
  platform_.setScrollBar(ScrollAxis::Horizontal, view_.bar(ScrollAxis::Horizontal));
  // Adding or removing the horizontal bar changes the client height.
  client = platform_.clientSize();
  view_.fitBar(ScrollAxis::Vertical, client.y, canvas_.height());
  platform_.setScrollBar(ScrollAxis::Vertical, view_.bar(ScrollAxis::Vertical));
  relayout();
  platform_.invalidateWindow();
}

void ViewPresenter::onScroll(ScrollAxis axis, ScrollRequest request, int trackPosition) {
  if (!view_.scroll(axis, request, trackPosition)) return;
  platform_.setScrollBar(axis, view_.bar(axis));
  platform_.invalidateWindow();
}

void ViewPresenter::wheelScroll(const WheelTurn& turn) {
  const ScrollBar& bar = view_.bar(turn.axis);
  if (!bar.inUse()) {
    wheel_.forget(turn.axis);
    return;
  }
  const int pixels = wheel_.scrollPixels(turn, CanvasView::kLineStep, bar.page);
  if (pixels != 0) onScroll(turn.axis, ScrollRequest::ThumbTrack, bar.position + pixels);
}

void ViewPresenter::scrollToAnchor() {
  view_.scrollToAnchor();
  for (ScrollAxis axis : {ScrollAxis::Horizontal, ScrollAxis::Vertical}) {
    wheel_.forget(axis);
    if (view_.bar(axis).inUse()) platform_.setScrollBar(axis, view_.bar(axis));
  }
  platform_.invalidateWindow();
}

void ViewPresenter::paintMargins() {
  const Point client = platform_.clientSize();
  const Color background = backgroundColor();
  try {
    for (const Rect& strip : backgroundStrips(client.x, client.y, view_.viewRect()))
      platform_.fillBackground(strip, background);
  } catch (const std::bad_alloc&) {
    // The margins keep what they showed.
  }
}

void ViewPresenter::paintView(const Rect& update) {
  const Rect& v = view_.viewRect();
  try {
    presentViewArea(Rect{v.x + update.x, v.y + update.y, update.width, update.height}, viewImage_);
  } catch (const std::bad_alloc&) {
    // The screen keeps what it showed; the picture itself is untouched.
    viewImage_ = Rgb32Image{};
  }
}

void ViewPresenter::presentViewArea(const Rect& area, Rgb32Image& image) {
  // Any part of the view renders with the full repaint's mapping, so parts always fit together.
  const Rect part = renderViewArea(canvas_, view_, backgroundColor(), area, image);
  const Rect& v = view_.viewRect();
  if (!part.empty()) platform_.presentView(Point{part.x - v.x, part.y - v.y}, image);
}

Rect ViewPresenter::presentRect(const Rect& r) {
  const Rect snapped = view_.snapRect(r);
  try {
    presentViewArea(view_.clientRectOf(snapped), patchImage_);
  } catch (const std::bad_alloc&) {
    // Shown by the next repaint instead.
    platform_.invalidateView();
  }
  return snapped;
}

}  // namespace tenmark
