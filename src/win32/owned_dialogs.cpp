#include "win32/owned_dialogs.h"

#include <cstring>

namespace tenmark {

namespace {

struct Search {
  HWND owner;
  bool found;
};

bool ownedBy(HWND window, HWND owner) {
  for (HWND o = GetWindow(window, GW_OWNER); o; o = GetWindow(o, GW_OWNER))
    if (o == owner) return true;
  return false;
}

bool isDialog(HWND window) {
  char name[8] = {};
  return GetClassNameA(window, name, sizeof name) > 0 && std::strcmp(name, "#32770") == 0;
}

void cancel(HWND dialog) {
  // A Yes/No question takes no Cancel; No keeps everything as it was.
  if (GetDlgItem(dialog, IDNO) && !GetDlgItem(dialog, IDCANCEL)) {
    EndDialog(dialog, IDNO);
    return;
  }
  // Posted, as Escape would be: the dialog ends in its own loop and runs its own Cancel.
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
}

BOOL CALLBACK cancelIfOwned(HWND window, LPARAM search) {
  auto& s = *reinterpret_cast<Search*>(search);
  if (IsWindowVisible(window) && isDialog(window) && ownedBy(window, s.owner)) {
    cancel(window);
    s.found = true;
  }
  return TRUE;
}

}  // namespace

bool cancelOwnedDialogs(HWND owner) {
  Search search{owner, false};
  EnumThreadWindows(GetCurrentThreadId(), cancelIfOwned, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace tenmark
