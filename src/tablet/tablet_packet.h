#pragma once
// What one tablet packet asks of the main window: where the pen is, how much wider or narrower
// the stroke gets, whether the eraser is in use, and which pointer call the pressure makes.

#include <cstdint>

#include "surface/geometry.h"
#include "tablet/wintab_abi.h"

namespace tenmark {

using TabletPacket = wintab::Packet;

// The pressure scale that the width formula is made for.
inline constexpr std::uint32_t kPressureMaximum = 1023;

struct PacketSettings {
  bool followSystemCursor = false;  // b_IgnoreTabXY
  int penHardness = 0;              // divides the width change when above 0
  // The device's reported maximum pressure; 0 when it is not known.
  std::uint32_t pressureMaximum = 0;
};

struct PressState {
  bool pointerCaptured = false;  // a press is in progress, by the mouse or the pen
  bool tabletStroke = false;     // the press in progress was begun by the pen
};

enum class PressStep { None, Down, Drag, Up };

struct PacketAction {
  bool followSystemCursor = false;
  Point screen;  // the packet's position, when it is followed
  int widthChange = 0;
  bool eraserEnd = false;
  bool sideSwitch = false;
  // The side switch has just gone down: a command bound to right click runs instead.
  bool offerRightClick = false;
  PressStep step = PressStep::None;
};

// A raw pressure on the 0-1023 scale: every device's range is scaled onto it, so that every pen
// reaches every width; a 1024-level device's pressure stays as it is. A device that reports no
// maximum gives its raw values.
std::uint32_t normalPressure(std::uint32_t raw, std::uint32_t deviceMaximum);

PacketAction interpretPacket(const TabletPacket& packet, std::uint32_t previousButtons,
                             const PacketSettings& settings, PressState press);

}  // namespace tenmark
