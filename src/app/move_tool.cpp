#include "app/tool.h"

namespace tenmark {

bool MoveTool::prepare() {
  const MonoBitmap& canvas = context_.canvas;
  if (!context_.ring.prepareWholeRecord(canvas)) return false;
  if (pressed_.hasPixels() && pressed_.width() == canvas.width() &&
      pressed_.height() == canvas.height())
    return true;
  return pressed_.create(canvas.width(), canvas.height());
}

void MoveTool::press(Point client, int) {
  start_ = client;
  active_ = true;
  pressed_.assign(context_.canvas);
  context_.document.setModified(true);
  context_.ring.beginRecord(Rect{0, 0, context_.canvas.width(), context_.canvas.height()});
}

void MoveTool::drag(Point client, int) {
  if (!active_) return;
  const CanvasView& view = context_.presenter.view();
  // Each position starts again from the picture at the press, so nothing pushed over the edge
  // is lost until the release.
  context_.canvas.copyShiftedFrom(pressed_, view.toCanvas(client.x - start_.x),
                                  view.toCanvas(client.y - start_.y));
  context_.document.setModified(true);
  context_.platform.invalidateView();
}

void MoveTool::release(bool) {
  active_ = false;
  context_.ring.pushRecord(context_.canvas);
  context_.showUndoState();
}

}  // namespace tenmark
