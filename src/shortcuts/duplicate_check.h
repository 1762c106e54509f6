#pragma once
// The clash check of the shortcut dialog: two rows bound to the same non-zero code.

#include <optional>
#include <span>
#include <string>

#include "shortcuts/command_table.h"

namespace tenmark {

struct DuplicatePair {
  std::size_t first;
  std::size_t second;
  bool operator==(const DuplicatePair&) const = default;
};

// The first pair (i, j), i < j, in row order whose codes are equal and not 0.
std::optional<DuplicatePair> findDuplicateBinding(std::span<const KeyCode> rows);

// The message naming both commands of a clash (rows are in command order), UTF-8.
std::string duplicateBindingMessage(const DuplicatePair& pair);

}  // namespace tenmark
