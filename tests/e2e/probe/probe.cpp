// A console helper that the end-to-end tests run beside tenmark.exe in the same Wine prefix. It
// reports what a user sees (the main window's caption, placement, work area, menu and view; a
// message box; the controls of a dialog; the keyboard focus; a row of the shortcut list; the
// resources of the executable) and acts as another program would (the clipboard, dropped files,
// moving the window, a close or the end of the session from outside, and a web browser that
// notes the address it is asked to open).
// Output: one "key=value" line per fact; texts as hex of their UTF-8 bytes.
#include <windows.h>
#include <shlobj.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "program_reading.h"

namespace {

constexpr int kViewControlId = 1030;

bool isMainWindow(HWND hwnd) {
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  return lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(hwnd) && GetDlgItem(hwnd, kViewControlId);
}

BOOL CALLBACK findMainWindow(HWND hwnd, LPARAM found) {
  if (!isMainWindow(hwnd)) return TRUE;
  *reinterpret_cast<HWND*>(found) = hwnd;
  return FALSE;
}

BOOL CALLBACK closeMainWindow(HWND hwnd, LPARAM) {
  if (isMainWindow(hwnd)) PostMessageW(hwnd, WM_CLOSE, 0, 0);
  return TRUE;
}

// Our message boxes have an empty caption; the program's other dialogs have one and are owned by
// the main window.
template <bool kTitled>
BOOL CALLBACK findDialog(HWND hwnd, LPARAM found) {
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  HWND owner = GetWindow(hwnd, GW_OWNER);
  if (lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(hwnd) && !GetDlgItem(hwnd, kViewControlId) &&
      (GetWindowTextLengthW(hwnd) > 0) == kTitled &&
      (!kTitled || (owner && GetDlgItem(owner, kViewControlId)))) {
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
  }
  return TRUE;
}

void printRect(const char* name, RECT r) {
  std::printf("%s=%ld,%ld,%ld,%ld\n", name, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// A message box: its caption, its message, and whether the main window owns it.
int printMessageBox() {
  HWND box = nullptr;
  EnumWindows(findDialog<false>, reinterpret_cast<LPARAM>(&box));
  if (!box) return std::printf("found=0\n"), 1;
  HWND owner = GetWindow(box, GW_OWNER);
  std::printf("found=1\ntitle_hex=%s\ntext_hex=%s\nowned=%d\n", utf8Hex(windowText(box)).c_str(),
              utf8Hex(windowText(GetDlgItem(box, 0xFFFF))).c_str(),
              owner && GetDlgItem(owner, kViewControlId) ? 1 : 0);
  return 0;
}

void printWindow(HWND hwnd) {
  std::printf("found=1\ntitle_hex=%s\n", utf8Hex(windowText(hwnd)).c_str());
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
  GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
  printRect("work", monitor.rcWork);
  std::printf("maximized=%d\nmenu=%d\nexstyle=%08lx\nstyle=%08lx\n", IsZoomed(hwnd) ? 1 : 0,
              GetMenu(hwnd) ? 1 : 0, GetWindowLongW(hwnd, GWL_EXSTYLE),
              GetWindowLongW(hwnd, GWL_STYLE));
}

// A dialog of the program (not the main window, not a message box): its caption, and for each
// control id asked for its screen rectangle, text and enabled state.
int printDialog(int argc, char** argv) {
  HWND dialog = nullptr;
  EnumWindows(findDialog<true>, reinterpret_cast<LPARAM>(&dialog));
  if (!dialog) return std::printf("found=0\n"), 1;
  std::printf("found=1\ntitle_hex=%s\n", utf8Hex(windowText(dialog)).c_str());
  for (int i = 2; i < argc; ++i) {
    const int id = std::atoi(argv[i]);
    HWND control = GetDlgItem(dialog, id);
    if (!control) continue;
    // Asked of the control itself: an edit keeps its text to itself.
    wchar_t text[1024] = {};
    SendMessageW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    RECT r;
    GetWindowRect(control, &r);
    printRect(("rect" + std::to_string(id)).c_str(), r);
    std::printf("text%d_hex=%s\nenabled%d=%d\n", id, utf8Hex(text).c_str(), id,
                IsWindowEnabled(control) ? 1 : 0);
  }
  return 0;
}

// Where the keys go: the id of the control with the keyboard focus and the caption of the
// active window, in the program that the user is working with.
int printFocus() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(GetForegroundWindow(), nullptr), &info))
    return std::printf("found=0\n"), 1;
  std::printf("found=1\nfocus=%d\nactive_hex=%s\n",
              info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0,
              utf8Hex(windowText(info.hwndActive)).c_str());
  return 0;
}

int printListRow(int row) {
  ShortcutList list;
  if (!list.hwnd()) return std::printf("found=0\n"), 1;
  std::printf("found=1\n");
  printRect("rect", list.rowRect(row));
  for (int column = 0; column < 2; ++column)
    std::printf("text%d_hex=%s\n", column, utf8Hex(list.text(row, column)).c_str());
  return 0;
}

void printMenu(HMENU menu, const std::string& path) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[512] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 511;
    GetMenuItemInfoW(menu, UINT(i), TRUE, &info);
    const std::string here = path + std::to_string(i);
    std::printf("item=%s id=%u state=%u separator=%d text_hex=%s\n", here.c_str(), info.wID,
                info.fState, (info.fType & MFT_SEPARATOR) ? 1 : 0, utf8Hex(text).c_str());
    if (info.hSubMenu) printMenu(info.hSubMenu, here + ".");
  }
}

// The widths listed in a cursor (type 12) or icon (type 14) group: a cursor's entry starts with
// a 16-bit width, an icon's with an 8-bit one where 0 means 256.
void printGroupSizes(HMODULE module, int id, int type, const char* name) {
  HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(type));
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

// The resources of an executable file: cursor sizes and hot spots, the icon, string 1, and
// menu 128 (another process's menus cannot be read under Wine).
int printResources(const char* exe) {
  HMODULE module = LoadLibraryExA(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return std::printf("loaded=0\n"), 1;
  // Each cursor at the sizes of 100, 150 and 200 %: hot spot and size as loaded.
  for (int id : {135, 137, 157, 158}) {
    for (int size : {32, 48, 64}) {
      HANDLE cursor = LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_CURSOR, size, size, 0);
      ICONINFO info{};
      BITMAP mask{};
      if (cursor && GetIconInfo(static_cast<HICON>(cursor), &info)) {
        GetObjectW(info.hbmMask, sizeof mask, &mask);
        std::printf("cursor%d@%d=%lu,%lu,%ld,%ld\n", id, size, info.xHotspot, info.yHotspot,
                    mask.bmWidth, info.hbmColor ? mask.bmHeight : mask.bmHeight / 2);
      }
    }
    // The sizes each group holds (a size a group lacks would be stretched by LoadImage).
    printGroupSizes(module, id, 12, ("cursor" + std::to_string(id) + "_sizes").c_str());
  }
  printGroupSizes(module, 130, 14, "icon130_sizes");
  wchar_t text[256] = {};
  LoadStringW(module, 1, text, 256);
  std::printf("string1_hex=%s\n", utf8Hex(text).c_str());
  if (HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(128))) printMenu(menu, "");
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
  if (what != "clip-get") EmptyClipboard();
  if (what == "clip-put") {
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
    putBlock(CF_DIB, dibHeader(sizeof(BITMAPINFOHEADER), a, b) +
                         splitPicture(a, b).substr(0, std::size_t(a) * std::size_t(c) * 4));
  } else if (what == "clip-dibv5") {
    putBlock(CF_DIBV5, dibHeader(sizeof(BITMAPV5HEADER), a, b) + lineArt(a, b));
  } else if (what == "clip-get") {
    HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    BITMAP facts{};
    if (bitmap && GetObjectW(bitmap, sizeof facts, &facts)) {
      HDC dc = CreateCompatibleDC(nullptr);
      HGDIOBJ old = SelectObject(dc, bitmap);
      const COLORREF c = GetPixel(dc, a, b);
      SelectObject(dc, old);
      DeleteDC(dc);
      std::printf("size=%ld,%ld\npixel=%02X%02X%02X\n", facts.bmWidth, facts.bmHeight, GetRValue(c),
                  GetGValue(c), GetBValue(c));
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
    PostMessageW(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
  if (target) CloseHandle(target);
  std::printf("dropped=%d\n", remote ? count - 2 : 0);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string what = argc > 1 ? argv[1] : "window";
  const auto number = [&](int i) { return argc > i ? std::atoi(argv[i]) : 0; };
  if (what == "message") return printMessageBox();
  if (what == "dialog") return printDialog(argc, argv);
  if (what == "focus") return printFocus();
  if (what == "listrow") return printListRow(number(2));
  if (what == "resources" && argc > 2) return printResources(argv[2]);
  if (what.rfind("clip-", 0) == 0) return clipboard(what, number(2), number(3), number(4));
  if (what == "opened" && argc > 3) {
    // Registered as the web browser: the address it was asked to open, written to a file.
    if (FILE* f = std::fopen(argv[2], "w")) std::fputs(argv[3], f), std::fclose(f);
    return 0;
  }
  HWND hwnd = nullptr;
  EnumWindows(findMainWindow, reinterpret_cast<LPARAM>(&hwnd));
  if (!hwnd) return std::printf("found=0\n"), 1;
  if (what == "window") printWindow(hwnd);
  if (what == "drop") dropFiles(hwnd);
  // Moved and sized as another program may do it: x, y, width, height.
  if (what == "place") SetWindowPos(hwnd, nullptr, number(2), number(3), number(4), number(5), 0);
  // What "End task", a restart manager or taskkill without /F sends; to every main window at
  // once, as closing a group of windows from the taskbar does.
  if (what == "close") EnumWindows(closeMainWindow, 0);
  if (what == "endsession") {
    // What the system sends each top-level window when the user logs off; "forced" ends the
    // session whatever the window answered, as a forced log-off or shut-down does.
    const bool forced = argc > 2 && std::strcmp(argv[2], "forced") == 0;
    const LRESULT agreed = SendMessageW(hwnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    SendMessageW(hwnd, WM_ENDSESSION, agreed || forced ? TRUE : FALSE, ENDSESSION_LOGOFF);
    std::printf("agreed=%d\n", agreed ? 1 : 0);
  }
  return 0;
}
