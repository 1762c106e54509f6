#include "win32/subclass.h"

namespace tenmark {

namespace {

constexpr const char* kSubclassProperty = "TenmarkSubclass";

}  // namespace

void Subclass::attach(HWND control, Handler handler) {
  handler_ = std::move(handler);
  SetPropA(control, kSubclassProperty, this);
  original_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

LRESULT CALLBACK Subclass::proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<Subclass*>(GetPropA(hwnd, kSubclassProperty));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    RemovePropA(hwnd, kSubclassProperty);
    return CallWindowProcW(self->original_, hwnd, message, wParam, lParam);
  }
  LRESULT result = 0;
  if (self->handler_(message, wParam, lParam, result)) return result;
  return CallWindowProcW(self->original_, hwnd, message, wParam, lParam);
}

}  // namespace tenmark
