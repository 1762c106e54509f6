#include "shortcuts/key_code.h"

#include "shortcuts/virtual_keys.h"
#include "tenmark/texts.h"

namespace tenmark {
namespace {

struct KeyName {
  std::uint8_t key;
  const char* name;
};

// Keys whose name is not their own character; full-width texts are UTF-8.
constexpr KeyName kKeyNames[] = {
    {0x08, "BackSpace"},
    {0x20, "SPACE"},
    {0x21, "PageUp"},
    {0x22, "PageDown"},
    {0x24, "HOME"},
    {0x25, "Left"},
    {0x26, "Up"},
    {0x27, "Right"},
    {0x28, "Down"},
    {0x2D, "Insert"},
    {0x2E, "Delete"},
    {0x70, "F1"},
    {0x71, "F2"},
    {0x72, "F3"},
    {0x73, "F4"},
    {0x74, "F5"},
    {0x75, "F6"},
    {0x76, "F7"},
    {0x77, "F8"},
    {0x78, "F9"},
    {0x79, "F10"},
    {0x7A, "F11"},
    {0x7B, "F12"},
    {0xBA, text::KeyNameAsterisk},
    {0xBB, text::KeyNamePlus},
    {0xBC, "<"},
    {0xBD, text::KeyNameMinus},
    {0xBE, ">"},
    {0xBF, "/"},
    {0xC0, text::KeyNameAt},
    {0xDB, text::KeyNameLeftBrace},
    {0xDC, text::KeyNameYen},
    {0xDD, text::KeyNameRightBrace},
    {0xDE, text::KeyNameCircumflex},
    {0xE2, text::KeyNameBackslash},
};

std::string keyByteName(std::uint8_t key) {
  if (key == 0) return {};
  for (const auto& entry : kKeyNames)
    if (entry.key == key) return entry.name;
  return std::string(1, static_cast<char>(key));
}

void prependModifier(std::string& name, const char* modifier) {
  name = name.empty() ? std::string(modifier) : std::string(modifier) + "+" + name;
}

bool inRange(int value, int low, int high) { return value >= low && value <= high; }

}  // namespace

std::uint8_t isCapturableKey(int virtualKey) {
  const int v = virtualKey;
  const bool bindable = v == vk::kBack || inRange(v, vk::kSpace, vk::kNext) ||
                        inRange(v, vk::kHome, vk::kDown) || v == vk::kInsert || v == vk::kDelete ||
                        inRange(v, '0', '9') || inRange(v, 'A', 'Z') ||
                        inRange(v, vk::kF1, vk::kF12) || inRange(v, vk::kOem1, vk::kOem3) ||
                        inRange(v, vk::kOem4, vk::kOem7) || v == vk::kOem102;
  return bindable ? static_cast<std::uint8_t>(v & 0xFF) : 0;
}

KeyCode modifierFlags(const KeyStateQuery& isKeyDown) {
  KeyCode flags = 0;
  if (isKeyDown(vk::kControl)) flags |= kCtrlFlag;
  if (isKeyDown(vk::kShift)) flags |= kShiftFlag;
  if (isKeyDown(vk::kMenu)) flags |= kAltFlag;
  return flags;
}

KeyCode composeKeyCode(int virtualKey, const KeyStateQuery& isKeyDown) {
  return isCapturableKey(virtualKey) | modifierFlags(isKeyDown);
}

KeyCode inputState(KeyCode base, const KeyStateQuery& isKeyDown) {
  return base | modifierFlags(isKeyDown);
}

std::string keyCodeName(KeyCode code) {
  if (code == kRightClick) return text::KeyNameRightClick;
  std::string name = keyByteName(static_cast<std::uint8_t>(code & kKeyByteMask));
  if (code & kCtrlFlag) prependModifier(name, "Ctrl");
  if (code & kShiftFlag) prependModifier(name, "Shift");
  if (code & kAltFlag) prependModifier(name, "Alt");
  return name;
}

bool keyCodeMatches(KeyCode state, KeyCode binding, const KeyStateQuery& isKeyDown) {
  if (binding == 0) return false;
  if (binding == kRightClick && state == kRightClick) return true;
  const int key = static_cast<int>(binding & kKeyByteMask);
  if (key != 0 && !isKeyDown(key)) return false;
  return (state & kFlagByteMask) == (binding & kFlagByteMask);
}

}  // namespace tenmark
