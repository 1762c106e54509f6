#include "win32/clipboard.h"

#include <algorithm>
#include <new>
#include <span>
#include <vector>

#include "imagefile/dib_reader.h"
#include "surface/picture_reduction.h"
#include "win32/handles.h"
#include "win32/present.h"

namespace tenmark {

namespace {

ClipboardPicture unreadable() { return {ClipboardPicture::Status::Unreadable, {}}; }

// The header of a bottom-up 32-bit image: reading with it converts a bitmap of any depth, and its
// scan lines count from the bottom row.
BITMAPINFO bottomUp32BitInfo(int width, int height) {
  BITMAPINFO info = topDown32BitInfo(width, height);
  info.bmiHeader.biHeight = height;
  return info;
}

// The top-left part of `bitmap` (of `facts`) that `picture` has room for, one row at a time, so
// that no more of a wide bitmap is held than one row; false when any row could not be read.
bool readRows(HDC screen, HBITMAP bitmap, const BITMAP& facts, MonoBitmap& picture) {
  std::vector<std::uint32_t> row(std::size_t(facts.bmWidth));
  RowReduction reduce(NearerIndex(picture.getColor(0), picture.getColor(1)));
  for (int y = 0; y < picture.height(); ++y) {
    BITMAPINFO info = bottomUp32BitInfo(facts.bmWidth, facts.bmHeight);
    if (GetDIBits(screen, bitmap, UINT(facts.bmHeight - 1 - y), 1, row.data(), &info,
                  DIB_RGB_COLORS) != 1)
      return false;
    reduce(reinterpret_cast<const std::uint8_t*>(row.data()), picture.width(), picture.row(y));
  }
  return true;
}

ClipboardPicture readBitmap(HWND owner, const MonoBitmap& canvas) {
  HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  BITMAP facts{};
  if (!bitmap || !GetObjectA(bitmap, sizeof facts, &facts) || facts.bmWidth <= 0 ||
      facts.bmHeight <= 0)
    return unreadable();
  const WindowDc screen(owner);
  ClipboardPicture read{ClipboardPicture::Status::Read, {}};
  // Only the part the canvas can take is ever allocated.
  if (!screen.get() || !read.picture.create(std::min<int>(facts.bmWidth, canvas.width()),
                                            std::min<int>(facts.bmHeight, canvas.height())))
    return unreadable();
  read.picture.setColor(0, canvas.getColor(0));
  read.picture.setColor(1, canvas.getColor(1));
  if (!readRows(screen.get(), bitmap, facts, read.picture)) return unreadable();
  return read;
}

std::span<const std::uint8_t> bytesOf(const LockedGlobal& data) {
  return {data.bytes(), data.size()};
}

// Of CF_DIBV5 and CF_DIB, the one listed first, or 0: a program's own formats are listed in its
// order of preference, the system's conversions after them. `bitmapFirst` tells whether a
// CF_BITMAP comes before it.
UINT listedDib(bool& bitmapFirst) {
  bitmapFirst = false;
  for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
    if (format == CF_DIBV5 || format == CF_DIB) return format;
    bitmapFirst = bitmapFirst || format == CF_BITMAP;
  }
  return 0;
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

ClipboardPicture readClipboardPicture(HWND owner, const MonoBitmap& canvas) {
  const OpenedClipboard clipboard(owner);
  if (!clipboard.isOpen()) return unreadable();
  try {
    bool bitmapFirst = false;
    if (const UINT format = listedDib(bitmapFirst)) {
      const LockedGlobal data(GetClipboardData(format));
      if (!data.bytes()) return unreadable();
      // A bitmap put first stands for the picture unless the DIB holds transparency it lost.
      if (!bitmapFirst || dibHasAlpha(bytesOf(data))) {
        ClipboardPicture read{ClipboardPicture::Status::Read, {}};
        switch (readDib(bytesOf(data), canvas, read.picture)) {
          case DibReading::Read:
            return read;
          case DibReading::Refused:
            return unreadable();
          case DibReading::NotDecoded:
            break;  // the system's conversion into a bitmap reads it
        }
      }
    }
    if (!IsClipboardFormatAvailable(CF_BITMAP)) return ClipboardPicture{};
    return readBitmap(owner, canvas);
  } catch (const std::bad_alloc&) {
    return unreadable();
  }
}

}  // namespace tenmark
