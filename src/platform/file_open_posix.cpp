#include "platform/file_error.h"
#include "platform/file_open.h"

namespace tenmark {

std::FILE* openFile(const std::string& path, const char* mode) {
  std::FILE* file = std::fopen(path.c_str(), mode);
  if (!file) noteFileError();
  return file;
}

}  // namespace tenmark
