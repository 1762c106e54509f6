#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "surface/mono_bitmap.h"

namespace tenmark {
namespace {

namespace fs = std::filesystem;

class PngFile : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tenmark-png-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string path(const char* name) const { return (dir_ / name).string(); }
  std::size_t entries() const {
    return std::size_t(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }

  fs::path dir_;
};

MonoBitmap checks(int width, int height) {
  MonoBitmap b;
  b.create(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.setPixel(x, y, (x + y) & 1);
  b.setColor(1, makeColor(10, 20, 200));
  return b;
}

std::vector<std::uint8_t> bytesOf(const MonoBitmap& b) {
  return {b.pixels(), b.pixels() + b.byteCount()};
}

TEST_F(PngFile, SaveThenLoadGivesBackThePicture) {
  const MonoBitmap original = checks(9, 4);
  ASSERT_TRUE(original.savePng(path("a.png")));
  EXPECT_EQ(entries(), 1u);
  MonoBitmap loaded;
  ASSERT_TRUE(loaded.loadPng(path("a.png")));
  EXPECT_EQ(loaded.width(), 9);
  EXPECT_EQ(loaded.height(), 4u);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 9; ++x) EXPECT_EQ(loaded.pixel(x, y), original.pixel(x, y));
  EXPECT_EQ(loaded.getColor(1), makeColor(10, 20, 200));
}

TEST_F(PngFile, BmpNamedPngIsRefusedAndChangesNothing) {
  ASSERT_TRUE(checks(8, 8).saveBmp(path("picture.png")));
  MonoBitmap b = checks(3, 5);
  const auto before = bytesOf(b);
  EXPECT_FALSE(b.loadPng(path("picture.png")));
  EXPECT_FALSE(b.loadPng(path("absent.png")));
  EXPECT_EQ(b.width(), 3);
  EXPECT_EQ(bytesOf(b), before);
}

TEST_F(PngFile, SaveIntoAMissingFolderOrWithoutPixelsFailsAndCreatesNothing) {
  EXPECT_FALSE(checks(4, 4).savePng(path("missing/a.png")));
  MonoBitmap empty;
  EXPECT_FALSE(empty.savePng(path("a.png")));
  EXPECT_EQ(entries(), 0u);
}

}  // namespace
}  // namespace tenmark
