#include "platform/atomic_write.h"

#include <cstdio>

#include "platform/atomic_replace.h"

namespace tenmark {

bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
  const std::string temporary = temporaryNameFor(path);
  std::FILE* f = std::fopen(temporary.c_str(), "wb");
  if (!f) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  written = std::fflush(f) == 0 && written;
  written = std::fclose(f) == 0 && written;
  if (!written) {
    std::remove(temporary.c_str());
    return false;
  }
  return replaceFile(temporary, path);
}

}  // namespace tenmark
