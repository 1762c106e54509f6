#pragma once
#include <cstdint>
#include <span>
#include <string>

namespace tenmark {

// Writes a temporary file beside the target and moves it over the target only when every byte
// has reached the disk, so neither a failed write nor a crash leaves a partial file. A read-only
// target is refused. On failure the existing file is untouched and no temporary remains.
bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace tenmark
