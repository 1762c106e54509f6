#pragma once
// The file that the rescue after a fault writes: its path prepared in advance into fixed memory,
// and the picture written as a 1-bit BMP with the system's file calls alone, so that the rescue
// allocates nothing in a process whose heap may be what broke.

#include <string>

namespace tenmark {

class MonoBitmap;

// The next rescue writes `basePath` + ".bmp", or the first free numbered name after it; nothing
// for an empty path. Called on the window's thread; a rescue on another thread meanwhile reads
// the path prepared before, whole.
void prepareRescueFile(const std::string& basePath);

// The canvas into a new file, never over an existing one. False when nothing was written.
bool writeRescueFile(const MonoBitmap& canvas);

}  // namespace tenmark
