#include <windows.h>

#include <cstdio>

#include "platform/atomic_replace.h"

namespace tenmark {

bool replaceFile(const std::string& temporary, const std::string& target) {
  if (MoveFileExA(temporary.c_str(), target.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  DeleteFileA(temporary.c_str());
  return false;
}

std::string temporaryNameFor(const std::string& target) {
  return target + ".tmp" + std::to_string(GetCurrentProcessId());
}

}  // namespace tenmark
