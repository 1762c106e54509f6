#include <windows.h>

#include "platform/file_error.h"
#include "platform/wide_text_win32.h"

namespace tenmark {

namespace {
thread_local DWORD lastError = 0;
}  // namespace

void clearFileError() { lastError = 0; }

void noteFileError() { lastError = GetLastError(); }

// Language 0 takes the user's language and falls back to English where the system has no text
// in it.
std::string fileErrorText() {
  if (lastError == 0) return {};
  wchar_t text[512];
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                lastError, 0, text, DWORD(std::size(text)), nullptr);
  while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n')) --length;
  return fromWide(std::wstring_view(text, length)).value_or(std::string());
}

}  // namespace tenmark
