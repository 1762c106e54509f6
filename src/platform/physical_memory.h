#pragma once

#include <cstdint>

namespace tenmark {

// The machine's physical memory in bytes; 0 when the system does not say.
std::uint64_t physicalMemoryBytes();

}  // namespace tenmark
