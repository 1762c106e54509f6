#pragma once
// One tablet context of the Wintab driver, reached through the entry points that were found in
// the library: opened as a copy of the driver's default system context that posts its packets
// to the main window, then enabled, drained and read as the window asks.

#include <cstdint>
#include <optional>

#include "surface/geometry.h"
#include "tablet/tablet_packet.h"
#include "tablet/wintab_abi.h"

namespace tenmark {

class WintabSession {
 public:
  // False, with the session closed, when an entry point that is called is missing, the default
  // context cannot be read or the context cannot be opened. Packets are reported in
  // virtual-screen pixels.
  bool open(const wintab::EntryPoints& entries, wintab::Window window, const Rect& virtualScreen);
  void close();
  bool isOpen() const { return isOpen_; }

  void enable(bool on);
  // Brings the context to the top and throws its waiting packets away.
  void flush();
  // The packet of a packet message; nothing when the driver does not deliver it.
  std::optional<TabletPacket> readPacket(std::uint32_t serial, wintab::Context context);
  // The device's maximum pressure, 0 when the driver does not tell.
  std::uint32_t pressureMaximum() const { return pressureMaximum_; }

 private:
  wintab::EntryPoints entries_;
  wintab::Context context_ = nullptr;
  bool isOpen_ = false;
  std::uint32_t pressureMaximum_ = 0;
  TabletPacket packetBuffer_[wintab::kQueueSize] = {};
};

}  // namespace tenmark
