#pragma once
// The clipboard's device-dependent bitmap, written from and read into 32-bit images.

#include <windows.h>

#include "surface/clipboard_picture.h"
#include "surface/rgb32_image.h"

namespace tenmark {

// A bitmap in the screen's format made from the image, on the clipboard; the clipboard is left
// untouched when the bitmap cannot be made.
void putClipboardBitmap(HWND owner, const Rgb32Image& image);

// The top-left part of the clipboard's bitmap, at most maxWidth x maxHeight, read while the
// clipboard is open and converted from whatever depth it has; unreadable when any step failed.
ClipboardPicture readClipboardBitmap(HWND owner, int maxWidth, int maxHeight);

}  // namespace tenmark
