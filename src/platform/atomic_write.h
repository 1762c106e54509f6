#pragma once
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <utility>

namespace tenmark {

// Where an atomic write puts its file.
struct WriteTarget {
  // Over the file at `path`, replacing it.
  WriteTarget(const std::string& replaced) : path(replaced) {}
  // Under a name that `freeName` gives, never over an existing file: when the name has been
  // taken by the time the file is ready, `freeName` is asked again, and so on.
  explicit WriteTarget(std::function<std::string()> names) : freeName(std::move(names)) {}
  std::string path;
  std::function<std::string()> freeName;
};

// Writes a temporary file beside the target and moves it to the target only when every byte
// has reached the disk, so neither a failed write nor a crash leaves a partial file. A read-only
// target is refused. On failure the existing file is untouched, no temporary remains and the
// system's reason is kept (platform/file_error.h).
bool writeFileAtomically(const WriteTarget& target, std::span<const std::uint8_t> bytes);

// How many temporary names a write tries, and how many taken names a write without replacing.
inline constexpr int kTemporaryAttempts = 100;

// The name of the given attempt at a temporary beside the target: in the same folder, so that
// the final move never crosses volumes, and never longer than the target, so that a target
// within the path limit never fails for its temporary. The end of the file name gives way to
// "~" and the attempt's number, cut to whole Shift-JIS characters; a name shorter than that
// keeps the number's last digits. Never the target itself. "\" and "/" both end a folder.
std::string temporaryNameFor(const std::string& target, int attempt);

}  // namespace tenmark
