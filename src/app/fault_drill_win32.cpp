#include <windows.h>

#include <cstdlib>
#include <exception>

#include "app/fault_drill.h"

namespace tenmark {

namespace {

volatile int deepest = 1 << 30;

// Each frame is kept: its byte is used after the call returns.
int recurse(int depth) {
  volatile char frame[4096];
  frame[0] = char(depth);
  return depth < deepest ? recurse(depth + 1) + frame[0] : 0;
}

DWORD WINAPI faultSoon(void*) {
  Sleep(300);  // the window's thread is deep in its allocations by then
  volatile int* volatile nowhere = nullptr;
  *nowhere = 1;
  return 0;
}

[[noreturn]] void allocateWhileAnotherThreadFaults() {
  const HANDLE faulting = CreateThread(nullptr, 0, faultSoon, nullptr, 0, nullptr);
  if (faulting) CloseHandle(faulting);
  const HANDLE heap = GetProcessHeap();
  for (;;) HeapFree(heap, 0, HeapAlloc(heap, 0, 64));
}

}  // namespace

void runFaultDrill(FaultDrill drill) {
  switch (drill) {
    case FaultDrill::Terminate:
      std::terminate();
    case FaultDrill::Abort:
      std::abort();
    case FaultDrill::StackOverflow:
      recurse(0);
      break;
    case FaultDrill::FaultWhileAllocating:
      allocateWhileAnotherThreadFaults();
  }
}

}  // namespace tenmark
