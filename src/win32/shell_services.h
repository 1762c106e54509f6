#pragma once
// Platform services that commands and start-up use: the user's message box and folder checks.
// Texts and paths are UTF-8; they reach the system through its wide calls.

#include <windows.h>

#include <string>

namespace tenmark {

// A modal OK box with an empty caption, always on top, owned by the window it speaks for (never
// whichever window happens to be active): the owner takes no input while it is up.
void showMessage(HWND owner, const char* text);
// The same with Yes and No; true for Yes.
bool askYesNo(HWND owner, const char* text);
// A warning with Yes and No where No is the default button; true for Yes.
bool askWarningYesNo(HWND owner, const char* text);

// True when the path exists, as a file or a folder.
bool fileExists(const std::string& path);

// The full path of the running executable, however long.
std::string executablePath();

// True when the path names an existing directory.
bool isDirectory(const std::string& path);

}  // namespace tenmark
