#pragma once
#include <cstdint>
#include <span>
#include <string>

namespace tenmark {

// Writes a temporary file beside the target and moves it over the target only when every byte
// has reached the disk, so neither a failed write nor a crash leaves a partial file. A read-only
// target is refused. On failure the existing file is untouched and no temporary remains.
bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// The name of the given attempt at a temporary beside the target: in the same folder, so that
// the final move never crosses volumes, and never longer than the target, so that a target
// within the path limit never fails for its temporary. The end of the file name gives way to
// "~" and the attempt's number, cut to whole Shift-JIS characters; a name shorter than that
// keeps the number's last digits. Never the target itself. "\" and "/" both end a folder.
std::string temporaryNameFor(const std::string& target, int attempt);

}  // namespace tenmark
