#pragma once
// The mark that has the system delete a file when its last handle closes, also when the process
// is ended; unlike FILE_FLAG_DELETE_ON_CLOSE, it can be taken back before Windows 10. A call on
// the open handle alone (DELETE access): no path is converted and nothing is allocated, so it
// waits on no lock of the process.

#include <windows.h>

namespace tenmark {

inline bool markForDeletion(HANDLE file, bool deleted) {
  FILE_DISPOSITION_INFO info{};
  info.DeleteFile = deleted;
  return SetFileInformationByHandle(file, FileDispositionInfo, &info, sizeof info) != 0;
}

}  // namespace tenmark
