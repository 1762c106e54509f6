#include <cstdio>
#include <unistd.h>

#include "platform/atomic_replace.h"

namespace tenmark {

bool replaceFile(const std::string& temporary, const std::string& target) {
  if (std::rename(temporary.c_str(), target.c_str()) == 0) return true;
  std::remove(temporary.c_str());
  return false;
}

std::string temporaryNameFor(const std::string& target) {
  return target + ".tmp" + std::to_string(::getpid());
}

}  // namespace tenmark
