#include <gtest/gtest.h>

#include <set>

#include "shortcuts/dispatch_order.h"
#include "shortcuts/virtual_keys.h"
#include "support/shortcut_inputs.h"

namespace tenmark {
namespace {

ShortcutMatch press(const KeyBindings& bindings, std::set<int> keys, KeyCode base = 0) {
  const auto query = held(std::move(keys));
  return findShortcut(bindings, inputState(base, query), query);
}

TEST(DispatchOrder, DefaultBindings) {
  const KeyBindings b = defaultBindings();
  const struct {
    const char* what;
    std::set<int> keys;
    std::optional<CommandId> command;
    bool eraser;
  } cases[] = {
      {"N", {'N'}, CommandId::New, false},
      {"Ctrl+C: Copy before Eraser", {vk::kControl, 'C'}, CommandId::Copy, false},
      {"Ctrl+Space: Eraser, then Move", {vk::kControl, vk::kSpace}, CommandId::Move, true},
      {"Ctrl alone: Eraser, not consumed", {vk::kControl}, std::nullopt, true},
      {"Shift+N: nothing", {vk::kShift, 'N'}, std::nullopt, false},
      {"nothing held", {}, std::nullopt, false},
      // The held key found first wins, whatever key produced the message.
      {"N held while Z pressed", {'N', 'Z'}, CommandId::New, false},
  };
  for (const auto& c : cases) {
    const ShortcutMatch m = press(b, c.keys);
    EXPECT_EQ(m.command, c.command) << c.what;
    EXPECT_EQ(m.eraserMatched, c.eraser) << c.what;
  }
}

// Two commands on one key: the one dispatched first wins. NoSaveExit and Clear come last in the
// command numbers but are dispatched before the zoom and hand commands.
TEST(DispatchOrder, FollowsTheFixedOrderNotTheCommandNumbers) {
  const struct {
    CommandId first, second;
  } pairs[] = {{CommandId::New, CommandId::Open},          {CommandId::Paste, CommandId::Brush_P},
               {CommandId::NoSaveExit, CommandId::ZoomUp}, {CommandId::Clear, CommandId::ZoomUp},
               {CommandId::NoSaveExit, CommandId::Clear},  {CommandId::Clear, CommandId::Move},
               {CommandId::Hand, CommandId::Move}};
  for (const auto& p : pairs) {
    KeyBindings b;
    b.codes.fill(0);
    b[p.first] = 0x51;
    b[p.second] = 0x51;
    EXPECT_EQ(press(b, {'Q'}).command, p.first) << int(p.first) << " before " << int(p.second);
  }
}

TEST(DispatchOrder, EraserIsSeenOnlyWhenNoCommandMatchedBefore) {
  KeyBindings b = defaultBindings();
  b[CommandId::Eraser] = 0x51;  // Q
  b[CommandId::Clear] = 0x51;
  EXPECT_EQ(press(b, {'Q'}).command, CommandId::Clear);
  EXPECT_FALSE(press(b, {'Q'}).eraserMatched);
  b[CommandId::Clear] = 0;
  const ShortcutMatch m = press(b, {'Q'});
  EXPECT_EQ(m.command, std::nullopt);
  EXPECT_TRUE(m.eraserMatched);
}

TEST(DispatchOrder, RightClickBindingMatchesOnlyAPlainRightClick) {
  KeyBindings b = defaultBindings();
  b[CommandId::PopMenu] = kRightClick;
  EXPECT_EQ(press(b, {}, kRightClick).command, CommandId::PopMenu);
  EXPECT_EQ(press(b, {vk::kShift}, kRightClick).command, std::nullopt);
  // With Ctrl held the right button matches nothing, not even Eraser on Ctrl alone.
  const ShortcutMatch withCtrl = press(b, {vk::kControl}, kRightClick);
  EXPECT_EQ(withCtrl.command, std::nullopt);
  EXPECT_FALSE(withCtrl.eraserMatched);
  EXPECT_EQ(press(defaultBindings(), {}, kRightClick).command, std::nullopt);
}

}  // namespace
}  // namespace tenmark
