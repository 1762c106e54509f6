#include "win32/shell_services.h"

#include "platform/wide_text_win32.h"

namespace tenmark {

namespace {

int messageBox(HWND owner, const char* text, UINT type) {
  return MessageBoxW(owner, toWideOrEmpty(text).c_str(), L"", type | MB_TOPMOST);
}

DWORD attributesOf(const std::string& path) {
  const std::optional<std::wstring> name = toWide(path);
  return name ? GetFileAttributesW(name->c_str()) : INVALID_FILE_ATTRIBUTES;
}

}  // namespace

void showMessage(HWND owner, const char* text) { messageBox(owner, text, MB_OK); }

bool askYesNo(HWND owner, const char* text) { return messageBox(owner, text, MB_YESNO) == IDYES; }

bool askWarningYesNo(HWND owner, const char* text) {
  return messageBox(owner, text, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

bool fileExists(const std::string& path) { return attributesOf(path) != INVALID_FILE_ATTRIBUTES; }

std::string executablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (length == 0) return std::string();
    // A name that filled the buffer may have been cut: try again with more room.
    if (length < path.size()) {
      path.resize(length);
      return fromWide(path).value_or(std::string());
    }
    path.resize(path.size() * 2);
  }
}

bool isDirectory(const std::string& path) {
  const DWORD attributes = attributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace tenmark
