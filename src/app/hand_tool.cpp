#include "app/tool.h"

namespace tenmark {

void HandTool::press(Point client, int) {
  const CanvasView& view = context_.presenter.view();
  start_ = client;
  startScroll_ =
      Point{view.bar(ScrollAxis::Horizontal).position, view.bar(ScrollAxis::Vertical).position};
  active_ = true;
}

void HandTool::drag(Point client, int) {
  if (!active_) return;
  ViewPresenter& presenter = context_.presenter;
  presenter.onScroll(ScrollAxis::Horizontal, ScrollRequest::ThumbTrack,
                     startScroll_.x + start_.x - client.x);
  presenter.onScroll(ScrollAxis::Vertical, ScrollRequest::ThumbTrack,
                     startScroll_.y + start_.y - client.y);
}

void HandTool::release(bool) { active_ = false; }

}  // namespace tenmark
