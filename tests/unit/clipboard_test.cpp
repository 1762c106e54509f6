#include <gtest/gtest.h>

#include <optional>

#include "support/bmp_recipes.h"
#include "support/model_rig.h"
#include "support/test_surfaces.h"
#include "surface/nearer_index.h"
#include "surface/picture_reduction.h"

namespace tenmark {
namespace {

// Against squared RGB distance itself, over a grid that meets ties (red and blue, and two equal
// colours, tie on r == b and everywhere); the single-precision test on whole screen pixels
// decides exactly alike.
TEST(NearerIndex, PicksTheNearerCanvasColourAndPaperOnTies) {
  const auto distance = [](int r, int g, int b, Color c) {  // c as 0x00BBGGRR
    const int dr = r - int(c & 0xFF), dg = g - int(c >> 8 & 0xFF), db = b - int(c >> 16);
    return dr * dr + dg * dg + db * db;
  };
  const struct {
    NearerIndex n;
    Color paper, ink;
  } cases[] = {{NearerIndex(0xEAF1F4, 0), 0xEAF1F4, 0},  // the default canvas colours
               {NearerIndex(0x0000FF, 0xFF0000), 0x0000FF, 0xFF0000},
               {NearerIndex(0x808080, 0x808080), 0x808080, 0x808080},
               {kWhiteBlack, 0xFFFFFF, 0}};
  for (const auto& c : cases)
    for (int r = 0; r < 256; r += 5)
      for (int g = 0; g < 256; g += 3)
        for (int b = 0; b < 256; b += 50) {
          ASSERT_EQ(c.n(r, g, b), int(distance(r, g, b, c.ink) < distance(r, g, b, c.paper)))
              << std::hex << c.paper << " " << std::dec << r << "," << g << "," << b;
          ASSERT_EQ(c.n.inkFor(std::uint32_t(r << 16 | g << 8 | b)), c.n(r, g, b) == 1);
        }
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
    MonoBitmap canvas = canvasOf(20, 6, 0x0000FF, 0x00FF00);
    canvas.fill(1);
    reduceOntoCanvas(stripes(width, 4, 0x0000F0, 0x00F000), canvas);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 20; ++x) {
        const int want = x < width && y < 4 ? int((x + y) % 3 == 0) : 1;
        ASSERT_EQ(canvas.pixel(x, y), want) << width << ": " << x << "," << y;
      }
  }
}

struct ClipboardTest : testing::Test {
  ModelRig rig{37, 21};
};

TEST_F(ClipboardTest, CopyThenPasteGivesBackTheCanvasAsOneMoreUndoStep) {
  rig.stroke({{2, 3}, {30, 15}});
  rig.model.setModified(false);
  const std::vector<int> drawn = indicesOf(rig.model.canvas());
  rig.model.runCommand(CommandId::Copy);
  ASSERT_TRUE(rig.platform.clipboard);
  EXPECT_EQ(rig.platform.clipboard->at(2, 3), toScreenPixel(kInk));
  EXPECT_EQ(rig.platform.clipboard->at(0, 20), toScreenPixel(kPaper));
  EXPECT_FALSE(rig.model.modified());
  rig.model.runCommand(CommandId::Paste);
  EXPECT_EQ(indicesOf(rig.model.canvas()), drawn);
  EXPECT_TRUE(rig.model.modified());
  rig.model.runCommand(CommandId::Undo);
  EXPECT_EQ(indicesOf(rig.model.canvas()), drawn);
  rig.model.runCommand(CommandId::Undo);
  EXPECT_TRUE(rig.model.canvas().isBlank());
}

// A DIB of line art on a transparent ground, as browsers put it: the ground is paper, the line
// ink; it is cut to the canvas, and the rows it does not reach keep the drawing.
TEST_F(ClipboardTest, ADibWithAlphaPastesItsLinesOverThePaper) {
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
