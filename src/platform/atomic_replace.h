#pragma once
#include <string>

namespace tenmark {

// Moves a finished temporary file over the target in one step, replacing any existing file.
// On failure the target is untouched and the temporary is removed.
bool replaceFile(const std::string& temporary, const std::string& target);

// A temporary name beside the target (same folder, so the final move never crosses volumes).
std::string temporaryNameFor(const std::string& target);

}  // namespace tenmark
