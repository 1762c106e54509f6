#include <windows.h>

#include <algorithm>

#include "platform/atomic_replace.h"
#include "platform/atomic_write.h"
#include "platform/wide_text_win32.h"

namespace tenmark {

namespace {

constexpr int kMaxAttempts = 100;

HANDLE asHandle(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }

}  // namespace

bool isReadOnlyFile(const std::string& target) {
  const std::optional<std::wstring> name = toWide(target);
  const DWORD attributes = name ? GetFileAttributesW(name->c_str()) : INVALID_FILE_ATTRIBUTES;
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         (attributes & FILE_ATTRIBUTE_READONLY);
}

TemporaryFile::TemporaryFile(const std::string& target) : target_(target) {
  for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
    name_ = temporaryNameFor(target, attempt);
    const std::optional<std::wstring> name = toWide(name_);
    if (!name) return;
    const HANDLE h = CreateFileW(name->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      handle_ = reinterpret_cast<std::intptr_t>(h);
      open_ = true;
      return;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return;
  }
}

TemporaryFile::~TemporaryFile() {
  if (!open_) return;
  close();
  DeleteFileW(toWideOrEmpty(name_).c_str());
}

void TemporaryFile::close() {
  if (handle_ != -1) CloseHandle(asHandle(handle_));
  handle_ = -1;
}

bool TemporaryFile::write(std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = DWORD(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(asHandle(handle_), bytes.data(), chunk, &written, nullptr) || written == 0)
      return false;
    bytes = bytes.subspan(written);
  }
  return true;
}

bool TemporaryFile::flush() { return FlushFileBuffers(asHandle(handle_)) != 0; }

bool TemporaryFile::replaceTarget() {
  const bool closed = CloseHandle(asHandle(handle_)) != 0;
  handle_ = -1;
  if (!closed || !MoveFileExW(toWideOrEmpty(name_).c_str(), toWideOrEmpty(target_).c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return false;
  open_ = false;
  return true;
}

}  // namespace tenmark
