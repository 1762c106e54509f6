#pragma once
// The main window's behaviour without the window: the canvas and its view, the undo ring, the
// tools and strokes, the caption, and the commands that keys, the right button and menus run.
// The Win32 window turns messages into these calls; every effect goes back through
// PaperPlatform.

#include <cstdint>
#include <ctime>
#include <new>
#include <optional>
#include <string>

#include "app/paper_platform.h"
#include "canvas/canvas_view.h"
#include "canvas/tool_mode.h"
#include "canvas/undo_ring.h"
#include "settings/settings.h"
#include "surface/mono_bitmap.h"
#include "surface/rgb32_image.h"
#include "tablet/tablet_packet.h"

namespace tenmark {

// What the tablet reports about the pen; the mouse is ignored while the pen is near.
struct TabletState {
  bool inProximity = false;
  bool tabletStroke = false;
  bool eraserActive = false;
  // The buttons of the previous packet, over the whole run: a change shows a switch going down.
  std::uint32_t previousButtons = 0;
  // The device's maximum pressure as the driver reports it; 0 when unknown.
  std::uint32_t pressureMaximum = 0;
};

class PaperModel {
 public:
  PaperModel(PaperPlatform& platform, const char* versionText);

  // Start-up and the state the window keeps.
  Settings& settings() { return settings_; }
  const Settings& settings() const { return settings_; }
  MonoBitmap& canvas() { return canvas_; }
  const MonoBitmap& canvas() const { return canvas_; }
  const CanvasView& view() const { return view_; }
  const UndoRing& undoRing() const { return ring_; }
  TabletState& tablet() { return tablet_; }
  // A one-pixel canvas made only because neither the configured nor the default size could
  // be: its size is not worth keeping in the settings until a real canvas replaces it.
  void setStandInCanvas(bool standIn) { standInCanvas_ = standIn; }
  bool standInCanvas() const { return standInCanvas_; }
  // Empties the undo ring and greys Undo and Redo.
  void resetUndoRing();
  // From now on the view is laid out.
  void finishInitialisation();

  // The view: size, scroll and paint notifications.
  void onSize();
  void onScroll(ScrollAxis axis, ScrollRequest request, int trackPosition);
  // The main window's paint: the margins around the view window, never the canvas.
  void paintMargins();
  // The view window's paint of `update` (view-window coordinates): the canvas there, once.
  void paintView(const Rect& update);
  void relayout();

  // The caption and the modified mark.
  const std::string& documentName() const { return documentName_; }
  bool modified() const { return modified_; }
  void setModified(bool value);
  void updateCaption();
  // A new picture's name from the local time; clears the modified mark.
  void makeTimestampName(const std::tm& local);

  // Documents. True when the canvas now holds the file; nothing is said when it cannot.
  bool openImageFile(const std::string& path);
  // The automatic save of a modified picture into the save folder, when it is switched on.
  struct AutoSaveResult {
    bool failed = false;
    std::string path;  // the file written or tried; empty when nothing was to be saved
  };
  AutoSaveResult autoSave();
  // After the program faulted: a modified, non-blank picture written as the automatic save
  // would write it, whether or not saving at exit is on.
  AutoSaveResult saveAfterFault();
  // Before the window closes: the automatic save of a drawn picture. When it fails, the user
  // chooses: true (Yes) closes without saving, false (No) keeps the window and its picture.
  bool saveBeforeClosing();
  // At the end of the Windows session: as before closing, but without asking; a failed save
  // keeps the session from ending, with the reason given to the system.
  bool saveBeforeSessionEnd();
  // The canvas at a new size with the old picture at its top left; false, with nothing
  // changed, when the new size cannot be made.
  bool resizeCanvas(int width, int height, Color background, Color pen);
  // A file dropped on the window: the picture it replaces is saved first, as for Open.
  void dropFile(const std::string& path);
  // The sixteen menu items that show their command's binding.
  void updateMenuLabels();

  // Mouse messages, in client coordinates.
  void leftButtonDown(Point p);
  void leftButtonUp(Point p);
  void rightButtonDown(Point p);
  void rightButtonUp(Point p);
  void pointerMoved(Point p);
  // The platform took the pointer capture away: a press in progress ends as a release would.
  void captureLost();
  // The pointer entry points shared with the tablet.
  bool pointerDown(Point p, int widthChange);
  void pointerDrag(Point p, int widthChange);
  void pointerUp(bool commit);
  bool offerRightClick();
  void refreshCursor();
  // Tablet messages: a packet the driver delivered, the pen entering or leaving proximity, and
  // the packet queue thrown away.
  void tabletPacket(const TabletPacket& packet);
  void tabletProximity(bool entering);
  void tabletQueueFlushed() { tablet_.tabletStroke = false; }
  ToolMode toolMode() const { return toolMode_; }
  bool pointerCaptured() const { return pointerCaptured_; }

  // Commands. A key press is consumed when dispatchShortcut returns true.
  bool dispatchShortcut(KeyCode base);
  // After a key comes up: the held tools may have changed.
  void refreshCursorOverClient();
  void runCommand(CommandId id);
  // A menu item; false for an id that is not a command of the menus.
  bool menuCommand(int id);

 private:
  KeyStateQuery keyState() const;
  Color backgroundColor() const;
  void layoutView();
  // Renders the client area `area` of the view and puts it on the view window.
  void presentViewArea(const Rect& area, Rgb32Image& image);
  // Puts a canvas rectangle on screen at once; returns it snapped to the zoom's grid.
  Rect presentRect(const Rect& r);
  void updateMenu();
  // Before a change of the whole canvas: ends a press and readies the undo record; false, with
  // nothing changed, when its memory is not there.
  bool beginWholeCanvasChange();
  void recordWholeCanvas();
  static bool endsPressFirst(CommandId id);
  void runCommandAction(CommandId id);
  // The automatic save that protects a picture about to be replaced or closed; false when it
  // failed and the picture must stay.
  enum class Protection { BeforeClosing, BeforeReplacing, BeforeSessionEnd };
  bool protectPicture(Protection purpose);
  void allowSessionEnd();
  // A picture file read without touching the canvas; nothing when it cannot replace it.
  std::optional<MonoBitmap> readPictureFile(const std::string& path);
  // The canvas becomes `picture` with a fresh undo ring; false, with nothing changed, without
  // the memory for it.
  bool replacePicture(MonoBitmap&& picture, std::string name);
  // Open and a dropped file: read first; only a readable file is worth the protective save.
  void openChosenFile(const std::string& path);
  // The picture into the save folder under its automatic-save name.
  AutoSaveResult writeAutoSaveCopy();
  bool writePicture(const std::string& path, PictureFormat format);

  // Tools.
  int currentStrokeWidth(int widthChange) const;
  void beginStroke(Point p, int widthChange);
  void continueStroke(Point p, int widthChange);
  // The memory a Move press needs; false when it is not there.
  bool prepareMove();
  void beginMove(Point p);
  void dragMove(Point p);
  void endMove();
  void beginHand(Point p);
  void dragHand(Point p);
  void endPress(bool commit);
  // Before a command that saves, replaces or changes the whole picture: a press in progress
  // ends as a release would, with its undo record.
  void endPressInProgress();
  bool mouseGuarded() const;

  // Command actions.
  void undo();
  void redo();
  void zoom(void (CanvasView::*change)());
  void stepSize(int& size, int step);
  void togglePressure();
  void toggleTranslucency();
  void toggleMenuBar();
  void newPicture();
  void openPicture();
  void save();
  void saveAs();
  void mirror(void (MonoBitmap::*flip)());
  void clearCanvas();
  void copyToClipboard();
  void paste();
  void exitWithoutSaving();
  void openSettingsDialog();
  void applySettingsDialog(const SettingsDialogValues& values);
  void openShortcutDialog();

  PaperPlatform& platform_;
  const char* versionText_;
  Settings settings_;
  MonoBitmap canvas_;
  CanvasView view_;
  UndoRing ring_;
  TabletState tablet_;
  std::string documentName_;
  bool modified_ = false;
  bool sessionEndBlocked_ = false;
  bool standInCanvas_ = false;

  ToolMode toolMode_ = ToolMode::Pen;
  bool pointerCaptured_ = false;
  bool rightButtonHeld_ = false;
  bool dragActive_ = false;
  Point lastPoint_;
  Point dragStart_;
  Point dragStartScroll_;
  MonoBitmap moveBuffer_;
  // Kept between paints so that a repaint of the same size does not allocate.
  Rgb32Image viewImage_;
  Rgb32Image patchImage_;
};

}  // namespace tenmark
