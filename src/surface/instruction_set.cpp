#include "surface/instruction_set.h"

#include <atomic>

namespace tenmark::simd {

namespace {

InstructionSet widestAvailable() {
#ifdef TENMARK_X86_KERNELS
  // The compiler's own query, not an ifunc: Windows executables have none.
  return __builtin_cpu_supports("avx2") ? InstructionSet::Avx2 : InstructionSet::Sse2;
#else
  return InstructionSet::Plain;
#endif
}

std::atomic<InstructionSet>& current() {
  static std::atomic<InstructionSet> set{widestAvailable()};
  return set;
}

}  // namespace

InstructionSet instructionSet() { return current().load(std::memory_order_relaxed); }

std::vector<InstructionSet> availableInstructionSets() {
  std::vector<InstructionSet> sets{InstructionSet::Plain};
  const InstructionSet widest = widestAvailable();
  if (widest >= InstructionSet::Sse2) sets.push_back(InstructionSet::Sse2);
  if (widest >= InstructionSet::Avx2) sets.push_back(InstructionSet::Avx2);
  return sets;
}

void forceInstructionSet(InstructionSet set) { current().store(set, std::memory_order_relaxed); }

const char* nameOf(InstructionSet set) {
  switch (set) {
    case InstructionSet::Sse2:
      return "sse2";
    case InstructionSet::Avx2:
      return "avx2";
    default:
      return "plain";
  }
}

}  // namespace tenmark::simd
