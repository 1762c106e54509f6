#include <gtest/gtest.h>

#include <optional>

#include "support/bmp_recipes.h"
#include "support/model_rig.h"
#include "support/temp_folder.h"
#include "support/test_surfaces.h"
#include "surface/nearer_index.h"
#include "surface/picture_reduction.h"

namespace tenmark {
namespace {

TEST(NearerIndex, PicksTheNearerCanvasColourAndPaperOnTies) {
  const NearerIndex beige(0xEAF1F4, 0x000000);  // the default canvas colours
  EXPECT_EQ(beige(250, 240, 230), 0);
  EXPECT_EQ(beige(90, 90, 90), 1);
  EXPECT_EQ(beige(0xF4, 0xF1, 0xEA), 0);
  const NearerIndex redBlue(0x0000FF, 0xFF0000);  // paper red, ink blue
  EXPECT_EQ(redBlue(200, 0, 0), 0);
  EXPECT_EQ(redBlue(0, 0, 200), 1);
  EXPECT_EQ(redBlue(100, 0, 100), 0);  // exactly between: paper
  EXPECT_EQ(redBlue(100, 0, 101), 1);
  const NearerIndex same(0x808080, 0x808080);
  EXPECT_EQ(same(0, 0, 0), 0);
  EXPECT_EQ(same(255, 255, 255), 0);
  EXPECT_EQ(kWhiteBlack(127, 127, 128), 1);  // 382: nearer black
  EXPECT_EQ(kWhiteBlack(127, 128, 128), 0);  // 383: nearer white
  // The single-precision test on whole screen pixels decides exactly alike, ties included.
  for (const NearerIndex& n : {beige, redBlue, same, kWhiteBlack})
    for (int r = 0; r < 256; r += 5)
      for (int g = 0; g < 256; g += 3)
        for (int b = 0; b < 256; b += 50)
          ASSERT_EQ(n.inkFor(std::uint32_t(r << 16 | g << 8 | b)), n(r, g, b) == 1);
  EXPECT_FALSE(redBlue.inkFor(0x640064));
}

// A picture of w x h: ink-coloured where (x + y) % 3 == 0, paper-coloured elsewhere.
Rgb32Image stripes(int w, int h, Color paper, Color ink) {
  Rgb32Image p;
  p.reshape(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.at(x, y) = toScreenPixel((x + y) % 3 == 0 ? ink : paper);
  return p;
}

TEST(PictureReduction, PastesAtTheTopLeftAndLeavesWhatThePictureDoesNotReach) {
  for (int width : {1, 7, 8, 9, 13, 40}) {
    MonoBitmap canvas;
    canvas.create(20, 6);
    canvas.setColor(0, 0x0000FF);
    canvas.setColor(1, 0x00FF00);
    canvas.fill(1);
    reduceOntoCanvas(stripes(width, 4, 0x0000F0, 0x00F000), canvas);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 20; ++x) {
        const int want = x < width && y < 4 ? int((x + y) % 3 == 0) : 1;
        ASSERT_EQ(canvas.pixel(x, y), want) << width << ": " << x << "," << y;
      }
  }
}

class ClipboardTest : public TempFolderTest {
 protected:
  ModelRig rig{37, 21};
};

TEST_F(ClipboardTest, CopyThenPasteGivesBackTheCanvasAsOneMoreUndoStep) {
  rig.stroke({{2, 3}, {30, 15}});
  rig.model.setModified(false);
  MonoBitmap drawn;
  drawn.assign(rig.model.canvas());
  rig.model.runCommand(CommandId::Copy);
  ASSERT_TRUE(rig.platform.clipboard);
  EXPECT_EQ(rig.platform.clipboard->at(2, 3), toScreenPixel(kInk));
  EXPECT_EQ(rig.platform.clipboard->at(0, 20), toScreenPixel(kPaper));
  EXPECT_FALSE(rig.model.modified());
  rig.model.runCommand(CommandId::Paste);
  EXPECT_EQ(rig.platform.clipboardAskedFor, (Point{37, 21}));
  EXPECT_TRUE(samePicture(rig.model.canvas(), drawn));
  EXPECT_TRUE(rig.model.modified());
  rig.model.runCommand(CommandId::Undo);
  EXPECT_TRUE(samePicture(rig.model.canvas(), drawn));
  rig.model.runCommand(CommandId::Undo);
  EXPECT_TRUE(rig.model.canvas().isBlank());
}

// A DIB of line art on a transparent ground, as browsers put it: the ground is paper, the line
// ink; it is cut to the canvas, the rows it does not reach keep the drawing, and one undo takes it
// back exactly.
TEST_F(ClipboardTest, ADibWithAlphaPastesItsLinesOverThePaperAsOneUndoStep) {
  rig.stroke({{2, 3}, {30, 15}});
  const std::vector<int> drawn = indicesOf(rig.model.canvas());
  const int w = 40, h = 12;
  BmpRecipe r{.width = w, .height = -h, .bitCount = 32, .pixels = Bytes(std::size_t(w * h * 4))};
  for (int i = 0; i < h; ++i) r.pixels[std::size_t((i * w + i) * 4 + 3)] = 255;  // a diagonal
  rig.platform.clipboardDib = buildDib(r);
  rig.model.runCommand(CommandId::Paste);
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 37; ++x)
      ASSERT_EQ(rig.model.canvas().pixel(x, y),
                y < h ? int(x == y) : drawn[std::size_t(y * 37 + x)])
          << x << "," << y;
  EXPECT_TRUE(rig.model.modified());
  rig.model.runCommand(CommandId::Undo);
  EXPECT_EQ(indicesOf(rig.model.canvas()), drawn);
}

// No picture pastes nothing, silently; one that cannot be read, or whose data does not bear out
// its header, pastes nothing either (never a black area or garbage) and says so.
TEST_F(ClipboardTest, PastingNothingOrAnUnreadablePictureChangesNothing) {
  rig.stroke({{2, 3}, {30, 15}});
  rig.model.setModified(false);
  MonoBitmap drawn;
  drawn.assign(rig.model.canvas());
  const std::string unreadable = "クリップボードの画像を読み込めませんでした。";
  // Rows that the bytes do not hold; the DIB reader's tests show every other refusal.
  const Bytes cutShort = buildDib({.width = 3, .height = 5, .bitCount = 24, .pixels = Bytes(24)});
  for (const auto& dib : {std::optional<Bytes>(), std::optional(cutShort)}) {
    rig.platform.messages.clear();
    rig.platform.clipboardDib = dib;
    const int captions = rig.platform.captionChanges;
    rig.model.runCommand(CommandId::Paste);
    EXPECT_EQ(rig.platform.messages, dib ? std::vector{unreadable} : std::vector<std::string>{});
    EXPECT_TRUE(samePicture(rig.model.canvas(), drawn));
    EXPECT_EQ(rig.platform.captionChanges, captions);
    EXPECT_FALSE(rig.model.modified());
    rig.model.runCommand(CommandId::Undo);  // the stroke's step, not a paste's
    EXPECT_TRUE(rig.model.canvas().isBlank());
    EXPECT_FALSE(rig.model.undoRing().canUndo());
    rig.model.runCommand(CommandId::Redo);
    rig.model.setModified(false);
  }
}

}  // namespace
}  // namespace tenmark
