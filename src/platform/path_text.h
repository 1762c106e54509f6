#pragma once
// Paths are UTF-8 text: every byte of a character beyond ASCII is 0x80 or above, so a "\" or a
// "." found byte by byte is always the character itself, never part of another one.

#include <cstddef>
#include <string_view>

namespace tenmark {

// The position of the last `c`, or npos.
inline std::size_t lastCharacter(std::string_view text, char c) { return text.rfind(c); }

// Where the character that ends just before `end` starts (a byte 10xxxxxx continues the one
// before it), and how many UTF-16 units it takes at the wide calls: two for the four-byte ones.
inline std::size_t previousCharacter(std::string_view text, std::size_t end, int& units) {
  std::size_t start = end - 1;
  while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) --start;
  units = end - start == 4 ? 2 : 1;
  return start;
}

// Equal as Windows compares file names: ASCII letters in either case.
inline bool samePathName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  const auto folded = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
  for (std::size_t i = 0; i < a.size(); ++i)
    if (folded(a[i]) != folded(b[i])) return false;
  return true;
}

}  // namespace tenmark
