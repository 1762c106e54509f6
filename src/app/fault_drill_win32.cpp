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
  }
}

}  // namespace tenmark
