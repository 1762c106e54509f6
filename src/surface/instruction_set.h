#pragma once
// Which vector instructions the whole-canvas kernels use: the widest this processor has, asked
// once; SSE2 is always there on x86-64. Each kernel keeps its plain form as the reference, and
// tests force each set in turn to compare every form against it.

#include <vector>

// x86 kernels are built per function for their set (target attributes), so one executable runs
// everywhere; other processors have the plain forms only.
#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__) && defined(__SSE2__)
#define TENMARK_X86_KERNELS 1
#endif

namespace tenmark::simd {

enum class InstructionSet { Plain, Sse2, Avx2 };

// The set the kernels use now.
InstructionSet instructionSet();

// Every set this processor runs, plain first.
std::vector<InstructionSet> availableInstructionSets();

// For tests: the kernels use `set` from now on (the caller makes sure the processor has it).
void forceInstructionSet(InstructionSet set);

const char* nameOf(InstructionSet set);

}  // namespace tenmark::simd
