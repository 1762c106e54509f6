#include "win32/clipboard.h"

#include <algorithm>
#include <new>

namespace tenmark {

namespace {

BITMAPINFO topDown32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace

void putClipboardBitmap(HWND owner, const Rgb32Image& image) {
  HDC screen = GetDC(owner);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, image.width, image.height);
  if (bitmap) {
    BITMAPINFO info = topDown32(image.width, image.height);
    SetDIBits(screen, bitmap, 0, UINT(image.height), image.pixels.data(), &info, DIB_RGB_COLORS);
  }
  ReleaseDC(owner, screen);
  if (!bitmap) return;
  if (!OpenClipboard(owner)) {
    DeleteObject(bitmap);
    return;
  }
  EmptyClipboard();
  // From here on the clipboard owns the bitmap.
  if (!SetClipboardData(CF_BITMAP, bitmap)) DeleteObject(bitmap);
  CloseClipboard();
}

std::optional<Rgb32Image> readClipboardBitmap(HWND owner, int maxWidth, int maxHeight) {
  if (!OpenClipboard(owner)) return std::nullopt;
  std::optional<Rgb32Image> picture;
  HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  BITMAP facts{};
  if (bitmap && GetObjectA(bitmap, sizeof facts, &facts)) {
    const int width = std::min<LONG>(facts.bmWidth, maxWidth);
    const int height = std::min<LONG>(facts.bmHeight, maxHeight);
    if (width > 0 && height > 0) {
      // The platform converts whatever depth the bitmap has; only the part the canvas can take
      // is ever allocated.
      HDC screen = GetDC(owner);
      HDC source = CreateCompatibleDC(screen);
      HDC target = CreateCompatibleDC(screen);
      BITMAPINFO info = topDown32(width, height);
      void* bits = nullptr;
      HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
      if (section && source && target) {
        HGDIOBJ oldSource = SelectObject(source, bitmap);
        HGDIOBJ oldTarget = SelectObject(target, section);
        BitBlt(target, 0, 0, width, height, source, 0, 0, SRCCOPY);
        GdiFlush();
        try {
          picture.emplace();
          picture->reshape(width, height);
          const auto* pixels = static_cast<const std::uint32_t*>(bits);
          std::copy(pixels, pixels + picture->pixels.size(), picture->pixels.begin());
          for (std::uint32_t& p : picture->pixels) p &= 0x00FFFFFFu;
        } catch (const std::bad_alloc&) {
          // Nothing to paste; every handle is still given back below.
          picture.reset();
        }
        SelectObject(target, oldTarget);
        SelectObject(source, oldSource);
      }
      if (section) DeleteObject(section);
      if (target) DeleteDC(target);
      if (source) DeleteDC(source);
      ReleaseDC(owner, screen);
    }
  }
  CloseClipboard();
  return picture;
}

}  // namespace tenmark
