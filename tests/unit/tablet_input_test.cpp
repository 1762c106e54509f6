#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <span>
#include <tuple>

#include "support/model_rig.h"
#include "support/test_surfaces.h"

namespace tenmark {
namespace {

constexpr std::uint32_t kPen = 1;
constexpr std::uint32_t kEraserEnd = 2;
constexpr std::uint32_t kTip = 1;
constexpr std::uint32_t kSwitch = 2;

// A model whose packets arrive in the screen coordinates of the fake window.
struct TabletRig : ModelRig {
  TabletRig() {
    Settings& s = model.settings();
    s.b_IgnoreTabXY = 0;
    s.b_PenPressure = 1;
    s.n_PenHardness = 0;
    s.n_pen_size = 5;
    model.tabletProximity(true);
  }
  void send(int x, int y, std::uint32_t pressure, std::uint32_t cursor = kPen,
            std::uint32_t buttons = kTip) {
    const Point client = at(x, y);
    model.tabletPacket(TabletPacket{cursor, pressure ? buttons : buttons & ~kTip,
                                    client.x + platform.clientOrigin.x,
                                    client.y + platform.clientOrigin.y, pressure});
  }
  // A pen frame at client (x, y): in contact when a pressure is given.
  PenFrame frame(int x, int y, std::optional<std::uint32_t> pressure = std::nullopt) const {
    PenFrame f;
    f.inRange = true;
    f.inContact = pressure.has_value();
    f.hasPressure = f.inContact;
    f.pressure = pressure.value_or(0);
    const Point client = at(x, y);
    f.screen = Point{client.x + platform.clientOrigin.x, client.y + platform.clientOrigin.y};
    return f;
  }
  void pen(const PenFrame& f) { model.penFrames(std::span(&f, 1)); }
};

// The width change itself is the packet's tests'; here it reaches the stroke, within 1 to 30,
// with the hardness and the device's maximum pressure the model holds.
TEST(TabletInput, PressureSetsTheWidthOfTheDotThatStartsAStroke) {
  const struct {
    std::uint32_t pressure;
    int hardness;
    std::uint32_t deviceMaximum;
    int width;
  } cases[] = {{1, 0, 0, 1}, {0xFFFFFFFFu, 0, 0, 30}, {1000, 7, 0, 7}, {2047, 0, 2047, 25}};
  for (const auto& c : cases) {
    TabletRig rig;
    rig.model.settings().n_PenHardness = c.hardness;
    rig.model.tablet().pressureMaximum = c.deviceMaximum;
    rig.send(100, 100, c.pressure);
    EXPECT_EQ(100 - rig.model.undoRing().pendingRect().left, c.width) << c.pressure;
  }
}

TEST(TabletInput, APenStrokeGoesOnUntilThePenLiftsWhateverTheMouseButtonDoes) {
  TabletRig rig;
  rig.send(50, 60, 500);
  EXPECT_TRUE(rig.model.tablet().tabletStroke);
  rig.send(150, 60, 1000);
  rig.model.leftButtonUp(rig.at(150, 60));  // the system cursor's button-up changes nothing
  EXPECT_TRUE(rig.model.pointerCaptured());
  rig.send(150, 60, 0);
  EXPECT_FALSE(rig.model.pointerCaptured());
  EXPECT_EQ(rig.model.canvas().pixel(100, 60), 1);
  EXPECT_EQ(rig.model.canvas().pixel(100, 70), 1);  // wider towards the end
}

TEST(TabletInput, ATouchOutsideTheClientAreaStartsTheStrokeWhereThePenEnters) {
  TabletRig rig;
  rig.model.tabletPacket(TabletPacket{kPen, kTip, 10, 10, 500});  // above the client area
  EXPECT_FALSE(rig.model.pointerCaptured());
  rig.send(40, 40, 500);
  EXPECT_TRUE(rig.model.tablet().tabletStroke);
  EXPECT_EQ(rig.model.canvas().pixel(40, 40), 1);
}

TEST(TabletInput, TheEraserEndAndTheSideSwitchEraseWithoutARightClickBinding) {
  for (const auto& [cursor, buttons] : {std::pair{kEraserEnd, kTip}, {kPen, kTip | kSwitch}}) {
    TabletRig rig;
    rig.model.canvas().fill(1);
    rig.send(80, 80, 500, cursor, buttons);
    EXPECT_EQ(rig.model.toolMode(), ToolMode::Eraser) << buttons;
    rig.send(120, 80, 500, cursor, buttons);
    rig.send(120, 80, 0, cursor, buttons);
    EXPECT_EQ(rig.model.canvas().pixel(100, 80), 0) << buttons;
    EXPECT_EQ(rig.platform.popupMenus, 0);
  }
}

TEST(TabletInput, TheSideSwitchRunsTheRightClickCommandOncePerPressAndDropsTheStroke) {
  TabletRig rig;
  rig.model.settings().keyBindings[CommandId::PopMenu] = kRightClick;
  rig.send(50, 50, 500);
  rig.send(90, 50, 500);
  rig.send(90, 50, 500, kPen, kTip | kSwitch);  // the switch goes down during the stroke
  EXPECT_EQ(rig.platform.popupMenus, 1);
  EXPECT_FALSE(rig.model.pointerCaptured());
  EXPECT_FALSE(rig.model.tablet().tabletStroke);  // the mouse works once the pen is away
  EXPECT_EQ(rig.model.canvas().pixel(70, 50), 1);
  rig.send(95, 50, 500, kPen, kTip | kSwitch);  // held: no second command, the eraser instead
  EXPECT_EQ(rig.platform.popupMenus, 1);
  EXPECT_EQ(rig.model.toolMode(), ToolMode::Eraser);
  rig.send(95, 50, 0, kPen, 0);
  for (int x : {100, 110, 120}) rig.send(x, 50, 0, kPen, kSwitch);  // hovering, held
  rig.send(120, 50, 0, kPen, 0);
  rig.send(120, 50, 0, kPen, kSwitch);
  EXPECT_EQ(rig.platform.popupMenus, 3);
}

// A pen frame asks what the same Wintab packet asks (whose rules the tests above prove): the
// eraser end, the side switch, contact as pressure on the 1024-level scale, at least a touch, and
// without pressure the one that keeps the set width.
TEST(TabletInput, APenFrameBecomesTheWintabPacketOfTheSameState) {
  const struct {
    bool contact, hasPressure, inverted, eraser, barrel;
    std::uint32_t pressure;
    TabletPacket packet;
  } cases[] = {
      {false, false, false, false, false, 0, {kPen, 0, 7, 9, 0}},
      {true, true, false, false, false, 1024, {kPen, kTip, 7, 9, 1023}},
      {true, true, false, false, false, 0, {kPen, kTip, 7, 9, 1}},
      {true, false, false, false, false, 0, {kPen, kTip, 7, 9, 512}},
      {false, false, true, false, false, 0, {kEraserEnd, 0, 7, 9, 0}},
      {true, true, false, true, false, 300, {kEraserEnd, kTip, 7, 9, 300}},
      {false, false, false, false, true, 0, {kPen, kSwitch, 7, 9, 0}},
      {true, true, false, false, true, 600, {kPen, kTip | kSwitch, 7, 9, 600}},
  };
  for (const auto& c : cases) {
    PenFrame f{.inRange = true,
               .inContact = c.contact,
               .inverted = c.inverted,
               .eraser = c.eraser,
               .barrel = c.barrel,
               .hasPressure = c.hasPressure,
               .pressure = c.pressure,
               .screen = Point{7, 9}};
    const TabletPacket p = tabletPacketOf(f);
    EXPECT_EQ(
        std::tuple(p.cursor, p.buttons, p.x, p.y, p.pressure),
        std::tuple(c.packet.cursor, c.packet.buttons, c.packet.x, c.packet.y, c.packet.pressure))
        << &c - cases;
  }
}

TEST(TabletInput, APenFrameHistoryIsDrawnOldestFirstAndThePenLiftsAndLeaves) {
  TabletRig rig;
  // Each frame's position is the system cursor's at that frame, also for the history.
  rig.model.settings().b_IgnoreTabXY = 1;
  rig.platform.pointer = rig.at(300, 300);
  rig.model.tabletProximity(false);
  rig.pen(rig.frame(50, 50));
  EXPECT_TRUE(rig.model.tablet().inProximity);
  rig.model.leftButtonDown(rig.at(200, 200));  // the mouse waits while the pen hovers
  EXPECT_FALSE(rig.model.pointerCaptured());
  rig.pen(rig.frame(50, 50, 512));
  EXPECT_TRUE(rig.model.tablet().tabletStroke);
  const PenFrame history[] = {rig.frame(150, 100, 512), rig.frame(100, 100, 512),
                              rig.frame(100, 50, 512)};
  rig.model.penFrames(history);
  for (const auto& [x, y, ink] : {std::tuple{75, 50, 1}, {100, 75, 1}, {125, 100, 1}, {75, 62, 0}})
    EXPECT_EQ(rig.model.canvas().pixel(x, y), ink) << x << "," << y;
  rig.pen(rig.frame(150, 100));
  EXPECT_FALSE(rig.model.pointerCaptured());
  rig.pen(PenFrame{});
  EXPECT_FALSE(rig.model.tablet().inProximity);
}

TEST(TabletInput, WithIgnoreTabXYTheStrokeFollowsTheSystemCursor) {
  TabletRig rig;
  rig.model.settings().b_IgnoreTabXY = 1;
  rig.platform.pointer = rig.at(200, 210);
  rig.send(20, 20, 500);
  EXPECT_EQ(rig.model.canvas().pixel(200, 210), 1);
  EXPECT_EQ(rig.model.canvas().pixel(20, 20), 0);
}

// However a press ends, nothing it held stays behind: the press is over before the pen is
// taken away, a plain move then draws nothing, the left button draws with the pen, and the
// ended press is one undo step.
TEST(TabletInput, NoButtonOrPenOutlivesThePressItHeld) {
  const auto rightPress = [](TabletRig& r) { r.model.rightButtonDown(r.at(40, 40)); };
  const auto penPress = [](TabletRig& r) {
    r.model.tabletProximity(true);
    r.send(40, 60, 500);
    r.send(70, 60, 500);
  };
  const struct {
    const char* what;
    std::function<void(TabletRig&)> play;
  } cases[] = {
      {"a right press ended by the left button, released outside the window",
       [&](TabletRig& r) { rightPress(r), r.model.leftButtonUp(r.at(40, 40)); }},
      {"a right press ended by a hovering pen",
       [&](TabletRig& r) { rightPress(r), r.model.tabletProximity(true), r.send(40, 40, 0); }},
      {"a right button released while the pen is near",
       [&](TabletRig& r) {
         rightPress(r), r.model.tabletProximity(true), r.model.rightButtonUp(r.at(40, 40));
       }},
      {"a right press whose capture was taken away",
       [&](TabletRig& r) { rightPress(r), r.model.captureLost(); }},
      {"a pen that leaves without its lift packet",
       [&](TabletRig& r) { penPress(r), r.model.tabletProximity(false); }},
      {"a pen press whose packets were thrown away",
       [&](TabletRig& r) { penPress(r), r.model.tabletQueueFlushed(); }},
      {"a pen frame cancelled, or its pointer capture lost",
       [&](TabletRig& r) {
         penPress(r);
         PenFrame canceled = r.frame(70, 60, 500);
         canceled.canceled = true;
         r.pen(canceled);
       }},
      {"a pen that leaves the window in contact", [&](TabletRig& r) { penPress(r), r.pen({}); }},
      {"a pen press whose capture was taken away",
       [&](TabletRig& r) { penPress(r), r.model.captureLost(); }},
  };
  for (const auto& c : cases) {
    TabletRig rig;
    rig.model.tabletProximity(false);
    rig.stroke({{20, 40}, {100, 40}});
    const MonoBitmap before = copyOf(rig.model.canvas());
    c.play(rig);
    EXPECT_FALSE(rig.model.pointerCaptured()) << c.what;
    EXPECT_FALSE(rig.model.tablet().tabletStroke) << c.what;
    rig.model.tabletProximity(false);
    EXPECT_FALSE(samePicture(rig.model.canvas(), before)) << c.what << ": the press drew nothing";
    const MonoBitmap ended = copyOf(rig.model.canvas());
    rig.model.pointerMoved(rig.at(200, 200));
    EXPECT_TRUE(samePicture(rig.model.canvas(), ended)) << c.what << ": a move drew";
    rig.model.leftButtonDown(rig.at(300, 300));
    EXPECT_EQ(rig.model.toolMode(), ToolMode::Pen) << c.what;
    EXPECT_EQ(rig.model.canvas().pixel(300, 300), 1) << c.what;
    rig.model.leftButtonUp(rig.at(300, 300));
    rig.model.runCommand(CommandId::Undo);
    rig.model.runCommand(CommandId::Undo);
    EXPECT_TRUE(samePicture(rig.model.canvas(), before)) << c.what;
  }
}

}  // namespace
}  // namespace tenmark
