// Commands: key presses and right clicks matched against the bindings, menu items, and the
// actions of the commands that belong to the main window.
#include "app/menu_table.h"
#include "app/paper_model.h"
#include "shortcuts/dispatch_order.h"

namespace tenmark {

bool PaperModel::dispatchShortcut(KeyCode base) {
  const KeyStateQuery isKeyDown = keyState();
  const ShortcutMatch match =
      findShortcut(settings_.keyBindings, inputState(base, isKeyDown), isKeyDown);
  if (match.eraserMatched) refreshCursorOverClient();
  if (!match.command) return false;
  runCommand(*match.command);
  return true;
}

void PaperModel::refreshCursorOverClient() {
  const Point p = platform_.pointerPosition();
  const Point client = platform_.clientSize();
  if (p.x >= 0 && p.y >= 0 && p.x < client.x && p.y < client.y) refreshCursor();
}

bool PaperModel::menuCommand(int id) {
  const MenuItem* item = menuItemOf(id);
  if (!item) return false;
  runCommand(item->command);
  return true;
}

void PaperModel::runCommand(CommandId id) {
  try {
    if (endsPressFirst(id)) endPressInProgress();
    runCommandAction(id);
  } catch (const std::bad_alloc&) {
    // Every command takes its memory before it changes anything: without it, nothing happened
    // and the window goes on.
  }
}

// Commands that replace the picture or change all of it. Saving only reads it: a press goes on,
// and what it draws after the save marks the picture again.
bool PaperModel::endsPressFirst(CommandId id) {
  switch (id) {
    case CommandId::Undo:
    case CommandId::Redo:
    case CommandId::New:
    case CommandId::Open:
    case CommandId::VMirror:
    case CommandId::HMirror:
    case CommandId::Clear:
    case CommandId::Paste:
    case CommandId::Config:
      return true;
    default:
      return false;
  }
}

void PaperModel::runCommandAction(CommandId id) {
  switch (id) {
    case CommandId::Undo:
      undo();
      break;
    case CommandId::Redo:
      redo();
      break;
    case CommandId::ZoomUp:
      zoom(&CanvasView::zoomUp);
      break;
    case CommandId::ZoomDown:
      zoom(&CanvasView::zoomDown);
      break;
    case CommandId::ZoomNomal:
      zoom(&CanvasView::zoomNormal);
      break;
    case CommandId::Brush_P:
      stepSize(settings_.n_pen_size, +1);
      break;
    case CommandId::Brush_M:
      stepSize(settings_.n_pen_size, -1);
      break;
    case CommandId::Erase_P:
      stepSize(settings_.n_erase_size, +1);
      break;
    case CommandId::Erase_M:
      stepSize(settings_.n_erase_size, -1);
      break;
    case CommandId::SetPresser:
      togglePressure();
      break;
    case CommandId::Alpha:
      toggleTranslucency();
      break;
    case CommandId::ShowMenu:
      toggleMenuBar();
      break;
    case CommandId::New:
      newPicture();
      break;
    case CommandId::Open:
      openPicture();
      break;
    case CommandId::Save:
      document_.save();
      break;
    case CommandId::SaveAs:
      document_.saveAs();
      break;
    case CommandId::VMirror:
      mirror(UndoRing::Mirror::LeftRight);
      break;
    case CommandId::HMirror:
      mirror(UndoRing::Mirror::TopBottom);
      break;
    case CommandId::Resize:
      platform_.fitWindowToCanvas(canvas_.width(), canvas_.height());
      break;
    case CommandId::PopMenu:
      platform_.showPopupMenu();
      break;
    case CommandId::NoSaveExit:
      exitWithoutSaving();
      break;
    case CommandId::Clear:
      clearCanvas();
      break;
    case CommandId::Eraser:
    case CommandId::Hand:
    case CommandId::Move:
      refreshCursorOverClient();
      break;
    case CommandId::Copy:
      copyToClipboard();
      break;
    case CommandId::Paste:
      paste();
      break;
    case CommandId::Config:
      openSettingsDialog();
      break;
    case CommandId::KeyConf:
      openShortcutDialog();
      break;
  }
}

void PaperModel::exitWithoutSaving() {
  document_.discard();
  platform_.closeWindow();
}

void PaperModel::undo() {
  // With nothing to undo, or without memory for the step, the canvas and its mark are as they
  // were.
  if (!ring_.canUndo() || !ring_.undoStep(canvas_)) return;
  toolContext_.showUndoState();
  setModified(true);
  platform_.invalidateWindow();
}

void PaperModel::redo() {
  if (!ring_.canRedo() || !ring_.redoStep(canvas_)) return;
  toolContext_.showUndoState();
  setModified(true);
  platform_.invalidateWindow();
}

void PaperModel::zoom(void (CanvasView::*change)()) {
  (presenter_.view().*change)();
  onSize();
  updateCaption();
}

void PaperModel::mouseWheel(const WheelTurn& turn) {
  // A Hand press scrolls from where it began: a wheel in between would be undone by its next
  // move.
  if (pointerCaptured_ && toolMode_ == ToolMode::Hand) return;
  if (turn.zoom)
    zoomAround(turn.client, zoomWheel_.zoomNotches(turn.delta));
  else
    presenter_.wheelScroll(turn);
}

void PaperModel::zoomAround(Point client, int notches) {
  if (notches == 0) return;
  CanvasView& view = presenter_.view();
  const double before = view.zoomFactor();
  view.holdAnchor(client);
  for (; notches > 0; --notches) view.zoomUp();
  for (; notches < 0; ++notches) view.zoomDown();
  // Past either end of the range the view stays as it is.
  if (view.zoomFactor() == before) return;
  onSize();
  presenter_.scrollToAnchor();
  updateCaption();
}

void PaperModel::stepSize(int& size, int step) {
  const int next = size + step;
  if (next < kMinStrokeWidth || next > kMaxStrokeWidth) return;
  size = next;
  updateCaption();
}

void PaperModel::togglePressure() { settings_.b_PenPressure = settings_.b_PenPressure ? 0 : 1; }

void PaperModel::toggleTranslucency() {
  platform_.invalidateWindow();
  settings_.n_set_alpha = settings_.n_set_alpha ? 0 : 1;
  platform_.applyTranslucency(settings_.n_set_alpha, settings_.n_alpha);
  platform_.redrawWindow();
}

void PaperModel::toggleMenuBar() {
  platform_.invalidateWindow();
  platform_.toggleMenuBar();
  platform_.redrawWindow();
}

}  // namespace tenmark
