#pragma once
// Paths are Shift-JIS byte strings: the second byte of a double-byte character can look like
// "\" (0x5C), so searches for a separator must step over whole characters.

#include <cstddef>
#include <string_view>

namespace tenmark {

inline bool isShiftJisLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The position of the last single-byte character `c`, or npos.
inline std::size_t lastCharacter(std::string_view text, char c) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (isShiftJisLeadByte(static_cast<unsigned char>(text[i]))) {
      ++i;
      continue;
    }
    if (text[i] == c) found = i;
  }
  return found;
}

// Equal as Windows compares file names: ASCII letters in either case, never the second byte of a
// double-byte character, which only looks like a letter.
inline bool samePathName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  const auto folded = [](unsigned char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; };
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (isShiftJisLeadByte(x)) {
      // Both bytes of the character exactly; a lead byte at the very end stands alone.
      if (x != y || (i + 1 < a.size() && a[i + 1] != b[i + 1])) return false;
      ++i;
      continue;
    }
    if (folded(x) != folded(y)) return false;
  }
  return true;
}

}  // namespace tenmark
