#pragma once
// The shortcut-key settings dialog.

#include <windows.h>

#include <optional>

#include "shortcuts/command_table.h"

namespace tenmark {

// Runs the dialog over `owner` on a copy of the live bindings; the edited copy, on OK only.
std::optional<KeyBindings> showShortcutDialog(HWND owner, const KeyBindings& live);

}  // namespace tenmark
