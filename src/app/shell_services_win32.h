#pragma once
// Platform services that commands and start-up use: the user's message box and folder checks.

#include <windows.h>

#include <string>

namespace tenmark {

// A modal OK box owned by the window, with an empty caption, always on top.
void showMessage(HWND owner, const char* text);

// The full path of the running executable, however long.
std::string executablePath();

// True when the path names an existing directory.
bool isDirectory(const std::string& path);

}  // namespace tenmark
