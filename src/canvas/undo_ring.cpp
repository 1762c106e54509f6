#include "canvas/undo_ring.h"

#include <algorithm>

namespace tenmark {

namespace {

int following(int slot) { return (slot + 1) % UndoRing::kSlots; }

Rect canvasBounds(const MonoBitmap& canvas) {
  return Rect{0, 0, canvas.width(), int(canvas.height())};
}

void copyColors(const MonoBitmap& from, MonoBitmap& to) {
  to.setColor(0, from.getColor(0));
  to.setColor(1, from.getColor(1));
}

}  // namespace

void UndoRing::takeSnapshot(const MonoBitmap& canvas) {
  canvasSnapshot_.assign(canvas);
  unsynced_ = Rect{};
  pendingRect_ = Edges{};
}

void UndoRing::beginRecord(const Rect& r) {
  pendingRect_ = Edges{r.x, r.y, r.x + r.width, r.y + r.height};
  unsynced_ = unite(unsynced_, r);
}

void UndoRing::extendRecord(const Rect& r) {
  pendingRect_.left = std::min(pendingRect_.left, r.x);
  pendingRect_.top = std::min(pendingRect_.top, r.y);
  pendingRect_.right = std::max(pendingRect_.right, r.x + r.width);
  pendingRect_.bottom = std::max(pendingRect_.bottom, r.y + r.height);
  unsynced_ = unite(unsynced_, r);
}

void UndoRing::pushRecord(const MonoBitmap& canvas) {
  const Edges r = pendingRect_;
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  MonoBitmap& slot = patchSlots_[std::size_t(nextSlot_)];
  if (slot.width() != w || int(slot.height()) != h || !slot.hasPixels()) slot.create(w, h);
  copyColors(canvas, slot);
  patchOrigins_[std::size_t(nextSlot_)] = Point{r.left, r.top};
  canvasSnapshot_.copyRectTo(r.left, r.top, w, h, slot, 0, 0);
  nextSlot_ = following(nextSlot_);
  redoEnd_ = nextSlot_;
  if (oldestSlot_ == nextSlot_) oldestSlot_ = following(nextSlot_);
  refreshSnapshot(canvas, Rect{});
  pendingRect_ = Edges{};
}

void UndoRing::swapWithCanvas(int slot, MonoBitmap& canvas) {
  MonoBitmap& patch = patchSlots_[std::size_t(slot)];
  const Point at = patchOrigins_[std::size_t(slot)];
  const int w = patch.width();
  const int h = int(patch.height());
  MonoBitmap temporary;
  temporary.create(w, h);
  copyColors(canvas, temporary);
  canvas.copyRectTo(at.x, at.y, w, h, temporary, 0, 0);
  patch.copyRectTo(0, 0, w, h, canvas, at.x, at.y);
  temporary.copyRectTo(0, 0, w, h, patch, 0, 0);
  refreshSnapshot(canvas, Rect{at.x, at.y, w, h});
}

bool UndoRing::undoStep(MonoBitmap& canvas) {
  if (!canUndo()) return false;
  nextSlot_ = nextSlot_ == 0 ? kSlots - 1 : nextSlot_ - 1;
  swapWithCanvas(nextSlot_, canvas);
  return true;
}

bool UndoRing::redoStep(MonoBitmap& canvas) {
  if (!canRedo()) return false;
  swapWithCanvas(nextSlot_, canvas);
  nextSlot_ = following(nextSlot_);
  return true;
}

void UndoRing::resetRing(const MonoBitmap& canvas) {
  for (MonoBitmap& slot : patchSlots_) slot.release();
  oldestSlot_ = redoEnd_ = nextSlot_ = 0;
  takeSnapshot(canvas);
}

void UndoRing::refreshSnapshot(const MonoBitmap& canvas, const Rect& changed) {
  if (canvasSnapshot_.width() != canvas.width() || canvasSnapshot_.height() != canvas.height() ||
      !canvasSnapshot_.hasPixels()) {
    canvasSnapshot_.assign(canvas);
    unsynced_ = Rect{};
    return;
  }
  const Rect area = intersect(unite(unsynced_, changed), canvasBounds(canvas));
  if (!area.empty())
    canvas.copyRectTo(area.x, area.y, area.width, area.height, canvasSnapshot_, area.x, area.y);
  copyColors(canvas, canvasSnapshot_);
  unsynced_ = Rect{};
}

}  // namespace tenmark
