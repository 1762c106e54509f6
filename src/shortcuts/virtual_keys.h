#pragma once
// Windows virtual-key numbers that the portable key-code logic needs by name.

namespace tenmark::vk {

inline constexpr int kBack = 0x08;
inline constexpr int kTab = 0x09;
inline constexpr int kReturn = 0x0D;
inline constexpr int kShift = 0x10;
inline constexpr int kControl = 0x11;
inline constexpr int kMenu = 0x12;  // Alt
inline constexpr int kEscape = 0x1B;
inline constexpr int kSpace = 0x20;
inline constexpr int kPrior = 0x21;
inline constexpr int kNext = 0x22;
inline constexpr int kEnd = 0x23;
inline constexpr int kHome = 0x24;
inline constexpr int kLeft = 0x25;
inline constexpr int kUp = 0x26;
inline constexpr int kRight = 0x27;
inline constexpr int kDown = 0x28;
inline constexpr int kInsert = 0x2D;
inline constexpr int kDelete = 0x2E;
inline constexpr int kNumpad0 = 0x60;
inline constexpr int kDivide = 0x6F;
inline constexpr int kF1 = 0x70;
inline constexpr int kF12 = 0x7B;
inline constexpr int kF13 = 0x7C;
inline constexpr int kOem1 = 0xBA;
inline constexpr int kOem3 = 0xC0;
inline constexpr int kOem4 = 0xDB;
inline constexpr int kOem7 = 0xDE;
inline constexpr int kOem102 = 0xE2;

}  // namespace tenmark::vk
