#pragma once
// What reading the clipboard's picture gave: no picture, one that could not be read, or the part
// of it that the canvas can show, already in the canvas's two colours.

#include "surface/mono_bitmap.h"

namespace tenmark {

struct ClipboardPicture {
  enum class Status { NoBitmap, Unreadable, Read };
  Status status = Status::NoBitmap;
  MonoBitmap picture;  // when Read
};

}  // namespace tenmark
