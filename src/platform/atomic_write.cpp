#include "platform/atomic_write.h"

#include <algorithm>

#include "platform/atomic_replace.h"
#include "platform/shift_jis_path.h"

namespace tenmark {

namespace {

std::size_t fileNameStart(const std::string& path) {
  const std::size_t backslash = lastCharacter(path, '\\');
  const std::size_t slash = path.find_last_of('/');
  std::size_t start = 0;
  for (const std::size_t separator : {backslash, slash})
    if (separator != std::string::npos) start = std::max(start, separator + 1);
  return start;
}

}  // namespace

bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
  if (isReadOnlyFile(path)) return false;
  TemporaryFile temporary(path);
  return temporary.isOpen() && temporary.write(bytes) && temporary.flush() &&
         temporary.replaceTarget();
}

std::string temporaryNameFor(const std::string& target, int attempt) {
  const std::size_t nameStart = fileNameStart(target);
  const std::size_t nameLength = target.size() - nameStart;
  std::string marker = std::to_string(attempt);
  marker.insert(marker.begin(), '~');
  if (nameLength > 0 && marker.size() > nameLength) marker.erase(0, marker.size() - nameLength);
  const std::size_t room = target.size() - std::min(nameLength, marker.size());
  std::string name = target.substr(0, std::max(nameStart, wholeCharactersWithin(target, room)));
  name += marker;
  // A target whose name already ends this way: its last character differs.
  if (name == target) name.back() = '~';
  return name;
}

}  // namespace tenmark
