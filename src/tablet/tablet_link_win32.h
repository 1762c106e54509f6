#pragma once
// The program's binding to the tablet driver library "Wintab32.dll", loaded at run time when it
// is installed. Without it, or with a driver that cannot open a context, every operation does
// nothing and the mouse works alone.

#include <windows.h>

#include <optional>

#include "tablet/wintab_session.h"

namespace tenmark {

class TabletLink {
 public:
  TabletLink() = default;
  ~TabletLink() { closeTablet(); }
  TabletLink(const TabletLink&) = delete;
  TabletLink& operator=(const TabletLink&) = delete;

  // True when a context posting to `window` is open.
  bool openTablet(HWND window);
  void closeTablet();
  void enableContext(bool on) { session_.enable(on); }
  void flushQueue() { session_.flush(); }
  std::optional<TabletPacket> readPacket(WPARAM serial, LPARAM context) {
    return session_.readPacket(std::uint32_t(serial), reinterpret_cast<wintab::Context>(context));
  }
  std::uint32_t pressureMaximum() const { return session_.pressureMaximum(); }

 private:
  HMODULE library_ = nullptr;
  WintabSession session_;
};

}  // namespace tenmark
