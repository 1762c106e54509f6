#pragma once
// Inputs for the shortcut tests: raw Shift-JIS bytes, and a keyboard holding some keys down.
#include <initializer_list>
#include <set>
#include <string>
#include <utility>

#include "shortcuts/key_code.h"

namespace tenmark {

inline std::string bytes(std::initializer_list<unsigned char> list) {
  return std::string(list.begin(), list.end());
}

inline KeyStateQuery held(std::set<int> keys) {
  return [keys = std::move(keys)](int key) { return keys.count(key) > 0; };
}

}  // namespace tenmark
