#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/atomic_replace.h"
#include "platform/atomic_write.h"
#include "platform/file_error.h"

namespace tenmark {

namespace {

std::string folderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The rename itself is only durable once the folder's entry is on the disk. Not every file
// system can sync a folder; the file is in place either way, so a failure here is not a
// failed save.
void syncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Without replacing: a second name for the file, which fails with EEXIST on a taken one.
bool moveWithoutReplacing(const std::string& from, const std::string& to) {
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  ::unlink(from.c_str());
  return true;
}

}  // namespace

// Root passes every access() check, so the mode's write bits decide as well: a file nobody may
// write stays untouched for every user, as a read-only file does on Windows.
bool isReadOnlyFile(const std::string& target) {
  struct stat st {};
  if (::stat(target.c_str(), &st) != 0) return false;
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(target.c_str(), W_OK) == 0)
    return false;
  errno = EACCES;
  noteFileError();
  return true;
}

TemporaryFile::TemporaryFile(const std::string& target) {
  for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
    name_ = temporaryNameFor(target, attempt);
    const int fd = ::open(name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      handle_ = fd;
      open_ = true;
      break;
    }
    if (errno != EEXIST) break;
  }
  if (!open_) {
    noteFileError();
    return;
  }
  // A replaced file keeps its permissions; a new one gets the usual ones under the umask.
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode))
    ::fchmod(int(handle_), st.st_mode & 07777);
}

TemporaryFile::~TemporaryFile() {
  if (!open_) return;
  std::remove(name_.c_str());
  ::close(int(handle_));
}

bool TemporaryFile::write(std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(int(handle_), bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) errno = ENOSPC;
    if (n <= 0) {
      noteFileError();
      return false;
    }
    bytes = bytes.subspan(std::size_t(n));
  }
  return true;
}

bool TemporaryFile::flush() {
  if (::fsync(int(handle_)) == 0) return true;
  noteFileError();
  return false;
}

// The file stays open until it is in place.
TemporaryFile::Moved TemporaryFile::moveTo(const std::string& target, bool replace) {
  if (replace ? std::rename(name_.c_str(), target.c_str()) != 0
              : !moveWithoutReplacing(name_, target)) {
    noteFileError();
    return !replace && errno == EEXIST ? Moved::NameTaken : Moved::Failed;
  }
  ::close(int(handle_));
  open_ = false;
  syncFolder(folderOf(target));
  return Moved::Done;
}

}  // namespace tenmark
