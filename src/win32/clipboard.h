#pragma once
// The clipboard's pictures: the canvas put there as a device-dependent bitmap, and whatever
// another program put there read into the canvas's two colours.

#include <windows.h>

#include "surface/clipboard_picture.h"
#include "surface/rgb32_image.h"

namespace tenmark {

// A bitmap in the screen's format made from the image, on the clipboard; the clipboard is left
// untouched when the bitmap cannot be made.
void putClipboardBitmap(HWND owner, const Rgb32Image& image);

// The top-left part of the clipboard's picture that the canvas can take, read while the
// clipboard is open: a DIB through the core's reader, a bitmap of any depth through the system's
// conversion; unreadable when any step failed or the DIB was refused.
ClipboardPicture readClipboardPicture(HWND owner, const MonoBitmap& canvas);

}  // namespace tenmark
