#pragma once
#include <cstdint>
#include <span>
#include <string>

namespace tenmark {

// Writes a temporary file beside the target and moves it over the target only when every byte
// has reached it; on failure the existing file is untouched and no temporary remains.
bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace tenmark
