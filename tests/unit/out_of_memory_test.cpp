// Every way into the main window's model with allocations failing one at a time: no failure
// escapes, and each action is either done whole or not at all, with the model going on exactly
// as after one of the two.
#include <gtest/gtest.h>

#include <functional>

#include "shortcuts/virtual_keys.h"
#include "support/allocation_failure.h"
#include "support/model_rig.h"
#include "support/temp_folder.h"
#include "support/test_surfaces.h"

namespace tenmark {
namespace {

using Action = std::function<void(ModelRig&)>;

class OutOfMemoryTest : public TempFolderTest {
 protected:
  // A drawn picture with two undo steps, a clipboard picture and a file to open.
  std::unique_ptr<ModelRig> scene() {
    auto rig = std::make_unique<ModelRig>(120, 90, Point{300, 250});
    // A folder of its own, so that no scene's automatic saves change another's names.
    const std::string folder = path("save" + std::to_string(++scenes_));
    rig->model.settings().saveFolder = folder;
    std::filesystem::create_directories(folder);
    rig->model.makeTimestampName(rig->platform.now);
    rig->stroke({{10, 10}, {100, 60}});
    rig->stroke({{20, 80}, {90, 5}});
    Rgb32Image picture;
    picture.assign(60, 40, 0x000000);
    rig->platform.clipboard = picture;
    rig->platform.openAnswer = path("other.png");
    rig->platform.saveAnswer = ChosenSavePath{path("saved.bmp"), PictureFormat::Bmp};
    return rig;
  }

  void SetUp() override {
    TempFolderTest::SetUp();
    MonoBitmap other = canvasOf(70, 50);
    other.drawLine(0, 0, 69, 49, 3, 1);
    ASSERT_TRUE(other.savePng(path("other.png")));
    ASSERT_TRUE(other.savePng(path("doc.png")));
  }

  int scenes_ = 0;
  // Made before any action, whose allocations may fail.
  const std::string other_ = path("other.png");
  const std::string doc_ = path("doc.png");

  // With `refused`, `a` may have said one thing more: why it did nothing.
  static testing::AssertionResult sameState(ModelRig& a, ModelRig& b, bool refused = false) {
    const PaperModel& x = a.model;
    const PaperModel& y = b.model;
    if (!samePicture(x.canvas(), y.canvas())) return testing::AssertionFailure() << "picture";
    if (x.modified() != y.modified()) return testing::AssertionFailure() << "modified mark";
    if (a.platform.fittedTo != b.platform.fittedTo) return testing::AssertionFailure() << "window";
    std::vector<std::string> said = a.platform.messages;
    if (refused && said.size() == b.platform.messages.size() + 1) said.pop_back();
    if (said != b.platform.messages) return testing::AssertionFailure() << "messages";
    if (x.undoRing().canUndo() != y.undoRing().canUndo() ||
        x.undoRing().canRedo() != y.undoRing().canRedo())
      return testing::AssertionFailure() << "undo ring";
    const auto& c = a.platform.clipboard;
    const auto& d = b.platform.clipboard;
    if (c.has_value() != d.has_value() || (c && c->pixels != d->pixels))
      return testing::AssertionFailure() << "clipboard";
    return testing::AssertionSuccess();
  }

  // Three undos, a redo, a stroke and its undo after the action give the same pictures on both.
  static void expectSameFollowUp(ModelRig& tried, ModelRig& twin, const std::string& what) {
    for (int i = 0; i < 6; ++i) {
      for (ModelRig* r : {&tried, &twin}) {
        if (i == 4)
          r->stroke({{5, 40}, {115, 45}});
        else
          r->model.runCommand(i == 3 ? CommandId::Redo : CommandId::Undo);
      }
      ASSERT_TRUE(samePicture(tried.model.canvas(), twin.model.canvas()))
          << what << ", follow-up step " << i;
    }
  }

  // The action with its n-th allocation failing, for n = 1, 2, ... until it needs no more. A
  // stroke keeps its ink when its undo record cannot be made: then only the picture must be
  // the one drawn, and the ring must go on.
  void expectWholeOrNothing(
      const char* name, const Action& action, bool keepsInk = false,
      const Action& setUp = [](ModelRig&) {}) {
    const auto scene = [&] {
      auto rig = this->scene();
      setUp(*rig);
      return rig;
    };
    for (std::size_t n = 1;; ++n) {
      const std::string what = std::string(name) + ", allocation " + std::to_string(n);
      auto tried = scene();
      failAllocation(n);
      try {
        action(*tried);
      } catch (const std::bad_alloc&) {
        failAllocation(0);
        FAIL() << what << ": the failure escaped";
      }
      const bool failed = allocationFailed();
      failAllocation(0);
      auto done = scene();
      action(*done);
      if (!failed) {
        EXPECT_TRUE(sameState(*tried, *done)) << what;
        EXPECT_GT(n, 1u) << name << " allocates nothing: the test proves nothing";
        return;
      }
      if (keepsInk) {
        ASSERT_TRUE(samePicture(tried->model.canvas(), done->model.canvas())) << what;
        expectSameFollowUp(*tried, *tried, what);
        ASSERT_TRUE(samePicture(tried->model.undoRing().snapshot(), tried->model.canvas())) << what;
        continue;
      }
      auto untouched = scene();
      const bool whole = sameState(*tried, *done);
      ModelRig& twin = whole ? *done : *untouched;
      ASSERT_TRUE(sameState(*tried, twin, !whole)) << what << ": neither done nor untouched";
      expectSameFollowUp(*tried, twin, what);
      ASSERT_LT(n, 500u) << name;
    }
  }

  static void hold(ModelRig& r, std::initializer_list<int> keys) {
    AllocationPause pause;
    r.platform.keysDown = keys;
  }

  void command(CommandId id) {
    expectWholeOrNothing(commandInfo(id).configKey, [id](ModelRig& r) { r.model.runCommand(id); });
  }
};

TEST_F(OutOfMemoryTest, CanvasAndClipboardCommandsAreWholeOrNothing) {
  // The top-bottom mirror asks for no memory at all.
  for (CommandId id : {CommandId::Copy, CommandId::Paste, CommandId::VMirror, CommandId::Clear,
                       CommandId::Undo, CommandId::ZoomUp})
    command(id);
  expectWholeOrNothing(
      "redo", [](ModelRig& r) { r.model.runCommand(CommandId::Redo); }, false,
      [](ModelRig& r) { r.model.runCommand(CommandId::Undo); });
  // A canvas above a chunk: the redo of its Clear decodes the record and encodes the canvas,
  // which the follow-up's undo decodes.
  expectWholeOrNothing(
      "redo of a large Clear", [](ModelRig& r) { r.model.runCommand(CommandId::Redo); }, false,
      [](ModelRig& r) {
        r.model.canvas() = canvasOf(2900, 2900, kPaper, kInk);
        r.model.resetUndoRing();
        r.stroke({{10, 10}, {100, 60}});
        r.model.runCommand(CommandId::Clear);
        r.model.runCommand(CommandId::Undo);
      });
  expectWholeOrNothing(
      "resize", [](ModelRig& r) { r.model.runCommand(CommandId::Config); }, false,
      [](ModelRig& r) {
        r.model.runCommand(CommandId::Config);  // cancelled, to see the settings as they are
        SettingsDialogValues v = *r.platform.settingsShown;
        v.canvasWidth = 150;
        v.canvasHeight = 70;
        r.platform.settingsAnswer = v;  // only the size changes, so that only it can be refused
      });
}

TEST_F(OutOfMemoryTest, DocumentCommandsAreWholeOrNothing) {
  for (CommandId id : {CommandId::New, CommandId::Open, CommandId::SaveAs}) command(id);
  expectWholeOrNothing(
      "save", [](ModelRig& r) { r.model.runCommand(CommandId::Save); }, false,
      [this](ModelRig& r) {
        r.model.openImageFile(doc_);
        r.stroke({{1, 1}, {30, 30}});
      });
  expectWholeOrNothing("drop", [this](ModelRig& r) { r.model.dropFile(other_); });
  expectWholeOrNothing("end of session", [](ModelRig& r) { r.model.saveBeforeClosing(); });
}

TEST_F(OutOfMemoryTest, PressesKeysPacketsAndPaintsAreWholeOrNothing) {
  expectWholeOrNothing(
      "stroke",
      [](ModelRig& r) {
        r.stroke({{3, 3}, {50, 70}, {110, 20}});
      },
      true);
  expectWholeOrNothing("Move drag", [](ModelRig& r) {
    hold(r, {vk::kControl, vk::kSpace});
    r.model.leftButtonDown(r.at(50, 50));
    hold(r, {});
    r.model.pointerMoved(r.at(70, 40));
    r.model.leftButtonUp(r.at(70, 40));
  });
  expectWholeOrNothing("key", [](ModelRig& r) {
    hold(r, {0x42});  // the mirror's key
    r.model.dispatchShortcut(0);
    hold(r, {});
  });
  expectWholeOrNothing(
      "tablet",
      [](ModelRig& r) {
        r.model.settings().b_IgnoreTabXY = 0;
        r.model.tabletProximity(true);
        const Point p = r.at(40, 40);
        const Point screen{p.x + r.platform.clientOrigin.x, p.y + r.platform.clientOrigin.y};
        r.model.tabletPacket(TabletPacket{1, 1, screen.x, screen.y, 700});
        r.model.tabletPacket(TabletPacket{1, 1, screen.x + 30, screen.y + 20, 700});
        r.model.tabletPacket(TabletPacket{1, 0, screen.x + 30, screen.y + 20, 0});
        r.model.tabletProximity(false);
      },
      true);
  expectWholeOrNothing("paint", [](ModelRig& r) {
    r.model.runCommand(CommandId::ZoomDown);
    r.paint();
  });
}

// A picture far larger than the clipboard's bitmap can take is refused before any memory for
// its copy is asked for; the clipboard keeps what it had.
TEST(OutOfMemory, CopyOfAPictureBeyondTheClipboardsBitmapIsRefusedUpFront) {
  ModelRig rig(40, 30);
  ASSERT_TRUE(rig.model.canvas().create(30000, 20000, MonoBitmap::InitialPixels::Unset));
  rig.platform.clipboard.reset();
  failAllocation(1);
  rig.model.runCommand(CommandId::Copy);
  EXPECT_FALSE(allocationFailed());
  failAllocation(0);
  EXPECT_FALSE(rig.platform.clipboard.has_value());
}

// Start-up: a configured size that cannot be made (0 × 0) or without memory for it gives the
// default size, and without memory for that a one-pixel stand-in, whose size is never written
// back over the configured one.
TEST(OutOfMemory, StartUpFallsBackToTheDefaultSizeAndThenToAStandIn) {
  const struct {
    Point configured;
    std::size_t failures;
    Point canvas;
    int written;
  } cases[] = {{{300, 200}, 0, {300, 200}, 300},
               {{300, 200}, 1, {668, 668}, 668},
               {{300, 200}, 2, {1, 1}, 300},
               {{0, 0}, 0, {668, 668}, 668}};
  for (const auto& c : cases) {
    FakePlatform platform;
    PaperModel model(platform, "");
    model.settings().n_canvas_x = c.configured.x;
    model.settings().n_canvas_y = c.configured.y;
    model.settings().n_back_color = 0x123456;
    failAllocation(c.failures == 0 ? 0 : 1, c.failures);
    model.createCanvas(768);
    failAllocation(0);
    EXPECT_EQ((Point{model.canvas().width(), model.canvas().height()}), c.canvas);
    EXPECT_EQ(model.standInCanvas(), c.failures == 2);
    EXPECT_EQ(model.canvas().getColor(0), 0x123456u);
    model.writeCanvasIntoSettings();
    EXPECT_EQ(model.settings().n_canvas_x, c.written);
    EXPECT_EQ(model.settings().n_canvas_y, c.failures == 2 ? 200 : c.canvas.y);
  }
}

}  // namespace
}  // namespace tenmark
