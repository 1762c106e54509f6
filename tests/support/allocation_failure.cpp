#include "support/allocation_failure.h"

#include <cstdlib>
#include <new>

namespace tenmark {

namespace {

std::size_t countdown = 0;
std::size_t failing = 0;
bool failed = false;
int paused = 0;

// True when this allocation is the one chosen to fail.
bool failNow() {
  if (countdown == 0 || paused > 0) return false;
  if (--countdown > 0) return false;
  failed = true;
  if (--failing > 0) countdown = 1;
  return true;
}

void* allocate(std::size_t size) {
  if (failNow()) return nullptr;
  return std::malloc(size == 0 ? 1 : size);
}

void* allocateOrThrow(std::size_t size) {
  void* p = allocate(size);
  if (!p) throw std::bad_alloc();
  return p;
}

}  // namespace

void failAllocation(std::size_t n, std::size_t count) {
  countdown = n;
  failing = count;
  failed = false;
}

bool allocationFailed() { return failed; }

AllocationPause::AllocationPause() { ++paused; }
AllocationPause::~AllocationPause() { --paused; }

}  // namespace tenmark

void* operator new(std::size_t size) { return tenmark::allocateOrThrow(size); }
void* operator new[](std::size_t size) { return tenmark::allocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return tenmark::allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return tenmark::allocate(size);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
