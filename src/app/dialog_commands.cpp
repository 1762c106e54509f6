// The commands that open the environment settings and shortcut-key dialogs, and how the window
// takes over what the user confirmed.
#include "app/paper_model.h"
#include "tenmark/texts.h"

namespace tenmark {

void PaperModel::openSettingsDialog() {
  const Settings& s = settings_;
  const SettingsDialogValues current{
      .canvasWidth = canvas_.width(),
      .canvasHeight = canvas_.height(),
      .backgroundColor = canvas_.getColor(0),
      .penColor = canvas_.getColor(1),
      .clientColor = Color(s.n_clnt_color),
      .useSystemColor = s.b_ClientDef,
      .saveFolder = s.saveFolder,
      .saveOnExit = s.n_save_img,
      .saveFormat = s.n_save_type,
      .ignoreTabletXY = s.b_IgnoreTabXY,
      .translucency = s.n_alpha,
      .translucent = s.n_set_alpha,
      .penSize = s.n_pen_size,
      .eraserSize = s.n_erase_size,
      .pressureSensing = s.b_PenPressure,
      .hardness = s.n_PenHardness,
  };
  const std::optional<SettingsDialogValues> chosen = platform_.runSettingsDialog(
      current,
      [this](const CanvasSize& size) { return canvas_.hasInkOutside(size.width, size.height); });
  if (chosen) {
    applySettingsDialog(*chosen);
    return;
  }
  // Undoes the dialog's preview.
  platform_.applyTranslucency(settings_.n_set_alpha, settings_.n_alpha);
}

void PaperModel::applySettingsDialog(const SettingsDialogValues& v) {
  if (v.backgroundColor != canvas_.getColor(0)) canvas_.setColor(0, v.backgroundColor);
  if (v.penColor != canvas_.getColor(1)) canvas_.setColor(1, v.penColor);
  Settings& s = settings_;
  s.n_clnt_color = std::int32_t(v.clientColor);
  s.b_ClientDef = v.useSystemColor;
  s.saveFolder = v.saveFolder;
  s.n_save_img = v.saveOnExit;
  s.n_save_type = v.saveFormat;
  s.n_alpha = v.translucency;
  s.n_set_alpha = v.translucent;
  s.n_pen_size = v.penSize;
  s.n_erase_size = v.eraserSize;
  s.b_PenPressure = v.pressureSensing;
  s.n_PenHardness = v.hardness;
  s.b_IgnoreTabXY = v.ignoreTabletXY;
  if (v.canvasWidth != canvas_.width() || v.canvasHeight != canvas_.height()) {
    // Memory for the new size may not be there: the picture then stays as it was.
    if (resizeCanvas(v.canvasWidth, v.canvasHeight, v.backgroundColor, v.penColor)) {
      setModified(true);
      onSize();
    } else {
      platform_.showMessage(text::CanvasSizeTooLarge);
    }
  }
  platform_.applyTranslucency(s.n_set_alpha, s.n_alpha);
  documentChanged();
  platform_.invalidateWindow();
  platform_.redrawWindow();
}

void PaperModel::openShortcutDialog() {
  const std::optional<KeyBindings> chosen = platform_.runShortcutDialog(settings_.keyBindings);
  if (!chosen) return;
  settings_.keyBindings = *chosen;
  updateMenuLabels();
  // Relabelling enables every relabelled item, Undo and Redo included.
  toolContext_.showUndoState();
}

}  // namespace tenmark
