// Pointer input: the tool of a press, strokes with the pen and the eraser, Move and Hand drags,
// and the mouse messages that lead to them.
#include <algorithm>
#include <cstdlib>

#include "app/paper_model.h"

namespace tenmark {

bool PaperModel::mouseGuarded() const { return tablet_.inProximity || tablet_.tabletStroke; }

void PaperModel::leftButtonDown(Point p) {
  if (mouseGuarded() || pointerCaptured_) return;
  pointerDown(p, 0);
}

void PaperModel::pointerMoved(Point p) {
  if (mouseGuarded() || !pointerCaptured_) return;
  pointerDrag(p, 0);
}

void PaperModel::leftButtonUp(Point) {
  if (tablet_.tabletStroke || !pointerCaptured_) return;
  pointerUp(true);
}

void PaperModel::rightButtonDown(Point p) {
  if (mouseGuarded() || offerRightClick()) return;
  rightButtonHeld_ = true;
  pointerDown(p, 0);
}

void PaperModel::rightButtonUp(Point) {
  rightButtonHeld_ = false;
  if (mouseGuarded() || !pointerCaptured_) return;
  pointerUp(true);
}

void PaperModel::captureLost() {
  if (!pointerCaptured_) return;
  // The capture is gone already: nothing to give back, and the button-up may never come.
  pointerCaptured_ = false;
  rightButtonHeld_ = false;
  endPress(true);
}

bool PaperModel::offerRightClick() {
  if (!dispatchShortcut(kRightClick)) return false;
  if (pointerCaptured_) pointerUp(false);
  return true;
}

void PaperModel::endPressInProgress() {
  if (!pointerCaptured_) return;
  // The button may still be down, but this press is over.
  rightButtonHeld_ = false;
  pointerUp(true);
}

void PaperModel::refreshCursor() {
  toolMode_ = selectTool(pointerCaptured_, toolMode_, rightButtonHeld_ || tablet_.eraserActive,
                         settings_.keyBindings, keyState());
  platform_.setCursor(toolMode_);
}

bool PaperModel::pointerDown(Point p, int widthChange) {
  const Point client = platform_.clientSize();
  if (p.x < 0 || p.y < 0 || p.x >= client.x || p.y >= client.y) return false;
  refreshCursor();
  // Move needs its memory before the press can start.
  if (toolMode_ == ToolMode::Move && !prepareMove()) return false;
  if (!pointerCaptured_) {
    pointerCaptured_ = true;
    platform_.capturePointer();
  }
  switch (toolMode_) {
    case ToolMode::Pen:
    case ToolMode::Eraser:
      beginStroke(p, widthChange);
      break;
    case ToolMode::Move:
      beginMove(p);
      break;
    case ToolMode::Hand:
      beginHand(p);
      break;
  }
  return true;
}

void PaperModel::pointerDrag(Point p, int widthChange) {
  if (!pointerCaptured_) return;
  switch (toolMode_) {
    case ToolMode::Pen:
    case ToolMode::Eraser:
      continueStroke(p, widthChange);
      break;
    case ToolMode::Move:
      dragMove(p);
      break;
    case ToolMode::Hand:
      dragHand(p);
      break;
  }
}

void PaperModel::pointerUp(bool commit) {
  if (pointerCaptured_) {
    // Cleared first: giving the capture back reports a capture change to this window.
    pointerCaptured_ = false;
    platform_.releasePointer();
  }
  endPress(commit);
}

void PaperModel::endPress(bool commit) {
  // However the press ends, a pen press ends with it.
  tablet_.tabletStroke = false;
  switch (toolMode_) {
    case ToolMode::Pen:
    case ToolMode::Eraser:
      if (!commit) break;
      ring_.pushRecord(canvas_);
      updateMenu();
      break;
    case ToolMode::Move:
      endMove();
      break;
    case ToolMode::Hand:
      dragActive_ = false;
      break;
  }
}

int PaperModel::currentStrokeWidth(int widthChange) const {
  return strokeWidth(toolMode_, settings_.n_pen_size, settings_.n_erase_size,
                     settings_.b_PenPressure != 0, widthChange);
}

void PaperModel::beginStroke(Point p, int widthChange) {
  const int w = currentStrokeWidth(widthChange);
  const Point at = view_.clientToCanvas(p);
  lastPoint_ = at;
  canvas_.drawDot(at.x, at.y, w, strokeIndex(toolMode_));
  ring_.beginRecord(presentRect(Rect{at.x - w, at.y - w, 2 * w, 2 * w}));
  setModified(true);
}

void PaperModel::continueStroke(Point p, int widthChange) {
  const int w = currentStrokeWidth(widthChange);
  const Point at = view_.clientToCanvas(p);
  canvas_.drawLine(lastPoint_.x, lastPoint_.y, at.x, at.y, w, strokeIndex(toolMode_));
  const Rect r = presentRect(
      Rect{std::min(lastPoint_.x, at.x) - w, std::min(lastPoint_.y, at.y) - w,
           std::abs(at.x - lastPoint_.x) + 2 * w, std::abs(at.y - lastPoint_.y) + 2 * w});
  lastPoint_ = at;
  ring_.extendRecord(r);
  setModified(true);
}

bool PaperModel::prepareMove() {
  if (!ring_.prepareWholeRecord(canvas_)) return false;
  if (moveBuffer_.width() != canvas_.width() || moveBuffer_.height() != canvas_.height() ||
      !moveBuffer_.hasPixels())
    return moveBuffer_.create(canvas_.width(), int(canvas_.height()));
  return true;
}

void PaperModel::beginMove(Point p) {
  dragStart_ = p;
  dragActive_ = true;
  moveBuffer_.assign(canvas_);
  setModified(true);
  ring_.beginRecord(Rect{0, 0, canvas_.width(), int(canvas_.height())});
}

void PaperModel::dragMove(Point p) {
  if (!dragActive_) return;
  const int dx = view_.toCanvas(p.x - dragStart_.x);
  const int dy = view_.toCanvas(p.y - dragStart_.y);
  // Each position starts again from the picture at the press, so nothing pushed over the edge
  // is lost until the release.
  canvas_.copyShiftedFrom(moveBuffer_, dx, dy);
  setModified(true);
  platform_.invalidateView();
}

void PaperModel::endMove() {
  dragActive_ = false;
  ring_.pushRecord(canvas_);
  updateMenu();
}

void PaperModel::beginHand(Point p) {
  dragStart_ = p;
  dragStartScroll_ =
      Point{view_.bar(ScrollAxis::Horizontal).position, view_.bar(ScrollAxis::Vertical).position};
  dragActive_ = true;
}

void PaperModel::dragHand(Point p) {
  if (!dragActive_) return;
  onScroll(ScrollAxis::Horizontal, ScrollRequest::ThumbTrack,
           dragStartScroll_.x + dragStart_.x - p.x);
  onScroll(ScrollAxis::Vertical, ScrollRequest::ThumbTrack,
           dragStartScroll_.y + dragStart_.y - p.y);
}

}  // namespace tenmark
