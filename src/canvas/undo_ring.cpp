#include "canvas/undo_ring.h"

#include <algorithm>
#include <utility>

namespace tenmark {

namespace {

int following(int slot) { return (slot + 1) % UndoRing::kSlots; }

Rect canvasBounds(const MonoBitmap& canvas) { return Rect{0, 0, canvas.width(), canvas.height()}; }

bool sameSize(const MonoBitmap& a, const MonoBitmap& b) {
  return a.hasPixels() && a.width() == b.width() && a.height() == b.height();
}

void copyColors(const MonoBitmap& from, MonoBitmap& to) {
  to.setColor(0, from.getColor(0));
  to.setColor(1, from.getColor(1));
}

Rect asRect(const UndoRing::Edges& e) {
  return Rect{e.left, e.top, e.right - e.left, e.bottom - e.top};
}

}  // namespace

bool UndoRing::takeSnapshot(const MonoBitmap& canvas) {
  if (sameSize(canvasSnapshot_, canvas)) {
    canvasSnapshot_.assign(canvas);
  } else {
    // Made beside the old one, so that a failure leaves the snapshot as it was.
    MonoBitmap copy;
    if (!copy.create(canvas.width(), canvas.height())) return false;
    copy.assign(canvas);
    canvasSnapshot_ = std::move(copy);
  }
  unsynced_ = Rect{};
  pendingRect_ = Edges{};
  recordPending_ = false;
  return true;
}

bool UndoRing::prepareWholeRecord(const MonoBitmap& canvas) {
  // A pending record goes first, as its own step; when it cannot be made, its pixels stay out of
  // the snapshot and the whole record joins it. Folded in, they would be beyond undo.
  if (pushPendingRecord(canvas) && !refreshSnapshot(canvas, Rect{})) return false;
  if (sameSize(spare_, canvas)) return true;
  // The slot past the newest record holds nothing that undo or redo can reach: its memory may
  // serve.
  MonoBitmap& free = patchSlots_[std::size_t(nextSlot_)];
  if (!canRedo() && sameSize(free, canvas)) {
    spare_ = std::move(free);
    return true;
  }
  return spare_.create(canvas.width(), canvas.height());
}

void UndoRing::extendRecord(const Rect& r) {
  unsynced_ = unite(unsynced_, r);
  if (!recordPending_) {
    pendingRect_ = Edges{r.x, r.y, r.x + r.width, r.y + r.height};
    recordPending_ = true;
    return;
  }
  pendingRect_.left = std::min(pendingRect_.left, r.x);
  pendingRect_.top = std::min(pendingRect_.top, r.y);
  pendingRect_.right = std::max(pendingRect_.right, r.x + r.width);
  pendingRect_.bottom = std::max(pendingRect_.bottom, r.y + r.height);
}

bool UndoRing::pushRecord(const MonoBitmap& canvas) {
  const Rect area = intersect(asRect(pendingRect_), canvasBounds(canvas));
  // Without a snapshot of this canvas there is no "before" to keep.
  if (!sameSize(canvasSnapshot_, canvas)) {
    takeSnapshot(canvas);
    return false;
  }
  // Kept clipped, so that a far-reaching area pending after a failure cannot grow without end.
  pendingRect_ = Edges{area.x, area.y, area.right(), area.bottom()};
  MonoBitmap& slot = patchSlots_[std::size_t(nextSlot_)];
  if (area == canvasBounds(canvas) && sameSize(spare_, canvas)) {
    // The snapshot is the whole "before" picture: it becomes the slot as it is, and the spare
    // memory takes the new snapshot, one copy instead of two.
    std::swap(slot, canvasSnapshot_);
    std::swap(canvasSnapshot_, spare_);
    spare_.release();
    canvasSnapshot_.assign(canvas);
    unsynced_ = Rect{};
  } else {
    if (!makeSlot(nextSlot_, area.width, area.height)) return false;
    canvasSnapshot_.copyRectTo(area, slot, Point{});
    refreshSnapshot(canvas, Rect{});
  }
  copyColors(canvas, slot);
  pendingRect_ = Edges{};
  recordPending_ = false;
  patchOrigins_[std::size_t(nextSlot_)] = Point{area.x, area.y};
  advance();
  redoEnd_ = nextSlot_;
  return true;
}

bool UndoRing::makeSlot(int index, int w, int h) {
  MonoBitmap& slot = patchSlots_[std::size_t(index)];
  if (w <= 0 || h <= 0) {
    // A record wholly outside the canvas: an undo step that changes nothing.
    slot.release();
    return true;
  }
  if (slot.hasPixels() && slot.width() == w && slot.height() == h) return true;
  MonoBitmap made;
  if (!made.create(w, h)) return false;
  slot = std::move(made);
  return true;
}

void UndoRing::advance() {
  nextSlot_ = following(nextSlot_);
  if (oldestSlot_ == nextSlot_) oldestSlot_ = following(nextSlot_);
}

bool UndoRing::swapWithCanvas(int slot, MonoBitmap& canvas) {
  MonoBitmap& patch = patchSlots_[std::size_t(slot)];
  const Point at = patchOrigins_[std::size_t(slot)];
  const int w = patch.width();
  const int h = patch.height();
  if (at == Point{} && sameSize(patch, canvas)) {
    // A whole-canvas record trades its memory with the canvas; the canvas keeps its colours.
    const Color background = canvas.getColor(0);
    const Color pen = canvas.getColor(1);
    std::swap(patch, canvas);
    canvas.setColor(0, background);
    canvas.setColor(1, pen);
  } else if (patch.hasPixels()) {
    MonoBitmap temporary;
    if (!temporary.create(w, h)) return false;
    canvas.copyRectTo(Rect{at.x, at.y, w, h}, temporary, Point{0, 0});
    patch.copyRectTo(Rect{0, 0, w, h}, canvas, Point{at.x, at.y});
    temporary.copyRectTo(Rect{0, 0, w, h}, patch, Point{0, 0});
  }
  return refreshSnapshot(canvas, Rect{at.x, at.y, w, h});
}

bool UndoRing::pushPendingRecord(const MonoBitmap& canvas) {
  return !recordPending_ || pushRecord(canvas) || !recordPending_;
}

bool UndoRing::undoStep(MonoBitmap& canvas) {
  if (!pushPendingRecord(canvas) || !canUndo()) return false;
  const int slot = nextSlot_ == 0 ? kSlots - 1 : nextSlot_ - 1;
  if (!swapWithCanvas(slot, canvas)) return false;
  nextSlot_ = slot;
  return true;
}

bool UndoRing::redoStep(MonoBitmap& canvas) {
  if (!pushPendingRecord(canvas) || !canRedo()) return false;
  if (!swapWithCanvas(nextSlot_, canvas)) return false;
  nextSlot_ = following(nextSlot_);
  return true;
}

bool UndoRing::resetRing(const MonoBitmap& canvas) {
  if (!takeSnapshot(canvas)) return false;
  for (MonoBitmap& slot : patchSlots_) slot.release();
  spare_.release();
  oldestSlot_ = redoEnd_ = nextSlot_ = 0;
  return true;
}

bool UndoRing::refreshSnapshot(const MonoBitmap& canvas, const Rect& changed) {
  if (!sameSize(canvasSnapshot_, canvas)) return takeSnapshot(canvas);
  const Rect area = intersect(unite(unsynced_, changed), canvasBounds(canvas));
  if (!area.empty()) canvas.copyRectTo(area, canvasSnapshot_, Point{area.x, area.y});
  copyColors(canvas, canvasSnapshot_);
  unsynced_ = Rect{};
  return true;
}

}  // namespace tenmark
