#pragma once
// What the main window's model needs from the platform: readings of the window and the input,
// and the effects it asks for. The Win32 window implements it; the tests implement it with a
// recording fake.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "surface/geometry.h"
#include "canvas/scroll_bar.h"
#include "canvas/tool_mode.h"
#include "dialogs/settings_form.h"
#include "imagefile/document_names.h"
#include "shortcuts/command_table.h"
#include "surface/clipboard_picture.h"
#include "surface/rgb32_image.h"

namespace tenmark {

// What the user chose in the save dialog: the name as typed and the format of the filter.
// The largest picture the clipboard's bitmap can take: its 32-bit pixels must stay within the
// signed 32-bit sizes of the bitmap calls.
inline constexpr std::int64_t kMaxClipboardBytes = 0x7FFFFFFF;

struct ChosenSavePath {
  std::string path;
  PictureFormat format;
};

class PaperPlatform {
 public:
  virtual ~PaperPlatform() = default;

  // Readings.
  virtual Point clientSize() const = 0;
  virtual bool isKeyDown(int virtualKey) const = 0;
  // The mouse pointer in client coordinates.
  virtual Point pointerPosition() const = 0;
  // A screen point in client coordinates.
  virtual Point screenToClient(Point onScreen) const = 0;
  virtual Color buttonFaceColor() const = 0;
  // True when the path exists, as a file or a folder.
  virtual bool fileExists(const std::string& path) const = 0;
  virtual std::tm localTime() const = 0;

  // The view: the canvas view window, painting and scroll bars. Repaints never erase.
  virtual void moveViewWindow(const Rect& r) = 0;
  virtual void invalidateView() = 0;
  virtual void invalidateWindow() = 0;
  // Only while the main window paints: a background strip around the view window.
  virtual void fillBackground(const Rect& r, Color color) = 0;
  // An image onto the view window at `at` (view-window coordinates): in the view window's
  // paint, or at once for a rectangle that just changed.
  virtual void presentView(Point at, const Rgb32Image& image) = 0;
  virtual void setScrollBar(ScrollAxis axis, const ScrollBar& bar) = 0;

  // The window.
  virtual void setCaption(const std::string& text) = 0;
  // Where the rescue after a fault writes the picture: the automatic save's path without its
  // extension, or empty for none. Told again whenever it may have changed.
  virtual void prepareRescue(const std::string& basePath) = 0;
  virtual void setCursor(ToolMode tool) = 0;
  virtual void capturePointer() = 0;
  virtual void releasePointer() = 0;
  virtual void enableMenuItem(int id, bool enabled) = 0;
  virtual void applyTranslucency(int on, int alpha) = 0;
  virtual void toggleMenuBar() = 0;
  // Redraws the whole window at once, frame included.
  virtual void redrawWindow() = 0;
  // Sizes the window for a client area of width x height plus scroll bars, within the screen.
  virtual void fitWindowToCanvas(int width, int height) = 0;
  virtual void setMenuLabel(int id, const std::string& text) = 0;
  virtual void showPopupMenu() = 0;
  // The dialog's Cancel action, which closes the window.
  virtual void closeWindow() = 0;

  // The clipboard's picture: put there as it looks on screen; read while the clipboard is open,
  // only as much of it as the canvas can take and reduced to its colours, or said unreadable
  // when any step of reading it failed or its data does not bear out what it claims.
  virtual void putClipboardImage(const Rgb32Image& image) = 0;
  virtual ClipboardPicture readClipboardPicture(const MonoBitmap& canvas) = 0;

  // Talking with the user; none of these is asked for without a user's action.
  virtual void showMessage(const std::string& text) = 0;
  virtual bool askYesNo(const std::string& text) = 0;
  // A warning whose default answer is No, so that Enter never discards anything: true for Yes.
  virtual bool askWarningYesNo(const std::string& text) = 0;
  // While a failed save keeps the session from ending, the reason the system shows for it.
  virtual void blockSessionEnd(const std::string& reason) = 0;
  virtual void allowSessionEnd() = 0;
  virtual std::optional<std::string> chooseOpenPath(const std::string& folder) = 0;
  virtual std::optional<ChosenSavePath> chooseSavePath(const std::string& folder,
                                                       const std::string& name) = 0;
  // The environment settings dialog filled from `values`: what the user set, on OK only. While
  // it runs, it may preview translucency through applyTranslucency; before OK takes a size that
  // `cutsOffInk`, it asks.
  virtual std::optional<SettingsDialogValues> runSettingsDialog(const SettingsDialogValues& values,
                                                                const InkCutQuery& cutsOffInk) = 0;
  // The shortcut-key dialog on a copy of the bindings: the edited copy, on OK only.
  virtual std::optional<KeyBindings> runShortcutDialog(const KeyBindings& bindings) = 0;
};

}  // namespace tenmark
