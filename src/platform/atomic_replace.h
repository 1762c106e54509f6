#pragma once
// The platform steps of an atomic write: a temporary file beside the target whose data reaches
// the disk before it is moved over the target in one step.
#include <cstdint>
#include <span>
#include <string>

namespace tenmark {

// True for an existing target that the user has marked read-only: it is never replaced.
bool isReadOnlyFile(const std::string& target);

// A new file created exclusively under the first free temporary name, so an existing file of
// that name is never truncated. Removed again unless replaceTarget succeeds.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& target);
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool isOpen() const { return open_; }
  bool write(std::span<const std::uint8_t> bytes);
  // Waits until the written data is on the disk, so that the replace never exposes an empty or
  // partial file after a crash.
  bool flush();
  // Closes the file and moves it over the target, replacing any existing file.
  bool replaceTarget();

 private:
  void close();

  std::string target_;
  std::string name_;
  std::intptr_t handle_ = -1;
  bool open_ = false;
};

}  // namespace tenmark
