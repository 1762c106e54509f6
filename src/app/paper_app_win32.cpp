#include "app/paper_app_win32.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <memory>

#include "app/paper_window_win32.h"

namespace tenmark {

int PaperApp::run(int argc, char** argv) {
  // The dialogs' sliders and the shortcut list.
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                      ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  auto window = std::make_unique<PaperWindow>(argc, argv);
  window->runModal(nullptr);
  return 0;
}

}  // namespace tenmark

namespace {
tenmark::PaperApp theApp;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return theApp.run(__argc, __argv); }
