#include "tablet/tablet_link_win32.h"

namespace tenmark {

namespace {

template <typename Fn>
void lookUp(HMODULE library, const char* name, Fn& entry) {
  entry = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

bool TabletLink::openTablet(HWND window) {
  library_ = LoadLibraryA("Wintab32.dll");
  if (!library_) return false;
  wintab::EntryPoints entries;
  lookUp(library_, "WTInfoA", entries.info);
  lookUp(library_, "WTOpenA", entries.open);
  lookUp(library_, "WTClose", entries.close);
  lookUp(library_, "WTQueueSizeSet", entries.queueSizeSet);
  lookUp(library_, "WTOverlap", entries.overlap);
  lookUp(library_, "WTEnable", entries.enable);
  lookUp(library_, "WTPacketsGet", entries.packetsGet);
  lookUp(library_, "WTPacket", entries.packet);
  lookUp(library_, "WTPacketsPeek", entries.packetsPeek);
  const Rect virtualScreen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                           GetSystemMetrics(SM_CXVIRTUALSCREEN),
                           GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  return session_.open(entries, window, virtualScreen);
}

void TabletLink::closeTablet() {
  session_.close();
  if (!library_) return;
  FreeLibrary(library_);
  library_ = nullptr;
}

}  // namespace tenmark
