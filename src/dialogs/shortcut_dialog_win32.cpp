#include "dialogs/shortcut_dialog_win32.h"

#include <commctrl.h>

#include "platform/wide_text_win32.h"
#include "win32/dialog_controls.h"
#include "win32/modal_dialog.h"
#include "win32/window_dpi.h"
#include "win32/shell_services.h"
#include "resource_ids.h"
#include "shortcuts/shortcut_list.h"
#include "tenmark/texts.h"

namespace tenmark {

namespace {

class ShortcutDialog : public ModalDialog {
 public:
  explicit ShortcutDialog(const KeyBindings& live) : ModalDialog(IDD_SHORTCUTS), list_(live) {}
  const KeyBindings& bindings() const { return list_.bindings(); }

 protected:
  BOOL onInitDialog() override;
  void onOK() override;
  bool preTranslateMessage(MSG& msg) override;
  bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void insertColumn(int column, const char* header, int width);
  void showKey(std::size_t row);
  std::optional<std::size_t> selectedRow() const;
  LRESULT onListNotify(const NMHDR& header);
  void scaleColumns(int dpi);

  ShortcutList list_;
  HWND listView_ = nullptr;
  int dpi_ = kDesignDpi;
};

void ShortcutDialog::insertColumn(int column, const char* header, int width) {
  LVCOLUMNW info{};
  info.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  info.fmt = LVCFMT_LEFT;
  info.cx = width;
  std::wstring text = toWideOrEmpty(header);
  info.pszText = text.data();
  info.iSubItem = column;
  SendMessageA(listView_, LVM_INSERTCOLUMNW, WPARAM(column), reinterpret_cast<LPARAM>(&info));
}

BOOL ShortcutDialog::onInitDialog() {
  listView_ = GetDlgItem(hwnd(), IDC_SHORTCUT_LIST);
  // The list captures keys to bind, also with the IME on.
  keepKeysFromInputMethod(listView_, false);
  // The column widths are pixels at 96 DPI; the font grows with the window's DPI, so do they.
  dpi_ = windowDpi(hwnd());
  const int menuWidth = MulDiv(152, dpi_, kDesignDpi);
  insertColumn(0, text::ShortcutColumnMenu, menuWidth);
  insertColumn(1, text::ShortcutColumnKey, MulDiv(128, dpi_, kDesignDpi));
  SendMessageA(listView_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  for (std::size_t row = 0; row < ShortcutList::rowCount(); ++row) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = int(row);
    std::wstring text = toWideOrEmpty(ShortcutList::listName(row));
    item.pszText = text.data();
    SendMessageA(listView_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    showKey(row);
  }
  // No command name is ever cut: a font wider than the one the widths were chosen for widens
  // the first column to its longest name.
  SendMessageA(listView_, LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE);
  if (SendMessageA(listView_, LVM_GETCOLUMNWIDTH, 0, 0) < menuWidth)
    SendMessageA(listView_, LVM_SETCOLUMNWIDTH, 0, menuWidth);
  return TRUE;
}

void ShortcutDialog::showKey(std::size_t row) {
  std::wstring name = toWideOrEmpty(list_.keyName(row));
  LVITEMW item{};
  item.iSubItem = 1;
  item.pszText = name.data();
  SendMessageA(listView_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

std::optional<std::size_t> ShortcutDialog::selectedRow() const {
  const LRESULT row = SendMessageA(listView_, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED);
  if (row < 0) return std::nullopt;
  return std::size_t(row);
}

LRESULT ShortcutDialog::onListNotify(const NMHDR& header) {
  const std::optional<std::size_t> row = selectedRow();
  switch (header.code) {
    case LVN_KEYDOWN: {
      const auto& key = reinterpret_cast<const NMLVKEYDOWN&>(header);
      const auto isKeyDown = [](int virtualKey) { return GetKeyState(virtualKey) < 0; };
      if (!list_.pressKey(row, key.wVKey, isKeyDown)) return 0;
      showKey(*row);
      return 1;
    }
    case NM_RCLICK:
      list_.rightClick(row);
      break;
    case NM_DBLCLK:
      list_.doubleClick(row);
      break;
    default:
      return 0;
  }
  if (row) showKey(*row);
  return 0;
}

bool ShortcutDialog::preTranslateMessage(MSG& msg) {
  // A selected row waits for its key in the list; Escape there ends the wait, not the dialog,
  // whose edits would go with it.
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_ESCAPE || msg.hwnd != listView_ ||
      !selectedRow())
    return false;
  LVITEMW none{};
  none.stateMask = LVIS_SELECTED;
  SendMessageW(listView_, LVM_SETITEMSTATE, WPARAM(-1), reinterpret_cast<LPARAM>(&none));
  return true;
}

bool ShortcutDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      if (header.idFrom != IDC_SHORTCUT_LIST) return false;
      result = onListNotify(header);
      return true;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) != IDC_SHORTCUT_RESET || HIWORD(wParam) != BN_CLICKED) return false;
      list_.reset();
      for (std::size_t row = 0; row < ShortcutList::rowCount(); ++row) showKey(row);
      return true;
    case WM_DPICHANGED:
      scaleColumns(LOWORD(wParam));
      return false;  // the dialog manager moves and scales the rest
    case WM_SYSCOMMAND:
      // Alt and F10 reach the list as keys to bind, never the system menu.
      return (wParam & 0xFFF0) == SC_KEYMENU;
    default:
      return false;
  }
}

void ShortcutDialog::scaleColumns(int dpi) {
  // The dialog manager scales the list's font and size, not its columns.
  for (int column = 0; column < 2; ++column) {
    const int width = int(SendMessageA(listView_, LVM_GETCOLUMNWIDTH, WPARAM(column), 0));
    SendMessageA(listView_, LVM_SETCOLUMNWIDTH, WPARAM(column), MulDiv(width, dpi, dpi_));
  }
  dpi_ = dpi;
}

void ShortcutDialog::onOK() {
  if (const std::optional<std::string> message = list_.duplicateMessage()) {
    showMessage(hwnd(), message->c_str());
    return;
  }
  endModal(IDOK);
}

}  // namespace

std::optional<KeyBindings> showShortcutDialog(HWND owner, const KeyBindings& live) {
  ShortcutDialog dialog(live);
  if (dialog.runModal(owner) != IDOK) return std::nullopt;
  return dialog.bindings();
}

}  // namespace tenmark
