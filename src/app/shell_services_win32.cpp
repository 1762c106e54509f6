#include "app/shell_services_win32.h"

namespace tenmark {

void showMessage(HWND owner, const char* text) { MessageBoxA(owner, text, "", MB_OK | MB_TOPMOST); }

bool isDirectory(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace tenmark
