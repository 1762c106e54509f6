#include "win32/clipboard.h"

#include <algorithm>
#include <new>
#include <vector>

#include "win32/handles.h"
#include "win32/present.h"

namespace tenmark {

namespace {

// The header of a bottom-up 32-bit image: reading with it converts a bitmap of any depth, and its
// scan lines count from the bottom row.
BITMAPINFO bottomUp32BitInfo(int width, int height) {
  BITMAPINFO info = topDown32BitInfo(width, height);
  info.bmiHeader.biHeight = height;
  return info;
}

// The top-left width x height pixels of `bitmap` (of `facts`), one row at a time, so that no more
// of a wide bitmap is held than one row; false when any row could not be read.
bool readRows(HDC screen, HBITMAP bitmap, const BITMAP& facts, Rgb32Image& into) {
  std::vector<std::uint32_t> row(std::size_t(facts.bmWidth));
  for (int y = 0; y < into.height; ++y) {
    BITMAPINFO info = bottomUp32BitInfo(facts.bmWidth, facts.bmHeight);
    if (GetDIBits(screen, bitmap, UINT(facts.bmHeight - 1 - y), 1, row.data(), &info,
                  DIB_RGB_COLORS) != 1)
      return false;
    for (int x = 0; x < into.width; ++x) into.at(x, y) = row[std::size_t(x)] & 0x00FFFFFFu;
  }
  return true;
}

}  // namespace

void putClipboardBitmap(HWND owner, const Rgb32Image& image) {
  GdiObject<HBITMAP> bitmap;
  {
    const WindowDc screen(owner);
    bitmap = CreateCompatibleBitmap(screen.get(), image.width, image.height);
    if (!bitmap) return;
    const BITMAPINFO info = topDown32BitInfo(image.width, image.height);
    SetDIBits(screen.get(), bitmap.get(), 0, UINT(image.height), image.pixels.data(), &info,
              DIB_RGB_COLORS);
  }
  const OpenedClipboard clipboard(owner);
  if (!clipboard.isOpen()) return;
  EmptyClipboard();
  // From here on the clipboard owns the bitmap.
  if (SetClipboardData(CF_BITMAP, bitmap.get())) bitmap.release();
}

ClipboardPicture readClipboardBitmap(HWND owner, int maxWidth, int maxHeight) {
  const ClipboardPicture unreadable{ClipboardPicture::Status::Unreadable, {}};
  const OpenedClipboard clipboard(owner);
  if (!clipboard.isOpen()) return unreadable;
  if (!IsClipboardFormatAvailable(CF_BITMAP)) return ClipboardPicture{};
  HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  BITMAP facts{};
  if (!bitmap || !GetObjectA(bitmap, sizeof facts, &facts) || facts.bmWidth <= 0 ||
      facts.bmHeight <= 0)
    return unreadable;
  const WindowDc screen(owner);
  if (!screen.get()) return unreadable;
  try {
    // Only the part the canvas can take is ever allocated.
    ClipboardPicture picture{ClipboardPicture::Status::Read, {}};
    picture.image.reshape(std::min<int>(facts.bmWidth, maxWidth),
                          std::min<int>(facts.bmHeight, maxHeight));
    return readRows(screen.get(), bitmap, facts, picture.image) ? picture : unreadable;
  } catch (const std::bad_alloc&) {
    return unreadable;
  }
}

}  // namespace tenmark
