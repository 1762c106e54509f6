#pragma once
// Which binding a key or right-button press runs: the bindings are tried in a fixed order and
// the first match wins, except that a held Eraser binding lets the scan go on to Hand and Move.

#include <optional>

#include "shortcuts/command_table.h"

namespace tenmark {

struct ShortcutMatch {
  // The command to run; none means the input is not consumed.
  std::optional<CommandId> command;
  // The Eraser binding matched on the way: the cursor must be refreshed even when nothing
  // else matched.
  bool eraserMatched = false;
};

// state: the input state made by inputState() (base 0 for keys, kRightClick for the button).
ShortcutMatch findShortcut(const KeyBindings& bindings, KeyCode state,
                           const KeyStateQuery& isKeyDown);

}  // namespace tenmark
