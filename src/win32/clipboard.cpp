#include "win32/clipboard.h"

#include <algorithm>
#include <new>
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

// The top-left part of `bitmap` (of `facts`) that `picture` has room for, a band of rows at a
// time: a call for each row costs Wine a millisecond, and a band holds no more of a wide bitmap
// than a few megabytes. False when any band could not be read.
bool readRows(HDC screen, HBITMAP bitmap, const BITMAP& facts, MonoBitmap& picture) {
  constexpr std::size_t kBandBytes = std::size_t(8) << 20;
  const std::size_t rowBytes = std::size_t(facts.bmWidth) * 4;
  const int band = int(std::clamp<std::size_t>(kBandBytes / rowBytes, 1, picture.height()));
  std::vector<std::uint8_t> rows(rowBytes * std::size_t(band));
  RowReduction reduce(NearerIndex(picture.getColor(0), picture.getColor(1)));
  for (int top = 0; top < picture.height(); top += band) {
    const int count = std::min(band, picture.height() - top);
    BITMAPINFO info = bottomUp32BitInfo(facts.bmWidth, facts.bmHeight);
    // Scan lines count from the bottom row: the band's lowest row comes first.
    if (GetDIBits(screen, bitmap, UINT(facts.bmHeight - top - count), UINT(count), rows.data(),
                  &info, DIB_RGB_COLORS) != count)
      return false;
    for (int i = 0; i < count; ++i)
      reduce(&rows[rowBytes * std::size_t(count - 1 - i)], picture.width(), picture.row(top + i));
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

// Of CF_DIBV5, CF_DIB and CF_BITMAP, the one listed first, or 0: a program's own formats are
// listed in its order of preference and the system's conversions after them, so this is what
// the program put. Reading a conversion instead would cost its making (seconds for a large
// bitmap under Wine) and could hold no more than the original.
UINT firstListedPicture() {
  for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format))
    if (format == CF_DIBV5 || format == CF_DIB || format == CF_BITMAP) return format;
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
    const UINT format = firstListedPicture();
    if (format == 0) return ClipboardPicture{};
    if (format != CF_BITMAP) {
      const LockedGlobal data(GetClipboardData(format));
      if (!data.bytes()) return unreadable();
      ClipboardPicture read{ClipboardPicture::Status::Read, {}};
      switch (readDib({data.bytes(), data.size()}, canvas, read.picture)) {
        case DibReading::Read:
          return read;
        case DibReading::Refused:
          return unreadable();
        case DibReading::NotDecoded:
          break;  // the system's conversion into a bitmap reads it
      }
    }
    return readBitmap(owner, canvas);
  } catch (const std::bad_alloc&) {
    return unreadable();
  }
}

}  // namespace tenmark
