#pragma once
// UTF-8 text at the platform's wide calls, and their results back: one place for the casts
// between char16_t and the 16-bit wchar_t of Windows.

#include <optional>
#include <string>

#include "platform/unicode.h"

namespace tenmark {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

// Nothing for text that is not valid UTF-8: no call is made with a guessed name.
inline std::optional<std::wstring> toWide(std::string_view utf8) {
  const std::optional<std::u16string> wide = utf8ToUtf16(utf8);
  if (!wide) return std::nullopt;
  return std::wstring(reinterpret_cast<const wchar_t*>(wide->data()), wide->size());
}

// For texts the program made itself, which are valid: a broken one shows as nothing.
inline std::wstring toWideOrEmpty(std::string_view utf8) { return toWide(utf8).value_or(L""); }

// Nothing for a lone surrogate, which no UTF-8 name can hold.
inline std::optional<std::string> fromWide(std::wstring_view wide) {
  return utf16ToUtf8(
      std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

}  // namespace tenmark
