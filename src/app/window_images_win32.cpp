#include "app/window_images_win32.h"

#include <utility>

#include "win32/window_dpi.h"
#include "resource_ids.h"

namespace tenmark {

namespace {

HANDLE loadImage(int id, UINT type, int metricX, int metricY, int dpi) {
  return LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), type,
                    metricForDpi(metricX, dpi), metricForDpi(metricY, dpi), 0);
}

}  // namespace

WindowImages::~WindowImages() { release(); }

void WindowImages::load(HWND window, int dpi) {
  WindowImages old;
  std::swap(cursors_, old.cursors_);
  std::swap(icon_, old.icon_);
  std::swap(smallIcon_, old.smallIcon_);
  const int cursorIds[4] = {IDC_CURSOR_PEN, IDC_CURSOR_ERASER, IDC_CURSOR_MOVE, IDC_CURSOR_HAND};
  for (int i = 0; i < 4; ++i)
    cursors_[i] =
        static_cast<HCURSOR>(loadImage(cursorIds[i], IMAGE_CURSOR, SM_CXCURSOR, SM_CYCURSOR, dpi));
  icon_ = static_cast<HICON>(loadImage(IDI_TENMARK, IMAGE_ICON, SM_CXICON, SM_CYICON, dpi));
  smallIcon_ =
      static_cast<HICON>(loadImage(IDI_TENMARK, IMAGE_ICON, SM_CXSMICON, SM_CYSMICON, dpi));
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
  // A cursor on the screen must not be destroyed: the pointer takes the new one first.
  HCURSOR shown = GetCursor();
  for (int i = 0; i < 4; ++i)
    if (shown && shown == old.cursors_[i]) SetCursor(cursors_[i]);
}

void WindowImages::release() {
  for (HCURSOR& cursor : cursors_)
    if (cursor) DestroyCursor(std::exchange(cursor, nullptr));
  if (icon_) DestroyIcon(std::exchange(icon_, nullptr));
  if (smallIcon_) DestroyIcon(std::exchange(smallIcon_, nullptr));
}

}  // namespace tenmark
