#include "canvas/undo_ring.h"

#include <algorithm>
#include <utility>

namespace tenmark {

namespace {

int following(int slot) { return (slot + 1) % UndoRing::kSlots; }

Rect canvasBounds(const MonoBitmap& canvas) {
  return Rect{0, 0, canvas.width(), int(canvas.height())};
}

bool sameSize(const MonoBitmap& a, const MonoBitmap& b) {
  return a.hasPixels() && a.width() == b.width() && a.height() == b.height();
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
  patchOrigins_[std::size_t(nextSlot_)] = Point{r.left, r.top};
  const bool wholeCanvas = r.left == 0 && r.top == 0 && w == canvas.width() &&
                           h == int(canvas.height()) && sameSize(canvasSnapshot_, canvas);
  if (wholeCanvas) {
    // The snapshot is the whole "before" picture: it becomes the slot as it is, and the slot's
    // memory takes the new snapshot, one copy instead of two.
    std::swap(slot, canvasSnapshot_);
    copyColors(canvas, slot);
    canvasSnapshot_.assign(canvas);
    unsynced_ = Rect{};
  } else {
    if (slot.width() != w || int(slot.height()) != h || !slot.hasPixels()) slot.create(w, h);
    copyColors(canvas, slot);
    canvasSnapshot_.copyRectTo(r.left, r.top, w, h, slot, 0, 0);
    refreshSnapshot(canvas, Rect{});
  }
  nextSlot_ = following(nextSlot_);
  redoEnd_ = nextSlot_;
  if (oldestSlot_ == nextSlot_) oldestSlot_ = following(nextSlot_);
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
  if (!sameSize(canvasSnapshot_, canvas)) {
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
