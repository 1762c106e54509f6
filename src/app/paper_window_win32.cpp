#include "app/paper_window_win32.h"

#include <shellapi.h>

#include "app/present_win32.h"
#include "app/shell_services_win32.h"
#include "canvas/view_layout.h"
#include "resource_ids.h"
#include "settings/program_folder.h"
#include "settings/settings_file.h"
#include "surface/rgb32_image.h"
#include "tenmark/texts.h"

namespace tenmark {

namespace {

constexpr int kMenuExit = ID_APP_EXIT;

int screenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

HCURSOR loadCursor(HINSTANCE instance, int id) {
  return static_cast<HCURSOR>(
      LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
}

RECT childRectInParent(HWND child, HWND parent) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace

PaperWindow::PaperWindow(int argc, char** argv) : ModalDialog(IDD_PAPER), argc_(argc), argv_(argv) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  const int cursorIds[4] = {IDC_CURSOR_PEN, IDC_CURSOR_ERASER, IDC_CURSOR_MOVE, IDC_CURSOR_HAND};
  for (int i = 0; i < 4; ++i) cursors_[i] = loadCursor(instance, cursorIds[i]);
  icon_ =
      static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_TENMARK), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  smallIcon_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_TENMARK), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), 0));
}

PaperWindow::~PaperWindow() {
  // The popup menu shares the menu bar's submenus: take them out before destroying it, so that
  // each submenu is destroyed once, with the menu bar.
  if (popupMenu_) {
    while (GetMenuItemCount(popupMenu_) > 0) RemoveMenu(popupMenu_, 0, MF_BYPOSITION);
    DestroyMenu(popupMenu_);
  }
  if (menuBar_) DestroyMenu(menuBar_);
  if (icon_) DestroyIcon(icon_);
  if (smallIcon_) DestroyIcon(smallIcon_);
}

BOOL PaperWindow::onInitDialog() {
  viewWindow_ = GetDlgItem(hwnd(), IDC_VIEW);
  loadMenuBar();                   // 2
  setIcons();                      // 3
  setStartValues();                // 4
  deriveExeFolder();               // 5
  clearStoredPlacement();          // 6
  readSettings();                  // 7, 8
  createCanvas();                  // 9
  loadUser32();                    // 10
  applyTranslucencyOptions();      // 11
  applyStoredPlacement();          // 12
  updateMenuLabels();              // 13
  openCommandLinePicture();        // 14
  updateMenuLabels();              // 15
  attachMenuBar();                 // 16
  buildPopupMenu();                // 17
  resetUndoRing();                 // 18
  finishInitialisation();          // 19
  fitAndCentreWithoutPlacement();  // 20
  openTablet();                    // 21
  makeTimestampName();             // 22
  checkSaveFolder();               // 23
  return TRUE;
}

void PaperWindow::loadMenuBar() {
  menuBar_ = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINMENU));
}

void PaperWindow::setIcons() {
  SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
}

void PaperWindow::setStartValues() { settings_ = defaultSettings(screenHeight(), std::string()); }

void PaperWindow::deriveExeFolder() {
  exeFolder_ = exeFolderFromProgramPath(argc_ > 0 ? argv_[0] : "");
  settings_.saveFolder = exeFolder_;
}

void PaperWindow::clearStoredPlacement() {
  settings_.n_xpos = settings_.n_ypos = settings_.n_xsize = settings_.n_ysize = 0;
  settings_.b_Maximized = 0;
}

void PaperWindow::readSettings() {
  // A missing or unreadable file is not worth a message: the start values stand. Reading also
  // moves New off Space when Hand is bound to Space as well.
  loadSettings(configFilePath(exeFolder_), settings_);
}

void PaperWindow::createCanvas() {
  const CanvasSize size = canvasSizeOrDefault(settings_, screenHeight());
  if (!canvas_.create(size.width, size.height)) {
    const int side = defaultCanvasSide(screenHeight());
    canvas_.create(side, side);
  }
  canvas_.setColor(0, Color(settings_.n_back_color));
  canvas_.setColor(1, Color(settings_.n_pen_color));
  canvas_.fill(0);
}

void PaperWindow::loadUser32() {
  user32_ = LoadLibraryA("user32.dll");
  if (!user32_) return;
  setLayeredWindowAttributes_ = reinterpret_cast<SetLayeredWindowAttributesFn>(
      reinterpret_cast<void*>(GetProcAddress(user32_, "SetLayeredWindowAttributes")));
}

void PaperWindow::applyTranslucencyOptions() {
  // Translucency is not offered yet: the window stays opaque.
}

void PaperWindow::applyStoredPlacement() {
  if (!settings_.hasStoredPlacement()) return;
  SetWindowPos(hwnd(), nullptr, settings_.n_xpos, settings_.n_ypos, settings_.n_xsize,
               settings_.n_ysize, SWP_NOZORDER | SWP_NOACTIVATE);
  if (settings_.b_Maximized) ShowWindow(hwnd(), SW_MAXIMIZE);
}

void PaperWindow::updateMenuLabels() {
  // The menu items keep their resource texts until labels with shortcuts exist.
}

void PaperWindow::openCommandLinePicture() {
  // Pictures cannot be opened yet; a file named on the command line is ignored.
}

void PaperWindow::attachMenuBar() {
  if (settings_.b_ShowMenu) SetMenu(hwnd(), menuBar_);
}

void PaperWindow::buildPopupMenu() {
  popupMenu_ = CreatePopupMenu();
  const int count = GetMenuItemCount(menuBar_);
  for (int i = 0; i < count; ++i) {
    const int length = GetMenuStringA(menuBar_, UINT(i), nullptr, 0, MF_BYPOSITION);
    std::string text(length >= 1 ? std::size_t(length) * 2 + 2 : 1, '\0');
    if (length >= 1)
      GetMenuStringA(menuBar_, UINT(i), text.data(), int(text.size()), MF_BYPOSITION);
    HMENU submenu = GetSubMenu(menuBar_, i);
    AppendMenuA(popupMenu_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu),
                text.c_str());
  }
}

void PaperWindow::resetUndoRing() {
  // There is no undo history yet.
}

void PaperWindow::finishInitialisation() {
  initialised_ = true;
  relayout();
}

void PaperWindow::fitAndCentreWithoutPlacement() {
  if (settings_.hasStoredPlacement()) return;
  // The window is not fitted to the canvas yet; it is only centred.
  RECT r;
  GetWindowRect(hwnd(), &r);
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  SetWindowPos(hwnd(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void PaperWindow::openTablet() {
  // No tablet support yet.
}

void PaperWindow::makeTimestampName() {
  // Documents are not named yet; the caption stays as the template's.
}

void PaperWindow::checkSaveFolder() {
  if (!isDirectory(settings_.saveFolder)) showMessage(hwnd(), text::SaveFolderMissing);
}

void PaperWindow::onDestroy() {
  autoSaveIfDrawn();   // 2
  readPlacement();     // 3
  readMenuBarState();  // 4
  writeSettings();     // 5
  releaseUser32();     // 6
  // The menu bar stays ours: detach it so that the window's destruction leaves it alone.
  SetMenu(hwnd(), nullptr);
}

void PaperWindow::autoSaveIfDrawn() {
  // Nothing is saved automatically yet.
}

void PaperWindow::readPlacement() {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(hwnd(), &placement);
  const RECT& r = placement.rcNormalPosition;
  settings_.n_xpos = r.left;
  settings_.n_ypos = r.top;
  settings_.n_xsize = r.right - r.left;
  settings_.n_ysize = r.bottom - r.top;
  settings_.b_Maximized = IsZoomed(hwnd()) ? 1 : 0;
}

void PaperWindow::readMenuBarState() { settings_.b_ShowMenu = GetMenu(hwnd()) ? 1 : 0; }

void PaperWindow::writeSettings() {
  settings_.n_canvas_x = canvas_.width();
  settings_.n_canvas_y = std::int32_t(canvas_.height());
  settings_.n_back_color = std::int32_t(canvas_.getColor(0));
  settings_.n_pen_color = std::int32_t(canvas_.getColor(1));
  saveSettings(configFilePath(exeFolder_), settings_);  // a failed write is not reported
}

void PaperWindow::releaseUser32() {
  if (!user32_) return;
  FreeLibrary(user32_);
  user32_ = nullptr;
  setLayeredWindowAttributes_ = nullptr;
}

void PaperWindow::layoutView() {
  if (!initialised_) return;
  RECT client;
  GetClientRect(hwnd(), &client);
  const ViewRect v =
      tenmark::layoutView(client.right, client.bottom, canvas_.width(), int(canvas_.height()));
  MoveWindow(viewWindow_, v.x, v.y, v.width, v.height, TRUE);
}

void PaperWindow::relayout() {
  if (!initialised_) return;
  layoutView();
  InvalidateRect(viewWindow_, nullptr, FALSE);
}

void PaperWindow::paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  layoutView();
  RECT client;
  GetClientRect(hwnd(), &client);
  const RECT view = childRectInParent(viewWindow_, hwnd());
  const Color background =
      settings_.b_ClientDef ? GetSysColor(COLOR_BTNFACE) : Color(settings_.n_clnt_color);
  if (client.right > view.right) {
    fillSolid(dc, 0, 0, view.left, client.bottom, background);
    fillSolid(dc, view.right, 0, client.right, client.bottom, background);
  }
  if (client.bottom > view.bottom) {
    fillSolid(dc, view.left, 0, client.right, view.top, background);
    fillSolid(dc, view.left, view.bottom, client.right, client.bottom, background);
  }
  HDC viewDc = GetDC(viewWindow_);
  RECT viewClient;
  GetClientRect(viewWindow_, &viewClient);
  Rgb32Image image;
  image.resize(viewClient.right, viewClient.bottom);
  canvas_.blitTo(0, 0, image.width, image.height, image, 0, 0);
  presentImage(viewDc, 0, 0, image);
  ReleaseDC(viewWindow_, viewDc);
  EndPaint(hwnd(), &ps);
}

void PaperWindow::onCommand(int id) {
  // The exit item closes the window the way the close box does.
  if (id == kMenuExit) SendMessageA(hwnd(), WM_CLOSE, 0, 0);
}

bool PaperWindow::onMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_DESTROY:
      onDestroy();
      return false;
    case WM_PAINT:
      paint();
      return true;
    case WM_SIZE:
      relayout();
      InvalidateRect(hwnd(), nullptr, FALSE);
      return false;
    case WM_ERASEBKGND:
      result = 0;  // painting covers the whole client area
      return true;
    case WM_COMMAND:
      onCommand(LOWORD(wParam));
      return true;
    default:
      return false;
  }
}

}  // namespace tenmark
