#pragma once
// The packed shortcut value: a virtual-key code with Ctrl, Shift and Alt, the right mouse
// button, or 0 for no shortcut; its display name and the rule that matches it against input.

#include <cstdint>
#include <functional>
#include <string>

namespace tenmark {

using KeyCode = std::uint32_t;

inline constexpr KeyCode kKeyByteMask = 0x00FF;
inline constexpr KeyCode kFlagByteMask = 0xFF00;
inline constexpr KeyCode kCtrlFlag = 0x8000;
inline constexpr KeyCode kShiftFlag = 0x4000;
inline constexpr KeyCode kAltFlag = 0x2000;
// The right mouse button, only ever as this exact value.
inline constexpr KeyCode kRightClick = 0x0800;

// Whether a virtual key is held in the keyboard state of the message being handled.
// The Win32 shell answers from GetKeyState; tests answer from a set of keys.
using KeyStateQuery = std::function<bool(int virtualKey)>;

// The key byte of a bindable key, 0 for every other virtual-key code.
std::uint8_t isCapturableKey(int virtualKey);

// Ctrl, Shift and Alt bits of the keys currently held.
KeyCode modifierFlags(const KeyStateQuery& isKeyDown);

// The binding made from a key press in the shortcut dialog: the bindable key plus the held
// modifiers, so a modifier pressed alone gives a modifier-only binding.
KeyCode composeKeyCode(int virtualKey, const KeyStateQuery& isKeyDown);

// The state an event is matched with: base 0 for a key press, kRightClick for a right-button
// press, plus the held modifiers.
KeyCode inputState(KeyCode base, const KeyStateQuery& isKeyDown);

// Display text (UTF-8): modifiers read Alt, Shift, Ctrl from the left ("Alt+Shift+Ctrl+A").
std::string keyCodeName(KeyCode code);

// A binding matches when its key (if any) is held and its flag byte equals the state's.
bool keyCodeMatches(KeyCode state, KeyCode binding, const KeyStateQuery& isKeyDown);

}  // namespace tenmark
