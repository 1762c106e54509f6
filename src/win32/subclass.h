#pragma once
// A control whose messages one of our objects sees first: the handler answers a message
// (returning true, with the result) or leaves it to the control's own procedure.

#include <windows.h>

#include <functional>

namespace tenmark {

class Subclass {
 public:
  using Handler = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

  Subclass() = default;
  Subclass(const Subclass&) = delete;
  Subclass& operator=(const Subclass&) = delete;

  void attach(HWND control, Handler handler);

 private:
  static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  Handler handler_;
  WNDPROC original_ = nullptr;
};

}  // namespace tenmark
