// The pens' side of the main window: which interface drives the pen (Wintab, Windows Ink or
// none), its packets and frames handed to the model, and the packet queue thrown away.
#include "app/paper_window_win32.h"

namespace tenmark {

void PaperWindow::openTablet() {
  // The system's pen gestures would take presses away from either interface.
  const bool inkPresent = pens_.open();
  pens_.quietGestures(hwnd());
  pens_.quietGestures(viewWindow_);
  // Without a tablet the mouse works alone; nothing is said.
  const std::int32_t choice = model_.settings().n_tablet_input;
  if (choice != kTabletInputInk && tablet_.openTablet(hwnd())) {
    model_.tablet().pressureMaximum = tablet_.pressureMaximum();
    return;
  }
  penInput_ = inkPresent && choice != kTabletInputWintab;
  model_.tablet().pressureMaximum = penInput_ ? kPressureMaximum : 0;
}

void PaperWindow::onTabletPacket(WPARAM serial, LPARAM context) {
  if (const std::optional<TabletPacket> packet = tablet_.readPacket(serial, context))
    model_.tabletPacket(*packet);
}

bool PaperWindow::onPointerMessage(UINT message, WPARAM wParam, LRESULT& result) {
  if (!penInput_) return false;
  const std::span<const PenFrame> frames = pens_.framesOf(message, wParam);
  if (frames.empty()) return false;
  model_.penFrames(frames);
  // Handled: the system then starts no gesture and makes no mouse messages of the pen.
  result = 0;
  return true;
}

void PaperWindow::flushTabletQueue() {
  tablet_.flushQueue();
  model_.tabletQueueFlushed();
}

}  // namespace tenmark
