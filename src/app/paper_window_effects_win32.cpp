// The effects the model asks of the main window: painting, presenting, scroll bars, the caption,
// cursors, menus, dialogs and messages.
#include "platform/wide_text_win32.h"
#include "win32/clipboard.h"
#include "win32/file_dialog.h"
#include "app/paper_window_win32.h"
#include "app/rescue_file_win32.h"
#include "win32/handles.h"
#include "win32/monitors.h"
#include "win32/present.h"
#include "win32/shell_services.h"
#include "app/window_fit.h"
#include "dialogs/settings_dialog_win32.h"
#include "dialogs/shortcut_dialog_win32.h"
#include "resource_ids.h"

namespace tenmark {

namespace {

int scrollBarOf(ScrollAxis axis) { return axis == ScrollAxis::Horizontal ? SB_HORZ : SB_VERT; }

}  // namespace

void PaperWindow::attachViewWindow() {
  viewWindow_ = GetDlgItem(hwnd(), IDC_VIEW);
  // The main window's paint leaves the view window alone: each paints its own pixels once.
  SetWindowLongA(hwnd(), GWL_STYLE, GetWindowLongA(hwnd(), GWL_STYLE) | WS_CLIPCHILDREN);
  // The view window paints the canvas itself instead of its black frame.
  viewSubclass_.attach(viewWindow_, [this](UINT message, WPARAM, LPARAM, LRESULT& result) {
    switch (message) {
      case ink::kTabletQueryGestureStatus:
        result = ink::kQuietPenGestures;
        return true;
      case WM_PAINT:
        paintView();
        result = 0;
        return true;
      case WM_ERASEBKGND:
        result = 1;
        return true;
      default:
        return false;
    }
  });
}

int PaperWindow::trackPosition(ScrollAxis axis) const {
  // The 32-bit position, not the 16 bits that the scroll message carries.
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_TRACKPOS;
  GetScrollInfo(hwnd(), scrollBarOf(axis), &info);
  return info.nTrackPos;
}

void PaperWindow::fitWindowToCanvas(int width, int height) {
  // A maximised window keeps its size; the canvas scrolls in it.
  if (IsZoomed(hwnd())) return;
  const BOOL hasMenu = GetMenu(hwnd()) != nullptr;
  const Point asked{width + metricForDpi(SM_CXHSCROLL, dpi_),
                    height + metricForDpi(SM_CYVSCROLL, dpi_)};
  RECT current;
  GetWindowRect(hwnd(), &current);
  const RECT outer = outerRectForDpi(RECT{0, 0, asked.x, asked.y}, hwnd(), hasMenu, dpi_);
  WindowFitInput fit{
      workAreaOf(hwnd()), Point{outer.right - outer.left, outer.bottom - outer.top},
      Rect{current.left, current.top, current.right - current.left, current.bottom - current.top}};
  Rect placed = fittedWindowRect(fit);
  placeWindow(placed);
  // The outer size above counts one line of menu bar; a narrow window wraps it onto more. A
  // client area squeezed to nothing shows only part of what is missing, so this may take a few
  // rounds; it ends when nothing is missing or the screen allows no more.
  for (int round = 0; round < 8; ++round) {
    const Point got = clientAreaWithBars();
    const Point shortfall{asked.x - got.x, asked.y - got.y};
    if (shortfall.x <= 0 && shortfall.y <= 0) break;
    fit = grownByShortfall(fit, placed, shortfall);
    const Rect grown = fittedWindowRect(fit);
    if (grown == placed) break;
    placed = grown;
    placeWindow(placed);
  }
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void PaperWindow::placeWindow(const Rect& r) {
  SetWindowPos(hwnd(), nullptr, r.x, r.y, r.width, r.height, SWP_NOZORDER);
}

Point PaperWindow::clientAreaWithBars() const {
  RECT client;
  GetClientRect(hwnd(), &client);
  const LONG style = GetWindowLongA(hwnd(), GWL_STYLE);
  return Point{client.right + (style & WS_VSCROLL ? metricForDpi(SM_CXVSCROLL, dpi_) : 0),
               client.bottom + (style & WS_HSCROLL ? metricForDpi(SM_CYHSCROLL, dpi_) : 0)};
}

void PaperWindow::paint() {
  PAINTSTRUCT ps;
  paintDc_ = BeginPaint(hwnd(), &ps);
  model_.paintMargins();
  EndPaint(hwnd(), &ps);
  paintDc_ = nullptr;
}

void PaperWindow::paintView() {
  PAINTSTRUCT ps;
  viewPaintDc_ = BeginPaint(viewWindow_, &ps);
  const RECT& u = ps.rcPaint;
  model_.paintView(Rect{u.left, u.top, u.right - u.left, u.bottom - u.top});
  EndPaint(viewWindow_, &ps);
  viewPaintDc_ = nullptr;
}

Point PaperWindow::clientSize() const {
  RECT r;
  GetClientRect(hwnd(), &r);
  return Point{r.right, r.bottom};
}

bool PaperWindow::isKeyDown(int virtualKey) const { return GetKeyState(virtualKey) < 0; }

Point PaperWindow::pointerPosition() const {
  POINT p;
  GetCursorPos(&p);
  ScreenToClient(hwnd(), &p);
  return Point{p.x, p.y};
}

Point PaperWindow::screenToClient(Point onScreen) const {
  POINT p{onScreen.x, onScreen.y};
  ScreenToClient(hwnd(), &p);
  return Point{p.x, p.y};
}

Color PaperWindow::buttonFaceColor() const { return GetSysColor(COLOR_BTNFACE); }

bool PaperWindow::fileExists(const std::string& path) const { return tenmark::fileExists(path); }

std::tm PaperWindow::localTime() const {
  SYSTEMTIME t;
  GetLocalTime(&t);
  std::tm local{};
  local.tm_year = t.wYear - 1900;
  local.tm_mon = t.wMonth - 1;
  local.tm_mday = t.wDay;
  local.tm_hour = t.wHour;
  local.tm_min = t.wMinute;
  local.tm_sec = t.wSecond;
  return local;
}

void PaperWindow::moveViewWindow(const Rect& r) {
  MoveWindow(viewWindow_, r.x, r.y, r.width, r.height, TRUE);
}

void PaperWindow::invalidateView() { InvalidateRect(viewWindow_, nullptr, FALSE); }

void PaperWindow::invalidateWindow() {
  // The view window too, which the main window's update region leaves out.
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void PaperWindow::fillBackground(const Rect& r, Color color) {
  if (paintDc_) fillSolid(paintDc_, RECT{r.x, r.y, r.right(), r.bottom()}, color);
}

void PaperWindow::presentView(Point at, const Rgb32Image& image) {
  if (viewPaintDc_) {
    presentImage(viewPaintDc_, at.x, at.y, image);
    return;
  }
  const WindowDc dc(viewWindow_);
  presentImage(dc.get(), at.x, at.y, image);
}

void PaperWindow::setScrollBar(ScrollAxis axis, const ScrollBar& bar) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = bar.minimum;
  info.nMax = bar.maximum;
  info.nPage = UINT(bar.page);
  info.nPos = bar.position;
  SetScrollInfo(hwnd(), scrollBarOf(axis), &info, TRUE);
}

void PaperWindow::setCaption(const std::string& text) {
  SetWindowTextW(hwnd(), toWideOrEmpty(text).c_str());
}

void PaperWindow::prepareRescue(const std::string& basePath) { prepareRescueFile(basePath); }

void PaperWindow::setCursor(ToolMode tool) { SetCursor(images_.cursor(tool)); }

void PaperWindow::capturePointer() { SetCapture(hwnd()); }

void PaperWindow::releasePointer() { ReleaseCapture(); }

void PaperWindow::enableMenuItem(int id, bool enabled) {
  EnableMenuItem(menuBar_, UINT(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void PaperWindow::applyTranslucency(int on, int alpha) {
  if (!setLayeredWindowAttributes_) return;
  const LONG style = GetWindowLongA(hwnd(), GWL_EXSTYLE);
  if (on == 1) {
    SetWindowLongA(hwnd(), GWL_EXSTYLE, style | WS_EX_LAYERED);
    setLayeredWindowAttributes_(hwnd(), 0, BYTE(alpha & 0xFF), LWA_ALPHA);
  } else {
    SetWindowLongA(hwnd(), GWL_EXSTYLE, style & ~WS_EX_LAYERED);
  }
}

void PaperWindow::toggleMenuBar() { SetMenu(hwnd(), GetMenu(hwnd()) ? nullptr : menuBar_); }

void PaperWindow::setMenuLabel(int id, const std::string& text) {
  ModifyMenuW(menuBar_, UINT(id), MF_BYCOMMAND | MF_STRING, UINT_PTR(id),
              toWideOrEmpty(text).c_str());
}

void PaperWindow::showPopupMenu() {
  flushTabletQueue();
  POINT p;
  GetCursorPos(&p);
  TrackPopupMenu(popupMenu_, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, p.x, p.y, 0, hwnd(),
                 nullptr);
}

void PaperWindow::closeWindow() { onCancel(); }

void PaperWindow::putClipboardImage(const Rgb32Image& image) { putClipboardBitmap(hwnd(), image); }

ClipboardPicture PaperWindow::readClipboardPicture(const MonoBitmap& canvas) {
  return tenmark::readClipboardPicture(hwnd(), canvas);
}

void PaperWindow::showMessage(const std::string& text) {
  tenmark::showMessage(hwnd(), text.c_str());
}

bool PaperWindow::askYesNo(const std::string& text) {
  return tenmark::askYesNo(hwnd(), text.c_str());
}

bool PaperWindow::askWarningYesNo(const std::string& text) {
  return tenmark::askWarningYesNo(hwnd(), text.c_str());
}

void PaperWindow::blockSessionEnd(const std::string& reason) {
  ShutdownBlockReasonCreate(hwnd(), toWideOrEmpty(reason).c_str());
}

void PaperWindow::allowSessionEnd() { ShutdownBlockReasonDestroy(hwnd()); }

std::optional<std::string> PaperWindow::chooseOpenPath(const std::string& folder) {
  const std::optional<FileDialogChoice> choice = runOpenDialog(hwnd(), folder);
  if (!choice) return std::nullopt;
  return choice->path;
}

std::optional<ChosenSavePath> PaperWindow::chooseSavePath(const std::string& folder,
                                                          const std::string& name) {
  const std::optional<FileDialogChoice> choice = runSaveDialog(hwnd(), folder, name);
  if (!choice) return std::nullopt;
  return ChosenSavePath{choice->path, choice->format};
}

std::optional<SettingsDialogValues> PaperWindow::runSettingsDialog(
    const SettingsDialogValues& values, const InkCutQuery& cutsOffInk) {
  return showSettingsDialog(
      hwnd(), values, [this](int on, int alpha) { applyTranslucency(on, alpha); }, cutsOffInk);
}

std::optional<KeyBindings> PaperWindow::runShortcutDialog(const KeyBindings& bindings) {
  return showShortcutDialog(hwnd(), bindings);
}

void PaperWindow::redrawWindow() {
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
}

}  // namespace tenmark
