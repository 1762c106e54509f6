#pragma once
// The About box: the icon, the version, the copyright line and the web-site link.

#include <windows.h>

namespace tenmark {

void showAboutDialog(HWND owner);

}  // namespace tenmark
