// Commands that change the whole canvas: the mirrors, clearing, and a new canvas size; and the
// menu labels that show the bindings.
#include <iterator>

#include "app/paper_model.h"
#include "resources/resource_ids.h"
#include "tenmark/texts.h"

namespace tenmark {

bool PaperModel::beginWholeCanvasChange() {
  endPressInProgress();
  return ring_.prepareWholeRecord(canvas_);
}

void PaperModel::recordWholeCanvas() {
  ring_.beginRecord(Rect{0, 0, canvas_.width(), int(canvas_.height())});
  ring_.pushRecord(canvas_);
  updateMenu();
}

void PaperModel::mirror(void (MonoBitmap::*flip)()) {
  if (!beginWholeCanvasChange()) return;
  (canvas_.*flip)();
  recordWholeCanvas();
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
  // The ring's records stay; every copy of theirs is clipped to the new canvas.
  if (!ring_.takeSnapshot(resized)) return false;
  canvas_ = std::move(resized);
  standInCanvas_ = false;
  platform_.fitWindowToCanvas(width, height);
  return true;
}

void PaperModel::updateMenuLabels() {
  struct Label {
    int id;
    CommandId command;
    const char* text;
  };
  static constexpr Label kLabels[] = {
      {ID_FILE_NEW, CommandId::New, text::MenuLabelNew},
      {ID_FILE_OPEN, CommandId::Open, text::MenuLabelOpen},
      {ID_FILE_SAVE, CommandId::Save, text::MenuLabelSave},
      {ID_FILE_SAVE_AS, CommandId::SaveAs, text::MenuLabelSaveAs},
      {ID_EDIT_UNDO, CommandId::Undo, text::MenuLabelUndo},
      {ID_EDIT_REDO, CommandId::Redo, text::MenuLabelRedo},
      {ID_EDIT_COPY, CommandId::Copy, text::MenuLabelCopy},
      {ID_EDIT_PASTE, CommandId::Paste, text::MenuLabelPaste},
      {ID_SETTINGS_CONFIG, CommandId::Config, text::MenuLabelConfig},
      {ID_SETTINGS_KEYCONF, CommandId::KeyConf, text::MenuLabelKeyConf},
      {ID_CANVAS_RESIZE, CommandId::Resize, text::MenuLabelResize},
      {ID_CANVAS_VMIRROR, CommandId::VMirror, text::MenuLabelVMirror},
      {ID_CANVAS_HMIRROR, CommandId::HMirror, text::MenuLabelHMirror},
      {ID_ZOOM_UP, CommandId::ZoomUp, text::MenuLabelZoomUp},
      {ID_ZOOM_DOWN, CommandId::ZoomDown, text::MenuLabelZoomDown},
      {ID_ZOOM_NOMAL, CommandId::ZoomNomal, text::MenuLabelZoomNomal},
  };
  // The sixteen items of the menus that show a binding, each once.
  static_assert(std::size(kLabels) == 16);
  for (const Label& label : kLabels)
    platform_.setMenuLabel(label.id, std::string(label.text) + "\t" +
                                         keyCodeName(settings_.keyBindings[label.command]));
}

}  // namespace tenmark
