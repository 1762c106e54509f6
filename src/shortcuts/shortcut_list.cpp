#include "shortcuts/shortcut_list.h"

#include "shortcuts/duplicate_check.h"

namespace tenmark {

const char* ShortcutList::listName(std::size_t row) {
  return commandInfo(static_cast<CommandId>(row)).listName;
}

std::string ShortcutList::keyName(std::size_t row) const {
  return keyCodeName(working_.codes[row]);
}

bool ShortcutList::setRow(std::optional<std::size_t> row, KeyCode code) {
  if (!row || *row >= rowCount()) return false;
  working_.codes[*row] = code;
  return true;
}

bool ShortcutList::pressKey(std::optional<std::size_t> row, int virtualKey,
                            const KeyStateQuery& isKeyDown) {
  return setRow(row, composeKeyCode(virtualKey, isKeyDown));
}

void ShortcutList::rightClick(std::optional<std::size_t> row) { setRow(row, kRightClick); }

void ShortcutList::doubleClick(std::optional<std::size_t> row) { setRow(row, 0); }

std::optional<std::string> ShortcutList::duplicateMessage() const {
  const std::optional<DuplicatePair> pair = findDuplicateBinding(working_.codes);
  if (!pair) return std::nullopt;
  return duplicateBindingMessage(*pair);
}

}  // namespace tenmark
