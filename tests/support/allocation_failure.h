#pragma once
// Allocation failures on demand for the unit tests: the test binary replaces the global
// operator new, and an armed injector makes the N-th allocation from then on fail (throwing
// std::bad_alloc, or returning null for the nothrow forms), once.

#include <cstddef>

namespace tenmark {

// Fails the `n`-th allocation from now (1 is the next one) and the `count` - 1 after it. 0
// disarms.
void failAllocation(std::size_t n, std::size_t count = 1);
// True when the armed failure has happened since failAllocation was called.
bool allocationFailed();

// Allocations made while one is alive never fail and are not counted: for the test's own
// bookkeeping, which the real platform does without allocating.
class AllocationPause {
 public:
  AllocationPause();
  ~AllocationPause();
  AllocationPause(const AllocationPause&) = delete;
  AllocationPause& operator=(const AllocationPause&) = delete;
};

}  // namespace tenmark
