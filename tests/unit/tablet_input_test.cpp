#include <gtest/gtest.h>

#include <functional>

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
  // The half-width of the dot that began the stroke in progress.
  int dotRadius(int x) const { return x - model.undoRing().pendingRect().left; }
};

TEST(TabletInput, PressureSetsTheWidthOfEveryDotAndSegment) {
  const struct {
    std::uint32_t pressure;
    int hardness;
    std::uint32_t deviceMaximum;
    int width;
  } cases[] = {{500, 0, 0, 5},      {1023, 0, 1023, 25}, {1, 0, 0, 1},
               {1000, 7, 0, 7},     {100, 7, 1023, 3},   {511, 0, 511, 25},
               {2047, 0, 2047, 25}, {4000, 0, 8191, 5},  {0xFFFFFFFFu, 0, 0, 30}};
  for (const auto& c : cases) {
    TabletRig rig;
    rig.model.settings().n_PenHardness = c.hardness;
    rig.model.tablet().pressureMaximum = c.deviceMaximum;
    rig.send(100, 100, c.pressure);
    EXPECT_EQ(rig.dotRadius(100), c.width) << c.pressure << " of " << c.deviceMaximum;
  }
}

TEST(TabletInput, APenStrokeDrawsAndEndsWithAnUndoRecordWhenThePenLifts) {
  TabletRig rig;
  rig.send(50, 60, 500);
  EXPECT_TRUE(rig.model.tablet().tabletStroke);
  rig.send(150, 60, 1000);
  rig.model.leftButtonUp(rig.at(150, 60));  // the system cursor's button-up changes nothing
  EXPECT_TRUE(rig.model.pointerCaptured());
  rig.send(150, 60, 0);
  EXPECT_FALSE(rig.model.pointerCaptured());
  EXPECT_FALSE(rig.model.tablet().tabletStroke);
  EXPECT_EQ(rig.model.canvas().pixel(100, 60), 1);
  EXPECT_EQ(rig.model.canvas().pixel(100, 70), 1);  // wider towards the end
  rig.model.runCommand(CommandId::Undo);
  EXPECT_EQ(rig.model.canvas().pixel(100, 60), 0);
}

TEST(TabletInput, ATouchOutsideTheClientAreaStartsTheStrokeWhereThePenEnters) {
  TabletRig rig;
  rig.model.tabletPacket(TabletPacket{kPen, kTip, 10, 10, 500});  // above the client area
  EXPECT_FALSE(rig.model.pointerCaptured());
  rig.send(40, 40, 500);
  EXPECT_TRUE(rig.model.tablet().tabletStroke);
  EXPECT_EQ(rig.model.canvas().pixel(40, 40), 1);
}

TEST(TabletInput, TheEraserEndErasesUntilThePenLeavesProximity) {
  for (std::uint32_t cursor : {2u, 5u, 8u}) {
    TabletRig rig;
    rig.model.canvas().fill(1);
    rig.send(80, 80, 500, cursor);
    EXPECT_EQ(rig.model.toolMode(), ToolMode::Eraser) << cursor;
    rig.send(80, 80, 0, cursor);
    EXPECT_EQ(rig.model.canvas().pixel(80, 80), 0) << cursor;
    rig.model.tabletProximity(false);
    EXPECT_FALSE(rig.model.tablet().inProximity);
    rig.model.leftButtonDown(rig.at(90, 90));
    EXPECT_EQ(rig.model.toolMode(), ToolMode::Pen) << cursor;
  }
}

TEST(TabletInput, TheSideSwitchErasesWithoutARightClickBinding) {
  TabletRig rig;
  rig.model.canvas().fill(1);
  rig.send(80, 80, 500, kPen, kTip | kSwitch);
  EXPECT_EQ(rig.model.toolMode(), ToolMode::Eraser);
  rig.send(120, 80, 500, kPen, kTip | kSwitch);
  rig.send(120, 80, 0, kPen, kTip | kSwitch);
  EXPECT_EQ(rig.model.canvas().pixel(100, 80), 0);
  EXPECT_EQ(rig.platform.popupMenus, 0);
}

TEST(TabletInput, TheSideSwitchRunsTheRightClickCommandOncePerPressAndDropsTheStroke) {
  TabletRig rig;
  rig.model.settings().keyBindings[CommandId::PopMenu] = kRightClick;
  rig.send(50, 50, 500);
  rig.send(90, 50, 500);
  rig.send(90, 50, 500, kPen, kTip | kSwitch);  // the switch goes down during the stroke
  EXPECT_EQ(rig.platform.popupMenus, 1);
  EXPECT_FALSE(rig.model.pointerCaptured());
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

TEST(TabletInput, APenLiftEndsAMousePressWithItsUndoRecord) {
  TabletRig rig;
  rig.model.tabletProximity(false);
  rig.model.leftButtonDown(rig.at(30, 30));
  rig.model.pointerMoved(rig.at(60, 30));
  rig.send(300, 300, 400);  // the pen touches during the mouse press: it does not join it
  EXPECT_EQ(rig.model.canvas().pixel(300, 300), 0);
  rig.send(300, 300, 0);
  EXPECT_FALSE(rig.model.pointerCaptured());
  EXPECT_TRUE(rig.model.undoRing().canUndo());
  EXPECT_EQ(rig.model.canvas().pixel(45, 30), 1);
}

TEST(TabletInput, WithIgnoreTabXYTheStrokeFollowsTheSystemCursor) {
  TabletRig rig;
  rig.model.settings().b_IgnoreTabXY = 1;
  rig.platform.pointer = rig.at(200, 210);
  rig.send(20, 20, 500);
  EXPECT_EQ(rig.model.canvas().pixel(200, 210), 1);
  EXPECT_EQ(rig.model.canvas().pixel(20, 20), 0);
}

TEST(TabletInput, TheMouseIsGuardedWhileThePenIsNearAndAFlushEndsThePensHoldOnIt) {
  TabletRig rig;
  rig.model.leftButtonDown(rig.at(10, 10));
  EXPECT_FALSE(rig.model.pointerCaptured());
  rig.send(40, 40, 500);
  rig.model.tabletProximity(false);
  rig.model.pointerMoved(rig.at(90, 90));  // the pen's press still holds the pointer
  EXPECT_EQ(rig.model.canvas().pixel(60, 60), 0);
  rig.model.tabletQueueFlushed();
  rig.model.leftButtonUp(rig.at(40, 40));
  EXPECT_FALSE(rig.model.pointerCaptured());
}

}  // namespace
}  // namespace tenmark

namespace tenmark {
namespace {

// A pen press cut short, by a dialog taking the capture or by the side switch's command,
// leaves the mouse working once the pen has gone.
TEST(TabletInput, APenPressCutShortLeavesTheMouseWorking) {
  const std::function<void(TabletRig&)> cuts[] = {
      [](TabletRig& rig) { rig.model.captureLost(); },
      [](TabletRig& rig) { rig.send(60, 40, 500, kPen, kTip | kSwitch); },
  };
  for (const auto& cut : cuts) {
    TabletRig rig;
    rig.model.settings().keyBindings[CommandId::ZoomNomal] = kRightClick;
    rig.send(20, 40, 500);
    rig.send(60, 40, 500);
    cut(rig);
    EXPECT_FALSE(rig.model.tablet().tabletStroke);
    rig.send(60, 40, 0);
    rig.model.tabletProximity(false);
    rig.model.leftButtonDown(rig.at(100, 100));
    rig.model.pointerMoved(rig.at(150, 100));
    rig.model.leftButtonUp(rig.at(150, 100));
    EXPECT_EQ(rig.model.canvas().pixel(125, 100), 1);
  }
}

}  // namespace
}  // namespace tenmark

namespace tenmark {
namespace {

// However a press ends, nothing it held stays behind: once the buttons are up and the pen is
// away, a plain move draws nothing and the left button draws with the pen; the ended press is
// one undo step.
TEST(TabletInput, NoButtonOrPenOutlivesThePressItHeld) {
  const struct {
    const char* what;
    std::function<void(TabletRig&)> play;
  } cases[] = {
      {"a right press ended by the left button, released outside the window",
       [](TabletRig& r) {
         r.model.rightButtonDown(r.at(40, 40));
         r.model.leftButtonUp(r.at(40, 40));
       }},
      {"a right press ended by a hovering pen",
       [](TabletRig& r) {
         r.model.rightButtonDown(r.at(40, 40));
         r.model.tabletProximity(true);
         r.send(40, 40, 0);
       }},
      {"a right button released while the pen is near",
       [](TabletRig& r) {
         r.model.rightButtonDown(r.at(40, 40));
         r.model.tabletProximity(true);
         r.model.rightButtonUp(r.at(40, 40));
       }},
      {"a pen that leaves without its lift packet",
       [](TabletRig& r) {
         r.model.tabletProximity(true);
         r.send(40, 60, 500);
         r.send(70, 60, 500);
       }},
      {"a pen press whose packets were thrown away",
       [](TabletRig& r) {
         r.model.tabletProximity(true);
         r.send(40, 40, 500, kEraserEnd);
         r.model.tabletQueueFlushed();
       }},
  };
  for (const auto& c : cases) {
    TabletRig rig;
    rig.model.tabletProximity(false);
    rig.stroke({{20, 40}, {100, 40}});
    const MonoBitmap before = copyOf(rig.model.canvas());
    c.play(rig);
    rig.model.tabletProximity(false);
    EXPECT_FALSE(rig.model.pointerCaptured()) << c.what;
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
