#include "win32/present.h"

namespace tenmark {

void presentImage(HDC dc, int x, int y, const Rgb32Image& image) {
  if (!dc || image.width <= 0 || image.height <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, x, y, DWORD(image.width), DWORD(image.height), 0, 0, 0, UINT(image.height),
                    image.pixels.data(), &info, DIB_RGB_COLORS);
}

void fillSolid(HDC dc, int left, int top, int right, int bottom, Color color) {
  if (right <= left || bottom <= top) return;
  HBRUSH brush = CreateSolidBrush(color);
  const RECT r{left, top, right, bottom};
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

}  // namespace tenmark
