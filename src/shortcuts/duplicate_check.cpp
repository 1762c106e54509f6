#include "shortcuts/duplicate_check.h"

#include "tenmark/texts.h"

namespace tenmark {

std::optional<DuplicatePair> findDuplicateBinding(std::span<const KeyCode> rows) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i] == 0) continue;
    for (std::size_t j = i + 1; j < rows.size(); ++j)
      if (rows[j] == rows[i]) return DuplicatePair{i, j};
  }
  return std::nullopt;
}

std::string duplicateBindingMessage(const DuplicatePair& pair) {
  const auto listName = [](std::size_t row) {
    return std::string(commandInfo(static_cast<CommandId>(row)).listName);
  };
  return std::string(text::DuplicateShortcutMessage) + "\n" + text::DuplicateShortcutBullet +
         listName(pair.first) + "\n" + text::DuplicateShortcutBullet + listName(pair.second);
}

}  // namespace tenmark
