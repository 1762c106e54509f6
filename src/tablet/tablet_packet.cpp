#include "tablet/tablet_packet.h"

#include <algorithm>

namespace tenmark {

std::uint32_t normalPressure(std::uint32_t raw, std::uint32_t deviceMaximum) {
  if (deviceMaximum == 0) return raw;
  // A reading above the reported maximum is the full pressure, and the lightest touch stays a
  // touch.
  const std::uint64_t clamped = std::min(raw, deviceMaximum);
  const auto scaled =
      std::uint32_t(clamped * (kPressureMaximum + 1) / (std::uint64_t(deviceMaximum) + 1));
  return raw > 0 ? std::max(scaled, 1u) : 0;
}

PacketAction interpretPacket(const TabletPacket& packet, std::uint32_t previousButtons,
                             const PacketSettings& settings, PressState press) {
  PacketAction action;
  action.followSystemCursor = settings.followSystemCursor;
  action.screen = Point{packet.x, packet.y};
  const std::uint32_t pressure = normalPressure(packet.pressure, settings.pressureMaximum);
  action.widthChange = int(pressure / 25) - 20;
  if (settings.penHardness > 0) action.widthChange /= settings.penHardness;
  action.eraserEnd = packet.cursor % 3 == 2;
  action.sideSwitch = packet.buttons == 2 || packet.buttons == 3;
  action.offerRightClick = action.sideSwitch && packet.buttons != previousButtons;
  if (pressure > 0) {
    if (!press.pointerCaptured)
      action.step = PressStep::Down;
    else if (press.tabletStroke)
      action.step = PressStep::Drag;
  } else if (press.pointerCaptured) {
    action.step = PressStep::Up;
  }
  return action;
}

}  // namespace tenmark
