#pragma once
// What reading the clipboard's bitmap gave: no bitmap, one that could not be read, or its pixels.

#include "surface/rgb32_image.h"

namespace tenmark {

struct ClipboardPicture {
  enum class Status { NoBitmap, Unreadable, Read };
  Status status = Status::NoBitmap;
  Rgb32Image image;  // when Read
};

}  // namespace tenmark
