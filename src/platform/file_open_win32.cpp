#include <windows.h>

#include "platform/file_error.h"
#include "platform/file_open.h"
#include "platform/wide_text_win32.h"

namespace tenmark {

// The runtime opens the file with CreateFileW, whose error is the reason kept.
std::FILE* openFile(const std::string& path, const char* mode) {
  const std::optional<std::wstring> name = toWide(path);
  const std::optional<std::wstring> wideMode = toWide(mode);
  std::FILE* file = name && wideMode ? _wfopen(name->c_str(), wideMode->c_str()) : nullptr;
  if (!name) SetLastError(ERROR_INVALID_NAME);
  if (!file) noteFileError();
  return file;
}

}  // namespace tenmark
