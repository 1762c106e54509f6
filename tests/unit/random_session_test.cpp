// Random sessions of every pointer, tablet, key and command event, checked after each step
// against the rules that no sequence may break: a committed change is one undo step, a changed
// picture is marked, the window shows the capture, the greyed items and the mark as they are,
// and once every button is up and the pen is away the left button draws with the pen.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "resources/resource_ids.h"
#include "shortcuts/virtual_keys.h"
#include "support/model_rig.h"
#include "support/test_surfaces.h"

namespace tenmark {
namespace {

constexpr std::uint32_t kTip = 1;
constexpr std::uint32_t kSwitch = 2;

// Commands that act on the picture and the view; the ones that reach files or close the window
// have tests of their own.
constexpr CommandId kCommands[] = {
    CommandId::Undo,       CommandId::Redo,      CommandId::VMirror, CommandId::HMirror,
    CommandId::Clear,      CommandId::Copy,      CommandId::Paste,   CommandId::ZoomUp,
    CommandId::ZoomDown,   CommandId::ZoomNomal, CommandId::Brush_P, CommandId::Erase_P,
    CommandId::SetPresser, CommandId::PopMenu,   CommandId::Config,  CommandId::New,
};

class Session {
 public:
  explicit Session(unsigned number) : random_(number) {
    Settings& s = rig_.model.settings();
    s.n_save_img = 0;  // New needs no protective save here
    s.b_IgnoreTabXY = 0;
    s.b_PenPressure = 1;
    if (number % 2) s.keyBindings[CommandId::PopMenu] = kRightClick;
    rig_.model.tabletProximity(false);
    unmarked_ = copyOf(rig_.model.canvas());
    committed_ = copyOf(rig_.model.canvas());
  }

  void run(int steps) {
    for (step_ = 0; step_ < steps && !testing::Test::HasFailure(); ++step_) {
      const bool pressBefore = rig_.model.pointerCaptured();
      const Kind kind = playRandomEvent();
      checkWindow();
      checkMark(kind);
      checkUndoStep(kind, pressBefore);
      if (step_ % 97 == 96) checkPenAfterEverythingIsUp();
    }
    checkPenAfterEverythingIsUp();
  }

 private:
  // Undo, Redo and a new size are steps of their own kind.
  enum class Kind { Pointer, Command, Clear, New, Other };

  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  // Mostly over the canvas, sometimes in the margins or outside the window.
  Point randomPoint() { return Point{pick(360) - 30, pick(300) - 30}; }

  Kind playRandomEvent() {
    PaperModel& m = rig_.model;
    const Point p = randomPoint();
    switch (pick(15)) {
      case 0:
        return play("left down", [&] { m.leftButtonDown(p); });
      case 1:
        return play("left up", [&] { m.leftButtonUp(p); });
      case 2:
        return play("right down", [&] { m.rightButtonDown(p); });
      case 3:
        return play("right up", [&] { m.rightButtonUp(p); });
      case 4:
      case 5:
        return play("move", [&] { m.pointerMoved(p); });
      case 6:
        return play("capture lost", [&] { rig_.platform.captured = false, m.captureLost(); });
      case 7:
        return play("proximity", [&] { m.tabletProximity(pick(2) == 0); });
      case 8:
        return play("queue flushed", [&] { m.tabletQueueFlushed(); });
      case 9:
      case 10:
        return play("packet", [&] { playPacket(p); });
      case 11:
        return play("keys", [&] {
          static const std::set<int> kHeld[] = {
              {}, {}, {vk::kControl}, {vk::kSpace}, {vk::kControl, vk::kSpace}};
          rig_.platform.keysDown = kHeld[pick(5)];
          m.refreshCursorOverClient();
        });
      case 12:  // as a save leaves it
        return play("unmarked", [&] { m.setModified(false), unmarked_ = copyOf(m.canvas()); });
      default:
        return playCommand();
    }
  }
  template <typename Event>
  Kind play(const char* name, Event event) {
    log(name);
    event();
    return Kind::Pointer;
  }

  void playPacket(Point client) {
    const std::uint32_t buttons = std::uint32_t(pick(4)) & (kTip | kSwitch);
    const std::uint32_t pressure = buttons & kTip ? std::uint32_t(1 + pick(1023)) : 0;
    const std::uint32_t cursor = pick(4) == 0 ? 2 : 1;  // now and then the eraser end
    rig_.model.tabletPacket(TabletPacket{cursor, buttons, client.x + rig_.platform.clientOrigin.x,
                                         client.y + rig_.platform.clientOrigin.y, pressure});
  }

  Kind playCommand() {
    const CommandId id = kCommands[pick(std::size(kCommands))];
    log(std::string("command ") + commandInfo(id).configKey);
    if (id == CommandId::Config) {
      rig_.platform.settingsAnswer.reset();
      rig_.model.runCommand(id);  // Cancel: only the values it was opened with are wanted
      SettingsDialogValues answer = *rig_.platform.settingsShown;
      if (pick(2)) answer.canvasWidth = 1 + pick(320);
      rig_.platform.settingsAnswer = answer;
    }
    const UndoRing& ring = rig_.model.undoRing();
    const bool nothingToTakeBack =
        !rig_.model.pointerCaptured() &&
        ((id == CommandId::Undo && !ring.canUndo()) || (id == CommandId::Redo && !ring.canRedo()));
    const bool marked = rig_.model.modified();
    rig_.model.runCommand(id);
    if (nothingToTakeBack) {
      EXPECT_EQ(rig_.model.modified(), marked) << where();
    }
    if (id == CommandId::Clear) return Kind::Clear;
    if (id == CommandId::New) return Kind::New;
    const bool ownKind = id == CommandId::Undo || id == CommandId::Redo || id == CommandId::Config;
    return ownKind ? Kind::Other : Kind::Command;
  }

  // The window shows the model's state: the capture, the greyed menu items, the mark.
  void checkWindow() {
    const PaperModel& m = rig_.model;
    FakePlatform& p = rig_.platform;
    ASSERT_EQ(p.captured, m.pointerCaptured()) << where();
    if (!m.pointerCaptured()) {
      ASSERT_EQ(p.menuEnabled[ID_EDIT_UNDO], m.undoRing().canUndo()) << where();
      ASSERT_EQ(p.menuEnabled[ID_EDIT_REDO], m.undoRing().canRedo()) << where();
    }
    ASSERT_EQ(p.caption.find(" *  [") != std::string::npos, m.modified()) << where();
  }

  // A picture that differs from the one last seen unmarked is marked; only Clear keeps the mark
  // as it was.
  void checkMark(Kind kind) {
    const PaperModel& m = rig_.model;
    if (m.modified()) return;
    if (kind != Kind::Clear && kind != Kind::New) {
      ASSERT_TRUE(samePicture(m.canvas(), unmarked_)) << where() << ": changed but unmarked";
    }
    unmarked_ = copyOf(m.canvas());
  }

  // Between presses, what changed since the last rest is taken back by one Undo and brought
  // again by one Redo. A command that ended a press made two steps, and undo, redo and a new
  // picture are steps of their own kind. A stroke left without its record is checked when its
  // record is taken in: joined with the next stroke's (one step) or as a step of its own before
  // a whole-canvas change (two), never beyond undo.
  void checkUndoStep(Kind kind, bool pressBefore) {
    PaperModel& m = rig_.model;
    if (m.pointerCaptured()) return;
    if (m.undoRing().recordPending()) {
      pendingRest_ = copyOf(m.canvas());
      return;
    }
    const bool checkable =
        kind == Kind::Pointer || (!pressBefore && (kind == Kind::Command || kind == Kind::Clear));
    if (checkable && !samePicture(m.canvas(), committed_)) {
      const MonoBitmap now = copyOf(m.canvas());
      int steps = 1;
      m.runCommand(CommandId::Undo);
      if (pendingRest_.hasPixels() && samePicture(m.canvas(), pendingRest_) &&
          !samePicture(m.canvas(), committed_)) {
        m.runCommand(CommandId::Undo);
        ++steps;
      }
      ASSERT_TRUE(samePicture(m.canvas(), committed_)) << where() << ": undo gave another picture";
      for (int i = 0; i < steps; ++i) m.runCommand(CommandId::Redo);
      ASSERT_TRUE(samePicture(m.canvas(), now)) << where() << ": redo gave another picture";
    }
    committed_ = copyOf(m.canvas());
    pendingRest_.release();
  }

  void checkPenAfterEverythingIsUp() {
    PaperModel& m = rig_.model;
    m.tabletProximity(false);
    m.leftButtonUp(Point{});
    m.rightButtonUp(Point{});
    rig_.platform.keysDown.clear();
    ASSERT_FALSE(m.pointerCaptured()) << where() << ": a press outlived its buttons";
    const Rect& view = rig_.platform.viewWindow;
    const Point client{view.x + view.width / 2, view.y + view.height / 2};
    const Point at = m.view().clientToCanvas(client);
    m.leftButtonDown(client);
    EXPECT_EQ(m.toolMode(), ToolMode::Pen) << where();
    EXPECT_EQ(m.canvas().pixel(at.x, at.y), 1) << where() << ": the left button drew no ink";
    m.leftButtonUp(client);
    committed_ = copyOf(m.canvas());
    if (!m.modified()) unmarked_ = copyOf(m.canvas());
  }

  void log(std::string event) {
    if (history_.size() > 12) history_.erase(history_.begin());
    history_.push_back(std::move(event));
  }
  std::string where() const {
    std::string text = "step " + std::to_string(step_) + " after";
    for (const std::string& e : history_) text += " / " + e;
    return text;
  }

  ModelRig rig_{240, 180, Point{300, 240}};
  std::mt19937 random_;
  MonoBitmap unmarked_;
  MonoBitmap committed_;
  // The picture at the last rest while a stroke's record was pending.
  MonoBitmap pendingRest_;
  std::vector<std::string> history_;
  int step_ = 0;
};

TEST(RandomSession, NoSequenceTearsAnUndoStepLeavesAChangeUnmarkedOrATool) {
  for (unsigned number = 1; number <= 4; ++number) {
    Session session(number);
    session.run(3000);
    ASSERT_FALSE(testing::Test::HasFailure()) << "session " << number;
  }
}

}  // namespace
}  // namespace tenmark
