#pragma once
// The records, constants and entry points of the Wintab tablet driver library that this program
// uses, written out with fixed-size types so that the binding can be built and tested without
// the platform's headers. Layouts follow the published Wintab interface (ANSI variant).

#include <cstdint>

namespace tenmark::wintab {

#if defined(_WIN32) && !defined(_WIN64)
#define TENMARK_WINTAB_API __stdcall
#else
#define TENMARK_WINTAB_API
#endif

using Context = void*;  // HCTX
using Window = void*;   // HWND

// WTInfoA categories and indices.
inline constexpr std::uint32_t kInfoDefaultSystemContext = 4;  // WTI_DEFSYSCTX
inline constexpr std::uint32_t kInfoDevices = 100;             // WTI_DEVICES, + device number
inline constexpr std::uint32_t kDeviceNormalPressure = 15;     // DVC_NPRESSURE

// Context options and packet fields.
inline constexpr std::uint32_t kOptionSystem = 0x0001;          // CXO_SYSTEM
inline constexpr std::uint32_t kOptionMessages = 0x0004;        // CXO_MESSAGES
inline constexpr std::uint32_t kPacketCursor = 0x0020;          // PK_CURSOR
inline constexpr std::uint32_t kPacketButtons = 0x0040;         // PK_BUTTONS
inline constexpr std::uint32_t kPacketX = 0x0080;               // PK_X
inline constexpr std::uint32_t kPacketY = 0x0100;               // PK_Y
inline constexpr std::uint32_t kPacketNormalPressure = 0x0400;  // PK_NORMAL_PRESSURE
inline constexpr std::uint32_t kPacketData =
    kPacketCursor | kPacketButtons | kPacketX | kPacketY | kPacketNormalPressure;

// The messages of a context with the default message base.
inline constexpr std::uint32_t kDefaultMessageBase = 0x7FF0;
inline constexpr std::uint32_t kPacketMessage = kDefaultMessageBase + 0;     // WT_PACKET
inline constexpr std::uint32_t kProximityMessage = kDefaultMessageBase + 5;  // WT_PROXIMITY

inline constexpr int kQueueSize = 32;

// LOGCONTEXTA.
struct LogContext {
  char name[40];
  std::uint32_t options;
  std::uint32_t status;
  std::uint32_t locks;
  std::uint32_t messageBase;
  std::uint32_t device;
  std::uint32_t packetRate;
  std::uint32_t packetData;
  std::uint32_t packetMode;
  std::uint32_t moveMask;
  std::uint32_t buttonDownMask;
  std::uint32_t buttonUpMask;
  std::int32_t inOrgX, inOrgY, inOrgZ;
  std::int32_t inExtX, inExtY, inExtZ;
  std::int32_t outOrgX, outOrgY, outOrgZ;
  std::int32_t outExtX, outExtY, outExtZ;
  std::uint32_t sensX, sensY, sensZ;
  std::int32_t systemMode;
  std::int32_t systemOrgX, systemOrgY, systemExtX, systemExtY;
  std::uint32_t systemSensX, systemSensY;
};
static_assert(sizeof(LogContext) == 172);

// AXIS.
struct Axis {
  std::int32_t min;
  std::int32_t max;
  std::uint32_t units;
  std::uint32_t resolution;
};
static_assert(sizeof(Axis) == 16);

// The packet record for kPacketData in absolute mode.
struct Packet {
  std::uint32_t cursor;    // cursor index; modulo 3 = 2 is a pen's eraser end
  std::uint32_t buttons;   // bit 0 the tip, bit 1 the first side switch
  std::int32_t x;          // virtual-screen pixels
  std::int32_t y;          // virtual-screen pixels, growing downward
  std::uint32_t pressure;  // 0 when the tip does not touch
};
static_assert(sizeof(Packet) == 20);

using InfoFn = std::uint32_t(TENMARK_WINTAB_API*)(std::uint32_t, std::uint32_t, void*);
using OpenFn = Context(TENMARK_WINTAB_API*)(Window, LogContext*, int);
using CloseFn = int(TENMARK_WINTAB_API*)(Context);
using QueueSizeSetFn = int(TENMARK_WINTAB_API*)(Context, int);
using OverlapFn = int(TENMARK_WINTAB_API*)(Context, int);
using EnableFn = int(TENMARK_WINTAB_API*)(Context, int);
using PacketsGetFn = int(TENMARK_WINTAB_API*)(Context, int, void*);
using PacketFn = int(TENMARK_WINTAB_API*)(Context, std::uint32_t, void*);
using PacketsPeekFn = int(TENMARK_WINTAB_API*)(Context, int, void*);

// The library's entry points as found; any of them may be missing.
struct EntryPoints {
  InfoFn info = nullptr;                  // "WTInfoA"
  OpenFn open = nullptr;                  // "WTOpenA"
  CloseFn close = nullptr;                // "WTClose"
  QueueSizeSetFn queueSizeSet = nullptr;  // "WTQueueSizeSet"
  OverlapFn overlap = nullptr;            // "WTOverlap"
  EnableFn enable = nullptr;              // "WTEnable"
  PacketsGetFn packetsGet = nullptr;      // "WTPacketsGet"
  PacketFn packet = nullptr;              // "WTPacket"
  PacketsPeekFn packetsPeek = nullptr;    // "WTPacketsPeek", looked up and never called

  // Every entry point that the binding calls is there.
  bool usable() const {
    return info && open && close && queueSizeSet && overlap && enable && packetsGet && packet;
  }
};

}  // namespace tenmark::wintab
