#include "dialogs/about_dialog_win32.h"

#include <shellapi.h>

#include <string>

#include "win32/dialog_controls.h"
#include "win32/handles.h"
#include "win32/modal_dialog.h"
#include "win32/window_dpi.h"
#include "resource_ids.h"

namespace tenmark {

namespace {

constexpr COLORREF kLinkColor = 0xFF0000;  // blue, in 0x00BBGGRR
constexpr int kLinkHeightAt96Dpi = 12;

class AboutDialog : public ModalDialog {
 public:
  AboutDialog() : ModalDialog(IDD_ABOUT) {}

 protected:
  BOOL onInitDialog() override;
  bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  HWND link() const { return GetDlgItem(hwnd(), IDC_LINK); }
  void makeLinkFont(int dpi);

  GdiObject<HFONT> linkFont_;
  HCURSOR hand_ = nullptr;
};

void AboutDialog::makeLinkFont(int dpi) {
  // Underlined, in the system's choice of face, 12 pixels high at 96 DPI and as much larger as
  // the rest of the box at the window's DPI; without it the link keeps the dialog font.
  GdiObject<HFONT> font(CreateFontA(
      MulDiv(kLinkHeightAt96Dpi, dpi, kDesignDpi), 0, 0, 0, 0, FALSE, TRUE, FALSE, SHIFTJIS_CHARSET,
      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DRAFT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, ""));
  if (!font) return;
  SendMessageA(link(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  linkFont_ = font.release();  // the old one goes once the link no longer uses it
}

BOOL AboutDialog::onInitDialog() {
  // The dialog manager scales the rest of the box at a change of scale; the link's font is ours.
  keepControlFontAtDpiChange(link());
  makeLinkFont(windowDpi(hwnd()));
  hand_ = LoadCursor(nullptr, IDC_HAND);
  char version[256] = {};
  LoadStringA(GetModuleHandleA(nullptr), IDS_VERSION, version, sizeof version);
  setControlText(hwnd(), IDC_VERSION, version);
  return TRUE;
}

bool AboutDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_CTLCOLORSTATIC: {
      if (reinterpret_cast<HWND>(lParam) != link()) return false;
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, kLinkColor);
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      return true;
    }
    case WM_DPICHANGED:
      makeLinkFont(LOWORD(wParam));
      return false;  // the dialog manager moves and scales the rest
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) != link()) return false;
      SetCursor(hand_);
      result = TRUE;
      return true;
    case WM_COMMAND:
      if (LOWORD(wParam) != IDC_LINK || HIWORD(wParam) != STN_CLICKED) return false;
      // Whether the shell could open it or not, the box stays.
      ShellExecuteA(hwnd(), nullptr, controlText(hwnd(), IDC_LINK).c_str(), nullptr, nullptr,
                    SW_SHOWNORMAL);
      return true;
    default:
      return false;
  }
}

}  // namespace

void showAboutDialog(HWND owner) {
  AboutDialog dialog;
  dialog.runModal(owner);
}

}  // namespace tenmark
