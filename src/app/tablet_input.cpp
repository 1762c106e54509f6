// Tablet packets, pen frames and proximity: the pen drives the same pointer calls as the mouse.
#include "app/paper_model.h"

namespace tenmark {

void PaperModel::tabletPacket(const TabletPacket& packet) {
  playPacket(packet, settings_.b_IgnoreTabXY != 0);
}

void PaperModel::playPacket(const TabletPacket& packet, bool followSystemCursor) {
  const PacketSettings packetSettings{followSystemCursor, settings_.n_PenHardness,
                                      tablet_.pressureMaximum};
  const PacketAction action = interpretPacket(packet, tablet_.previousButtons, packetSettings,
                                              PressState{pointerCaptured_, tablet_.tabletStroke});
  const Point at = action.followSystemCursor ? platform_.pointerPosition()
                                             : platform_.screenToClient(action.screen);
  tablet_.eraserActive = action.eraserEnd;
  tablet_.previousButtons = packet.buttons;
  if (action.offerRightClick && offerRightClick()) return;
  if (action.sideSwitch) tablet_.eraserActive = true;
  switch (action.step) {
    case PressStep::Down:
      if (pointerDown(at, action.widthChange)) tablet_.tabletStroke = true;
      break;
    case PressStep::Drag:
      pointerDrag(at, action.widthChange);
      break;
    case PressStep::Up:
      // Also a press that the mouse began.
      pointerUp(true);
      break;
    case PressStep::None:
      break;
  }
}

void PaperModel::tabletProximity(bool entering) {
  tablet_.inProximity = entering;
  if (entering) return;
  tablet_.eraserActive = false;
  // The pen left without its lift packet: its press ends as the lift would have ended it.
  endPenPress();
}

void PaperModel::tabletQueueFlushed() {
  // The lift packet may have been among the packets thrown away.
  endPenPress();
}

void PaperModel::penFrames(std::span<const PenFrame> newestFirst) {
  for (auto frame = newestFirst.rbegin(); frame != newestFirst.rend(); ++frame) penFrame(*frame);
}

void PaperModel::penFrame(const PenFrame& frame) {
  if (frame.canceled) {
    endPenPress();
    return;
  }
  if (!frame.inRange) {
    tabletProximity(false);
    return;
  }
  if (!tablet_.inProximity) tabletProximity(true);
  // A frame's position is where the system put its cursor for that frame: following the cursor
  // is taking it, and so a fast stroke's history keeps its points.
  playPacket(tabletPacketOf(frame), false);
}

void PaperModel::endPenPress() {
  if (tablet_.tabletStroke && pointerCaptured_) pointerUp(true);
  tablet_.tabletStroke = false;
}

}  // namespace tenmark
