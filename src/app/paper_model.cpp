#include "app/paper_model.h"

#include "app/caption.h"
#include "canvas/view_render.h"
#include "resources/resource_ids.h"

namespace tenmark {

PaperModel::PaperModel(PaperPlatform& platform, const char* versionText)
    : platform_(platform), versionText_(versionText) {}

KeyStateQuery PaperModel::keyState() const {
  return [this](int virtualKey) { return platform_.isKeyDown(virtualKey); };
}

Color PaperModel::backgroundColor() const {
  return settings_.b_ClientDef ? platform_.buttonFaceColor() : Color(settings_.n_clnt_color);
}

void PaperModel::resetUndoRing() {
  // Without memory for its snapshot the ring takes one at the next record.
  ring_.resetRing(canvas_);
  updateMenu();
}

void PaperModel::updateMenu() {
  platform_.enableMenuItem(ID_EDIT_UNDO, ring_.canUndo());
  platform_.enableMenuItem(ID_EDIT_REDO, ring_.canRedo());
}

void PaperModel::finishInitialisation() {
  view_.setLayoutEnabled(true);
  relayout();
}

void PaperModel::layoutView() {
  if (!view_.layoutEnabled()) return;
  const Point client = platform_.clientSize();
  platform_.moveViewWindow(
      view_.layout(client.x, client.y, canvas_.width(), int(canvas_.height())));
}

void PaperModel::relayout() {
  if (!view_.layoutEnabled()) return;
  layoutView();
  platform_.invalidateView();
}

void PaperModel::onSize() {
  Point client = platform_.clientSize();
  if (client.x <= 0 || client.y <= 0) return;
  view_.fitBar(ScrollAxis::Horizontal, client.x, canvas_.width());
  platform_.setScrollBar(ScrollAxis::Horizontal, view_.bar(ScrollAxis::Horizontal));
  // Adding or removing the horizontal bar changes the client height.
  client = platform_.clientSize();
  view_.fitBar(ScrollAxis::Vertical, client.y, int(canvas_.height()));
  platform_.setScrollBar(ScrollAxis::Vertical, view_.bar(ScrollAxis::Vertical));
  relayout();
  platform_.invalidateWindow();
}

void PaperModel::onScroll(ScrollAxis axis, ScrollRequest request, int trackPosition) {
  if (!view_.scroll(axis, request, trackPosition)) return;
  platform_.setScrollBar(axis, view_.bar(axis));
  platform_.invalidateWindow();
}

void PaperModel::paintMargins() {
  const Point client = platform_.clientSize();
  const Color background = backgroundColor();
  try {
    for (const Rect& strip : backgroundStrips(client.x, client.y, view_.viewRect()))
      platform_.fillBackground(strip, background);
  } catch (const std::bad_alloc&) {
    // The margins keep what they showed.
  }
}

void PaperModel::paintView(const Rect& update) {
  const Rect& v = view_.viewRect();
  try {
    presentViewArea(Rect{v.x + update.x, v.y + update.y, update.width, update.height}, viewImage_);
  } catch (const std::bad_alloc&) {
    // The screen keeps what it showed; the picture itself is untouched.
    viewImage_ = Rgb32Image{};
  }
}

void PaperModel::presentViewArea(const Rect& area, Rgb32Image& image) {
  // Any part of the view renders with the full repaint's mapping, so parts always fit together.
  const Rect part = renderViewArea(canvas_, view_, backgroundColor(), area, image);
  const Rect& v = view_.viewRect();
  if (!part.empty()) platform_.presentView(Point{part.x - v.x, part.y - v.y}, image);
}

Rect PaperModel::presentRect(const Rect& r) {
  const Rect snapped = view_.snapRect(r);
  try {
    presentViewArea(view_.clientRectOf(snapped), patchImage_);
  } catch (const std::bad_alloc&) {
    // Shown by the next repaint instead.
    platform_.invalidateView();
  }
  return snapped;
}

void PaperModel::setModified(bool value) {
  if (value && modified_) return;
  modified_ = value;
  // Saved or replaced: nothing is left for the end of the session to lose.
  if (!value) allowSessionEnd();
  updateCaption();
}

void PaperModel::updateCaption() {
  try {
    platform_.setCaption(
        captionText(CaptionFacts{versionText_, documentName_, modified_, view_.zoomFactor(),
                                 settings_.n_pen_size, settings_.n_erase_size}));
  } catch (const std::bad_alloc&) {
    // The caption catches up with the next change; the mark itself is kept.
  }
}

void PaperModel::makeTimestampName(const std::tm& local) {
  documentName_ = timestampName(local);
  setModified(false);
}

}  // namespace tenmark
