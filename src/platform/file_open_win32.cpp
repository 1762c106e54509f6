#include "platform/file_open.h"
#include "platform/wide_text_win32.h"

namespace tenmark {

std::FILE* openFile(const std::string& path, const char* mode) {
  const std::optional<std::wstring> name = toWide(path);
  const std::optional<std::wstring> wideMode = toWide(mode);
  if (!name || !wideMode) return nullptr;
  return _wfopen(name->c_str(), wideMode->c_str());
}

}  // namespace tenmark
