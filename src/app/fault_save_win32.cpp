#include "app/fault_save_win32.h"

#include <windows.h>

#include <atomic>

#include "app/paper_model.h"

namespace tenmark {

namespace {

std::atomic<PaperModel*> faultModel{nullptr};
LPTOP_LEVEL_EXCEPTION_FILTER previousFilter = nullptr;
// The thread that faulted first and saves; 0 until then.
std::atomic<DWORD> savingThread{0};
std::atomic<bool> saveFinished{false};

void savePicture() noexcept {
  // Taken out, so that the picture is written at most once.
  PaperModel* model = faultModel.exchange(nullptr);
  if (!model) return;
  try {
    model->saveAfterFault();  // a failed write has nobody left to tell
  } catch (...) {
  }
}

LONG WINAPI onUnhandledException(EXCEPTION_POINTERS* exception) {
  const DWORD self = GetCurrentThreadId();
  DWORD first = 0;
  if (savingThread.compare_exchange_strong(first, self)) {
    savePicture();
    saveFinished = true;
  } else if (first == self) {
    // A fault inside the save itself: no second attempt, and nothing more of ours runs.
    return EXCEPTION_CONTINUE_SEARCH;
  } else {
    // Another thread faulted first: the process must not end in the middle of its save.
    for (int waited = 0; waited < 1000 && !saveFinished; ++waited) Sleep(10);
  }
  return previousFilter ? previousFilter(exception) : EXCEPTION_CONTINUE_SEARCH;
}

// 64-bit Windows (7 SP1 on) can swallow a fault raised in a window procedure that the kernel
// calls back (a sent message) and carry on; with this policy off, such a fault ends the process
// through the filter like any other. Wine has no such policy, and delivers these faults to the
// filter as well.
void letCallbackFaultsThrough() {
  using GetPolicy = BOOL(WINAPI*)(DWORD*);
  using SetPolicy = BOOL(WINAPI*)(DWORD);
  constexpr DWORD kCallbackFilterEnabled = 0x1;  // PROCESS_CALLBACK_FILTER_ENABLED
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (!kernel) return;
  const auto get = reinterpret_cast<GetPolicy>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "GetProcessUserModeExceptionPolicy")));
  const auto set = reinterpret_cast<SetPolicy>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetProcessUserModeExceptionPolicy")));
  DWORD flags = 0;
  if (get && set && get(&flags)) set(flags & ~kCallbackFilterEnabled);
}

}  // namespace

void installFaultSave(PaperModel& model) {
  faultModel = &model;
  letCallbackFaultsThrough();
  // After a stack overflow the filter runs on what is left of this thread's stack: keep enough
  // for encoding the picture.
  ULONG reserve = 64 * 1024;
  SetThreadStackGuarantee(&reserve);
  const LPTOP_LEVEL_EXCEPTION_FILTER previous = SetUnhandledExceptionFilter(onUnhandledException);
  if (previous != onUnhandledException) previousFilter = previous;
}

void clearFaultSave() { faultModel = nullptr; }

}  // namespace tenmark
