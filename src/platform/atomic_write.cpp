#include "platform/atomic_write.h"

#include "platform/atomic_replace.h"

namespace tenmark {

bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
  if (isReadOnlyFile(path)) return false;
  TemporaryFile temporary(path);
  return temporary.isOpen() && temporary.write(bytes) && temporary.flush() &&
         temporary.replaceTarget();
}

}  // namespace tenmark
