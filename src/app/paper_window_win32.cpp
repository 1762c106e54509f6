#include "app/paper_window_win32.h"

#include <windowsx.h>

#include <algorithm>
#include <ctime>
#include <new>

#include "app/fault_drill.h"
#include "app/fault_save_win32.h"
#include "app/menu_table.h"
#include "app/window_fit.h"
#include "platform/wide_text_win32.h"
#include "win32/dialog_controls.h"
#include "win32/monitors.h"
#include "win32/owned_dialogs.h"
#include "win32/shell_services.h"
#include "win32/window_dpi.h"
#include "dialogs/about_dialog_win32.h"
#include "resource_ids.h"
#include "settings/program_folder.h"
#include "settings/settings_file.h"
#include "tenmark/texts.h"

namespace tenmark {

namespace {

int screenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

std::string loadVersionText() {
  char buffer[256] = {};
  LoadStringA(GetModuleHandleA(nullptr), IDS_VERSION, buffer, sizeof buffer);
  return buffer;
}

// Marks the close posted again once the dialogs that were up have ended.
constexpr LPARAM kCloseAgain = 0x544D;

// The first path of a drop, read whole (asked for its length first), never cut to another name.
std::string firstDroppedPath(HDROP drop) {
  if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) < 1) return std::string();
  const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
  std::wstring path(length + 1, L'\0');
  path.resize(DragQueryFileW(drop, 0, path.data(), length + 1));
  // A name no UTF-8 text can hold is one that cannot be opened.
  return fromWide(path).value_or(std::string());
}

bool isMouseMessage(UINT message) { return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST; }

Point pointOf(LPARAM lParam) { return Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

ScrollRequest scrollRequestOf(WPARAM wParam) {
  switch (LOWORD(wParam)) {
    case SB_LINEUP:
      return ScrollRequest::LineBack;
    case SB_LINEDOWN:
      return ScrollRequest::LineForward;
    case SB_PAGEUP:
      return ScrollRequest::PageBack;
    case SB_PAGEDOWN:
      return ScrollRequest::PageForward;
    case SB_THUMBTRACK:
      return ScrollRequest::ThumbTrack;
    default:
      return ScrollRequest::Other;
  }
}

}  // namespace

PaperWindow::PaperWindow(std::string commandLinePath)
    : ModalDialog(IDD_PAPER),
      commandLinePath_(std::move(commandLinePath)),
      versionText_(loadVersionText()),
      model_(*this, versionText_.c_str()) {}

PaperWindow::~PaperWindow() {
  // The popup menu shares the menu bar's submenus: take them out before destroying it, so that
  // each submenu is destroyed once, with the menu bar.
  if (popupMenu_) {
    while (GetMenuItemCount(popupMenu_) > 0) RemoveMenu(popupMenu_, 0, MF_BYPOSITION);
    DestroyMenu(popupMenu_);
  }
  if (menuBar_) DestroyMenu(menuBar_);
}

BOOL PaperWindow::onInitDialog() {
  attachViewWindow();
  // Single-letter shortcuts must work with the Japanese IME on.
  keepKeysFromInputMethod(hwnd(), true);
  loadMenuBar();
  takeDpi();
  setStartValues();
  deriveExeFolder();
  model_.clearStoredPlacement();
  readSettings();
  model_.createCanvas(screenHeight());
  installFaultSave(model_);
  loadUser32();
  applyTranslucency(model_.settings().n_set_alpha, model_.settings().n_alpha);
  applyStoredPlacement();
  model_.updateMenuLabels();
  openCommandLinePicture();
  attachMenuBar();
  fitCommandLinePicture();
  buildPopupMenu();
  model_.resetUndoRing();
  model_.finishInitialisation();
  fitAndCentreWithoutPlacement();
  openTablet();
  nameNewPicture();
  checkSaveFolder();
  return TRUE;
}

void PaperWindow::loadMenuBar() {
  menuBar_ = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINMENU));
}

void PaperWindow::takeDpi() {
  // The window lays itself out at a change of scale, and keeps the canvas 1:1.
  keepDialogLayoutAtDpiChange(hwnd());
  dpi_ = windowDpi(hwnd());
  images_.load(hwnd(), dpi_);
}

void PaperWindow::onDpiChanged(int dpi, const RECT& suggested) {
  // The canvas and its zoom stay as they are: only the frame and the images change size, and
  // the system's rectangle keeps the window where the user put it.
  dpi_ = dpi;
  images_.load(hwnd(), dpi_);
  SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void PaperWindow::setStartValues() {
  model_.settings() = defaultSettings(screenHeight(), std::string());
}

void PaperWindow::deriveExeFolder() {
  // From the module, not the command line: a program started by its bare name has no folder
  // in its first command-line word.
  exeFolder_ = exeFolderFromProgramPath(executablePath());
  model_.settings().saveFolder = exeFolder_;
}

void PaperWindow::readSettings() {
  // A missing or unreadable file is not worth a message: the start values stand. Reading also
  // moves New off Space when Hand is bound to Space as well.
  loadSettings(configFilePath(exeFolder_), model_.settings());
}

void PaperWindow::loadUser32() {
  user32_ = LoadLibraryA("user32.dll");
  if (!user32_) return;
  setLayeredWindowAttributes_ = reinterpret_cast<SetLayeredWindowAttributesFn>(
      reinterpret_cast<void*>(GetProcAddress(user32_, "SetLayeredWindowAttributes")));
}

void PaperWindow::applyStoredPlacement() {
  const Settings& s = model_.settings();
  if (!s.hasStoredPlacement()) return;
  const Rect r =
      storedPlacementOnScreen(Rect{s.n_xpos, s.n_ypos, s.n_xsize, s.n_ysize}, allWorkAreas());
  SetWindowPos(hwnd(), nullptr, r.x, r.y, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
  if (s.b_Maximized) ShowWindow(hwnd(), SW_MAXIMIZE);
}

void PaperWindow::openCommandLinePicture() {
  // A file that cannot be opened is ignored without a word.
  commandLinePicture_ = !commandLinePath_.empty() && model_.openImageFile(commandLinePath_);
}

void PaperWindow::fitCommandLinePicture() {
  // Again with the menu bar in place, which may wrap onto more lines than the first fit knew.
  if (commandLinePicture_) fitWindowToCanvas(model_.canvas().width(), model_.canvas().height());
}

void PaperWindow::attachMenuBar() {
  if (model_.settings().b_ShowMenu) SetMenu(hwnd(), menuBar_);
}

void PaperWindow::buildPopupMenu() {
  popupMenu_ = CreatePopupMenu();
  const int count = GetMenuItemCount(menuBar_);
  for (int i = 0; i < count; ++i) {
    const int length = GetMenuStringW(menuBar_, UINT(i), nullptr, 0, MF_BYPOSITION);
    std::wstring text(length >= 1 ? std::size_t(length) + 1 : 1, L'\0');
    if (length >= 1)
      GetMenuStringW(menuBar_, UINT(i), text.data(), int(text.size()), MF_BYPOSITION);
    HMENU submenu = GetSubMenu(menuBar_, i);
    AppendMenuW(popupMenu_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu),
                text.c_str());
  }
}

void PaperWindow::fitAndCentreWithoutPlacement() {
  const Settings& s = model_.settings();
  if (s.hasStoredPlacement()) return;
  // The configured size, also when a picture of another size was opened.
  const CanvasSize size = canvasSizeOrDefault(s, screenHeight());
  fitWindowToCanvas(size.width + 10, size.height + 10);
  RECT r;
  GetWindowRect(hwnd(), &r);
  placeWindow(centredIn(workAreaOf(hwnd()), Point{r.right - r.left, r.bottom - r.top}));
}

void PaperWindow::nameNewPicture() { model_.makeTimestampName(localTime()); }

void PaperWindow::checkSaveFolder() {
  if (!isDirectory(model_.settings().saveFolder)) showMessage(text::SaveFolderMissing);
}

void PaperWindow::onCancel() {
  if (model_.readyToClose()) endModal(IDCANCEL);
}

bool PaperWindow::closeDialogsFirst(LPARAM marker) {
  // Only once: a dialog that does not go cannot send the close round for ever; the window's
  // destruction then ends its loop.
  if (IsWindowEnabled(hwnd()) || marker == kCloseAgain || !cancelOwnedDialogs(hwnd())) return false;
  // Behind their Cancel in the queue: it comes back once their loops have unwound.
  PostMessageA(hwnd(), WM_CLOSE, 0, kCloseAgain);
  return true;
}

void PaperWindow::endSession() {
  // The process ends when this returns, whatever anyone would answer, so nothing is asked. The
  // window goes now: its shut-down writes the settings, and every dialog's loop ends with it.
  model_.saveAtSessionEnd();
  DestroyWindow(hwnd());
}

void PaperWindow::onDestroy() {
  clearFaultSave();
  readPlacement();
  readMenuBarState();
  writeSettings();
  releaseUser32();
  // The menu bar stays ours: detach it so that the window's destruction leaves it alone.
  SetMenu(hwnd(), nullptr);
}

void PaperWindow::readPlacement() {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(hwnd(), &placement);
  const RECT& r = placement.rcNormalPosition;
  // Stored as start-up gives it back to SetWindowPos: in screen coordinates.
  const MonitorAreas areas = monitorAreasOf(hwnd());
  const Rect normal = screenFromWorkspace(
      Rect{int(r.left), int(r.top), int(r.right - r.left), int(r.bottom - r.top)}, areas.monitor,
      areas.work);
  Settings& s = model_.settings();
  s.n_xpos = normal.x;
  s.n_ypos = normal.y;
  s.n_xsize = normal.width;
  s.n_ysize = normal.height;
  s.b_Maximized = IsZoomed(hwnd()) ? 1 : 0;
}

void PaperWindow::readMenuBarState() { model_.settings().b_ShowMenu = GetMenu(hwnd()) ? 1 : 0; }

void PaperWindow::writeSettings() {
  model_.writeCanvasIntoSettings();
  saveSettings(configFilePath(exeFolder_), model_.settings());  // a failed write is not reported
}

void PaperWindow::releaseUser32() {
  if (!user32_) return;
  FreeLibrary(user32_);
  user32_ = nullptr;
  setLayeredWindowAttributes_ = nullptr;
}

void PaperWindow::onScroll(ScrollAxis axis, WPARAM wParam) {
  const int track = LOWORD(wParam) == SB_THUMBTRACK ? trackPosition(axis) : 0;
  model_.onScroll(axis, scrollRequestOf(wParam), track);
}

void PaperWindow::onWheel(UINT message, WPARAM wParam, LPARAM lParam) {
  const bool tilt = message == WM_MOUSEHWHEEL;
  const WORD keys = GET_KEYSTATE_WPARAM(wParam);
  WheelTurn turn;
  turn.axis = tilt || (keys & MK_SHIFT) ? ScrollAxis::Horizontal : ScrollAxis::Vertical;
  // A tilt to the right reports a positive delta; the wheel turned away from the user too, but
  // that one goes towards the top.
  turn.delta = tilt ? -GET_WHEEL_DELTA_WPARAM(wParam) : GET_WHEEL_DELTA_WPARAM(wParam);
  turn.zoom = !tilt && (keys & MK_CONTROL);
  // The message carries screen coordinates.
  turn.client = screenToClient(pointOf(lParam));
  UINT lines = 3;
  SystemParametersInfoA(tilt ? SPI_GETWHEELSCROLLCHARS : SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  turn.linesPerNotch = lines == WHEEL_PAGESCROLL ? kWheelScreen : int(std::min(lines, 10000u));
  model_.mouseWheel(turn);
}

void PaperWindow::onCommand(int id) {
  // The exit item closes the window the way the close box does.
  if (id == ID_APP_EXIT) {
    SendMessageA(hwnd(), WM_CLOSE, 0, 0);
    return;
  }
  if (id == ID_APP_ABOUT) {
    showAboutDialog(hwnd());
    return;
  }
  model_.menuCommand(id);
}

bool PaperWindow::onSetCursor(LPARAM hitTestAndMessage, LRESULT& result) {
  // The context follows the pointer: on over the client area, off over the frame.
  const bool overClient = LOWORD(hitTestAndMessage) == HTCLIENT;
  tablet_.enableContext(overClient);
  if (!overClient) return false;
  model_.refreshCursor();
  result = TRUE;
  return true;
}

bool PaperWindow::onSystemCommand(WPARAM command, LPARAM character) {
  flushTabletQueue();
  // The keyboard never opens the menu bar, so that Alt can be part of a shortcut (the Alt
  // released after a bound Alt key would otherwise open it); Alt+Space, when no binding took
  // it, opens the window menu as everywhere.
  if ((command & 0xFFF0) == SC_KEYMENU) return character != ' ';
  if (menuItemOf(int(command)) || command == ID_APP_ABOUT)
    SendMessageA(hwnd(), WM_COMMAND, command, 0);
  return false;
}

bool PaperWindow::preTranslateMessage(MSG& msg) {
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return model_.dispatchShortcut(0);
    case WM_KEYUP:
    case WM_SYSKEYUP:
      model_.refreshCursorOverClient();
      return false;
    default:
      return false;
  }
}

void PaperWindow::onDroppedFiles(HDROP drop) {
  // While a dialog or a question is up the window is disabled, and a drop is refused.
  std::string path;
  try {
    if (IsWindowEnabled(hwnd())) path = firstDroppedPath(drop);
  } catch (const std::bad_alloc&) {
    // A path without the memory to hold it is refused as well.
  }
  DragFinish(drop);
  if (!path.empty()) model_.dropFile(path);
}

bool PaperWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // A Wintab driver's Windows Ink side makes them too: the pen's press is the packets'.
  if (isMouseMessage(message) && model_.tablet().tabletStroke && isPenMadeMouseMessage())
    return false;
  switch (message) {
    case WM_DESTROY:
      onDestroy();
      return false;
    case WM_PAINT:
      paint();
      return true;
    case WM_SIZE:
      model_.onSize();
      return false;
    case WM_HSCROLL:
      onScroll(ScrollAxis::Horizontal, wParam);
      return false;
    case WM_VSCROLL:
      onScroll(ScrollAxis::Vertical, wParam);
      return false;
    case WM_ERASEBKGND:
      result = 0;
      return true;  // painting covers the whole client area
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  // a quick second press is a press like any other
      model_.leftButtonDown(pointOf(lParam));
      return false;
    case WM_LBUTTONUP:
      model_.leftButtonUp(pointOf(lParam));
      return false;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      model_.rightButtonDown(pointOf(lParam));
      return false;
    case WM_RBUTTONUP:
      model_.rightButtonUp(pointOf(lParam));
      return false;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      onWheel(message, wParam, lParam);
      result = 0;
      return true;
    case WM_MOUSEMOVE:
      model_.pointerMoved(pointOf(lParam));
      return false;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd()) model_.captureLost();
      return false;
    case WM_SETCURSOR:
      return onSetCursor(lParam, result);
    case WM_NCLBUTTONDOWN:
      if (wParam != HTCLIENT) flushTabletQueue();
      return false;
    case WM_SETFOCUS:
      tablet_.enableContext(true);
      return false;
    case WM_KILLFOCUS:
      tablet_.enableContext(false);
      return false;
    case ink::kPointerUpdate:
    case ink::kPointerDown:
    case ink::kPointerUp:
    case ink::kPointerEnter:
    case ink::kPointerLeave:
    case ink::kPointerCaptureChanged:
      return onPointerMessage(message, wParam, result);
    case ink::kTabletQueryGestureStatus:
      result = ink::kQuietPenGestures;
      return true;
    case wintab::kPacketMessage:
      onTabletPacket(wParam, lParam);
      return true;
    case wintab::kProximityMessage:
      model_.tabletProximity(LOWORD(lParam) != 0);
      return true;
    case WM_COMMAND:
      onCommand(LOWORD(wParam));
      return true;
    case WM_SYSCOMMAND:
      return onSystemCommand(wParam, lParam);
    case WM_CLOSE:
      return closeDialogsFirst(lParam);
    // Any loop may dispatch it: the main one, a message box's, a menu's.
    case WM_DROPFILES:
      onDroppedFiles(reinterpret_cast<HDROP>(wParam));
      return true;
    case WM_DPICHANGED:
      onDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return true;
    case WM_QUERYENDSESSION:
      result = model_.readyToEndSession();
      return true;
    case WM_ENDSESSION:
      if (wParam)
        endSession();
      else
        model_.sessionGoesOn();  // and so does the picture
      return true;
#ifdef TENMARK_FAULT_DRILL
    case kFaultDrillMessage:
      runFaultDrill(FaultDrill(wParam));
      return true;
#endif
    default:
      return false;
  }
}

}  // namespace tenmark
