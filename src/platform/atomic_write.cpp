#include "platform/atomic_write.h"

#include <algorithm>

#include "platform/atomic_replace.h"
#include "platform/file_error.h"
#include "platform/path_text.h"

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

bool writeFileAtomically(const WriteTarget& target, std::span<const std::uint8_t> bytes) {
  clearFileError();
  const bool replace = !target.freeName;
  std::string path = replace ? target.path : target.freeName();
  if (replace && isReadOnlyFile(path)) return false;
  TemporaryFile temporary(path);
  if (!temporary.isOpen() || !temporary.write(bytes) || !temporary.flush()) return false;
  for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
    const TemporaryFile::Moved moved = temporary.moveTo(path, replace);
    if (moved != TemporaryFile::Moved::NameTaken) return moved == TemporaryFile::Moved::Done;
    path = target.freeName();
  }
  return false;
}

std::string temporaryNameFor(const std::string& target, int attempt) {
  const std::size_t nameStart = fileNameStart(target);
  std::string marker = std::to_string(attempt);
  marker.insert(marker.begin(), '~');
  // Whole characters come off the end of the name until the marker fits in their room, counted
  // as the wide calls count (UTF-16 units), so the name never grows past the system's limit.
  std::size_t end = target.size();
  std::size_t freed = 0;
  while (end > nameStart && freed < marker.size()) {
    int units = 0;
    end = std::max(nameStart, previousCharacter(target, end, units));
    freed += std::size_t(units);
  }
  // A name shorter than the marker keeps the marker's last digits.
  if (end == nameStart && nameStart < target.size() && freed < marker.size())
    marker.erase(0, marker.size() - freed);
  std::string name = target.substr(0, end) + marker;
  // A target whose name already ends this way: its last character differs.
  if (name == target) name.back() = '~';
  return name;
}

}  // namespace tenmark
