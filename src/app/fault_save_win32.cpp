#include "app/fault_save_win32.h"

#include <windows.h>

#include <atomic>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <exception>

#include "app/paper_model.h"
#include "app/rescue_file_win32.h"

namespace tenmark {

namespace {

constexpr DWORD kInvalidCrtParameter = 0xC0000417;  // STATUS_INVALID_CRT_PARAMETER

std::atomic<PaperModel*> faultModel{nullptr};
HANDLE windowThread = nullptr;
DWORD windowThreadId = 0;
LPTOP_LEVEL_EXCEPTION_FILTER previousFilter = nullptr;
std::terminate_handler previousTerminate = nullptr;
_purecall_handler previousPureCall = nullptr;
_invalid_parameter_handler previousInvalidParameter = nullptr;
// The thread that came first and rescues; 0 until then.
std::atomic<DWORD> rescuingThread{0};
std::atomic<bool> rescueFinished{false};

// The file is made while every other thread still runs: a file call with a path takes the
// process heap's lock, which a thread suspended in an allocation would hold for ever. While the
// window's thread is suspended (it would go on changing the canvas under the rescue), only calls
// on the open file follow. It runs on once the picture is safe, as it would have without the
// rescue: what the runtime and the system do about the fault next takes the same lock.
void rescue(PaperModel& model, DWORD self) {
  RescueFile file;
  const bool suspended =
      self != windowThreadId && windowThread && SuspendThread(windowThread) != DWORD(-1);
  if (model.needsRescue()) file.write(model.canvas());
  if (suspended) ResumeThread(windowThread);
}

// Whichever handler on whichever thread comes first writes the picture; it is written once.
void rescueOnce() noexcept {
  const DWORD self = GetCurrentThreadId();
  DWORD first = 0;
  if (!rescuingThread.compare_exchange_strong(first, self)) {
    // A second failure inside the rescue gives up at once; another thread must not end the
    // process in the middle of the file.
    for (int waited = 0; first != self && waited < 1000 && !rescueFinished; ++waited) Sleep(10);
    return;
  }
  if (PaperModel* model = faultModel.exchange(nullptr)) rescue(*model, self);
  rescueFinished = true;
}

LONG WINAPI onUnhandledException(EXCEPTION_POINTERS* exception) {
  rescueOnce();
  return previousFilter ? previousFilter(exception) : EXCEPTION_CONTINUE_SEARCH;
}

[[noreturn]] void onTerminate() {
  rescueOnce();
  if (previousTerminate) previousTerminate();
  std::abort();
}

// abort() and a raised SIGABRT: the handler is reset before it runs, so raising again ends the
// process as the default would.
void onAbortSignal(int) {
  rescueOnce();
  std::raise(SIGABRT);
}

// The runtime ends the process itself when this returns.
void onPureCall() {
  rescueOnce();
  if (previousPureCall) previousPureCall();
}

// The runtimes since 2005 end the process here; the old msvcrt.dll would carry on, but the
// picture has been rescued once already, so the process ends as they end it.
void onInvalidParameter(const wchar_t* expression, const wchar_t* function, const wchar_t* file,
                        unsigned line, std::uintptr_t reserved) {
  rescueOnce();
  if (previousInvalidParameter)
    previousInvalidParameter(expression, function, file, line, reserved);
  TerminateProcess(GetCurrentProcess(), kInvalidCrtParameter);
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

void installRuntimeHandlers() {
  const std::terminate_handler terminate = std::set_terminate(onTerminate);
  if (terminate != onTerminate) previousTerminate = terminate;
  std::signal(SIGABRT, onAbortSignal);
  // For a window program msvcrt's abort() shows its message in a box before SIGABRT is raised,
  // and nobody may be there to close it; the message goes to the (absent) console instead. The
  // linked msvcrt.dll has no _set_abort_behavior.
  _set_error_mode(_OUT_TO_STDERR);
  // Where msvcrt.dll lacks these two (Wine's does), the mingw runtime keeps the handlers for
  // its own checks; libstdc++'s pure virtual calls go through std::terminate either way.
  const _purecall_handler pureCall = _set_purecall_handler(onPureCall);
  if (pureCall != onPureCall) previousPureCall = pureCall;
  const _invalid_parameter_handler invalid = _set_invalid_parameter_handler(onInvalidParameter);
  if (invalid != onInvalidParameter) previousInvalidParameter = invalid;
}

}  // namespace

void installFaultSave(PaperModel& model) {
  faultModel = &model;
  windowThreadId = GetCurrentThreadId();
  if (!windowThread) windowThread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, windowThreadId);
  letCallbackFaultsThrough();
  // After a stack overflow the rescue runs on what is left of this thread's stack; it needs
  // little, the system's own handling that follows needs more.
  ULONG reserve = 64 * 1024;
  SetThreadStackGuarantee(&reserve);
  const LPTOP_LEVEL_EXCEPTION_FILTER previous = SetUnhandledExceptionFilter(onUnhandledException);
  if (previous != onUnhandledException) previousFilter = previous;
  installRuntimeHandlers();
}

void clearFaultSave() { faultModel = nullptr; }

}  // namespace tenmark
