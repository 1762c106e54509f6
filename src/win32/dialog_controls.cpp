#include "win32/dialog_controls.h"

#include <commctrl.h>
#include <imm.h>

#include "platform/wide_text_win32.h"

namespace tenmark {

std::string controlText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  std::wstring text(std::size_t(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(std::size_t(GetWindowTextW(control, text.data(), int(text.size()))));
  // Typed text with a lone surrogate cannot be a name: it reads as nothing.
  return fromWide(text).value_or(std::string());
}

void setControlText(HWND dialog, int id, const std::string& text) {
  SetDlgItemTextW(dialog, id, toWideOrEmpty(text).c_str());
}

void setControlNumber(HWND dialog, int id, int value) {
  setControlText(dialog, id, std::to_string(value));
}

bool isChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void setChecked(HWND dialog, int id, bool checked) {
  CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void setSlider(HWND dialog, int id, int minimum, int maximum, int position) {
  SendDlgItemMessageA(dialog, id, TBM_SETRANGE, TRUE, MAKELPARAM(minimum, maximum));
  SendDlgItemMessageA(dialog, id, TBM_SETPOS, TRUE, position);
}

int sliderPosition(HWND dialog, int id) {
  return int(SendDlgItemMessageA(dialog, id, TBM_GETPOS, 0, 0));
}

void keepKeysFromInputMethod(HWND window, bool withChildren) {
  ImmAssociateContextEx(window, nullptr, 0);
  if (withChildren) ImmAssociateContextEx(window, nullptr, IACE_CHILDREN);
}

}  // namespace tenmark
