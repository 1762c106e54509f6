#include "shortcuts/shortcut_list.h"

#include <gtest/gtest.h>

#include "shortcuts/virtual_keys.h"
#include "support/shortcut_inputs.h"
#include "tenmark/texts.h"

namespace tenmark {
namespace {

constexpr std::size_t row(CommandId id) { return static_cast<std::size_t>(id); }

std::string pairMessage(const char* first, const char* second) {
  return std::string(text::DuplicateShortcutMessage) + "\n" + text::DuplicateShortcutBullet +
         first + "\n" + text::DuplicateShortcutBullet + second;
}

TEST(ShortcutList, RowsAreTheCommandsInOrderWithTheirKeys) {
  const ShortcutList list(defaultBindings());
  EXPECT_EQ(ShortcutList::rowCount(), 29u);
  EXPECT_STREQ(ShortcutList::listName(0), text::CommandNameNew);
  EXPECT_STREQ(ShortcutList::listName(28), text::CommandNameClear);
  EXPECT_EQ(list.keyName(row(CommandId::Copy)), "Ctrl+C");
  EXPECT_EQ(list.keyName(row(CommandId::SaveAs)), "");
}

TEST(ShortcutList, ActionsChangeOnlyTheSelectedRow) {
  ShortcutList list(defaultBindings());
  EXPECT_FALSE(list.pressKey(std::nullopt, 'V', held({})));
  list.rightClick(std::nullopt);
  list.doubleClick(std::nullopt);
  list.doubleClick(29);
  EXPECT_EQ(list.bindings(), defaultBindings());

  const std::size_t copy = row(CommandId::Copy);
  EXPECT_TRUE(list.pressKey(copy, 'V', held({vk::kShift})));
  EXPECT_EQ(list.keyName(copy), "Shift+V");
  EXPECT_EQ(list.bindings()[CommandId::Copy], kShiftFlag | 'V');
  list.rightClick(copy);
  EXPECT_EQ(list.keyName(copy), text::KeyNameRightClick);
  list.doubleClick(copy);
  EXPECT_EQ(list.bindings()[CommandId::Copy], 0u);
  list.pressKey(copy, vk::kShift, held({vk::kShift, vk::kControl}));
  EXPECT_EQ(list.keyName(copy), "Shift+Ctrl");
  // A key that cannot be bound, pressed alone, clears the row.
  list.pressKey(row(CommandId::New), vk::kEnd, held({}));
  EXPECT_EQ(list.bindings()[CommandId::New], 0u);
  EXPECT_EQ(list.bindings()[CommandId::Open], defaultBindings()[CommandId::Open]);
}

TEST(ShortcutList, OkNamesTheFirstPairSharingABinding) {
  ShortcutList list(defaultBindings());
  EXPECT_EQ(list.duplicateMessage(), std::nullopt);  // the unbound rows do not clash

  list.pressKey(row(CommandId::Open), 'N', held({}));
  EXPECT_EQ(list.duplicateMessage(), pairMessage(text::CommandNameNew, text::CommandNameOpen));

  list.reset();
  list.pressKey(row(CommandId::Copy), vk::kControl, held({vk::kControl}));
  EXPECT_EQ(list.keyName(row(CommandId::Copy)), "Ctrl");
  EXPECT_EQ(list.duplicateMessage(), pairMessage(text::CommandNameEraser, text::CommandNameCopy));

  list.reset();
  EXPECT_EQ(list.bindings(), defaultBindings());
  list.rightClick(row(CommandId::Clear));
  EXPECT_EQ(list.duplicateMessage(), std::nullopt);
  list.rightClick(row(CommandId::Brush_P));
  EXPECT_EQ(list.duplicateMessage(), pairMessage(text::CommandNameBrush_P, text::CommandNameClear));
}

}  // namespace
}  // namespace tenmark
