#pragma once
// A small modal dialog base over the Win32 API: the window is created from a dialog template
// and run in our own modal loop, so that key messages can be looked at before the dialog's
// keyboard handling (Escape → Cancel, Enter → OK) sees them.

#include <windows.h>

namespace tenmark {

class ModalDialog {
 public:
  explicit ModalDialog(int templateId) : templateId_(templateId) {}
  virtual ~ModalDialog() = default;
  ModalDialog(const ModalDialog&) = delete;
  ModalDialog& operator=(const ModalDialog&) = delete;

  // Creates the dialog, runs it until endModal, and returns the code given to endModal. A
  // window destroyed otherwise (with its owner, say) ends the loop too, as Cancel. The owner (if
  // any) is disabled meanwhile.
  INT_PTR runModal(HWND owner);
  HWND hwnd() const { return hwnd_; }

 protected:
  virtual BOOL onInitDialog() { return TRUE; }
  virtual void onOK() { endModal(IDOK); }
  virtual void onCancel() { endModal(IDCANCEL); }
  // Return true when the message is consumed and must not reach the dialog's keyboard handling.
  virtual bool preTranslateMessage(MSG&) { return false; }
  // Messages other than WM_INITDIALOG; return true when handled, with the result in `result`.
  virtual bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  void endModal(INT_PTR code);

 private:
  static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // preTranslateMessage, with allocation failures kept inside.
  bool offerMessage(MSG& msg);
  void enableOwner();
  // The loop stops at its next message.
  void endLoop();

  int templateId_;
  HWND hwnd_ = nullptr;
  // The owner that this dialog disabled while it runs.
  HWND disabledOwner_ = nullptr;
  bool running_ = false;
  INT_PTR result_ = IDCANCEL;
};

}  // namespace tenmark
