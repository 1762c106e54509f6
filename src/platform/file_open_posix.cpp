#include "platform/file_open.h"

namespace tenmark {

std::FILE* openFile(const std::string& path, const char* mode) {
  return std::fopen(path.c_str(), mode);
}

}  // namespace tenmark
