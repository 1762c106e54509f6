#include "app/paper_app_win32.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <memory>

#include "app/paper_window_win32.h"
#include "platform/wide_text_win32.h"

namespace tenmark {

namespace {

// The first argument, read from the wide command line: the narrow one cannot name every file.
// Empty when there is none, or when no UTF-8 text can hold it.
std::string commandLinePicture() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments) return std::string();
  std::string path = count > 1 ? fromWide(arguments[1]).value_or(std::string()) : std::string();
  LocalFree(arguments);
  return path;
}

}  // namespace

int PaperApp::run() {
  // The dialogs' sliders and the shortcut list.
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                      ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  auto window = std::make_unique<PaperWindow>(commandLinePicture());
  window->runModal(nullptr);
  return 0;
}

}  // namespace tenmark

namespace {
tenmark::PaperApp theApp;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return theApp.run(); }
