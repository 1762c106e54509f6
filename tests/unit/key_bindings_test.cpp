#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "shortcuts/command_table.h"
#include "shortcuts/duplicate_check.h"
#include "support/shortcut_inputs.h"

namespace tenmark {
namespace {

TEST(CommandTable, ConfigKeysAreTheCommandNamesInOrder) {
  const char* names[] = {"New",       "Open",     "Save",    "SaveAs",     "Undo",   "Redo",
                         "VMirror",   "HMirror",  "Resize",  "Alpha",      "Config", "KeyConf",
                         "Eraser",    "ShowMenu", "PopMenu", "Copy",       "Paste",  "Brush_P",
                         "Brush_M",   "Erase_P",  "Erase_M", "SetPresser", "ZoomUp", "ZoomDown",
                         "ZoomNomal", "Hand",     "Move",    "NoSaveExit", "Clear"};
  static_assert(std::size(names) == kCommandCount);
  for (std::size_t i = 0; i < kCommandCount; ++i)
    EXPECT_EQ(commandInfo(static_cast<CommandId>(i)).configKey, "dw_Key_" + std::string(names[i]));
  EXPECT_EQ(static_cast<int>(CommandId::Clear), 28);
  EXPECT_EQ(static_cast<int>(CommandId::Eraser), 12);
}

TEST(CommandTable, ListNamesAreShiftJis) {
  EXPECT_EQ(commandInfo(CommandId::New).listName,
            bytes({0x90, 0x56, 0x8B, 0x4B, 0x8D, 0xEC, 0x90, 0xAC}));
  EXPECT_EQ(commandInfo(CommandId::Open).listName, bytes({0x8A, 0x4A, 0x82, 0xAD}));
  EXPECT_EQ(commandInfo(CommandId::Brush_M).listName,
            bytes({0x83, 0x79, 0x83, 0x93, 0x83, 0x54, 0x83, 0x43, 0x83, 0x59, 0x81, 0x7C}));
  EXPECT_EQ(commandInfo(CommandId::Hand).listName,
            bytes({0x95, 0x5C, 0x8E, 0xA6, 0x88, 0xCA, 0x92, 0x75, 0x88, 0xDA, 0x93, 0xAE}));
  std::set<std::string> distinct;
  for (std::size_t i = 0; i < kCommandCount; ++i)
    distinct.insert(commandInfo(static_cast<CommandId>(i)).listName);
  EXPECT_EQ(distinct.size(), kCommandCount);
}

TEST(KeyBindings, SetDefaultsOverwritesEveryField) {
  KeyBindings b;
  b.codes.fill(0x1234);
  b.setDefaults();
  EXPECT_EQ(b[CommandId::New], 0x4Eu);
  EXPECT_EQ(b[CommandId::SaveAs], 0u);
  EXPECT_EQ(b[CommandId::Eraser], 0x8000u);
  EXPECT_EQ(b[CommandId::Copy], 0x8043u);
  EXPECT_EQ(b[CommandId::Paste], 0x8056u);
  EXPECT_EQ(b[CommandId::Hand], 0x20u);
  EXPECT_EQ(b[CommandId::Move], 0x8020u);
  EXPECT_EQ(b[CommandId::Clear], 0u);
  for (KeyCode code : b.codes) EXPECT_NE(code, 0x1234u);
}

TEST(KeyBindings, DefaultsHaveNoDuplicates) {
  KeyBindings b;
  b.setDefaults();
  EXPECT_FALSE(findDuplicateBinding(b.codes).has_value());
}

TEST(KeyBindings, RepairMovesNewOffSpaceOnlyWhenHandIsOnSpaceToo) {
  const struct {
    KeyCode newCode, handCode, expectedNew;
  } cases[] = {
      {0x20, 0x20, 0x4E}, {0x20, 0x48, 0x20}, {0x4E, 0x20, 0x4E}, {0x8020, 0x8020, 0x8020}};
  for (const auto& c : cases) {
    KeyBindings b;
    b.setDefaults();
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
      {{1, 2, 3}, std::nullopt},
      {{0, 0, 0, 0x52, 0, 0, 0, 0x52, 0, 0, 0x41, 0, 0x41}, DuplicatePair{3, 7}},
      {{5, 6, 6, 5}, DuplicatePair{0, 3}},  // row 0 is checked against all before row 1
      {{7, 0, 0, 7, 7}, DuplicatePair{0, 3}},
      {{}, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(findDuplicateBinding(c.rows), c.expected);
}

TEST(DuplicateCheck, MessageNamesBothRows) {
  const std::string expected =
      bytes({0x88, 0xC8, 0x89, 0xBA, 0x82, 0xCC, 0x83, 0x56, 0x83, 0x87, 0x81, 0x5B, 0x83, 0x67,
             0x83, 0x4A, 0x83, 0x62, 0x83, 0x67, 0x83, 0x4C, 0x81, 0x5B, 0x82, 0xAA, 0x8F, 0x64,
             0x95, 0xA1, 0x82, 0xB5, 0x82, 0xC4, 0x82, 0xA2, 0x82, 0xDC, 0x82, 0xB7, 0x81, 0x42}) +
      "\n" + bytes({0x81, 0x45}) + bytes({0x90, 0x56, 0x8B, 0x4B, 0x8D, 0xEC, 0x90, 0xAC}) + "\n" +
      bytes({0x81, 0x45}) + bytes({0x8A, 0x4A, 0x82, 0xAD});
  EXPECT_EQ(duplicateBindingMessage({0, 1}), expected);
}

}  // namespace
}  // namespace tenmark
