// A console helper that the end-to-end tests run beside tenmark.exe in the same Wine prefix to
// observe what a user sees: the main window's caption bytes, placement (and its monitor's work
// area), menu and view, the controls of the program's dialogs, and where the keyboard focus is.
// Output: one "key=value" line per fact; texts as hex of their ANSI (Shift-JIS) bytes.
#include <windows.h>
#include <shlobj.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

constexpr int kViewControlId = 1030;

std::string hex(const char* text) {
  std::string out;
  char buf[3];
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    std::snprintf(buf, sizeof buf, "%02x", *p);
    out += buf;
  }
  return out;
}

BOOL CALLBACK findMainWindow(HWND hwnd, LPARAM found) {
  char cls[64] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (std::strcmp(cls, "#32770") == 0 && IsWindowVisible(hwnd) &&
      GetDlgItem(hwnd, kViewControlId)) {
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK closeMainWindow(HWND hwnd, LPARAM) {
  HWND main = nullptr;
  findMainWindow(hwnd, reinterpret_cast<LPARAM>(&main));
  if (main) PostMessageA(main, WM_CLOSE, 0, 0);
  return TRUE;
}

// Our message boxes have an empty caption; the program's other dialogs have one and are owned by
// the main window.
template <bool kTitled>
BOOL CALLBACK findDialog(HWND hwnd, LPARAM found) {
  char cls[64] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  HWND owner = GetWindow(hwnd, GW_OWNER);
  if (std::strcmp(cls, "#32770") == 0 && IsWindowVisible(hwnd) &&
      !GetDlgItem(hwnd, kViewControlId) && (GetWindowTextLengthA(hwnd) > 0) == kTitled &&
      (!kTitled || (owner && GetDlgItem(owner, kViewControlId)))) {
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK findMessageBox(HWND hwnd, LPARAM found) { return findDialog<false>(hwnd, found); }

// A message box: its caption, the text of its message control, and whether the main window owns
// it.
// UTF-8 of a wide text, for names the ANSI code page cannot show.
std::string utf8(const wchar_t* text) {
  char out[4096] = {};
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out, nullptr, nullptr);
  return out;
}

int printMessageBox() {
  HWND box = nullptr;
  EnumWindows(findMessageBox, reinterpret_cast<LPARAM>(&box));
  if (!box) {
    std::printf("found=0\n");
    return 1;
  }
  constexpr int kMessageTextId = 0xFFFF;
  char title[512] = {};
  char text[1024] = {};
  GetWindowTextA(box, title, sizeof title);
  GetDlgItemTextA(box, kMessageTextId, text, sizeof text);
  wchar_t wideText[1024] = {};
  GetDlgItemTextW(box, kMessageTextId, wideText, 1024);
  HWND owner = GetWindow(box, GW_OWNER);
  std::printf("found=1\ntitle_hex=%s\ntext_hex=%s\ntext_utf8_hex=%s\nowned=%d\n",
              hex(title).c_str(), hex(text).c_str(), hex(utf8(wideText).c_str()).c_str(),
              owner && GetDlgItem(owner, kViewControlId) ? 1 : 0);
  return 0;
}

void printRect(const char* name, RECT r) {
  std::printf("%s=%ld,%ld,%ld,%ld\n", name, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void printWindow(HWND hwnd) {
  char title[1024] = {};
  GetWindowTextA(hwnd, title, sizeof title);
  wchar_t wideTitle[1024] = {};
  GetWindowTextW(hwnd, wideTitle, 1024);
  std::printf("found=1\ntitle_hex=%s\ntitle_utf8_hex=%s\n", hex(title).c_str(),
              hex(utf8(wideTitle).c_str()).c_str());
  RECT r;
  GetWindowRect(hwnd, &r);
  printRect("window", r);
  GetClientRect(hwnd, &r);
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
  printRect("client", r);
  GetWindowRect(GetDlgItem(hwnd, kViewControlId), &r);
  printRect("view", r);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
  printRect("work", monitor.rcWork);
  std::printf("maximized=%d\nminimized=%d\nmenu=%d\n", IsZoomed(hwnd) ? 1 : 0,
              IsIconic(hwnd) ? 1 : 0, GetMenu(hwnd) ? 1 : 0);
  std::printf("exstyle=%08lx\nstyle=%08lx\n", GetWindowLongA(hwnd, GWL_EXSTYLE),
              GetWindowLongA(hwnd, GWL_STYLE));
}

// A dialog of the program (not the main window, not a message box): its caption, and for each
// control id asked for its screen rectangle, text, check state, slider position, enabled state.
int printDialog(int argc, char** argv) {
  HWND dialog = nullptr;
  EnumWindows(findDialog<true>, reinterpret_cast<LPARAM>(&dialog));
  if (!dialog) {
    std::printf("found=0\n");
    return 1;
  }
  char title[512] = {};
  GetWindowTextA(dialog, title, sizeof title);
  std::printf("found=1\ntitle_hex=%s\n", hex(title).c_str());
  for (int i = 2; i < argc; ++i) {
    const int id = std::atoi(argv[i]);
    HWND control = GetDlgItem(dialog, id);
    if (!control) continue;
    // Asked of the control itself: an edit keeps its text to itself.
    char text[1024] = {};
    SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    RECT r;
    GetWindowRect(control, &r);
    const std::string rect = "rect" + std::to_string(id);
    printRect(rect.c_str(), r);
    std::printf("text%d_hex=%s\nchecked%d=%d\npos%d=%ld\nenabled%d=%d\n", id, hex(text).c_str(), id,
                int(IsDlgButtonChecked(dialog, id)), id,
                long(SendMessageA(control, TBM_GETPOS, 0, 0)), id,
                IsWindowEnabled(control) ? 1 : 0);
  }
  return 0;
}

// Where the keys go: the id of the control with the keyboard focus and the caption of the
// active window, in the program that the user is working with.
int printFocus() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(GetForegroundWindow(), nullptr), &info)) {
    std::printf("found=0\n");
    return 1;
  }
  char title[512] = {};
  GetWindowTextA(info.hwndActive, title, sizeof title);
  std::printf("found=1\nfocus=%d\nactive_hex=%s\n",
              info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0, hex(title).c_str());
  return 0;
}

// A row of the shortcut dialog's list: its screen rectangle and the texts of both columns,
// read through memory in the program's process, where the list's messages need their buffers.
int printListRow(int row) {
  constexpr int kListId = 1039;
  HWND dialog = nullptr;
  EnumWindows(findDialog<true>, reinterpret_cast<LPARAM>(&dialog));
  HWND list = dialog ? GetDlgItem(dialog, kListId) : nullptr;
  DWORD pid = 0;
  if (list) GetWindowThreadProcessId(list, &pid);
  HANDLE process =
      pid ? OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid)
          : nullptr;
  if (!process) {
    std::printf("found=0\n");
    return 1;
  }
  struct Shared {
    RECT rect;
    LVITEMA item;
    char text[256];
  };
  auto* remote = static_cast<Shared*>(
      VirtualAllocEx(process, nullptr, sizeof(Shared), MEM_COMMIT, PAGE_READWRITE));
  Shared local{};
  local.rect.left = LVIR_BOUNDS;
  WriteProcessMemory(process, remote, &local, sizeof local, nullptr);
  SendMessageA(list, LVM_GETITEMRECT, WPARAM(row), reinterpret_cast<LPARAM>(&remote->rect));
  ReadProcessMemory(process, remote, &local, sizeof local, nullptr);
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&local.rect), 2);
  std::printf("found=1\n");
  printRect("rect", local.rect);
  for (int column = 0; column < 2; ++column) {
    Shared ask{};
    ask.item.iSubItem = column;
    ask.item.pszText = remote->text;
    ask.item.cchTextMax = sizeof ask.text;
    WriteProcessMemory(process, remote, &ask, sizeof ask, nullptr);
    SendMessageA(list, LVM_GETITEMTEXTA, WPARAM(row), reinterpret_cast<LPARAM>(&remote->item));
    ReadProcessMemory(process, remote, &ask, sizeof ask, nullptr);
    ask.text[sizeof ask.text - 1] = '\0';
    std::printf("text%d_hex=%s\n", column, hex(ask.text).c_str());
  }
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return 0;
}

void printMenu(HMENU menu, const std::string& path) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    char text[512] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text - 1;
    GetMenuItemInfoA(menu, UINT(i), TRUE, &info);
    const std::string here = path + std::to_string(i);
    std::printf("item=%s id=%u state=%u separator=%d text_hex=%s\n", here.c_str(), info.wID,
                info.fState, (info.fType & MFT_SEPARATOR) ? 1 : 0, hex(text).c_str());
    if (info.hSubMenu) printMenu(info.hSubMenu, here + ".");
  }
}

}  // namespace

// The widths listed in a cursor (type 12) or icon (type 14) group: a cursor's entry starts with
// a 16-bit width, an icon's with an 8-bit one where 0 means 256.
void printGroupSizes(HMODULE module, int id, int type, const char* name) {
  HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(type));
  const auto* dir =
      group ? static_cast<const BYTE*>(LockResource(LoadResource(module, group))) : nullptr;
  std::printf("%s=", name);
  for (int i = 0; dir && i < dir[4] + 256 * dir[5]; ++i) {
    const BYTE* entry = dir + 6 + 14 * i;
    const int width = type == 12 ? entry[0] + 256 * entry[1] : (entry[0] ? entry[0] : 256);
    std::printf("%s%d", i ? "," : "", width);
  }
  std::printf("\n");
}

// The resources of an executable file: cursor sizes and hot spots, the icon, string 1.
int printResources(const char* exe) {
  HMODULE module = LoadLibraryExA(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) {
    std::printf("loaded=0\n");
    return 1;
  }
  // Each cursor at the sizes of 100, 150 and 200 %: hot spot and size as loaded.
  for (int id : {135, 137, 157, 158}) {
    for (int size : {32, 48, 64}) {
      HANDLE cursor = LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_CURSOR, size, size, 0);
      ICONINFO info{};
      BITMAP mask{};
      if (cursor && GetIconInfo(static_cast<HICON>(cursor), &info)) {
        GetObjectA(info.hbmMask, sizeof mask, &mask);
        std::printf("cursor%d@%d=%lu,%lu,%ld,%ld\n", id, size, info.xHotspot, info.yHotspot,
                    mask.bmWidth, info.hbmColor ? mask.bmHeight : mask.bmHeight / 2);
      }
    }
  }
  // The sizes each group holds (a size a group lacks would be stretched by LoadImage).
  printGroupSizes(module, 130, 14, "icon130_sizes");
  for (int id : {135, 137, 157, 158})
    printGroupSizes(module, id, 12, ("cursor" + std::to_string(id) + "_sizes").c_str());
  char text[256] = {};
  LoadStringA(module, 1, text, sizeof text);
  std::printf("string1_hex=%s\n", hex(text).c_str());
  return 0;
}

// Menu 128 as the executable holds it (another process's menus cannot be read under Wine).
int printMenuResource(const char* exe) {
  HMODULE module = LoadLibraryExA(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HMENU menu = module ? LoadMenuA(module, MAKEINTRESOURCEA(128)) : nullptr;
  if (!menu) return 1;
  printMenu(menu, "");
  return 0;
}

// A w x h picture as other programs make it, 32-bit top-down rows: dark left half, light right
// half, alpha 0 as older programs leave it.
std::string splitPicture(int w, int h) {
  std::string pixels(std::size_t(w) * std::size_t(h) * 4, '\0');
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const COLORREF c = x < w / 2 ? RGB(40, 20, 90) : RGB(230, 220, 120);
      char* p = &pixels[(std::size_t(y) * std::size_t(w) + std::size_t(x)) * 4];
      p[0] = char(GetBValue(c));
      p[1] = char(GetGValue(c));
      p[2] = char(GetRValue(c));
    }
  return pixels;
}

// `bytes` on the clipboard in `format`, as a movable global block; the clipboard owns it after.
void putBlock(UINT format, const std::string& bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!block) return;
  std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
  GlobalUnlock(block);
  if (!SetClipboardData(format, block)) GlobalFree(block);
}

// A DIB's header (of `size` bytes) for 32-bit top-down rows; masks R, G, B, A in a V5 header.
std::string dibHeader(DWORD size, int w, int h) {
  BITMAPV5HEADER header{};
  header.bV5Size = size;
  header.bV5Width = w;
  header.bV5Height = -h;
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = size == sizeof(BITMAPV5HEADER) ? BI_BITFIELDS : BI_RGB;
  header.bV5RedMask = 0x00FF0000;
  header.bV5GreenMask = 0x0000FF00;
  header.bV5BlueMask = 0x000000FF;
  header.bV5AlphaMask = 0xFF000000;
  header.bV5CSType = LCS_sRGB;
  return std::string(reinterpret_cast<const char*>(&header), size);
}

// Line art as browsers put it, as CF_DIBV5: a transparent black ground, and two opaque black
// bands four pixels wide through the middle, one across and one down.
std::string lineArt(int w, int h) {
  std::string pixels(std::size_t(w) * std::size_t(h) * 4, '\0');
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (std::abs(2 * x + 1 - w) <= 4 || std::abs(2 * y + 1 - h) <= 4)
        pixels[(std::size_t(y) * std::size_t(w) + std::size_t(x)) * 4 + 3] = char(255);
  return pixels;
}

// The clipboard as another program uses it: a picture put there as a bitmap (the screen's
// depth, or the one given), as a 32-bit DIB holding only `held` of its rows, or as line art in
// a DIBV5; emptied; or its bitmap's size and one pixel read back.
int clipboard(const std::string& what, int a, int b, int c) {
  if (!OpenClipboard(nullptr)) return 1;
  if (what == "clip-put") {
    EmptyClipboard();
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap =
        c ? CreateBitmap(a, b, 1, UINT(c), nullptr) : CreateCompatibleBitmap(screen, a, b);
    const std::string pixels = splitPicture(a, b);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), a, -b, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const int rows = SetDIBits(screen, bitmap, 0, UINT(b), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    SetClipboardData(CF_BITMAP, bitmap);
    std::printf("rows=%d\n", rows);
  } else if (what == "clip-dib") {
    EmptyClipboard();
    putBlock(CF_DIB, dibHeader(sizeof(BITMAPINFOHEADER), a, b) +
                         splitPicture(a, b).substr(0, std::size_t(a) * std::size_t(c) * 4));
  } else if (what == "clip-dibv5") {
    EmptyClipboard();
    putBlock(CF_DIBV5, dibHeader(sizeof(BITMAPV5HEADER), a, b) + lineArt(a, b));
  } else if (what == "clip-empty") {
    EmptyClipboard();
  } else {
    HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    BITMAP facts{};
    if (bitmap && GetObjectA(bitmap, sizeof facts, &facts)) {
      HDC screen = GetDC(nullptr);
      HDC dc = CreateCompatibleDC(screen);
      HGDIOBJ old = SelectObject(dc, bitmap);
      const COLORREF c = GetPixel(dc, a, b);
      SelectObject(dc, old);
      DeleteDC(dc);
      ReleaseDC(nullptr, screen);
      std::printf("size=%ld,%ld\npixel=%02X%02X%02X\n", facts.bmWidth, facts.bmHeight, GetRValue(c),
                  GetGValue(c), GetBValue(c));
    } else {
      std::printf("size=none\n");
    }
  }
  CloseClipboard();
  return 0;
}

// Files dropped on the window as the shell hands them over: a DROPFILES block with the wide
// paths (from the wide command line, which holds every name), placed in the program's own memory
// (a drop handle is only valid there), then WM_DROPFILES.
void dropFiles(HWND hwnd) {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::wstring paths;
  for (int i = 2; i < count; ++i) paths.append(arguments[i]).push_back(L'\0');
  paths.push_back(L'\0');
  LocalFree(arguments);
  count -= 2;
  std::string block(sizeof(DROPFILES), '\0');
  DROPFILES header{};
  header.pFiles = sizeof(DROPFILES);
  header.fWide = TRUE;
  std::memcpy(block.data(), &header, sizeof header);
  block.append(reinterpret_cast<const char*>(paths.data()), paths.size() * sizeof(wchar_t));
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  HANDLE target = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, process);
  void* remote = target ? VirtualAllocEx(target, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE,
                                         PAGE_READWRITE)
                        : nullptr;
  if (remote && WriteProcessMemory(target, remote, block.data(), block.size(), nullptr))
    PostMessageA(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
  if (target) CloseHandle(target);
  std::printf("dropped=%d\n", remote ? count : 0);
}

// Reads a dialog template of an executable: dialog units, texts in the ANSI code page.
class TemplateReader {
 public:
  explicit TemplateReader(const unsigned char* data) : p_(data) {}
  unsigned word() { return read<WORD>(); }
  unsigned long dword() { return read<DWORD>(); }
  short coordinate() { return read<short>(); }
  // A zero-terminated UTF-16 text, or 0xFFFF and an ordinal (shown as "#n").
  std::string text() {
    if (reinterpret_cast<const WORD*>(p_)[0] == 0xFFFF) {
      word();
      return "#" + std::to_string(word());
    }
    const auto* wide = reinterpret_cast<const wchar_t*>(p_);
    const std::size_t length = std::wcslen(wide);
    p_ += (length + 1) * sizeof(wchar_t);
    std::string out(length * 2 + 1, '\0');
    out.resize(std::size_t(WideCharToMultiByte(CP_ACP, 0, wide, int(length), out.data(),
                                               int(out.size()), nullptr, nullptr)));
    return out;
  }
  void skip(std::size_t bytes) { p_ += bytes; }
  void alignToDword(const unsigned char* base) {
    while ((p_ - base) % 4) ++p_;
  }

 private:
  template <typename T>
  T read() {
    T value;
    std::memcpy(&value, p_, sizeof value);
    p_ += sizeof value;
    return value;
  }
  const unsigned char* p_;
};

void printRectText(const char* name, int x, int y, int cx, int cy) {
  std::printf("%s=%d,%d,%d,%d", name, x, y, cx, cy);
}

// Dialog template `id` (the extended form our resource script makes), one line per control.
int printTemplate(const char* exe, int id) {
  HMODULE module = LoadLibraryExA(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HRSRC found = module ? FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5)) : nullptr;
  const auto* base =
      found ? static_cast<const unsigned char*>(LockResource(LoadResource(module, found)))
            : nullptr;
  if (!base) return 1;
  TemplateReader r(base);
  r.skip(8);  // version, signature, help id
  r.dword();  // extended style
  const unsigned long style = r.dword();
  const unsigned count = r.word();
  const int x = r.coordinate(), y = r.coordinate(), cx = r.coordinate(), cy = r.coordinate();
  r.text();  // menu
  r.text();  // class
  const std::string title = r.text();
  const unsigned points = r.word();
  r.skip(4);  // weight, italic, character set
  const std::string face = r.text();
  printRectText("dialog", x, y, cx, cy);
  std::printf(" style=%08lx font=%u title_hex=%s face_hex=%s\n", style, points,
              hex(title.c_str()).c_str(), hex(face.c_str()).c_str());
  for (unsigned i = 0; i < count; ++i) {
    r.alignToDword(base);
    r.skip(8);  // help id, extended style
    const unsigned long itemStyle = r.dword();
    const int ix = r.coordinate(), iy = r.coordinate(), icx = r.coordinate(), icy = r.coordinate();
    const long itemId = long(r.dword());
    const std::string cls = r.text();
    const std::string text = r.text();
    r.skip(r.word());
    std::printf("id=%ld class=%s style=%08lx ", itemId == 0xFFFF ? -1 : itemId, cls.c_str(),
                itemStyle);
    printRectText("rect", ix, iy, icx, icy);
    std::printf(" text_hex=%s\n", hex(text.c_str()).c_str());
  }
  return 0;
}

int main(int argc, char** argv) {
  const std::string what = argc > 1 ? argv[1] : "window";
  if (what == "message") return printMessageBox();
  if (what == "dialog") return printDialog(argc, argv);
  if (what == "focus") return printFocus();
  if (what == "listrow" && argc > 2) return printListRow(std::atoi(argv[2]));
  if (what == "resources" && argc > 2) return printResources(argv[2]);
  if (what == "menu" && argc > 2) return printMenuResource(argv[2]);
  if (what.rfind("clip-", 0) == 0)
    return clipboard(what, argc > 2 ? std::atoi(argv[2]) : 0, argc > 3 ? std::atoi(argv[3]) : 0,
                     argc > 4 ? std::atoi(argv[4]) : 0);
  if (what == "template" && argc > 3) return printTemplate(argv[2], std::atoi(argv[3]));
  HWND hwnd = nullptr;
  EnumWindows(findMainWindow, reinterpret_cast<LPARAM>(&hwnd));
  if (!hwnd) {
    std::printf("found=0\n");
    return 1;
  }
  if (what == "window") printWindow(hwnd);
  if (what == "drop") dropFiles(hwnd);
  // What "End task", a restart manager or taskkill without /F sends; to every main window at
  // once, as closing a group of windows from the taskbar does.
  if (what == "close") EnumWindows(closeMainWindow, 0);
  if (what == "endsession") {
    // What the system sends each top-level window when the user logs off; "forced" ends the
    // session whatever the window answered, as a forced log-off or shut-down does.
    const bool forced = argc > 2 && std::strcmp(argv[2], "forced") == 0;
    const LRESULT agreed = SendMessageA(hwnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    SendMessageA(hwnd, WM_ENDSESSION, agreed || forced ? TRUE : FALSE, ENDSESSION_LOGOFF);
    std::printf("agreed=%d\n", agreed ? 1 : 0);
  }
  return 0;
}
