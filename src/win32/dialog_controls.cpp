#include "win32/dialog_controls.h"

#include <commctrl.h>

namespace tenmark {

std::string controlText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  // Room for a double-byte character per unit the length may report.
  std::string text(std::size_t(GetWindowTextLengthA(control)) * 2 + 1, '\0');
  text.resize(std::size_t(GetWindowTextA(control, text.data(), int(text.size()))));
  return text;
}

void setControlText(HWND dialog, int id, const std::string& text) {
  SetDlgItemTextA(dialog, id, text.c_str());
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

}  // namespace tenmark
