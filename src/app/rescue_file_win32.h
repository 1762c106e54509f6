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

// A new file under the prepared name, never over an existing one, marked for deletion until a
// written picture keeps it: a file not written, or whose process ends mid-write, goes when it is
// closed. Opening it converts the path, which takes the process heap's lock inside the system;
// writing it takes none.
class RescueFile {
 public:
  RescueFile();
  ~RescueFile();
  RescueFile(const RescueFile&) = delete;
  RescueFile& operator=(const RescueFile&) = delete;

  // The canvas into the file, on the disk, and the file kept; a partial picture goes.
  void write(const MonoBitmap& canvas);

 private:
  void* file_;
};

}  // namespace tenmark
