#pragma once
// Whole files in, for the codecs that work on memory.

#include <cstdint>
#include <string>
#include <vector>

namespace tenmark {

// False when the file cannot be opened or read, or is larger than kMaxFileBytes.
bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes);

}  // namespace tenmark
