#pragma once
// Ten levels of undo and redo that store only the rectangles that changed. A snapshot of the
// canvas as it stood after the last record gives each record its "before" pixels; undo and redo
// swap a slot's pixels with the canvas, so a slot holds "before" while undoable and "after"
// while redoable.
//
// Every change to the canvas must be reported through beginRecord/extendRecord (or be followed
// by takeSnapshot or resetRing): the snapshot is kept equal to the canvas by copying only the
// area reported since it was last brought up to date.

#include <array>

#include "surface/geometry.h"
#include "surface/mono_bitmap.h"

namespace tenmark {

class UndoRing {
 public:
  static constexpr int kSlots = 11;

  // Edges of an area in canvas pixels; may reach outside the canvas.
  struct Edges {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
  };

  // Every operation that needs memory for pixels returns false, with the ring as it was, when
  // that memory is not there.
  bool takeSnapshot(const MonoBitmap& canvas);
  // Before a change of the whole canvas: takes in a pending record first (as its own step, or,
  // when that cannot be made, by leaving its pixels out of the snapshot so that the whole record
  // joins it), folds everything else reported into the snapshot, so that the record's "before"
  // is the canvas as it stands now, and readies the memory that pushRecord needs for it.
  bool prepareWholeRecord(const MonoBitmap& canvas);
  // A record's area grows until it is pushed: a press that starts again before its release, or a
  // record that could not get its memory, stays one undo step with what follows.
  void beginRecord(const Rect& r) { extendRecord(r); }
  void extendRecord(const Rect& r);
  // The record, clipped to the canvas. Without memory nothing is recorded, and the area stays
  // pending, so that the next record (or the next undo) takes it in.
  bool pushRecord(const MonoBitmap& canvas);
  // False when there was nothing to undo (redo) or no memory for it; the canvas is then
  // unchanged. A pending area is recorded first, so that undo never tears it.
  bool undoStep(MonoBitmap& canvas);
  bool redoStep(MonoBitmap& canvas);
  // Pushes a record left pending (a stroke ended by a command, a failed push); false when it
  // still cannot be made. A new snapshot would otherwise drop it beyond undo.
  bool pushPendingRecord(const MonoBitmap& canvas);
  // Starts over on `canvas`, which may be a picture about to become the canvas.
  bool resetRing(const MonoBitmap& canvas);

  bool canUndo() const { return oldestSlot_ != nextSlot_ || recordPending_; }
  bool canRedo() const { return redoEnd_ != nextSlot_; }
  bool recordPending() const { return recordPending_; }
  int oldestSlot() const { return oldestSlot_; }
  const Edges& pendingRect() const { return pendingRect_; }
  const MonoBitmap& snapshot() const { return canvasSnapshot_; }

 private:
  bool swapWithCanvas(int slot, MonoBitmap& canvas);
  // Brings the snapshot up to date over `changed` and everything reported since the last time.
  bool refreshSnapshot(const MonoBitmap& canvas, const Rect& changed);
  // The slot's memory for a record of w × h, keeping the slot's own when it fits.
  bool makeSlot(int slot, int w, int h);
  void advance();

  std::array<MonoBitmap, kSlots> patchSlots_;
  std::array<Point, kSlots> patchOrigins_{};
  Edges pendingRect_;
  bool recordPending_ = false;
  MonoBitmap canvasSnapshot_;
  // Memory of the canvas's size for the next whole-canvas record's new snapshot.
  MonoBitmap spare_;
  // Everything reported since the snapshot was last brought up to date, also by strokes that
  // ended without a record.
  Rect unsynced_;
  int nextSlot_ = 0;
  int oldestSlot_ = 0;
  int redoEnd_ = 0;
};

}  // namespace tenmark
