#include <windows.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "platform/atomic_replace.h"
#include "platform/atomic_write.h"
#include "platform/delete_mark_win32.h"
#include "platform/file_error.h"
#include "platform/wide_text_win32.h"

namespace tenmark {

namespace {

HANDLE asHandle(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }

// Moves the open file under its new name by its handle, so that nothing can take or remove it
// between closing and moving. The handle needs DELETE access.
bool renameOpenFile(HANDLE file, const std::wstring& target, bool replace) {
  const std::size_t nameBytes = target.size() * sizeof(wchar_t);
  // The structure ends in the name, with room for its zero.
  std::vector<std::uint64_t> storage((sizeof(FILE_RENAME_INFO) + nameBytes + 7) / 8);
  auto* info = new (storage.data()) FILE_RENAME_INFO{};
  info->ReplaceIfExists = replace;
  info->FileNameLength = DWORD(nameBytes);
  std::memcpy(info->FileName, target.c_str(), nameBytes + sizeof(wchar_t));
  return SetFileInformationByHandle(file, FileRenameInfo, info,
                                    DWORD(sizeof(FILE_RENAME_INFO) + nameBytes)) != 0;
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

// Where the system could not mark the file, it is deleted by its name.
TemporaryFile::~TemporaryFile() {
  if (!open_) return;
  CloseHandle(asHandle(handle_));
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

// The mark is taken back before the move: a process ended between the two leaves its temporary
// behind, where the other order would have the system delete the file that replaced the target.
TemporaryFile::Moved TemporaryFile::moveTo(const std::string& target, bool replace) {
  const HANDLE h = asHandle(handle_);
  markForDeletion(h, false);
  if (!renameOpenFile(h, toWideOrEmpty(target), replace)) {
    const DWORD error = GetLastError();
    noteFileError();
    markForDeletion(h, true);
    return !replace && (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
               ? Moved::NameTaken
               : Moved::Failed;
  }
  CloseHandle(h);
  open_ = false;
  return Moved::Done;
}

}  // namespace tenmark
