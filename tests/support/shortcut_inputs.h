#pragma once
// Inputs for the shortcut tests: a keyboard holding some keys down, and the default bindings.
#include <set>
#include <utility>

#include "shortcuts/command_table.h"
#include "shortcuts/key_code.h"

namespace tenmark {

inline KeyStateQuery held(std::set<int> keys) {
  return [keys = std::move(keys)](int key) { return keys.count(key) > 0; };
}

inline KeyBindings defaultBindings() {
  KeyBindings b;
  b.setDefaults();
  return b;
}

}  // namespace tenmark
