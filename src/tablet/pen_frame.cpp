#include "tablet/pen_frame.h"

#include <algorithm>

namespace tenmark {

namespace {

constexpr std::uint32_t kPenCursor = 1;
constexpr std::uint32_t kEraserCursor = 2;  // modulo 3 = 2: a pen's eraser end
constexpr std::uint32_t kTipButton = 1;
constexpr std::uint32_t kSwitchButton = 2;
// The pressure that neither widens nor narrows the stroke: a pen without pressure draws at the
// set width.
constexpr std::uint32_t kSetWidthPressure = 512;

}  // namespace

PenFrame penFrameOf(const ink::PenInfo& info) {
  const std::uint32_t flags = info.pointerInfo.pointerFlags;
  PenFrame frame;
  frame.inRange = flags & ink::kFlagInRange;
  frame.inContact = flags & ink::kFlagInContact;
  frame.canceled = flags & ink::kFlagCanceled;
  frame.inverted = info.penFlags & ink::kPenInverted;
  frame.eraser = info.penFlags & ink::kPenEraser;
  frame.barrel = info.penFlags & ink::kPenBarrel;
  frame.hasPressure = info.penMask & ink::kPenMaskPressure;
  frame.pressure = info.pressure;
  frame.screen = Point{info.pointerInfo.pixelLocation.x, info.pointerInfo.pixelLocation.y};
  return frame;
}

TabletPacket tabletPacketOf(const PenFrame& frame) {
  TabletPacket packet{};
  packet.cursor = frame.inverted || frame.eraser ? kEraserCursor : kPenCursor;
  packet.buttons = (frame.inContact ? kTipButton : 0) | (frame.barrel ? kSwitchButton : 0);
  packet.x = frame.screen.x;
  packet.y = frame.screen.y;
  if (frame.inContact)
    packet.pressure = frame.hasPressure
                          ? std::max(normalPressure(frame.pressure, kPressureMaximum), 1u)
                          : kSetWidthPressure;
  return packet;
}

}  // namespace tenmark
