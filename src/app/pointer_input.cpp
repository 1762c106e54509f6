// Pointer input: the mouse messages, the capture and the guards around a press, and the tool
// that each press belongs to.
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
  // Also with the pen near: a mouse press never outlives its button.
  if (tablet_.tabletStroke || !pointerCaptured_) return;
  pointerUp(true);
}

void PaperModel::captureLost() {
  if (!pointerCaptured_) return;
  // The capture is gone already: nothing to give back, and the button-up may never come.
  pointerCaptured_ = false;
  endPress(true);
}

bool PaperModel::offerRightClick() {
  if (!dispatchShortcut(kRightClick)) return false;
  if (pointerCaptured_) pointerUp(false);
  return true;
}

void PaperModel::endPressInProgress() {
  if (pointerCaptured_) pointerUp(true);
}

void PaperModel::refreshCursor() {
  toolMode_ = selectTool(pointerCaptured_, toolMode_, rightButtonHeld_ || tablet_.eraserActive,
                         settings_.keyBindings, keyState());
  platform_.setCursor(toolMode_);
}

Tool& PaperModel::toolOfPress() {
  switch (toolMode_) {
    case ToolMode::Eraser:
      return eraser_;
    case ToolMode::Move:
      return move_;
    case ToolMode::Hand:
      return hand_;
    case ToolMode::Pen:
      break;
  }
  return pen_;
}

bool PaperModel::pointerDown(Point p, int widthChange) {
  const Point client = platform_.clientSize();
  if (p.x < 0 || p.y < 0 || p.x >= client.x || p.y >= client.y) return false;
  refreshCursor();
  Tool& tool = toolOfPress();
  // A second button starts the press again on the tool it has, which is prepared already: its
  // undo record goes on from the first press.
  if (!pointerCaptured_) {
    if (!tool.prepare()) return false;
    pointerCaptured_ = true;
    platform_.capturePointer();
  }
  tool.press(p, widthChange);
  return true;
}

void PaperModel::pointerDrag(Point p, int widthChange) {
  if (pointerCaptured_) toolOfPress().drag(p, widthChange);
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
  // However the press ends, the buttons and the pen it held end with it: a button that comes up
  // outside the window afterwards is never heard of.
  tablet_.tabletStroke = false;
  rightButtonHeld_ = false;
  toolOfPress().release(commit);
}

}  // namespace tenmark
