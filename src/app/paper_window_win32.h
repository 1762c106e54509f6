#pragma once
// The main window: a dialog-based top-level window that owns every piece of the program's state
// and runs the start-up and shut-down sequences.

#include <windows.h>

#include <string>

#include "app/modal_dialog_win32.h"
#include "settings/settings.h"
#include "surface/mono_bitmap.h"

namespace tenmark {

class PaperWindow : public ModalDialog {
 public:
  PaperWindow(int argc, char** argv);
  ~PaperWindow() override;

 protected:
  BOOL onInitDialog() override;
  void onOK() override {}  // Enter never closes the window.
  bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

  // Start-up steps, in order.
  void loadMenuBar();
  void setIcons();
  void setStartValues();
  void deriveExeFolder();
  void clearStoredPlacement();
  void readSettings();
  void createCanvas();
  void loadUser32();
  void applyTranslucencyOptions();
  void applyStoredPlacement();
  void updateMenuLabels();
  void openCommandLinePicture();
  void attachMenuBar();
  void buildPopupMenu();
  void resetUndoRing();
  void finishInitialisation();
  void fitAndCentreWithoutPlacement();
  void openTablet();
  void makeTimestampName();
  void checkSaveFolder();

  // Shut-down steps, in order.
  void onDestroy();
  void autoSaveIfDrawn();
  void readPlacement();
  void readMenuBarState();
  void writeSettings();
  void releaseUser32();

  void layoutView();
  void relayout();
  void paint();
  void onCommand(int id);

  int argc_;
  char** argv_;
  HWND viewWindow_ = nullptr;
  HMODULE user32_ = nullptr;
  MonoBitmap canvas_;
  bool initialised_ = false;
  // The options, the bindings and the stored placement; the canvas size and colours in it
  // are start values only: while running, the canvas holds them.
  Settings settings_;
  std::string exeFolder_;
  SetLayeredWindowAttributesFn setLayeredWindowAttributes_ = nullptr;
  HCURSOR cursors_[4] = {};
  HMENU menuBar_ = nullptr;
  HMENU popupMenu_ = nullptr;
  HICON icon_ = nullptr;
  HICON smallIcon_ = nullptr;
};

}  // namespace tenmark
