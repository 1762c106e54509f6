#include "win32/clipboard.h"

#include <algorithm>
#include <new>

#include "win32/handles.h"
#include "win32/present.h"

namespace tenmark {

namespace {

// The part of `bitmap` the section can take, converted by the platform from whatever depth the
// bitmap has.
bool copyInto(HDC screen, HBITMAP bitmap, HBITMAP section, int width, int height) {
  const MemoryDc source(screen);
  const MemoryDc target(screen);
  if (!source.get() || !target.get()) return false;
  const Selection from(source.get(), bitmap);
  const Selection to(target.get(), section);
  BitBlt(target.get(), 0, 0, width, height, source.get(), 0, 0, SRCCOPY);
  GdiFlush();
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

std::optional<Rgb32Image> readClipboardBitmap(HWND owner, int maxWidth, int maxHeight) {
  const OpenedClipboard clipboard(owner);
  if (!clipboard.isOpen()) return std::nullopt;
  HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  BITMAP facts{};
  if (!bitmap || !GetObjectA(bitmap, sizeof facts, &facts)) return std::nullopt;
  const int width = std::min<LONG>(facts.bmWidth, maxWidth);
  const int height = std::min<LONG>(facts.bmHeight, maxHeight);
  if (width <= 0 || height <= 0) return std::nullopt;
  // Only the part the canvas can take is ever allocated.
  const WindowDc screen(owner);
  const BITMAPINFO info = topDown32BitInfo(width, height);
  void* bits = nullptr;
  const GdiObject<HBITMAP> section(
      CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!section || !copyInto(screen.get(), bitmap, section.get(), width, height))
    return std::nullopt;
  try {
    Rgb32Image picture;
    picture.reshape(width, height);
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    std::copy(pixels, pixels + picture.pixels.size(), picture.pixels.begin());
    for (std::uint32_t& p : picture.pixels) p &= 0x00FFFFFFu;
    return picture;
  } catch (const std::bad_alloc&) {
    return std::nullopt;  // nothing to paste
  }
}

}  // namespace tenmark
