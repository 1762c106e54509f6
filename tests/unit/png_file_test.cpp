#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "support/test_surfaces.h"
#include "surface/mono_bitmap.h"

namespace tenmark {
namespace {

using PngFile = TempFolderTest;

MonoBitmap checks(int width, int height) {
  MonoBitmap b;
  b.create(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.setPixel(x, y, (x + y) & 1);
  b.setColor(1, makeColor(10, 20, 200));
  return b;
}

TEST_F(PngFile, SaveThenLoadGivesBackThePicture) {
  const MonoBitmap original = checks(9, 4);
  ASSERT_TRUE(original.savePng(path("a.png")));
  EXPECT_EQ(entries(), 1u);
  MonoBitmap loaded;
  ASSERT_TRUE(loaded.loadPng(path("a.png")));
  EXPECT_TRUE(samePicture(loaded, original));
}

TEST_F(PngFile, BmpNamedPngIsRefusedAndChangesNothing) {
  ASSERT_TRUE(checks(8, 8).saveBmp(path("picture.png")));
  for (const char* name : {"picture.png", "absent.png"})
    EXPECT_TRUE(refusedWithoutChange([&](MonoBitmap& b) { return b.loadPng(path(name)); })) << name;
}

}  // namespace
}  // namespace tenmark
