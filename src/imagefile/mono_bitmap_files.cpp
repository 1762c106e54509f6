// The file members of MonoBitmap: whole files through the in-memory codecs.
#include <vector>

#include "imagefile/bmp_codec.h"
#include "imagefile/file_bytes.h"
#include "imagefile/file_source.h"
#include "imagefile/png_codec.h"
#include "platform/atomic_write.h"
#include "surface/mono_bitmap.h"

namespace tenmark {

// Rows are read straight from the file into the new surface: a BMP is mostly pixel data.
PictureFault MonoBitmap::loadBmp(const std::string& path, bool* reduced) {
  FileSource file(path);
  return file.isOpen() ? decodeBmp(file, *this, reduced) : PictureFault::Unopened;
}

bool MonoBitmap::saveBmp(const WriteTarget& target) const {
  const std::vector<std::uint8_t> file = encodeBmp(*this);
  return !file.empty() && writeFileAtomically(target, file);
}

PictureFault MonoBitmap::loadPng(const std::string& path, bool* reduced) {
  std::vector<std::uint8_t> file;
  return readWholeFile(path, file) ? decodePng(file, *this, reduced) : PictureFault::Unopened;
}

bool MonoBitmap::savePng(const WriteTarget& target) const {
  std::vector<std::uint8_t> file;
  return encodePng(*this, file) && writeFileAtomically(target, file);
}

}  // namespace tenmark
