// A console helper that the end-to-end tests run beside tenmark.exe in the same Wine prefix to
// observe what a user sees: the main window's caption bytes, placement, menu and view.
// Output: one "key=value" line per fact; texts as hex of their ANSI (Shift-JIS) bytes.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
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

BOOL CALLBACK findMessageBox(HWND hwnd, LPARAM found) {
  char cls[64] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (std::strcmp(cls, "#32770") == 0 && IsWindowVisible(hwnd) &&
      !GetDlgItem(hwnd, kViewControlId)) {
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
  }
  return TRUE;
}

// A message box: its caption and the text of its message control.
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
  std::printf("found=1\ntitle_hex=%s\ntext_hex=%s\n", hex(title).c_str(), hex(text).c_str());
  return 0;
}

void printRect(const char* name, RECT r) {
  std::printf("%s=%ld,%ld,%ld,%ld\n", name, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void printWindow(HWND hwnd) {
  char title[1024] = {};
  GetWindowTextA(hwnd, title, sizeof title);
  std::printf("found=1\ntitle_hex=%s\n", hex(title).c_str());
  RECT r;
  GetWindowRect(hwnd, &r);
  printRect("window", r);
  GetClientRect(hwnd, &r);
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
  printRect("client", r);
  GetWindowRect(GetDlgItem(hwnd, kViewControlId), &r);
  printRect("view", r);
  std::printf("maximized=%d\nminimized=%d\nmenu=%d\n", IsZoomed(hwnd) ? 1 : 0,
              IsIconic(hwnd) ? 1 : 0, GetMenu(hwnd) ? 1 : 0);
  std::printf("exstyle=%08lx\nstyle=%08lx\n", GetWindowLongA(hwnd, GWL_EXSTYLE),
              GetWindowLongA(hwnd, GWL_STYLE));
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

// The resources of an executable file: cursor sizes and hot spots, the icon, string 1.
int printResources(const char* exe) {
  HMODULE module = LoadLibraryExA(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) {
    std::printf("loaded=0\n");
    return 1;
  }
  for (int id : {135, 137, 157, 158}) {
    HANDLE cursor = LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_CURSOR, 0, 0, 0);
    ICONINFO info{};
    BITMAP mask{};
    if (cursor && GetIconInfo(static_cast<HICON>(cursor), &info)) {
      GetObjectA(info.hbmMask, sizeof mask, &mask);
      std::printf("cursor%d=%lu,%lu,%ld,%ld\n", id, info.xHotspot, info.yHotspot, mask.bmWidth,
                  info.hbmColor ? mask.bmHeight : mask.bmHeight / 2);
    }
  }
  HANDLE icon = LoadImageA(module, MAKEINTRESOURCEA(130), IMAGE_ICON, 32, 32, 0);
  std::printf("icon130=%d\n", icon ? 1 : 0);
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

// The clipboard as another program uses it: a colour picture put there (dark left half, light
// right half), emptied, or its bitmap's size and one pixel read back.
int clipboard(const std::string& what, int a, int b) {
  if (!OpenClipboard(nullptr)) return 1;
  if (what == "clip-put") {
    EmptyClipboard();
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, a, b);
    std::string pixels(std::size_t(a) * std::size_t(b) * 4, '\0');
    for (int y = 0; y < b; ++y)
      for (int x = 0; x < a; ++x) {
        const COLORREF c = x < a / 2 ? RGB(40, 20, 90) : RGB(230, 220, 120);
        char* p = &pixels[(std::size_t(y) * std::size_t(a) + std::size_t(x)) * 4];
        p[0] = char(GetBValue(c));
        p[1] = char(GetGValue(c));
        p[2] = char(GetRValue(c));
      }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), a, -b, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    SetDIBits(screen, bitmap, 0, UINT(b), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    SetClipboardData(CF_BITMAP, bitmap);
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

// Files dropped on the window as the shell hands them over: a DROPFILES block with the paths,
// placed in the program's own memory (a drop handle is only valid there), then WM_DROPFILES.
void dropFiles(HWND hwnd, int count, char** paths) {
  std::string block(sizeof(DROPFILES), '\0');
  DROPFILES header{};
  header.pFiles = sizeof(DROPFILES);
  std::memcpy(block.data(), &header, sizeof header);
  for (int i = 0; i < count; ++i) block.append(paths[i]).push_back('\0');
  block.push_back('\0');
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

int main(int argc, char** argv) {
  const std::string what = argc > 1 ? argv[1] : "window";
  if (what == "message") return printMessageBox();
  if (what == "resources" && argc > 2) return printResources(argv[2]);
  if (what == "menu" && argc > 2) return printMenuResource(argv[2]);
  if (what.rfind("clip-", 0) == 0)
    return clipboard(what, argc > 2 ? std::atoi(argv[2]) : 0, argc > 3 ? std::atoi(argv[3]) : 0);
  HWND hwnd = nullptr;
  EnumWindows(findMainWindow, reinterpret_cast<LPARAM>(&hwnd));
  if (!hwnd) {
    std::printf("found=0\n");
    return 1;
  }
  if (what == "window") printWindow(hwnd);
  if (what == "drop") dropFiles(hwnd, argc - 2, argv + 2);
  if (what == "endsession") {
    // What the system sends each top-level window when the user logs off.
    const LRESULT agreed = SendMessageA(hwnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    SendMessageA(hwnd, WM_ENDSESSION, agreed ? TRUE : FALSE, ENDSESSION_LOGOFF);
    std::printf("agreed=%d\n", agreed ? 1 : 0);
  }
  return 0;
}
