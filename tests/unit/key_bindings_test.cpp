#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "shortcuts/command_table.h"
#include "shortcuts/duplicate_check.h"
#include "support/shortcut_inputs.h"

namespace tenmark {
namespace {

TEST(CommandTable, ListNamesAreTheMenusNames) {
  EXPECT_EQ(commandInfo(CommandId::New).listName, std::string("新規作成"));
  std::set<std::string> distinct;
  for (std::size_t i = 0; i < kCommandCount; ++i)
    distinct.insert(commandInfo(static_cast<CommandId>(i)).listName);
  EXPECT_EQ(distinct.size(), kCommandCount);
}

// The default values themselves show in the settings test's default file.
TEST(KeyBindings, SetDefaultsOverwritesEveryFieldWithoutDuplicates) {
  KeyBindings b;
  b.codes.fill(0x1234);
  b.setDefaults();
  for (KeyCode code : b.codes) EXPECT_NE(code, 0x1234u);
  EXPECT_FALSE(findDuplicateBinding(b.codes).has_value());
}

TEST(KeyBindings, RepairMovesNewOffSpaceOnlyWhenHandIsOnSpaceToo) {
  const struct {
    KeyCode newCode, handCode, expectedNew;
  } cases[] = {
      {0x20, 0x20, 0x4E}, {0x20, 0x48, 0x20}, {0x4E, 0x20, 0x4E}, {0x8020, 0x8020, 0x8020}};
  for (const auto& c : cases) {
    KeyBindings b = defaultBindings();
    b[CommandId::New] = c.newCode;
    b[CommandId::Hand] = c.handCode;
    b.repairAfterLoading();
    EXPECT_EQ(b[CommandId::New], c.expectedNew);
    EXPECT_EQ(b[CommandId::Hand], c.handCode);
  }
}

TEST(DuplicateCheck, FirstPairInRowOrderIsReported) {
  const struct {
    std::vector<KeyCode> rows;
    std::optional<DuplicatePair> expected;
  } cases[] = {
      {{0, 0, 0}, std::nullopt},
      {{0, 0, 0, 0x52, 0, 0, 0, 0x52, 0, 0, 0x41, 0, 0x41}, DuplicatePair{3, 7}},
      {{5, 6, 6, 5}, DuplicatePair{0, 3}},  // row 0 is checked against all before row 1
      {{}, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(findDuplicateBinding(c.rows), c.expected);
}

}  // namespace
}  // namespace tenmark
