#pragma once
// What the probe and the dialog text check both read from the running program: texts as hex of
// their UTF-8 bytes, and the rows of the shortcut dialog's list.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>

inline std::string utf8Hex(const std::wstring& text) {
  std::string bytes(text.size() * 4, '\0');
  bytes.resize(std::size_t(WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()),
                                               bytes.data(), int(bytes.size()), nullptr, nullptr)));
  std::string out;
  char digits[3];
  for (unsigned char c : bytes) {
    std::snprintf(digits, sizeof digits, "%02x", c);
    out += digits;
  }
  return out;
}

inline std::wstring windowText(HWND hwnd) {
  wchar_t text[1024] = {};
  GetWindowTextW(hwnd, text, 1024);
  return text;
}

// The list of the shortcut dialog on screen. Its messages take their buffers in the program's
// own memory, so they go through a block allocated there.
class ShortcutList {
 public:
  ShortcutList() {
    EnumWindows(findList, reinterpret_cast<LPARAM>(&list_));
    DWORD pid = 0;
    if (list_) GetWindowThreadProcessId(list_, &pid);
    process_ =
        pid ? OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid)
            : nullptr;
    if (process_)
      remote_ = static_cast<Shared*>(VirtualAllocEx(process_, nullptr, sizeof(Shared),
                                                    MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  }
  ~ShortcutList() {
    if (remote_) VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  ShortcutList(const ShortcutList&) = delete;
  ShortcutList& operator=(const ShortcutList&) = delete;

  // The list, or nullptr when none is on screen or its memory cannot be reached.
  HWND hwnd() const { return remote_ ? list_ : nullptr; }

  // A row's text in a column, and its width in the list's font.
  std::wstring text(int row, int column, int* width = nullptr) {
    Shared ask{};
    ask.item.iSubItem = column;
    ask.item.pszText = remote_->text;
    ask.item.cchTextMax = kTextMax;
    WriteProcessMemory(process_, remote_, &ask, sizeof ask, nullptr);
    SendMessageW(list_, LVM_GETITEMTEXTW, WPARAM(row), reinterpret_cast<LPARAM>(&remote_->item));
    if (width)
      *width =
          int(SendMessageW(list_, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(remote_->text)));
    ReadProcessMemory(process_, remote_, &ask, sizeof ask, nullptr);
    ask.text[kTextMax - 1] = L'\0';
    return ask.text;
  }

  // A row's rectangle on the screen.
  RECT rowRect(int row) {
    Shared ask{};
    ask.rect.left = LVIR_BOUNDS;
    WriteProcessMemory(process_, remote_, &ask, sizeof ask, nullptr);
    SendMessageW(list_, LVM_GETITEMRECT, WPARAM(row), reinterpret_cast<LPARAM>(&remote_->rect));
    ReadProcessMemory(process_, remote_, &ask, sizeof ask, nullptr);
    MapWindowPoints(list_, nullptr, reinterpret_cast<POINT*>(&ask.rect), 2);
    return ask.rect;
  }

 private:
  static constexpr int kListId = 1039;
  static constexpr int kTextMax = 256;
  struct Shared {
    RECT rect;
    LVITEMW item;
    wchar_t text[kTextMax];
  };

  static BOOL CALLBACK findList(HWND hwnd, LPARAM found) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(hwnd) || !GetDlgItem(hwnd, kListId))
      return TRUE;
    *reinterpret_cast<HWND*>(found) = GetDlgItem(hwnd, kListId);
    return FALSE;
  }

  HWND list_ = nullptr;
  HANDLE process_ = nullptr;
  Shared* remote_ = nullptr;
};
