#pragma once
// Whole files in and out, for the codecs that work on memory.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tenmark {

// False when the file cannot be opened or read, or is larger than kMaxFileBytes.
bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes);

// Writes a temporary file beside the target and moves it over the target only when every byte
// has reached it; on failure the existing file is untouched and no temporary remains.
bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace tenmark
