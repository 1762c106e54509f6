#pragma once
// One frame of a pen as the system's pointer messages describe it (Windows Ink), as a plain
// record, and the tablet packet that asks the same of the main window: the pen keeps one set of
// rules whichever interface delivers it.

#include <cstdint>

#include "surface/geometry.h"
#include "tablet/pointer_abi.h"
#include "tablet/tablet_packet.h"

namespace tenmark {

// The pressure scale of a pen frame; the width rules read it as a 1024-level device's.
inline constexpr std::uint32_t kPenFramePressureMaximum = 1024;

struct PenFrame {
  bool inRange = false;
  bool inContact = false;
  // The system took the pen's press away.
  bool canceled = false;
  bool inverted = false;  // turned round: the eraser end
  bool eraser = false;    // the eraser end pressed down
  bool barrel = false;    // the side switch held
  bool hasPressure = false;
  std::uint32_t pressure = 0;  // 0 to kPenFramePressureMaximum, when hasPressure
  Point screen;                // screen pixels
};

// A frame as the system reports it.
PenFrame penFrameOf(const ink::PenInfo& info);

TabletPacket tabletPacketOf(const PenFrame& frame);

}  // namespace tenmark
