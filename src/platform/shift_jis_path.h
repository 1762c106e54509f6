#pragma once
// Paths are Shift-JIS byte strings: the second byte of a double-byte character can look like
// "\" (0x5C), so searches for a separator must step over whole characters.

#include <algorithm>
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

// The longest start of `text` of at most `limit` bytes that ends between two characters.
inline std::size_t wholeCharactersWithin(std::string_view text, std::size_t limit) {
  std::size_t end = 0;
  while (end < text.size()) {
    const bool lead = isShiftJisLeadByte(static_cast<unsigned char>(text[end]));
    const std::size_t next = std::min(end + (lead ? 2 : 1), text.size());
    if (next > limit) break;
    end = next;
  }
  return end;
}

}  // namespace tenmark
