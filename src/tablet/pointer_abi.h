#pragma once
// The records, constants and entry points of the system's pointer input (Windows Ink) that this
// program uses, written out with fixed-size types: the build targets systems without them, so
// the platform's headers leave them out, and the entry points are looked up at run time. Layouts
// follow the published user32 interface.

#include <cstdint>

namespace tenmark::ink {

#if defined(_WIN32) && !defined(_WIN64)
#define TENMARK_INK_API __stdcall
#else
#define TENMARK_INK_API
#endif

// Messages.
inline constexpr std::uint32_t kPointerUpdate = 0x0245;             // WM_POINTERUPDATE
inline constexpr std::uint32_t kPointerDown = 0x0246;               // WM_POINTERDOWN
inline constexpr std::uint32_t kPointerUp = 0x0247;                 // WM_POINTERUP
inline constexpr std::uint32_t kPointerEnter = 0x0249;              // WM_POINTERENTER
inline constexpr std::uint32_t kPointerLeave = 0x024A;              // WM_POINTERLEAVE
inline constexpr std::uint32_t kPointerCaptureChanged = 0x024C;     // WM_POINTERCAPTURECHANGED
inline constexpr std::uint32_t kTabletQueryGestureStatus = 0x02CC;  // WM_TABLET_QUERYSYSTEM...

inline constexpr std::uint32_t kPenPointer = 3;  // PT_PEN

// POINTER_FLAG_*.
inline constexpr std::uint32_t kFlagInRange = 0x0002;
inline constexpr std::uint32_t kFlagInContact = 0x0004;
inline constexpr std::uint32_t kFlagCanceled = 0x8000;
inline constexpr std::uint32_t kFlagDown = 0x10000;
inline constexpr std::uint32_t kFlagUpdate = 0x20000;
inline constexpr std::uint32_t kFlagUp = 0x40000;
// PEN_FLAG_* and PEN_MASK_PRESSURE.
inline constexpr std::uint32_t kPenBarrel = 0x1;
inline constexpr std::uint32_t kPenInverted = 0x2;
inline constexpr std::uint32_t kPenEraser = 0x4;
inline constexpr std::uint32_t kPenMaskPressure = 0x1;

// The pen feedback kinds of SetWindowFeedbackSetting: FEEDBACK_PEN_BARRELVISUALIZATION to
// FEEDBACK_PEN_RIGHTTAP.
inline constexpr std::uint32_t kFirstPenFeedback = 2;
inline constexpr std::uint32_t kLastPenFeedback = 6;

// The window property and gesture-status answer that switch the system's pen gestures off:
// press-and-hold, tap and barrel feedback, flicks.
inline constexpr const wchar_t* kPenServiceProperty = L"MicrosoftTabletPenServiceProperty";
inline constexpr std::uint32_t kQuietPenGestures =
    0x00000001 | 0x00000008 | 0x00000010 | 0x00010000;

// The extra information of a mouse message that the system made from a pen.
inline constexpr std::uint32_t kPenSignatureMask = 0xFFFFFF00;
inline constexpr std::uint32_t kPenSignature = 0xFF515700;

struct PointerPoint {
  std::int32_t x, y;
};

// POINTER_INFO.
struct PointerInfo {
  std::uint32_t pointerType;
  std::uint32_t pointerId;
  std::uint32_t frameId;
  std::uint32_t pointerFlags;
  void* sourceDevice;
  void* hwndTarget;
  PointerPoint pixelLocation;
  PointerPoint himetricLocation;
  PointerPoint pixelLocationRaw;
  PointerPoint himetricLocationRaw;
  std::uint32_t time;
  std::uint32_t historyCount;
  std::int32_t inputData;
  std::uint32_t keyStates;
  std::uint64_t performanceCount;
  std::uint32_t buttonChangeType;
};

// POINTER_PEN_INFO.
struct PenInfo {
  PointerInfo pointerInfo;
  std::uint32_t penFlags;
  std::uint32_t penMask;
  std::uint32_t pressure;  // 0 to 1024
  std::uint32_t rotation;
  std::int32_t tiltX;
  std::int32_t tiltY;
};
static_assert(sizeof(void*) != 8 || sizeof(PenInfo) == 120);
static_assert(sizeof(void*) != 4 || sizeof(PenInfo) == 112);

using GetPointerTypeFn = int(TENMARK_INK_API*)(std::uint32_t, std::uint32_t*);
using GetPointerPenInfoFn = int(TENMARK_INK_API*)(std::uint32_t, PenInfo*);
using GetPointerPenInfoHistoryFn = int(TENMARK_INK_API*)(std::uint32_t, std::uint32_t*, PenInfo*);
using SetWindowFeedbackSettingFn = int(TENMARK_INK_API*)(void*, std::uint32_t, std::uint32_t,
                                                         std::uint32_t, const void*);

}  // namespace tenmark::ink
