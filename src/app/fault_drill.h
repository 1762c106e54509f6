#pragma once
// Test builds only (CMake option TENMARK_FAULT_DRILL): a message that makes the process fail in
// one of the ways the rescue after a fault covers. The end-to-end tests' scripted tablet driver
// posts it.

namespace tenmark {

inline constexpr unsigned kFaultDrillMessage = 0x8000 + 0x3A0;  // WM_APP + 0x3A0

// FaultWhileAllocating: another thread faults while the window's thread allocates from the
// process heap without end, so that the rescue suspends it most likely holding the heap's lock.
enum class FaultDrill : unsigned {
  Terminate = 1,
  Abort = 2,
  StackOverflow = 3,
  FaultWhileAllocating = 4
};

void runFaultDrill(FaultDrill drill);

}  // namespace tenmark
