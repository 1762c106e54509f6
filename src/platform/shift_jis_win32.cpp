// Shift-JIS through the system's code page 932, whatever the user's own code page is.
#include <windows.h>

#include "platform/unicode.h"

namespace tenmark {

namespace {

constexpr UINT kShiftJis = 932;

}  // namespace

std::optional<std::string> shiftJisToUtf8(std::string_view text) {
  if (text.empty()) return std::string();
  const int length = MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, text.data(),
                                         int(text.size()), nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::u16string wide(std::size_t(length), u'\0');
  MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, text.data(), int(text.size()),
                      reinterpret_cast<wchar_t*>(wide.data()), length);
  return utf16ToUtf8(wide);
}

std::optional<std::string> utf8ToShiftJis(std::string_view text) {
  const std::optional<std::u16string> wide = utf8ToUtf16(text);
  if (!wide) return std::nullopt;
  if (wide->empty()) return std::string();
  const auto* w = reinterpret_cast<const wchar_t*>(wide->data());
  BOOL approximated = FALSE;
  const int length = WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, w, int(wide->size()),
                                         nullptr, 0, nullptr, &approximated);
  if (length <= 0 || approximated) return std::nullopt;
  std::string out(std::size_t(length), '\0');
  WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, w, int(wide->size()), out.data(), length,
                      nullptr, &approximated);
  // Only a conversion that comes back the same is exact.
  if (approximated || shiftJisToUtf8(out) != std::string(text)) return std::nullopt;
  return out;
}

}  // namespace tenmark
