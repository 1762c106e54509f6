// Commands that change the whole canvas: the mirrors, clearing, and a new canvas size; and the
// menu labels that show the bindings.
#include "app/menu_table.h"
#include "app/paper_model.h"

namespace tenmark {

bool PaperModel::beginWholeCanvasChange() {
  endPressInProgress();
  return ring_.prepareWholeRecord(canvas_);
}

void PaperModel::recordWholeCanvas() {
  ring_.beginRecord(Rect{0, 0, canvas_.width(), canvas_.height()});
  ring_.pushRecord(canvas_);
  toolContext_.showUndoState();
}

void PaperModel::mirror(UndoRing::Mirror axis) {
  endPressInProgress();
  if (!ring_.mirrorCanvas(canvas_, axis)) return;
  toolContext_.showUndoState();
  setModified(true);
  platform_.invalidateWindow();
}

void PaperModel::clearCanvas() {
  if (!beginWholeCanvasChange()) return;
  // Clearing leaves the modified mark as it was; only its undo and redo set it.
  canvas_.fill(0);
  recordWholeCanvas();
  platform_.invalidateWindow();
}

bool PaperModel::resizeCanvas(int width, int height, Color background, Color pen) {
  MonoBitmap resized;
  if (!resized.create(width, height)) return false;
  resized.setColor(0, background);
  resized.setColor(1, pen);
  resized.copyAllFrom(canvas_);
  // The ring's records stay; every copy of theirs is clipped to the new canvas. A pending one
  // is pushed first: the new snapshot would leave it out.
  if (!ring_.pushPendingRecord(canvas_) || !ring_.takeSnapshot(resized)) return false;
  canvas_ = std::move(resized);
  standInCanvas_ = false;
  platform_.fitWindowToCanvas(width, height);
  return true;
}

void PaperModel::updateMenuLabels() {
  for (const MenuItem& item : menuItems())
    platform_.setMenuLabel(
        item.id, std::string(item.label) + "\t" + keyCodeName(settings_.keyBindings[item.command]));
}

}  // namespace tenmark
