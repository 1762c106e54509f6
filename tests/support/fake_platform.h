#pragma once
// A platform for the main window's model without a window: it keeps what the model asked for,
// and a client-sized screen that painting and presenting draw on as the real window's would.
// Scroll bars in use take their width from the client area. Its own bookkeeping never fails an
// allocation: the real platform's calls make none.

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/paper_platform.h"
#include "imagefile/dib_reader.h"
#include "surface/picture_reduction.h"
#include "support/allocation_failure.h"

namespace tenmark {

class FakePlatform : public PaperPlatform {
 public:
  static constexpr int kBarWidth = 17;

  Point area{800, 600};  // the client area without scroll bars
  std::set<int> keysDown;
  Point pointer{-1, -1};
  Point clientOrigin{30, 60};  // on the screen
  Color buttonFace = 0xC0C0C0;
  std::function<void()> onResize;

  Rgb32Image screen;
  // Every pixel that presenting the view put on screen, counted as often as it was put there.
  std::int64_t presentedPixels = 0;
  Rect viewWindow;
  ScrollBar bars[2];
  std::string caption;
  int captionChanges = 0;
  std::string rescueBase;
  ToolMode cursor = ToolMode::Pen;
  bool captured = false;
  std::map<int, bool> menuEnabled;
  std::map<int, std::string> menuLabels;
  int translucencyOn = -1;
  int translucencyAlpha = -1;
  bool menuBarShown = true;
  Point fittedTo{-1, -1};
  int popupMenus = 0;
  bool closed = false;

  // Documents: the files are real, the dialogs answer what the test put here.
  std::tm now = makeTime(2006, 6, 4, 9, 24, 18);
  std::optional<std::string> openAnswer;
  std::optional<ChosenSavePath> saveAnswer;
  std::string savePathAskedWith;
  std::vector<std::string> messages;
  std::vector<std::string> questions;  // answered No
  std::vector<std::string> warnings;   // asked with No as the default
  bool warningAnswer = false;
  // Set while the end of the session is held up, with the reason the system shows.
  std::optional<std::string> sessionEndBlockedFor;
  // The clipboard: a picture as Copy puts it, or a DIB put there by another program, read as
  // the window reads one (run-length rows, which the system converts, are not).
  std::optional<Rgb32Image> clipboard;
  std::optional<std::vector<std::uint8_t>> clipboardDib;
  // The dialogs: what they were opened with, and what they answer (nothing for Cancel). While
  // the settings dialog runs, it previews translucency with `preview` when set; it keeps the
  // window's answer to whether a size cuts off ink.
  std::optional<SettingsDialogValues> settingsShown;
  std::optional<SettingsDialogValues> settingsAnswer;
  InkCutQuery settingsCutsOffInk;
  std::optional<std::pair<int, int>> preview;
  std::optional<KeyBindings> bindingsShown;
  std::optional<KeyBindings> bindingsAnswer;

  static std::tm makeTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900, t.tm_mon = month - 1, t.tm_mday = day;
    t.tm_hour = hour, t.tm_min = minute, t.tm_sec = second;
    return t;
  }

  Point clientSize() const override {
    return Point{area.x - (bars[1].inUse() ? kBarWidth : 0),
                 area.y - (bars[0].inUse() ? kBarWidth : 0)};
  }
  bool isKeyDown(int virtualKey) const override { return keysDown.count(virtualKey) > 0; }
  Point pointerPosition() const override { return pointer; }
  Point screenToClient(Point p) const override {
    return Point{p.x - clientOrigin.x, p.y - clientOrigin.y};
  }
  Color buttonFaceColor() const override { return buttonFace; }
  bool fileExists(const std::string& path) const override {
    AllocationPause pause;
    std::error_code error;
    return std::filesystem::exists(path, error);
  }
  std::tm localTime() const override { return now; }

  void moveViewWindow(const Rect& r) override { viewWindow = r; }
  void invalidateView() override {}
  void invalidateWindow() override {}
  void fillBackground(const Rect& r, Color color) override {
    AllocationPause pause;
    fitScreen();
    for (int y = r.y; y < r.bottom(); ++y)
      for (int x = r.x; x < r.right(); ++x)
        if (onScreen(x, y)) screen.at(x, y) = toScreenPixel(color);
  }
  void presentView(Point at, const Rgb32Image& image) override {
    AllocationPause pause;
    presentedPixels += std::int64_t(image.width) * image.height;
    fitScreen();
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x)
        if (onScreen(viewWindow.x + at.x + x, viewWindow.y + at.y + y))
          screen.at(viewWindow.x + at.x + x, viewWindow.y + at.y + y) = image.at(x, y);
  }
  // As on the platform, a bar that appears or goes away changes the client size, and the window
  // hears of it at once.
  void setScrollBar(ScrollAxis axis, const ScrollBar& bar) override {
    ScrollBar& kept = bars[axis == ScrollAxis::Horizontal ? 0 : 1];
    const bool resized = kept.inUse() != bar.inUse();
    kept = bar;
    if (resized && onResize) onResize();
  }

  void setCaption(const std::string& text) override { keep(caption, text), ++captionChanges; }
  void prepareRescue(const std::string& basePath) override { keep(rescueBase, basePath); }
  void setCursor(ToolMode tool) override { cursor = tool; }
  void capturePointer() override { captured = true; }
  void releasePointer() override { captured = false; }
  void enableMenuItem(int id, bool enabled) override { keep(menuEnabled, id, enabled); }
  void applyTranslucency(int on, int alpha) override {
    translucencyOn = on, translucencyAlpha = alpha;
  }
  void toggleMenuBar() override { menuBarShown = !menuBarShown; }
  void redrawWindow() override {}
  void fitWindowToCanvas(int width, int height) override { fittedTo = Point{width, height}; }
  // As ModifyMenu does, a new label enables the item.
  void setMenuLabel(int id, const std::string& text) override {
    keep(menuLabels, id, text), keep(menuEnabled, id, true);
  }
  void showPopupMenu() override { ++popupMenus; }
  void closeWindow() override { closed = true; }
  void putClipboardImage(const Rgb32Image& image) override { keep(clipboard, image); }
  ClipboardPicture readClipboardPicture(const MonoBitmap& canvas) override {
    ClipboardPicture read{ClipboardPicture::Status::Read, {}};
    if (clipboardDib) {
      if (readDib(*clipboardDib, canvas, read.picture) != DibReading::Read)
        read.status = ClipboardPicture::Status::Unreadable;
      return read;
    }
    if (!clipboard) return ClipboardPicture{};
    if (!read.picture.create(std::min(clipboard->width, canvas.width()),
                             std::min(clipboard->height, canvas.height())))
      return ClipboardPicture{ClipboardPicture::Status::Unreadable, {}};
    read.picture.setColor(0, canvas.getColor(0));
    read.picture.setColor(1, canvas.getColor(1));
    reduceOntoCanvas(*clipboard, read.picture);
    return read;
  }
  void showMessage(const std::string& text) override { add(messages, text); }
  bool askYesNo(const std::string& text) override { return add(questions, text), false; }
  bool askWarningYesNo(const std::string& text) override {
    return add(warnings, text), warningAnswer;
  }
  void blockSessionEnd(const std::string& reason) override { keep(sessionEndBlockedFor, reason); }
  void allowSessionEnd() override { sessionEndBlockedFor.reset(); }
  std::optional<std::string> chooseOpenPath(const std::string&) override { return openAnswer; }
  std::optional<ChosenSavePath> chooseSavePath(const std::string&,
                                               const std::string& name) override {
    savePathAskedWith = name;
    return saveAnswer;
  }
  std::optional<SettingsDialogValues> runSettingsDialog(const SettingsDialogValues& values,
                                                        const InkCutQuery& cutsOffInk) override {
    settingsShown = values;
    settingsCutsOffInk = cutsOffInk;
    if (preview) applyTranslucency(preview->first, preview->second);
    return settingsAnswer;
  }
  std::optional<KeyBindings> runShortcutDialog(const KeyBindings& bindings) override {
    bindingsShown = bindings;
    return bindingsAnswer;
  }

 private:
  // The fake's own bookkeeping, which never fails an allocation.
  template <typename T, typename V>
  static void keep(T& field, const V& value) {
    AllocationPause pause;
    field = value;
  }
  template <typename K, typename V>
  static void keep(std::map<K, V>& fields, const K& key, const V& value) {
    AllocationPause pause;
    fields[key] = value;
  }
  static void add(std::vector<std::string>& list, const std::string& text) {
    AllocationPause pause;
    list.push_back(text);
  }
  void fitScreen() {
    const Point c = clientSize();
    if (screen.width != c.x || screen.height != c.y) screen.assign(c.x, c.y, 0xDEADBEEFu);
  }
  bool onScreen(int x, int y) const {
    return x >= 0 && y >= 0 && x < screen.width && y < screen.height;
  }
};

}  // namespace tenmark
