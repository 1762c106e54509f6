#pragma once
// The shortcut dialog's rows without the dialog: a working copy of the bindings, one row per
// command in command order, and what a key press, a right click, a double click, Reset and OK do
// with it. Actions on a row take the list's selection, which may be none.

#include <cstddef>
#include <optional>
#include <string>

#include "shortcuts/command_table.h"

namespace tenmark {

class ShortcutList {
 public:
  explicit ShortcutList(const KeyBindings& live) : working_(live) {}

  static constexpr std::size_t rowCount() { return kCommandCount; }
  static const char* listName(std::size_t row);
  std::string keyName(std::size_t row) const;
  const KeyBindings& bindings() const { return working_; }

  // Binds the key with the modifiers held; a key that cannot be bound, pressed alone, clears the
  // row. False, with nothing changed, when no row is selected: the key is not handled.
  bool pressKey(std::optional<std::size_t> row, int virtualKey, const KeyStateQuery& isKeyDown);
  void rightClick(std::optional<std::size_t> row);
  void doubleClick(std::optional<std::size_t> row);
  void reset() { working_.setDefaults(); }
  // The message naming the first two rows that share a binding, when OK must not close.
  std::optional<std::string> duplicateMessage() const;

 private:
  bool setRow(std::optional<std::size_t> row, KeyCode code);

  KeyBindings working_;
};

}  // namespace tenmark
