#include "win32/modal_dialog.h"

#include <new>

namespace tenmark {

INT_PTR ModalDialog::runModal(HWND owner) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  running_ = true;
  result_ = IDCANCEL;
  hwnd_ = CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId_), owner, dialogProc,
                             reinterpret_cast<LPARAM>(this));
  if (!hwnd_) return -1;
  disabledOwner_ = owner && !EnableWindow(owner, FALSE) ? owner : nullptr;
  MSG msg;
  BOOL got = 1;
  while (running_ && (got = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
    if (offerMessage(msg)) continue;
    if (hwnd_ && IsDialogMessageW(hwnd_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (got == 0) {
    // The program is asked to end: close this dialog the usual way, and leave the request for
    // the loops around this one.
    if (running_) onCancel();
    PostQuitMessage(int(msg.wParam));
  }
  enableOwner();
  return result_;
}

void ModalDialog::enableOwner() {
  if (disabledOwner_) EnableWindow(disabledOwner_, TRUE);
  disabledOwner_ = nullptr;
}

void ModalDialog::endModal(INT_PTR code) {
  result_ = code;
  // The owner first, so that it is the window activated when this one goes.
  enableOwner();
  if (hwnd_) DestroyWindow(hwnd_);
  endLoop();
}

void ModalDialog::endLoop() {
  if (!running_) return;
  running_ = false;
  // Ending from a message sent by another thread leaves the loop waiting for a posted one.
  PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
}

bool ModalDialog::offerMessage(MSG& msg) {
  try {
    return preTranslateMessage(msg);
  } catch (const std::bad_alloc&) {
    // What the key started could not get its memory and changed nothing; the key is spent.
    return true;
  }
}

bool ModalDialog::onMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

INT_PTR CALLBACK ModalDialog::dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ModalDialog* self;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<ModalDialog*>(lParam);
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    self->hwnd_ = hwnd;
  } else {
    self = reinterpret_cast<ModalDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  }
  if (!self) return FALSE;
  // No exception may cross the system's frames: a message whose work ran out of memory ends
  // here, with everything as it was, and the window goes on.
  try {
    return self->handle(hwnd, message, wParam, lParam);
  } catch (const std::bad_alloc&) {
    return FALSE;
  }
}

INT_PTR ModalDialog::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return onInitDialog();
  // Enter, Escape and the close box arrive as IDOK and IDCANCEL.
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    if (LOWORD(wParam) == IDOK) return onOK(), TRUE;
    if (LOWORD(wParam) == IDCANCEL) return onCancel(), TRUE;
  }
  LRESULT result = 0;
  const bool handled = onMessage(message, wParam, lParam, result);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    hwnd_ = nullptr;
    endLoop();
  }
  if (!handled) return FALSE;
  // A colour message's answer is the brush itself, not a message result.
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) return INT_PTR(result);
  SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
  return TRUE;
}

}  // namespace tenmark
