#pragma once
// The platform steps of an atomic write: a temporary file beside the target whose data reaches
// the disk before it is moved to the target in one step. A failed step keeps the system's
// reason (platform/file_error.h).
#include <cstdint>
#include <span>
#include <string>

namespace tenmark {

// True for an existing target that the user has marked read-only: it is never replaced, and
// "access denied" is kept as the reason.
bool isReadOnlyFile(const std::string& target);

// A new file created exclusively under the first free temporary name, so an existing file of
// that name is never truncated. Removed again unless moveTo succeeds; on Windows by the system
// as well, should the process end first.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& target);
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool isOpen() const { return open_; }
  bool write(std::span<const std::uint8_t> bytes);
  // Waits until the written data is on the disk, so that the move never exposes an empty or
  // partial file after a crash.
  bool flush();
  enum class Moved { Done, NameTaken, Failed };
  // Moves the file to `target` while it is still open, so that nothing can take it on the way:
  // over an existing file when `replace`, else only under a free name (NameTaken when it is
  // not). May be tried again with another target.
  Moved moveTo(const std::string& target, bool replace);

 private:
  std::string name_;
  std::intptr_t handle_ = -1;
  bool open_ = false;
};

}  // namespace tenmark
