#include "tablet/wintab_session.h"

namespace tenmark {

bool WintabSession::open(const wintab::EntryPoints& entries, wintab::Window window,
                         const Rect& virtualScreen) {
  close();
  if (!entries.usable()) return false;
  entries_ = entries;
  wintab::LogContext context{};
  if (entries_.info(wintab::kInfoDefaultSystemContext, 0, &context) == 0) return false;
  context.options |= wintab::kOptionMessages;
  context.packetData = wintab::kPacketData;
  context.packetMode = 0;
  context.moveMask = wintab::kPacketData;
  context.outOrgX = virtualScreen.x;
  context.outOrgY = virtualScreen.y;
  context.outExtX = virtualScreen.width;
  // Negative: packet y grows downward, as screen coordinates do.
  context.outExtY = -virtualScreen.height;
  context_ = entries_.open(window, &context, 1);
  if (!context_) return false;
  entries_.queueSizeSet(context_, wintab::kQueueSize);
  wintab::Axis pressure{};
  const std::uint32_t deviceInfo = wintab::kInfoDevices + context.device;
  if (entries_.info(deviceInfo, wintab::kDeviceNormalPressure, &pressure) != 0 && pressure.max > 0)
    pressureMaximum_ = std::uint32_t(pressure.max);
  isOpen_ = true;
  return true;
}

void WintabSession::close() {
  isOpen_ = false;
  if (context_) entries_.close(context_);
  context_ = nullptr;
  pressureMaximum_ = 0;
}

void WintabSession::enable(bool on) {
  if (isOpen_) entries_.enable(context_, on ? 1 : 0);
}

void WintabSession::flush() {
  if (!isOpen_) return;
  entries_.overlap(context_, 1);
  entries_.packetsGet(context_, wintab::kQueueSize, packetBuffer_);
}

std::optional<TabletPacket> WintabSession::readPacket(std::uint32_t serial,
                                                      wintab::Context context) {
  // A failed read leaves the buffer as it was: the previous packet must not be used again.
  if (!isOpen_ || entries_.packet(context, serial, &packetBuffer_[0]) == 0) return std::nullopt;
  return packetBuffer_[0];
}

}  // namespace tenmark
