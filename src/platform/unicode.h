#pragma once
// Paths and texts are UTF-8 inside the program; the platform's wide calls take UTF-16. Both
// conversions refuse what is not valid text (a lone surrogate, a broken byte sequence) instead
// of guessing, so that a mangled name never reaches a file call.

#include <optional>
#include <string>
#include <string_view>

namespace tenmark {

std::optional<std::u16string> utf8ToUtf16(std::string_view text);
std::optional<std::string> utf16ToUtf8(std::u16string_view text);

// The settings file keeps Shift-JIS (code page 932) bytes. Nothing when the text has a
// character the other side cannot hold; a conversion that would only approximate one (a
// "best fit") counts as one that cannot.
std::optional<std::string> shiftJisToUtf8(std::string_view text);
std::optional<std::string> utf8ToShiftJis(std::string_view text);

}  // namespace tenmark
