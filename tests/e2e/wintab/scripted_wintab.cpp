// A stand-in for a tablet driver's Wintab32.dll with the published meaning of the nine entry
// points, for the end-to-end tests. It has one context and plays scripts of packets:
//
//   TENMARK_WINTAB_SCRIPT       a file that the test writes whenever it wants packets played; it
//                               is renamed to the same name + ".played" once played
//   TENMARK_WINTAB_PRESSURE_MAX the device's maximum pressure (1023 when not set)
//   TENMARK_WINTAB_OPEN_FAILS   when set, WTOpenA fails
//   TENMARK_WINTAB_LOG          a file that the calls which change the queue are appended to
//
// Script lines: "prox 1" or "prox 0" (entering or leaving proximity); "pkt CURSOR BUTTONS X Y
// PRESSURE [CURSOR_X CURSOR_Y]" (a packet in the context's output coordinates; a system context
// also moves the system cursor, to the packet's position or to the one given); "pace MS" (the
// pause after each packet, 8 ms at first); "fault" (the next WTPacket call writes
// through a null pointer, as a broken driver would); "crash" and "abort" (the driver's own
// thread writes through a null pointer or calls abort()); "drill N" (posts the program's fault
// drill N to the window: a test build then fails on its own thread, see app/fault_drill.h);
// "dpi N LEFT TOP RIGHT BOTTOM" (sends what the system sends when the window moves to a monitor
// of N DPI, with the rectangle it suggests, to the dialog up over the window or else to the
// window; Wine never sends it, and from another process the rectangle would not arrive);
// "font ID" (logs the height of the font of control ID of that dialog or window); "imc ID"
// (logs whether that control, or with ID 0 that dialog or window, has an input method context).
//
// It also stands in for the system's pointer functions (Windows Ink, which Wine lacks) when a
// test build is told to take them from here (TENMARK_POINTER_STANDIN): the window it posts to is
// the first that SetWindowFeedbackSetting is called for, and each call is logged ("feedback
// KIND"). Script lines: "pen WHAT PENFLAGS X Y PRESSURE [X Y]..." posts a pen's pointer message,
// WHAT one of hover, down, drag, up, leave; the position is in screen pixels, a PRESSURE of -1
// is none, and the pairs after it are the frame's older points, newest first; "gestures" logs
// the window's pen service property and its answer to the gesture status query.
#include <windows.h>

#include <imm.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>

#include "app/fault_drill.h"
#include "tablet/pointer_abi.h"
#include "tablet/wintab_abi.h"

namespace {

using namespace tenmark::wintab;
namespace ink = tenmark::ink;

struct Queued {
  UINT serial;
  Packet packet;
};

struct ScriptedContext {
  LogContext log{};
  HWND window = nullptr;
  bool open = false;
  bool enabled = false;
  std::size_t queueSize = 8;
  std::deque<Queued> queue;
  UINT nextSerial = 1;
};

CRITICAL_SECTION lock;
ScriptedContext context;
HANDLE player = nullptr;
volatile LONG stopping = 0;
volatile LONG faultNext = 0;

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

void logCall(const char* format, ...) {
  const std::string path = environment("TENMARK_WINTAB_LOG");
  if (path.empty()) return;
  if (FILE* f = std::fopen(path.c_str(), "a")) {
    va_list args;
    va_start(args, format);
    std::vfprintf(f, format, args);
    va_end(args);
    std::fputc('\n', f);
    std::fclose(f);
  }
}

LONG pressureMaximum() {
  const std::string text = environment("TENMARK_WINTAB_PRESSURE_MAX");
  return text.empty() ? 1023 : std::atol(text.c_str());
}

void defaultSystemContext(LogContext& c) {
  c = LogContext{};
  std::strcpy(c.name, "Scripted system context");
  c.options = kOptionSystem;
  c.messageBase = kDefaultMessageBase;
  c.packetRate = 100;
  c.packetData = kPacketX | kPacketY | kPacketButtons;
  c.moveMask = c.packetData;
  c.buttonDownMask = c.buttonUpMask = 0xFFFFFFFFu;
  c.inExtX = c.inExtY = 15200;
  c.outExtX = c.outExtY = 15200;
  c.sensX = c.sensY = c.sensZ = 0x10000;
  c.systemExtX = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  c.systemExtY = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  c.systemSensX = c.systemSensY = 0x10000;
}

void proximity(bool entering) {
  EnterCriticalSection(&lock);
  const bool deliver = context.open && context.enabled && (context.log.options & kOptionMessages);
  HWND window = context.window;
  const UINT message = context.log.messageBase + 5;
  LeaveCriticalSection(&lock);
  if (deliver)
    PostMessageA(window, message, reinterpret_cast<WPARAM>(&context),
                 MAKELPARAM(entering, entering));
}

void packet(const Packet& p, POINT cursor) {
  EnterCriticalSection(&lock);
  const bool system = context.log.options & kOptionSystem;
  // A disabled context gets no packets, and a full queue loses the new ones.
  const bool queued = context.open && context.enabled && context.queue.size() < context.queueSize;
  const UINT serial = context.nextSerial++;
  if (queued) context.queue.push_back(Queued{serial, p});
  const bool post = queued && (context.log.options & kOptionMessages);
  HWND window = context.window;
  const UINT message = context.log.messageBase;
  LeaveCriticalSection(&lock);
  if (system) SetCursorPos(cursor.x, cursor.y);
  if (post) PostMessageA(window, message, serial, reinterpret_cast<LPARAM>(&context));
}

// Each pen message gets a pointer id of its own, so that the window reads the frame it was
// posted with however late it reads it.
struct PenMessage {
  ink::PenInfo history[16];  // newest first
  std::uint32_t count = 0;
};
constexpr std::uint32_t kPenMessages = 256;
PenMessage penMessages[kPenMessages];
std::uint32_t nextPen = 0;

PenMessage* penMessage(std::uint32_t id) {
  return id >= 1 && id <= kPenMessages ? &penMessages[id - 1] : nullptr;
}

void pen(const char* line) {
  char what[16] = {};
  unsigned long penFlags = 0;
  long pressure = 0;
  int used = 0;
  long x = 0, y = 0;
  if (std::sscanf(line, "%*s %15s %lu %ld %ld %ld%n", what, &penFlags, &x, &y, &pressure, &used) <
      5)
    return;
  const struct {
    const char* what;
    UINT message;
    std::uint32_t flags;
  } kinds[] = {
      {"hover", ink::kPointerUpdate, ink::kFlagInRange | ink::kFlagUpdate},
      {"down", ink::kPointerDown, ink::kFlagInRange | ink::kFlagInContact | ink::kFlagDown},
      {"drag", ink::kPointerUpdate, ink::kFlagInRange | ink::kFlagInContact | ink::kFlagUpdate},
      {"up", ink::kPointerUp, ink::kFlagInRange | ink::kFlagUp},
      {"leave", ink::kPointerLeave, ink::kFlagUpdate}};
  for (const auto& kind : kinds) {
    if (std::strcmp(what, kind.what)) continue;
    EnterCriticalSection(&lock);
    const std::uint32_t id = nextPen++ % kPenMessages + 1;
    PenMessage& m = *penMessage(id);
    m.count = 0;
    for (const char* rest = line + used; m.count < 16; ++m.count) {
      ink::PenInfo& info = m.history[m.count];
      info = ink::PenInfo{};
      info.pointerInfo.pointerType = ink::kPenPointer;
      info.pointerInfo.pointerId = id;
      info.pointerInfo.pointerFlags = kind.flags;
      info.pointerInfo.pixelLocation = {std::int32_t(x), std::int32_t(y)};
      info.penFlags = std::uint32_t(penFlags);
      info.penMask = pressure >= 0 ? ink::kPenMaskPressure : 0;
      info.pressure = pressure >= 0 ? std::uint32_t(pressure) : 0;
      int more = 0;
      if (std::sscanf(rest, " %ld %ld%n", &x, &y, &more) != 2) {
        ++m.count;
        break;
      }
      rest += more;
    }
    for (std::uint32_t i = 0; i < m.count; ++i) m.history[i].pointerInfo.historyCount = m.count;
    HWND window = context.window;
    LeaveCriticalSection(&lock);
    PostMessageA(window, kind.message, MAKEWPARAM(id, kind.flags & 0xFFFF),
                 MAKELPARAM(m.history[0].pointerInfo.pixelLocation.x,
                            m.history[0].pointerInfo.pixelLocation.y));
  }
}

void writeThroughNull() {
  // Volatile, so that the compiler keeps the write instead of treating it as unreachable.
  volatile Packet* volatile nowhere = nullptr;
  nowhere->x = 1;
}

void play(FILE* script) {
  char line[256];
  DWORD pace = 8;
  while (std::fgets(line, sizeof line, script) && !stopping) {
    char word[16] = {};
    unsigned long v[7] = {};
    long xy[4] = {};
    if (std::sscanf(line, "%15s", word) != 1) continue;
    if (!std::strcmp(word, "prox") && std::sscanf(line, "%*s %lu", &v[0]) == 1) {
      proximity(v[0] != 0);
    } else if (!std::strcmp(word, "pace") && std::sscanf(line, "%*s %lu", &v[0]) == 1) {
      pace = DWORD(v[0]);
    } else if (!std::strcmp(word, "fault")) {
      InterlockedExchange(&faultNext, 1);
    } else if (!std::strcmp(word, "crash")) {
      writeThroughNull();
    } else if (!std::strcmp(word, "abort")) {
      std::abort();
    } else if (!std::strcmp(word, "drill") && std::sscanf(line, "%*s %lu", &v[0]) == 1) {
      PostMessageA(context.window, tenmark::kFaultDrillMessage, v[0], 0);
    } else if (!std::strcmp(word, "dpi") && std::sscanf(line, "%*s %lu %ld %ld %ld %ld", &v[0],
                                                        &xy[0], &xy[1], &xy[2], &xy[3]) == 5) {
      RECT suggested{xy[0], xy[1], xy[2], xy[3]};
      const WORD dpi = WORD(v[0]);
      SendMessageA(GetLastActivePopup(context.window), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                   reinterpret_cast<LPARAM>(&suggested));
    } else if (!std::strcmp(word, "font") && std::sscanf(line, "%*s %lu", &v[0]) == 1) {
      HWND control = GetDlgItem(GetLastActivePopup(context.window), int(v[0]));
      LOGFONTA font{};
      const auto handle = reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0));
      if (handle && GetObjectA(handle, sizeof font, &font))
        logCall("font %lu %ld", v[0], font.lfHeight);
    } else if (!std::strcmp(word, "imc") && std::sscanf(line, "%*s %lu", &v[0]) == 1) {
      HWND popup = GetLastActivePopup(context.window);
      HWND window = v[0] ? GetDlgItem(popup, int(v[0])) : popup;
      HIMC input = ImmGetContext(window);
      logCall("imc %lu %d", v[0], input != nullptr);
      if (input) ImmReleaseContext(window, input);
    } else if (!std::strcmp(word, "gestures")) {
      logCall("gestures %lx %lx",
              static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(
                  GetPropW(context.window, ink::kPenServiceProperty))),
              static_cast<unsigned long>(
                  SendMessageA(context.window, ink::kTabletQueryGestureStatus, 0, 0)));
    } else if (!std::strcmp(word, "pen")) {
      pen(line);
      if (pace) Sleep(pace);
    } else if (!std::strcmp(word, "pkt")) {
      const int n = std::sscanf(line, "%*s %lu %lu %ld %ld %lu %ld %ld", &v[0], &v[1], &xy[0],
                                &xy[1], &v[2], &xy[2], &xy[3]);
      if (n < 5) continue;
      const Packet p{std::uint32_t(v[0]), std::uint32_t(v[1]), std::int32_t(xy[0]),
                     std::int32_t(xy[1]), std::uint32_t(v[2])};
      packet(p, n == 7 ? POINT{xy[2], xy[3]} : POINT{xy[0], xy[1]});
      if (pace) Sleep(pace);
    }
  }
}

DWORD WINAPI playScripts(void*) {
  const std::string path = environment("TENMARK_WINTAB_SCRIPT");
  while (!stopping && !path.empty()) {
    if (FILE* script = std::fopen(path.c_str(), "r")) {
      play(script);
      std::fclose(script);
      MoveFileExA(path.c_str(), (path + ".played").c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    Sleep(30);
  }
  return 0;
}

void startPlayer() {
  if (player) return;
  stopping = 0;
  player = CreateThread(nullptr, 0, playScripts, nullptr, 0, nullptr);
}

bool ours(Context handle) { return handle == reinterpret_cast<Context>(&context) && context.open; }

}  // namespace

extern "C" {

__declspec(dllexport) UINT WINAPI WTInfoA(UINT category, UINT index, LPVOID out) {
  if (category == 0) return 1;  // the driver is there
  if (category == kInfoDefaultSystemContext && index == 0) {
    if (out) defaultSystemContext(*static_cast<LogContext*>(out));
    return sizeof(LogContext);
  }
  if (category == kInfoDevices && index == kDeviceNormalPressure) {
    if (out) *static_cast<Axis*>(out) = Axis{0, pressureMaximum(), 0, 0};
    return sizeof(Axis);
  }
  return 0;
}

__declspec(dllexport) Context WINAPI WTOpenA(HWND window, LogContext* requested, BOOL enable) {
  // Only the packet layout that this driver writes can be had.
  if (!environment("TENMARK_WINTAB_OPEN_FAILS").empty() || !requested ||
      requested->packetData != kPacketData || requested->packetMode != 0)
    return nullptr;
  EnterCriticalSection(&lock);
  if (context.open) {
    LeaveCriticalSection(&lock);
    return nullptr;
  }
  context.log = *requested;
  context.window = window;
  context.open = true;
  context.enabled = enable != 0;
  context.queue.clear();
  LeaveCriticalSection(&lock);
  startPlayer();
  logCall("open %08x %d", requested->options, requested->outExtY);
  return reinterpret_cast<Context>(&context);
}

__declspec(dllexport) BOOL WINAPI WTClose(Context handle) {
  if (!ours(handle)) return FALSE;
  InterlockedExchange(&stopping, 1);
  if (player) {
    WaitForSingleObject(player, 5000);
    CloseHandle(player);
    player = nullptr;
  }
  EnterCriticalSection(&lock);
  context.open = false;
  context.queue.clear();
  LeaveCriticalSection(&lock);
  logCall("close");
  return TRUE;
}

__declspec(dllexport) BOOL WINAPI WTQueueSizeSet(Context handle, int size) {
  if (!ours(handle) || size < 1 || size > 128) return FALSE;
  EnterCriticalSection(&lock);
  context.queueSize = std::size_t(size);
  context.queue.clear();
  LeaveCriticalSection(&lock);
  logCall("queue %d", size);
  return TRUE;
}

__declspec(dllexport) BOOL WINAPI WTOverlap(Context handle, BOOL toTop) {
  if (!ours(handle)) return FALSE;
  logCall("overlap %d", toTop);
  return TRUE;
}

__declspec(dllexport) BOOL WINAPI WTEnable(Context handle, BOOL on) {
  if (!ours(handle)) return FALSE;
  EnterCriticalSection(&lock);
  context.enabled = on != 0;
  LeaveCriticalSection(&lock);
  return TRUE;
}

// The oldest packets, taken out of the queue.
__declspec(dllexport) int WINAPI WTPacketsGet(Context handle, int count, LPVOID out) {
  if (!ours(handle)) return 0;
  EnterCriticalSection(&lock);
  int taken = 0;
  for (; taken < count && !context.queue.empty(); ++taken) {
    if (out) static_cast<Packet*>(out)[taken] = context.queue.front().packet;
    context.queue.pop_front();
  }
  LeaveCriticalSection(&lock);
  logCall("get %d %d", count, taken);
  return taken;
}

// The packet with this serial number; it and every older packet leave the queue.
__declspec(dllexport) BOOL WINAPI WTPacket(Context handle, UINT serial, LPVOID out) {
  if (InterlockedExchange(&faultNext, 0)) writeThroughNull();
  if (!ours(handle)) return FALSE;
  EnterCriticalSection(&lock);
  bool found = false;
  while (!context.queue.empty() && !found) {
    const Queued q = context.queue.front();
    context.queue.pop_front();
    found = q.serial == serial;
    if (found && out) *static_cast<Packet*>(out) = q.packet;
  }
  LeaveCriticalSection(&lock);
  return found;
}

__declspec(dllexport) int WINAPI WTPacketsPeek(Context handle, int count, LPVOID out) {
  if (!ours(handle)) return 0;
  EnterCriticalSection(&lock);
  int copied = 0;
  for (; copied < count && copied < int(context.queue.size()); ++copied)
    if (out) static_cast<Packet*>(out)[copied] = context.queue[std::size_t(copied)].packet;
  LeaveCriticalSection(&lock);
  return copied;
}

// The pointer functions, for the pen messages this driver posts.
__declspec(dllexport) BOOL WINAPI GetPointerType(UINT32 id, std::uint32_t* type) {
  if (!penMessage(id) || !type) return FALSE;
  *type = ink::kPenPointer;
  return TRUE;
}

__declspec(dllexport) BOOL WINAPI GetPointerPenInfo(UINT32 id, ink::PenInfo* info) {
  const PenMessage* m = penMessage(id);
  if (!m || !info) return FALSE;
  EnterCriticalSection(&lock);
  *info = m->history[0];
  LeaveCriticalSection(&lock);
  return TRUE;
}

__declspec(dllexport) BOOL WINAPI
    GetPointerPenInfoHistory(UINT32 id, UINT32* count, ink::PenInfo* infos) {
  const PenMessage* m = penMessage(id);
  if (!m || !count) return FALSE;
  EnterCriticalSection(&lock);
  if (infos)
    for (std::uint32_t i = 0; i < *count && i < m->count; ++i) infos[i] = m->history[i];
  *count = infos ? std::min(*count, m->count) : m->count;
  LeaveCriticalSection(&lock);
  return TRUE;
}

__declspec(dllexport) BOOL WINAPI
    SetWindowFeedbackSetting(HWND window, UINT kind, DWORD, UINT32, const void*) {
  logCall("feedback %u", kind);
  EnterCriticalSection(&lock);
  const bool first = !context.window;
  if (first) context.window = window;
  LeaveCriticalSection(&lock);
  if (!first) return TRUE;
  // Kept loaded: the script player runs until the process ends.
  HMODULE self = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                     reinterpret_cast<LPCSTR>(&SetWindowFeedbackSetting), &self);
  startPlayer();
  return TRUE;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) InitializeCriticalSection(&lock);
  if (reason == DLL_PROCESS_DETACH) DeleteCriticalSection(&lock);
  return TRUE;
}

}  // extern "C"
