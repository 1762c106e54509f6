#include <algorithm>
#include <cstdlib>

#include "app/tool.h"
#include "resources/resource_ids.h"

namespace tenmark {

void ToolContext::showUndoState() const {
  platform.enableMenuItem(ID_EDIT_UNDO, ring.canUndo());
  platform.enableMenuItem(ID_EDIT_REDO, ring.canRedo());
}

int StrokeTool::width(int widthChange) const {
  const Settings& s = context_.settings;
  return strokeWidth(mode_, s.n_pen_size, s.n_erase_size, s.b_PenPressure != 0, widthChange);
}

void StrokeTool::press(Point client, int widthChange) {
  const int w = width(widthChange);
  const Point at = context_.presenter.view().clientToCanvas(client);
  last_ = at;
  context_.canvas.drawDot(at.x, at.y, w, strokeIndex(mode_));
  context_.ring.beginRecord(context_.presenter.presentRect(Rect{at.x - w, at.y - w, 2 * w, 2 * w}));
  context_.document.setModified(true);
}

void StrokeTool::drag(Point client, int widthChange) {
  const int w = width(widthChange);
  const Point at = context_.presenter.view().clientToCanvas(client);
  context_.canvas.drawLine(last_.x, last_.y, at.x, at.y, w, strokeIndex(mode_));
  const Rect r = context_.presenter.presentRect(
      Rect{std::min(last_.x, at.x) - w, std::min(last_.y, at.y) - w,
           std::abs(at.x - last_.x) + 2 * w, std::abs(at.y - last_.y) + 2 * w});
  last_ = at;
  context_.ring.extendRecord(r);
  context_.document.setModified(true);
}

void StrokeTool::release(bool commit) {
  // A stroke ended by a command keeps its record pending; Undo takes it back all the same.
  if (commit) context_.ring.pushRecord(context_.canvas);
  context_.showUndoState();
}

}  // namespace tenmark
