#pragma once
// The main window: a dialog-based top-level window that owns the program's state through its
// model, runs the start-up and shut-down sequences, turns window messages into model calls and
// carries out the effects the model asks for.

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "win32/modal_dialog.h"
#include "win32/subclass.h"
#include "win32/window_dpi.h"
#include "app/window_images_win32.h"
#include "app/paper_model.h"
#include "app/paper_platform.h"
#include "tablet/pen_link_win32.h"
#include "tablet/tablet_link_win32.h"

namespace tenmark {

class PaperWindow : public ModalDialog, private PaperPlatform {
 public:
  // `commandLinePath`: the picture named on the command line, or empty.
  explicit PaperWindow(std::string commandLinePath);
  ~PaperWindow() override;

 protected:
  BOOL onInitDialog() override;
  void onOK() override {}  // Enter never closes the window.
  // Every way of closing comes here: the automatic save first, and the window stays open when
  // that save failed.
  void onCancel() override;
  bool preTranslateMessage(MSG& msg) override;
  bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

  // Start-up, in order.
  void attachViewWindow();
  void loadMenuBar();
  void takeDpi();
  void setStartValues();
  void deriveExeFolder();
  void readSettings();
  void loadUser32();
  void applyStoredPlacement();
  void openCommandLinePicture();
  void attachMenuBar();
  void fitCommandLinePicture();
  void buildPopupMenu();
  void fitAndCentreWithoutPlacement();
  void openTablet();
  void nameNewPicture();
  void checkSaveFolder();

  // A close while a dialog or a question is up ends them first, as Cancel; true when the close
  // waits for that.
  bool closeDialogsFirst(LPARAM marker);
  void endSession();

  // Shut-down, in order.
  void onDestroy();
  void readPlacement();
  void readMenuBarState();
  void writeSettings();
  void releaseUser32();

  void paint();
  void paintView();
  void onScroll(ScrollAxis axis, WPARAM wParam);
  int trackPosition(ScrollAxis axis) const;
  void onCommand(int id);
  void onWheel(UINT message, WPARAM wParam, LPARAM lParam);
  void onTabletPacket(WPARAM serial, LPARAM context);
  bool onPointerMessage(UINT message, WPARAM wParam, LRESULT& result);
  bool onSetCursor(LPARAM hitTestAndMessage, LRESULT& result);
  // Before the frame, the system menu or the pop-up menu takes over: no queued packet may draw.
  void flushTabletQueue();
  bool onSystemCommand(WPARAM command, LPARAM character);
  void onDroppedFiles(HDROP drop);
  void onDpiChanged(int dpi, const RECT& suggested);

  // PaperPlatform.
  Point clientSize() const override;
  bool isKeyDown(int virtualKey) const override;
  Point pointerPosition() const override;
  Point screenToClient(Point onScreen) const override;
  Color buttonFaceColor() const override;
  bool fileExists(const std::string& path) const override;
  std::tm localTime() const override;
  void moveViewWindow(const Rect& r) override;
  void invalidateView() override;
  void invalidateWindow() override;
  void fillBackground(const Rect& r, Color color) override;
  void presentView(Point at, const Rgb32Image& image) override;
  void setScrollBar(ScrollAxis axis, const ScrollBar& bar) override;
  void setCaption(const std::string& text) override;
  void prepareRescue(const std::string& basePath) override;
  void setCursor(ToolMode tool) override;
  void capturePointer() override;
  void releasePointer() override;
  void enableMenuItem(int id, bool enabled) override;
  void applyTranslucency(int on, int alpha) override;
  void toggleMenuBar() override;
  void redrawWindow() override;
  void fitWindowToCanvas(int width, int height) override;
  void placeWindow(const Rect& r);
  // The client area with the room of the scroll bars that are shown.
  Point clientAreaWithBars() const;
  void setMenuLabel(int id, const std::string& text) override;
  void showPopupMenu() override;
  void closeWindow() override;
  void putClipboardImage(const Rgb32Image& image) override;
  ClipboardPicture readClipboardPicture(const MonoBitmap& canvas) override;
  void showMessage(const std::string& text) override;
  bool askYesNo(const std::string& text) override;
  bool askWarningYesNo(const std::string& text) override;
  void blockSessionEnd(const std::string& reason) override;
  void allowSessionEnd() override;
  std::optional<std::string> chooseOpenPath(const std::string& folder) override;
  std::optional<ChosenSavePath> chooseSavePath(const std::string& folder,
                                               const std::string& name) override;
  std::optional<SettingsDialogValues> runSettingsDialog(const SettingsDialogValues& values,
                                                        const InkCutQuery& cutsOffInk) override;
  std::optional<KeyBindings> runShortcutDialog(const KeyBindings& bindings) override;

  std::string commandLinePath_;
  std::string versionText_;
  PaperModel model_;
  TabletLink tablet_;
  PenLink pens_;
  // Windows Ink brings the pen; never while a Wintab context is open.
  bool penInput_ = false;
  HWND viewWindow_ = nullptr;
  Subclass viewSubclass_;
  HMODULE user32_ = nullptr;
  std::string exeFolder_;
  SetLayeredWindowAttributesFn setLayeredWindowAttributes_ = nullptr;
  WindowImages images_;
  // The DPI of the monitor the window is on.
  int dpi_ = kDesignDpi;
  HMENU menuBar_ = nullptr;
  HMENU popupMenu_ = nullptr;
  bool commandLinePicture_ = false;
  // The drawing contexts of the paint in progress, if any.
  HDC paintDc_ = nullptr;
  HDC viewPaintDc_ = nullptr;
};

}  // namespace tenmark
