#include "canvas/undo_ring.h"

#include <algorithm>
#include <utility>

#include "platform/physical_memory.h"

namespace tenmark {

namespace {

int following(int slot) { return (slot + 1) % UndoRing::kSlots; }
int preceding(int slot) { return slot == 0 ? UndoRing::kSlots - 1 : slot - 1; }

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

std::span<std::uint8_t> bytesOf(MonoBitmap& b) { return {b.pixels(), b.byteCount()}; }

// The canvas's pixels traded for `other`'s; the canvas keeps its colours.
void tradePixels(MonoBitmap& canvas, MonoBitmap& other) {
  const Color background = canvas.getColor(0);
  const Color pen = canvas.getColor(1);
  std::swap(other, canvas);
  canvas.setColor(0, background);
  canvas.setColor(1, pen);
}

void flip(MonoBitmap& b, UndoRing::Mirror axis) {
  if (axis == UndoRing::Mirror::LeftRight)
    b.mirrorLeftRight();
  else
    b.mirrorTopBottom();
}

// The mirror over `area` at the top left: the whole canvas, or what a canvas of another size
// has there (after a resize), by way of a picture of the area's size.
bool mirrorArea(MonoBitmap& canvas, UndoRing::Mirror axis, const Rect& area) {
  if (area == canvasBounds(canvas)) {
    flip(canvas, axis);
    return true;
  }
  MonoBitmap part;
  if (!part.create(area.width, area.height)) return false;
  canvas.copyRectTo(area, part, Point{});
  flip(part, axis);
  part.copyRectTo(Rect{0, 0, area.width, area.height}, canvas, Point{});
  return true;
}

}  // namespace

std::size_t UndoRing::defaultCapBytes() {
  constexpr std::uint64_t kLeast = std::uint64_t(256) << 20;
  constexpr std::uint64_t kMost = std::uint64_t(2) << 30;
  return std::size_t(std::clamp(physicalMemoryBytes() / 8, kLeast, kMost));
}

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
  prepared_ = Record{};
  preparedReady_ = false;
  unsynced_ = Rect{};
  pendingRect_ = Edges{};
  recordPending_ = false;
  return true;
}

bool UndoRing::prepareWholeRecord(const MonoBitmap& canvas) {
  // A pending record goes first, as its own step; when it cannot be made, its pixels stay out of
  // the snapshot and the whole record joins it. Folded in, they would be beyond undo.
  if (pushPendingRecord(canvas) && !refreshSnapshot(canvas, Rect{})) return false;
  if (!preparedReady_) preparedReady_ = keepBefore(canvasBounds(canvas), prepared_);
  return preparedReady_;
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
  Record& slot = slots_[std::size_t(nextSlot_)];
  if (area == canvasBounds(canvas) && preparedReady_) {
    slot = std::move(prepared_);
    prepared_ = Record{};
    preparedReady_ = false;
  } else if (!keepBefore(area, slot)) {
    return false;
  }
  refreshSnapshot(canvas, Rect{});
  pendingRect_ = Edges{};
  recordPending_ = false;
  advance();
  return true;
}

bool UndoRing::keepBefore(const Rect& area, Record& record) {
  // Made beside the record, which may be a redo step that a failure must leave as it was.
  Record made;
  made.area = area;
  if (!area.empty()) {
    const std::size_t rowBytes = std::size_t(area.width + 7) / 8;
    const bool large = rowBytes * std::size_t(area.height) > memory_.chunkBytes;
    const bool fits = record.patch.hasPixels() && record.patch.width() == area.width &&
                      record.patch.height() == area.height;
    if (large && area == canvasBounds(canvasSnapshot_)) {
      // The snapshot is the whole "before" picture: encoded as it is, without a copy.
      if (!made.packed.pack(bytesOf(canvasSnapshot_), memory_.chunkBytes)) return false;
      made.kind = Record::Kind::Packed;
    } else {
      if (fits && !large)
        made.patch = std::move(record.patch);
      else if (!made.patch.create(area.width, area.height, MonoBitmap::InitialPixels::Unset))
        return false;
      canvasSnapshot_.copyRectTo(area, made.patch, Point{});
      if (large) {
        if (!made.packed.pack(bytesOf(made.patch), memory_.chunkBytes)) return false;
        made.patch.release();
        made.kind = Record::Kind::Packed;
      }
    }
  }
  record = std::move(made);
  return true;
}

void UndoRing::advance() {
  // A new record ends redo.
  if (canRedo())
    for (int s = following(nextSlot_); s != redoEnd_; s = following(s)) dropSlot(s);
  const int newest = nextSlot_;
  nextSlot_ = redoEnd_ = following(nextSlot_);
  if (oldestSlot_ == nextSlot_) {
    dropSlot(oldestSlot_);
    oldestSlot_ = following(nextSlot_);
  }
  dropOldestDownTo(newest);
}

void UndoRing::dropOldestDownTo(int kept) {
  while (oldestSlot_ != kept && recordBytes() > memory_.capBytes) {
    dropSlot(oldestSlot_);
    oldestSlot_ = following(oldestSlot_);
  }
}

std::size_t UndoRing::recordBytes() const {
  std::size_t total = 0;
  for (int s = oldestSlot_; s != redoEnd_; s = following(s))
    total += slots_[std::size_t(s)].bytes();
  return total;
}

bool UndoRing::swapWithCanvas(Record& record, MonoBitmap& canvas) {
  switch (record.kind) {
    case Record::Kind::Mirror:
      if (!mirrorArea(canvas, record.axis, record.area)) return false;
      break;
    case Record::Kind::Packed:
      if (!swapPacked(record, canvas)) return false;
      break;
    case Record::Kind::Patch:
      if (!swapPatch(record, canvas)) return false;
      break;
  }
  return refreshSnapshot(canvas, record.area);
}

bool UndoRing::swapPatch(Record& record, MonoBitmap& canvas) {
  MonoBitmap& patch = record.patch;
  const Rect& area = record.area;
  if (area == canvasBounds(canvas) && sameSize(patch, canvas)) {
    // A whole-canvas record trades its memory with the canvas.
    tradePixels(canvas, patch);
  } else if (patch.hasPixels()) {
    MonoBitmap temporary;
    if (!temporary.create(area.width, area.height)) return false;
    const Rect all{0, 0, area.width, area.height};
    canvas.copyRectTo(area, temporary, Point{});
    patch.copyRectTo(all, canvas, Point{area.x, area.y});
    temporary.copyRectTo(all, patch, Point{});
  }
  return true;
}

bool UndoRing::swapPacked(Record& record, MonoBitmap& canvas) {
  const Rect& area = record.area;
  MonoBitmap stored;
  if (!stored.create(area.width, area.height, MonoBitmap::InitialPixels::Unset) ||
      !record.packed.unpack(bytesOf(stored)))
    return false;
  PackedBytes now;
  if (area == canvasBounds(canvas)) {
    if (!now.pack(bytesOf(canvas), memory_.chunkBytes)) return false;
    tradePixels(canvas, stored);
  } else {
    // The canvas was resized under the record: its part of the area, paper elsewhere.
    MonoBitmap part;
    if (!part.create(area.width, area.height)) return false;
    canvas.copyRectTo(area, part, Point{});
    if (!now.pack(bytesOf(part), memory_.chunkBytes)) return false;
    stored.copyRectTo(Rect{0, 0, area.width, area.height}, canvas, Point{area.x, area.y});
  }
  record.packed = std::move(now);
  return true;
}

bool UndoRing::pushPendingRecord(const MonoBitmap& canvas) {
  return !recordPending_ || pushRecord(canvas) || !recordPending_;
}

bool UndoRing::mirrorCanvas(MonoBitmap& canvas, Mirror axis) {
  if (!pushPendingRecord(canvas) || !refreshSnapshot(canvas, Rect{})) return false;
  // The canvas first: a mirror that fails does so before it changes anything.
  flip(canvas, axis);
  Record& slot = slots_[std::size_t(nextSlot_)];
  slot = Record{};
  slot.kind = Record::Kind::Mirror;
  slot.axis = axis;
  slot.area = canvasBounds(canvas);
  refreshSnapshot(canvas, slot.area);
  advance();
  return true;
}

bool UndoRing::undoStep(MonoBitmap& canvas) {
  if (!pushPendingRecord(canvas) || !canUndo()) return false;
  const int slot = preceding(nextSlot_);
  if (!swapWithCanvas(slots_[std::size_t(slot)], canvas)) return false;
  nextSlot_ = slot;
  // Undo may have made its record larger: older records make room.
  dropOldestDownTo(nextSlot_);
  return true;
}

bool UndoRing::redoStep(MonoBitmap& canvas) {
  if (!pushPendingRecord(canvas) || !canRedo()) return false;
  if (!swapWithCanvas(slots_[std::size_t(nextSlot_)], canvas)) return false;
  dropOldestDownTo(nextSlot_);
  nextSlot_ = following(nextSlot_);
  return true;
}

bool UndoRing::resetRing(const MonoBitmap& canvas) {
  if (!takeSnapshot(canvas)) return false;
  for (Record& slot : slots_) slot = Record{};
  oldestSlot_ = redoEnd_ = nextSlot_ = 0;
  return true;
}

bool UndoRing::refreshSnapshot(const MonoBitmap& canvas, const Rect& changed) {
  if (!sameSize(canvasSnapshot_, canvas)) return takeSnapshot(canvas);
  const Rect area = intersect(unite(unsynced_, changed), canvasBounds(canvas));
  if (!area.empty()) {
    canvas.copyRectTo(area, canvasSnapshot_, Point{area.x, area.y});
    prepared_ = Record{};
    preparedReady_ = false;
  }
  copyColors(canvas, canvasSnapshot_);
  unsynced_ = Rect{};
  return true;
}

}  // namespace tenmark
