#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "shortcuts/key_code.h"
#include "shortcuts/virtual_keys.h"
#include "support/shortcut_inputs.h"

namespace tenmark {
namespace {

TEST(KeyCodeName, NamesFollowTheKeyByteAndReadModifiersAltShiftCtrl) {
  const struct {
    KeyCode code;
    std::string name;
  } cases[] = {
      {0, ""},
      {0x8000, "Ctrl"},
      {0xE041, "Alt+Shift+Ctrl+A"},
      {0x4070, "Shift+F1"},
      {0x20, "SPACE"},
      {0x30, "0"},
      {0xBC, "<"},
      {0x80BB, "Ctrl+" + std::string("＋")},  // full-width names
      {0x800, std::string("右クリック")},
      {0x0841, "A"},  // bit 11 outside the exact right-click value is not shown
      {0x8800, "Ctrl"},
      {0x23, "#"},        // unlisted bytes are their own character
      {0xFFFF0041, "A"},  // bits 16-31 carry no name
  };
  for (const auto& c : cases) EXPECT_EQ(keyCodeName(c.code), c.name) << std::hex << c.code;
}

// Backspace, Space to Page Down, Home to Down, Insert, Delete, digits, letters, F1 to F12, the
// OEM punctuation keys and the extra backslash key.
TEST(CapturableKeys, ExactlyTheListedKeysAreBindable) {
  const std::pair<int, int> listed[] = {{0x08, 0x08}, {0x20, 0x22}, {0x24, 0x28}, {0x2D, 0x2E},
                                        {'0', '9'},   {'A', 'Z'},   {0x70, 0x7B}, {0xBA, 0xC0},
                                        {0xDB, 0xDE}, {0xE2, 0xE2}};
  for (int v = -1; v <= 0x1FF; ++v) {
    bool bindable = false;
    for (const auto& [low, high] : listed) bindable = bindable || (v >= low && v <= high);
    EXPECT_EQ(isCapturableKey(v), bindable ? v : 0) << std::hex << v;
  }
}

// A bindable key plus the held modifiers; a state is its base value plus the held modifiers.
TEST(ComposeKeyCode, KeyOrBaseValuePlusHeldModifiers) {
  EXPECT_EQ(composeKeyCode('S', held({})), 0x53u);
  EXPECT_EQ(composeKeyCode('S', held({vk::kControl, vk::kShift, vk::kMenu})), 0xE053u);
  EXPECT_EQ(composeKeyCode(vk::kControl, held({vk::kControl})), 0x8000u);  // Ctrl alone
  EXPECT_EQ(composeKeyCode(vk::kEnd, held({})), 0u);                       // not bindable
  EXPECT_EQ(composeKeyCode(vk::kF13, held({vk::kShift})), 0x4000u);
  EXPECT_EQ(inputState(0, held({})), 0u);
  EXPECT_EQ(inputState(0, held({'A', vk::kShift})), 0x4000u);  // the pressed key is not added
  EXPECT_EQ(inputState(kRightClick, held({})), 0x800u);
  EXPECT_EQ(inputState(kRightClick, held({vk::kMenu})), 0x2800u);
}

TEST(KeyCodeMatches, MatchRule) {
  const struct {
    const char* what;
    KeyCode state;
    KeyCode binding;
    std::set<int> keys;
    bool matches;
  } cases[] = {
      {"unbound never matches", 0, 0, {}, false},
      {"key held, no modifiers", 0, 0x41, {'A'}, true},
      {"key not held", 0, 0x41, {'B'}, false},
      {"A with Ctrl held", 0x8000, 0x41, {'A', vk::kControl}, false},
      {"Ctrl+A with Ctrl", 0x8000, 0x8041, {'A', vk::kControl}, true},
      {"Ctrl alone with Ctrl", 0x8000, 0x8000, {vk::kControl, 'C'}, true},
      {"Ctrl alone with Ctrl+Shift", 0xC000, 0x8000, {}, false},
      {"right click, plain", 0x800, 0x800, {}, true},
      {"right click with Shift", 0x4800, 0x800, {}, false},
      {"right click vs key press", 0, 0x800, {}, false},
      {"key binding vs right click", 0x800, 0x41, {'A'}, false},
      {"modifier binding vs right click", 0x8800, 0x8000, {}, false},
      {"key held by a right click with its modifier", 0x8800, 0x8841, {'A'}, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(keyCodeMatches(c.state, c.binding, held(c.keys)), c.matches) << c.what;
}

}  // namespace
}  // namespace tenmark
