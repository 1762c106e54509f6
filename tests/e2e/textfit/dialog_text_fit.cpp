// Lays out the program's three dialogs from the templates in tenmark.exe, as the program does
// (same manifest, so the same controls and the same DPI awareness), and measures every label
// of a static text, check box, radio button, push button and group box in the control's own
// font against the room the control gives it.
//
// usage: dialog_text_fit.exe TENMARK_EXE
// Prints "dpi=N", then one line per label:
//   dialog=131 id=1015 kind=check need=97x12 room=105x15 fits=1 text_hex=<UTF-8>
//
// usage: dialog_text_fit.exe --list
// The shortcut dialog on screen, as the running program filled its list: every text of both
// columns, measured by the list in its own font, against the column's width. Prints
// "dpi=N rows=N", then one line per text: row=3 column=0 need=120 room=152 fits=1 text_hex=...
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>

#include "program_reading.h"

namespace {

constexpr int kDialogs[] = {131, 139, 100};  // settings, shortcut keys, About
constexpr int kVersionText = 1;              // the string the About box shows in IDC_VERSION
constexpr int kVersionControl = 1029;

// Texts that the program puts into labels at run time, in their widest form: the version in the
// About box, and the numbers beside the sliders at the largest value each slider can take.
struct RuntimeText {
  int dialog;
  int control;
  const wchar_t* text;
};
constexpr RuntimeText kRuntimeTexts[] = {
    {131, 1025, L"30"}, {131, 1026, L"30"}, {131, 1033, L"10"}, {131, 1022, L"255"}};

INT_PTR CALLBACK quietDialog(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

// What kind of label a control carries, or nullptr for controls without one.
const char* labelKind(HWND control) {
  wchar_t cls[64] = {};
  GetClassNameW(control, cls, 64);
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  if (lstrcmpiW(cls, L"Static") == 0) {
    const LONG type = style & SS_TYPEMASK;
    const bool text = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT ||
                      type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE;
    return text ? "static" : nullptr;
  }
  if (lstrcmpiW(cls, L"Button") != 0) return nullptr;
  switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
      return "check";
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return "radio";
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
      return "push";
    case BS_GROUPBOX:
      return "group";
    default:
      return nullptr;
  }
}

// The room a label needs beside its text, in pixels at the control's DPI: the check mark or
// radio circle and the gap after it (half a digit, as the controls place it) and the text's
// one-pixel margins; a push button's edge and focus frame on each side; the indent of a group
// box's caption at both ends.
int decoration(const char* kind, HDC dc, int dpi) {
  const std::string k = kind;
  if (k == "check" || k == "radio") {
    int digit = 0;
    GetCharWidth32W(dc, L'0', L'0', &digit);
    return MulDiv(13, dpi, 96) + digit / 2 + 2;
  }
  if (k == "push") return 2 * MulDiv(3, dpi, 96) + 2;
  if (k == "group") return 2 * MulDiv(8, dpi, 96);
  return 0;
}

BOOL CALLBACK checkControl(HWND control, LPARAM dialog) {
  const char* kind = labelKind(control);
  const std::wstring text = windowText(control);
  if (!kind || text.empty()) return TRUE;
  HDC dc = GetDC(control);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
  HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  const bool noPrefix = std::string(kind) == "static" && (style & SS_NOPREFIX);
  RECT need{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), int(text.size()), &need,
            DT_CALCRECT | DT_SINGLELINE | (noPrefix ? DT_NOPREFIX : 0));
  const int needWidth = need.right + decoration(kind, dc, dpi);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  RECT room;
  GetClientRect(control, &room);
  // A group box's caption sits on its top edge; every other label must fit its height too.
  const bool fits =
      needWidth <= room.right && (std::string(kind) == "group" || need.bottom <= room.bottom);
  std::printf("dialog=%d id=%d kind=%s need=%dx%ld room=%ldx%ld fits=%d text_hex=%s\n", int(dialog),
              GetDlgCtrlID(control), kind, needWidth, need.bottom, room.right, room.bottom,
              fits ? 1 : 0, utf8Hex(text).c_str());
  return TRUE;
}

int checkShortcutList() {
  ShortcutList list;
  if (!list.hwnd()) return std::printf("found=0\n"), 1;
  HDC dc = GetDC(list.hwnd());
  const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(list.hwnd(), dc);
  // The list keeps a few pixels of each column free around the text.
  const int padding = MulDiv(12, dpi, 96);
  const int rows = int(SendMessageW(list.hwnd(), LVM_GETITEMCOUNT, 0, 0));
  std::printf("dpi=%d rows=%d\n", dpi, rows);
  for (int column = 0; column < 2; ++column) {
    const int room = int(SendMessageW(list.hwnd(), LVM_GETCOLUMNWIDTH, WPARAM(column), 0));
    for (int row = 0; row < rows; ++row) {
      int width = 0;
      const std::wstring text = list.text(row, column, &width);
      std::printf("row=%d column=%d need=%d room=%d fits=%d text_hex=%s\n", row, column,
                  padding + width, room, padding + width <= room ? 1 : 0, utf8Hex(text).c_str());
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: dialog_text_fit TENMARK_EXE | --list\n");
    return 2;
  }
  if (std::string(argv[1]) == "--list") return checkShortcutList();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  HMODULE program = LoadLibraryExA(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!program) return std::printf("loaded=0\n"), 1;
  wchar_t version[256] = {};
  LoadStringW(program, kVersionText, version, 256);
  HDC screen = GetDC(nullptr);
  std::printf("dpi=%d\n", GetDeviceCaps(screen, LOGPIXELSX));
  ReleaseDC(nullptr, screen);
  for (int id : kDialogs) {
    HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));
    const auto* dialogTemplate =
        found ? static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(program, found)))
              : nullptr;
    HWND dialog = dialogTemplate
                      ? CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate,
                                                   nullptr, quietDialog, 0)
                      : nullptr;
    if (!dialog) {
      std::printf("dialog=%d created=0\n", id);
      continue;
    }
    if (id == 100) SetDlgItemTextW(dialog, kVersionControl, version);
    for (const RuntimeText& runtime : kRuntimeTexts)
      if (runtime.dialog == id) SetDlgItemTextW(dialog, runtime.control, runtime.text);
    EnumChildWindows(dialog, checkControl, id);
  }
  return 0;
}
