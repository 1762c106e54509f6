#include <windows.h>

#include <algorithm>

#include "platform/atomic_replace.h"
#include "platform/atomic_write.h"
#include "platform/file_error.h"
#include "platform/wide_text_win32.h"

namespace tenmark {

namespace {

HANDLE asHandle(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }

// A file marked so is deleted by the system when its handle closes, also when the process is
// ended; unlike FILE_FLAG_DELETE_ON_CLOSE, the mark can be taken back before Windows 10.
bool markForDeletion(HANDLE h, bool deleted) {
  FILE_DISPOSITION_INFO info{};
  info.DeleteFile = deleted;
  return SetFileInformationByHandle(h, FileDispositionInfo, &info, sizeof info) != 0;
}

}  // namespace

bool isReadOnlyFile(const std::string& target) {
  const std::optional<std::wstring> name = toWide(target);
  const DWORD attributes = name ? GetFileAttributesW(name->c_str()) : INVALID_FILE_ATTRIBUTES;
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) ||
      !(attributes & FILE_ATTRIBUTE_READONLY))
    return false;
  SetLastError(ERROR_ACCESS_DENIED);
  noteFileError();
  return true;
}

// A save in progress holds its temporary file open without sharing it, so deleting that one
// fails.
void removeLeftover(const std::string& name) { DeleteFileW(toWideOrEmpty(name).c_str()); }

TemporaryFile::TemporaryFile(const std::string& target) {
  for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
    name_ = temporaryNameFor(target, attempt);
    const std::optional<std::wstring> name = toWide(name_);
    if (!name) {
      SetLastError(ERROR_INVALID_NAME);
      break;
    }
    const HANDLE h = CreateFileW(name->c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      handle_ = reinterpret_cast<std::intptr_t>(h);
      open_ = true;
      // Where the system cannot mark it, the next save of the target removes a leftover.
      markForDeletion(h, true);
      return;
    }
    // Another save's temporary that is marked for deletion denies access to its name.
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED)
      break;
  }
  noteFileError();
}

TemporaryFile::~TemporaryFile() {
  if (!open_) return;
  if (handle_ != -1) CloseHandle(asHandle(handle_));
  DeleteFileW(toWideOrEmpty(name_).c_str());
}

bool TemporaryFile::write(std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = DWORD(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    const bool wrote = WriteFile(asHandle(handle_), bytes.data(), chunk, &written, nullptr);
    if (!wrote || written == 0) {
      if (wrote) SetLastError(ERROR_DISK_FULL);
      noteFileError();
      return false;
    }
    bytes = bytes.subspan(written);
  }
  return true;
}

bool TemporaryFile::flush() {
  if (FlushFileBuffers(asHandle(handle_))) return true;
  noteFileError();
  return false;
}

// A file cannot be moved while it is open, so the first move keeps the file and closes it.
TemporaryFile::Moved TemporaryFile::moveTo(const std::string& target, bool replace) {
  if (handle_ != -1) {
    markForDeletion(asHandle(handle_), false);
    if (!CloseHandle(asHandle(handle_))) {
      noteFileError();
      return Moved::Failed;
    }
  }
  handle_ = -1;
  const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
  if (!MoveFileExW(toWideOrEmpty(name_).c_str(), toWideOrEmpty(target).c_str(), flags)) {
    const DWORD error = GetLastError();
    noteFileError();
    return !replace && (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
               ? Moved::NameTaken
               : Moved::Failed;
  }
  open_ = false;
  return Moved::Done;
}

}  // namespace tenmark
