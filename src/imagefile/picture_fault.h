#pragma once
// Why a picture file could not be read, as the readers find it, for the message that says so.

namespace tenmark {

enum class PictureFault {
  None,  // read
  // The system could not open or read the file; its reason is kept (platform/file_error.h).
  Unopened,
  Empty,
  // Neither a PNG nor a BMP where the name says one: another format, or no picture at all.
  NotPicture,
  // The file ends before its picture does.
  CutShort,
  // A PNG or BMP of a kind not read here: a header, a compression or a depth.
  Unsupported,
  // Data that contradicts itself: a checksum, compressed data, a side of 0, masks that overlap.
  Damaged,
  // Sides above MonoBitmap::kMaxSide, or no memory for the picture.
  TooLarge,
};

}  // namespace tenmark
