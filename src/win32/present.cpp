#include "win32/present.h"

#include "win32/handles.h"

namespace tenmark {

BITMAPINFO topDown32BitInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

void presentImage(HDC dc, int x, int y, const Rgb32Image& image) {
  if (!dc || image.width <= 0 || image.height <= 0) return;
  const BITMAPINFO info = topDown32BitInfo(image.width, image.height);
  SetDIBitsToDevice(dc, x, y, DWORD(image.width), DWORD(image.height), 0, 0, 0, UINT(image.height),
                    image.pixels.data(), &info, DIB_RGB_COLORS);
}

void fillSolid(HDC dc, const RECT& r, Color color) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  const GdiObject<HBRUSH> brush(CreateSolidBrush(color));
  if (brush) FillRect(dc, &r, brush.get());
}

}  // namespace tenmark
