#include "app/rescue_file_win32.h"

#include <windows.h>

#include <atomic>
#include <cstring>

#include "imagefile/bmp_codec.h"
#include "imagefile/document_names.h"
#include "platform/delete_mark_win32.h"

namespace tenmark {

namespace {

// The longest path the wide file calls take, in UTF-16 units, and its UTF-8 bytes at most.
constexpr int kWidePathCapacity = 32768;
constexpr std::size_t kPathCapacity = std::size_t(kWidePathCapacity) * 3;
constexpr int kMaxNumber = 10000;

// Two slots, so that the window's thread prepares one while a rescue may read the other.
char preparedPaths[2][kPathCapacity];
std::atomic<int> preparedSlot{-1};

bool writePiece(void* file, const std::uint8_t* bytes, std::size_t size) {
  DWORD written = 0;
  return WriteFile(static_cast<HANDLE>(file), bytes, DWORD(size), &written, nullptr) &&
         written == size;
}

}  // namespace

void prepareRescueFile(const std::string& basePath) {
  if (basePath.empty() || basePath.size() >= kPathCapacity) {
    preparedSlot = -1;
    return;
  }
  const int slot = preparedSlot == 0 ? 1 : 0;
  std::memcpy(preparedPaths[slot], basePath.c_str(), basePath.size() + 1);
  preparedSlot = slot;
}

RescueFile::RescueFile() : file_(INVALID_HANDLE_VALUE) {
  const int slot = preparedSlot;
  if (slot < 0) return;
  static char path[kPathCapacity];
  static wchar_t widePath[kWidePathCapacity];
  for (int n = 0; n < kMaxNumber; ++n) {
    // The conversion writes into our own memory; it takes nothing from the heap.
    if (!numberedSavePath(path, preparedPaths[slot], ".bmp", n) ||
        !MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, widePath, kWidePathCapacity))
      return;
    const HANDLE file = CreateFileW(widePath, GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      file_ = file;
      markForDeletion(file, true);  // where the system cannot mark it, a partial picture stays
      return;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return;
  }
}

RescueFile::~RescueFile() {
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

void RescueFile::write(const MonoBitmap& canvas) {
  if (file_ != INVALID_HANDLE_VALUE && writeBmpPieces(canvas, writePiece, file_) &&
      FlushFileBuffers(file_))
    markForDeletion(file_, false);
}

}  // namespace tenmark
