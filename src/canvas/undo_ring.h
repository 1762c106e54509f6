#pragma once
// Ten levels of undo and redo that store only the rectangles that changed. A snapshot of the
// canvas as it stood after the last record gives each record its "before" pixels; undo and redo
// swap a slot's pixels with the canvas, so a slot holds "before" while undoable and "after"
// while redoable. A mirror is recorded as the mirror, which undoes itself; a record larger than a
// chunk is kept run-length encoded (canvas/byte_runs.h); and the records together stay within a
// cap, the oldest dropped first.
//
// Every change to the canvas must be reported through beginRecord/extendRecord (or be followed
// by takeSnapshot or resetRing): the snapshot is kept equal to the canvas by copying only the
// area reported since it was last brought up to date.

#include <array>
#include <cstddef>

#include "canvas/byte_runs.h"
#include "surface/geometry.h"
#include "surface/mono_bitmap.h"

namespace tenmark {

class UndoRing {
 public:
  static constexpr int kSlots = 11;

  struct Memory {
    // What the records together may hold; the newest record is kept even beyond it.
    std::size_t capBytes = defaultCapBytes();
    // A record larger than this is encoded, in chunks of this size.
    std::size_t chunkBytes = std::size_t(1) << 20;
  };
  // An eighth of the physical memory, within 256 MiB and 2 GiB.
  static std::size_t defaultCapBytes();

  enum class Mirror { LeftRight, TopBottom };

  UndoRing() = default;
  explicit UndoRing(const Memory& memory) : memory_(memory) {}

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
  // is the canvas as it stands now, and makes the record from it, so that pushRecord needs no
  // memory for it.
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
  // Mirrors the canvas as an undo step of its own, which holds no pixels; false, with nothing
  // changed, when a pending record cannot be taken in first.
  bool mirrorCanvas(MonoBitmap& canvas, Mirror axis);
  // Starts over on `canvas`, which may be a picture about to become the canvas.
  bool resetRing(const MonoBitmap& canvas);

  bool canUndo() const { return oldestSlot_ != nextSlot_ || recordPending_; }
  bool canRedo() const { return redoEnd_ != nextSlot_; }
  bool recordPending() const { return recordPending_; }
  int oldestSlot() const { return oldestSlot_; }
  const Edges& pendingRect() const { return pendingRect_; }
  const MonoBitmap& snapshot() const { return canvasSnapshot_; }
  // The memory the undo and redo records hold.
  std::size_t recordBytes() const;

 private:
  // One undo step: the pixels of its area as a bitmap or encoded, or a mirror of an area at the
  // top left.
  struct Record {
    enum class Kind { Patch, Packed, Mirror };
    Kind kind = Kind::Patch;
    Mirror axis = Mirror::LeftRight;
    Rect area;
    MonoBitmap patch;
    PackedBytes packed;

    std::size_t bytes() const { return patch.byteCount() + packed.storedBytes(); }
  };

  bool swapWithCanvas(Record& record, MonoBitmap& canvas);
  bool swapPatch(Record& record, MonoBitmap& canvas);
  bool swapPacked(Record& record, MonoBitmap& canvas);
  // The snapshot's pixels over `area` into `record`, keeping its bitmap when it fits.
  bool keepBefore(const Rect& area, Record& record);
  // Brings the snapshot up to date over `changed` and everything reported since the last time.
  bool refreshSnapshot(const MonoBitmap& canvas, const Rect& changed);
  // Makes the slot just filled the newest record: redo goes, and so do the oldest records over
  // the cap.
  void advance();
  // Drops the oldest records while the cap is passed, down to `kept`.
  void dropOldestDownTo(int kept);
  void dropSlot(int slot) { slots_[std::size_t(slot)] = Record{}; }

  Memory memory_;
  std::array<Record, kSlots> slots_;
  Edges pendingRect_;
  bool recordPending_ = false;
  MonoBitmap canvasSnapshot_;
  // The next whole-canvas record, made before the change from the snapshot as it then was; it
  // goes when the snapshot changes.
  Record prepared_;
  bool preparedReady_ = false;
  // Everything reported since the snapshot was last brought up to date, also by strokes that
  // ended without a record.
  Rect unsynced_;
  int nextSlot_ = 0;
  int oldestSlot_ = 0;
  int redoEnd_ = 0;
};

}  // namespace tenmark
