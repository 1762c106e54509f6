#include "win32/shell_services.h"

namespace tenmark {

void showMessage(HWND owner, const char* text) { MessageBoxA(owner, text, "", MB_OK | MB_TOPMOST); }

bool askYesNo(HWND owner, const char* text) {
  return MessageBoxA(owner, text, "", MB_YESNO | MB_TOPMOST) == IDYES;
}

bool askWarningYesNo(HWND owner, const char* text) {
  return MessageBoxA(owner, text, "", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2 | MB_TOPMOST) ==
         IDYES;
}

bool fileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string executablePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), DWORD(path.size()));
    if (length == 0) return std::string();
    // A name that filled the buffer may have been cut: try again with more room.
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

bool isDirectory(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace tenmark
