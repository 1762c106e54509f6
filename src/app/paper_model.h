#pragma once
// The main window's behaviour without the window. PaperModel coordinates its parts: the
// document (name, mark, files, the protective save and the closing rules), the view presenter
// (layout, scroll bars, paints), the tools (pen, eraser, Move, Hand) and the undo ring; it owns
// the settings and the canvas, routes pointer and tablet input to the tool of the press, and runs
// the commands that keys, the right button and menus ask for. The Win32 window turns messages
// into these calls; every effect goes back through PaperPlatform.

#include <cstdint>
#include <ctime>
#include <span>
#include <string>

#include "app/document.h"
#include "app/paper_platform.h"
#include "app/tool.h"
#include "app/view_presenter.h"
#include "canvas/canvas_view.h"
#include "canvas/tool_mode.h"
#include "canvas/undo_ring.h"
#include "settings/settings.h"
#include "surface/mono_bitmap.h"
#include "tablet/pen_frame.h"
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
  PaperModel(const PaperModel&) = delete;
  PaperModel& operator=(const PaperModel&) = delete;

  // The state the window keeps.
  Settings& settings() { return settings_; }
  const Settings& settings() const { return settings_; }
  MonoBitmap& canvas() { return canvas_; }
  const MonoBitmap& canvas() const { return canvas_; }
  const CanvasView& view() const { return presenter_.view(); }
  const UndoRing& undoRing() const { return ring_; }
  TabletState& tablet() { return tablet_; }

  // Start-up and shut-down.
  // Forgets the stored placement, so that only a settings file's counts.
  void clearStoredPlacement();
  // The canvas at the configured size, else at the default side, else a one-pixel stand-in
  // whose size is not worth keeping; in the configured colours, blank.
  void createCanvas(int screenHeight);
  bool standInCanvas() const { return standInCanvas_; }
  void setStandInCanvas(bool standIn) { standInCanvas_ = standIn; }
  // The canvas's size (not a stand-in's) and colours, into the settings to be written.
  void writeCanvasIntoSettings();
  // Empties the undo ring and greys Undo and Redo.
  void resetUndoRing();
  // From now on the view is laid out.
  void finishInitialisation() { presenter_.finishInitialisation(); }

  // The view: size, scroll and paint notifications.
  void onSize() { presenter_.onSize(); }
  void onScroll(ScrollAxis axis, ScrollRequest request, int trackPosition) {
    presenter_.onScroll(axis, request, trackPosition);
  }
  void paintMargins() { presenter_.paintMargins(); }
  // The mouse wheel (or a tilt, or a touchpad's swipe): scrolls, or with Ctrl zooms around the
  // pointer; never changes the picture. A stroke in progress goes on under the pointer.
  void mouseWheel(const WheelTurn& turn);
  void paintView(const Rect& update) { presenter_.paintView(update); }

  // The caption and the modified mark.
  const std::string& documentName() const { return document_.name(); }
  bool modified() const { return document_.modified(); }
  void setModified(bool value) { document_.setModified(value); }
  void updateCaption();
  // After the name, the mark or the save folder changed: the caption and the path the rescue
  // after a fault would write to.
  void documentChanged();
  // A new picture's name from the local time; clears the modified mark.
  void makeTimestampName(const std::tm& local) { document_.makeTimestampName(local); }

  // Documents. True when the canvas now holds the file; nothing is said when it cannot.
  bool openImageFile(const std::string& path);
  // The rescue after a fault: whether the picture needs it (see Document).
  bool needsRescue() const { return document_.needsRescue(); }
  // The closing of the window (every way of closing) and the end of the Windows session: the
  // automatic save of a drawn picture first, made once; see Document.
  bool saveBeforeClosing() { return document_.saveBeforeClosing(); }
  bool saveBeforeSessionEnd() { return document_.saveBeforeSessionEnd(); }
  bool readyToClose() { return document_.readyToClose(); }
  bool readyToEndSession() { return document_.readyToEndSession(); }
  void sessionGoesOn() { document_.sessionGoesOn(); }
  void saveAtSessionEnd() { document_.saveAtSessionEnd(); }
  // The canvas at a new size with the old picture at its top left; false, with nothing
  // changed, when the new size cannot be made.
  bool resizeCanvas(int width, int height, Color background, Color pen);
  // A file dropped on the window: opened as by Open.
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
  void tabletQueueFlushed();
  // The frames of one pointer message from a pen, newest first as the system gives them: played
  // oldest first, so that a fast stroke keeps every point.
  void penFrames(std::span<const PenFrame> newestFirst);
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
  // After the canvas was replaced by another picture: the window, the bars and the menus.
  void pictureReplaced();
  // Before a change of the whole canvas: ends a press and readies the undo record; false, with
  // nothing changed, when its memory is not there.
  bool beginWholeCanvasChange();
  void recordWholeCanvas();
  static bool endsPressFirst(CommandId id);
  void runCommandAction(CommandId id);

  // Pointer input.
  Tool& toolOfPress();
  void endPress(bool commit);
  // Before a command that replaces or changes the whole picture: a press in progress ends as
  // a release would, with its undo record.
  void endPressInProgress();
  bool mouseGuarded() const;
  // A press the pen holds ends as a release would.
  void endPenPress();
  void penFrame(const PenFrame& frame);
  void playPacket(const TabletPacket& packet, bool followSystemCursor);

  // Command actions.
  void undo();
  void redo();
  void zoom(void (CanvasView::*change)());
  void zoomAround(Point client, int notches);
  void stepSize(int& size, int step);
  void togglePressure();
  void toggleTranslucency();
  void toggleMenuBar();
  void newPicture();
  void openPicture();
  void openFile(const std::string& path);
  void mirror(UndoRing::Mirror axis);
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
  UndoRing ring_;
  ViewPresenter presenter_;
  Document document_;
  ToolContext toolContext_;
  StrokeTool pen_;
  StrokeTool eraser_;
  MoveTool move_;
  HandTool hand_;
  TabletState tablet_;
  bool standInCanvas_ = false;

  WheelAccumulator zoomWheel_;
  ToolMode toolMode_ = ToolMode::Pen;
  bool pointerCaptured_ = false;
  bool rightButtonHeld_ = false;
};

}  // namespace tenmark
