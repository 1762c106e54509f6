#pragma once
// The main window: a dialog-based top-level window that owns the program's state through its
// model, runs the start-up and shut-down sequences, turns window messages into model calls and
// carries out the effects the model asks for.

#include <windows.h>

#include <string>

#include "app/modal_dialog_win32.h"
#include "app/paper_model.h"
#include "app/paper_platform.h"

namespace tenmark {

class PaperWindow : public ModalDialog, private PaperPlatform {
 public:
  PaperWindow(int argc, char** argv);
  ~PaperWindow() override;

 protected:
  BOOL onInitDialog() override;
  void onOK() override {}  // Enter never closes the window.
  bool preTranslateMessage(MSG& msg) override;
  bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

  // Start-up, in order.
  void loadMenuBar();
  void setIcons();
  void setStartValues();
  void deriveExeFolder();
  void clearStoredPlacement();
  void readSettings();
  void createCanvas();
  void loadUser32();
  void applyStoredPlacement();
  void attachMenuBar();
  void buildPopupMenu();
  void fitAndCentreWithoutPlacement();
  void nameNewPicture();
  void checkSaveFolder();

  // Shut-down, in order.
  void onDestroy();
  void readPlacement();
  void readMenuBarState();
  void writeSettings();
  void releaseUser32();

  void fitWindowToCanvas(int width, int height);
  void paint();
  void paintView();
  void onScroll(ScrollAxis axis, WPARAM wParam);
  void onCommand(int id);
  static LRESULT CALLBACK viewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  // PaperPlatform.
  Point clientSize() const override;
  bool isKeyDown(int virtualKey) const override;
  Point pointerPosition() const override;
  Color buttonFaceColor() const override;
  void moveViewWindow(const Rect& r) override;
  void invalidateView() override;
  void invalidateWindow() override;
  void fillBackground(const Rect& r, Color color) override;
  void presentView(const Rgb32Image& image) override;
  void present(Point at, const Rgb32Image& image) override;
  void setScrollBar(ScrollAxis axis, const ScrollBar& bar) override;
  void setCaption(const std::string& text) override;
  void setCursor(ToolMode tool) override;
  void capturePointer() override;
  void releasePointer() override;
  void enableMenuItem(int id, bool enabled) override;
  void applyTranslucency(int on, int alpha) override;
  void toggleMenuBar() override;
  void redrawWindow() override;

  int argc_;
  char** argv_;
  std::string versionText_;
  PaperModel model_;
  HWND viewWindow_ = nullptr;
  WNDPROC staticProc_ = nullptr;
  HMODULE user32_ = nullptr;
  std::string exeFolder_;
  SetLayeredWindowAttributesFn setLayeredWindowAttributes_ = nullptr;
  HCURSOR cursors_[4] = {};
  HMENU menuBar_ = nullptr;
  HMENU popupMenu_ = nullptr;
  HICON icon_ = nullptr;
  HICON smallIcon_ = nullptr;
  // The drawing contexts of the paint in progress, if any.
  HDC paintDc_ = nullptr;
  HDC viewPaintDc_ = nullptr;
  // The canvas is the one-pixel stand-in made when no real size could be created.
  bool standInCanvas_ = false;
};

}  // namespace tenmark
