#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "shortcuts/dispatch_order.h"
#include "shortcuts/duplicate_check.h"
#include "shortcuts/key_code.h"
#include "shortcuts/shortcut_list.h"
#include "shortcuts/virtual_keys.h"
#include "support/shortcut_inputs.h"
#include "tenmark/texts.h"

namespace tenmark {
namespace {

constexpr std::size_t row(CommandId id) { return static_cast<std::size_t>(id); }

// Bit 11 shows only in the exact right-click value, bits 16-31 never; bytes without a name of
// their own are their character.
TEST(KeyCodeName, NamesFollowTheKeyByteAndReadModifiersAltShiftCtrl) {
  const struct {
    KeyCode code;
    const char* name;
  } cases[] = {{0, ""},
               {0x8000, "Ctrl"},
               {0xE041, "Alt+Shift+Ctrl+A"},
               {0x4070, "Shift+F1"},
               {0x800, text::KeyNameRightClick},
               {0x8841, "Ctrl+A"},
               {0xFFFF0023, "#"}};
  for (const auto& c : cases) EXPECT_EQ(keyCodeName(c.code), c.name) << std::hex << c.code;
}

// A bindable key plus the held modifiers, so that a modifier pressed alone binds alone; End,
// F13 and numbers beyond a byte are not bindable. An input state is its base value plus the
// held modifiers, never the pressed key.
TEST(ComposeKeyCode, BindableKeyOrBaseValuePlusHeldModifiers) {
  EXPECT_EQ(composeKeyCode('S', held({})), 0x53u);
  EXPECT_EQ(composeKeyCode('S', held({vk::kControl, vk::kShift, vk::kMenu})), 0xE053u);
  EXPECT_EQ(composeKeyCode(vk::kControl, held({vk::kControl})), 0x8000u);
  EXPECT_EQ(composeKeyCode(vk::kEnd, held({})), 0u);
  EXPECT_EQ(composeKeyCode(vk::kF13, held({vk::kShift})), 0x4000u);
  EXPECT_EQ(composeKeyCode(0x100 + 'A', held({})), 0u);
  for (int key : {vk::kOem1, vk::kOem3, vk::kOem4, 0xDC, 0xDD, vk::kOem7, vk::kOem102})
    EXPECT_EQ(composeKeyCode(key, held({})), KeyCode(key)) << std::hex << key;
  EXPECT_EQ(inputState(0, held({'A', vk::kShift})), 0x4000u);
  EXPECT_EQ(inputState(kRightClick, held({vk::kMenu})), 0x2800u);
}

// A binding matches when its key, if any, is held and its flag byte equals the state's: a right
// click (0x800) matches only bindings with that bit, and exactly 0x800 only a plain one.
TEST(KeyCodeMatches, KeyHeldAndTheSameModifiersOrAPlainRightClick) {
  const struct {
    KeyCode state, binding;
    std::set<int> keys;
    bool matches;
  } cases[] = {{0, 0, {}, false},
               {0, 0x41, {'A'}, true},
               {0, 0x41, {'B'}, false},
               {0x8000, 0x41, {'A', vk::kControl}, false},
               {0x8000, 0x8041, {'A', vk::kControl}, true},
               {0x8000, 0x8000, {vk::kControl, 'C'}, true},
               {0x800, 0x800, {}, true},
               {0x4800, 0x800, {}, false},
               {0, 0x800, {}, false},
               {0x800, 0x41, {'A'}, false},
               {0x8800, 0x8000, {}, false},
               {0x8800, 0x8841, {'A'}, true}};
  for (const auto& c : cases) {
    EXPECT_EQ(keyCodeMatches(c.state, c.binding, held(c.keys)), c.matches)
        << std::hex << c.state << " " << c.binding;
  }
}

TEST(KeyBindings, RepairMovesNewOffSpaceOnlyWhenHandIsOnSpaceToo) {
  const auto repaired = [](KeyCode newCode, KeyCode handCode) {
    KeyBindings b = defaultBindings();
    b[CommandId::New] = newCode;
    b[CommandId::Hand] = handCode;
    b.repairAfterLoading();
    return std::pair(b[CommandId::New], b[CommandId::Hand]);
  };
  EXPECT_EQ(repaired(0x20, 0x20), std::pair(0x4Eu, 0x20u));
  EXPECT_EQ(repaired(0x20, 0x48), std::pair(0x20u, 0x48u));
  EXPECT_EQ(repaired(0x8020, 0x8020), std::pair(0x8020u, 0x8020u));
}

// Unbound rows never clash; row 0 is checked against all the others before row 1.
TEST(DuplicateCheck, FirstPairInRowOrderIsReported) {
  const struct {
    std::vector<KeyCode> rows;
    std::optional<DuplicatePair> expected;
  } cases[] = {{{}, std::nullopt},
               {{0, 0, 0, 0x52, 0, 0, 0, 0x52, 0, 0, 0x41, 0, 0x41}, DuplicatePair{3, 7}},
               {{5, 6, 6, 5}, DuplicatePair{0, 3}}};
  for (const auto& c : cases) EXPECT_EQ(findDuplicateBinding(c.rows), c.expected);
}

// One row for each command, with distinct names. The actions change the selected row only, and
// nothing without a selection; its name is the key name of its binding.
TEST(ShortcutList, RowsAndTheActionsOnThem) {
  ShortcutList list(defaultBindings());
  std::set<std::string> names;
  for (std::size_t i = 0; i < ShortcutList::rowCount(); ++i)
    names.insert(ShortcutList::listName(i));
  EXPECT_EQ(names.size(), kCommandCount);
  EXPECT_FALSE(list.pressKey(std::nullopt, 'V', held({})));
  list.rightClick(std::nullopt);
  list.doubleClick(29);
  EXPECT_EQ(list.bindings(), defaultBindings());
  const std::size_t copy = row(CommandId::Copy);
  EXPECT_TRUE(list.pressKey(copy, 'V', held({vk::kShift})));
  EXPECT_EQ(list.keyName(copy), "Shift+V");
  KeyBindings want = defaultBindings();
  want[CommandId::Copy] = kShiftFlag | 'V';
  EXPECT_EQ(list.bindings(), want);
  list.rightClick(copy);
  EXPECT_EQ(list.bindings()[CommandId::Copy], kRightClick);
  list.doubleClick(copy);
  EXPECT_EQ(list.bindings()[CommandId::Copy], 0u);
}

// The default bindings hold no pair; the pair named is the first in row order, whichever row
// took the binding last. Reset brings the defaults back.
TEST(ShortcutList, OkNamesTheFirstPairSharingABinding) {
  ShortcutList list(defaultBindings());
  EXPECT_EQ(list.duplicateMessage(), std::nullopt);
  list.rightClick(row(CommandId::Clear));
  EXPECT_EQ(list.duplicateMessage(), std::nullopt);
  list.rightClick(row(CommandId::Brush_P));
  EXPECT_EQ(list.duplicateMessage(), std::string(text::DuplicateShortcutMessage) + "\n" +
                                         text::DuplicateShortcutBullet + text::CommandNameBrush_P +
                                         "\n" + text::DuplicateShortcutBullet +
                                         text::CommandNameClear);
  list.reset();
  EXPECT_EQ(list.bindings(), defaultBindings());
}

ShortcutMatch press(const KeyBindings& bindings, std::set<int> keys) {
  const auto query = held(std::move(keys));
  return findShortcut(bindings, inputState(0, query), query);
}

// A matched command ends the scan before Eraser, which lets it go on to Hand and Move; the held
// key found first wins, whatever key produced the message.
TEST(DispatchOrder, DefaultBindings) {
  const struct {
    std::set<int> keys;
    std::optional<CommandId> command;
    bool eraser;
  } cases[] = {{{'N'}, CommandId::New, false},
               {{vk::kControl, 'C'}, CommandId::Copy, false},
               {{vk::kControl, vk::kSpace}, CommandId::Move, true},
               {{vk::kControl}, std::nullopt, true},
               {{'N', 'Z'}, CommandId::New, false}};
  for (const auto& c : cases) {
    const ShortcutMatch m = press(defaultBindings(), c.keys);
    EXPECT_EQ(std::pair(m.command, m.eraserMatched), std::pair(c.command, c.eraser))
        << *c.keys.begin();
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
    b[p.first] = 0x51;
    b[p.second] = 0x51;
    EXPECT_EQ(press(b, {'Q'}).command, p.first) << int(p.first) << " before " << int(p.second);
  }
}

}  // namespace
}  // namespace tenmark
