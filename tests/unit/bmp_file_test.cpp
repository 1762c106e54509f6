#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <random>
#include <set>
#include <string>

#include "imagefile/file_source.h"
#include "support/temp_folder.h"
#include "support/test_surfaces.h"
#include "surface/mono_bitmap.h"

namespace tenmark {
namespace {

namespace fs = std::filesystem;

class BmpFile : public TempFolderTest {
 protected:
  std::set<std::string> names() const {
    std::set<std::string> out;
    for (const auto& entry : fs::directory_iterator(dir_)) out.insert(entry.path().filename());
    return out;
  }
};

TEST_F(BmpFile, SaveThenLoadGivesBackThePictureAndReplacesAnOldFile) {
  std::mt19937 rng(3);
  const MonoBitmap original = randomPicture(33, 7, rng);
  writeFile(path("a.bmp"), "old");
  ASSERT_TRUE(original.saveBmp(path("a.bmp")));
  EXPECT_EQ(fs::file_size(path("a.bmp")), 62u + 8u * 7u);
  EXPECT_EQ(names(), std::set<std::string>{"a.bmp"});
  MonoBitmap loaded;
  ASSERT_TRUE(loaded.loadBmp(path("a.bmp")));
  EXPECT_TRUE(samePicture(loaded, original));
}

TEST_F(BmpFile, SaveIntoAMissingFolderOrWithoutPixelsFailsAndTouchesNothing) {
  writeFile(path("a.bmp"), "old picture");
  MonoBitmap small;
  ASSERT_TRUE(small.create(4, 4));
  EXPECT_FALSE(small.saveBmp(path("missing/a.bmp")));
  EXPECT_FALSE(MonoBitmap().saveBmp(path("a.bmp")));
  EXPECT_EQ(contentOf(path("a.bmp")), "old picture");
  EXPECT_EQ(names(), std::set<std::string>{"a.bmp"});
}

TEST_F(BmpFile, TargetThatCannotBeReplacedLeavesNoTemporary) {
  fs::create_directory(path("folder.bmp"));
  EXPECT_FALSE(markedSurface().saveBmp(path("folder.bmp")));
  EXPECT_TRUE(fs::is_directory(path("folder.bmp")));
  EXPECT_EQ(names(), std::set<std::string>{"folder.bmp"});
}

// A file-size limit makes the write itself fail part way, as a full disk would.
TEST_F(BmpFile, WriteFailingPartWayKeepsTheOldFileAndLeavesNoPartialOne) {
  writeFile(path("a.bmp"), "old picture");
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 4096;
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  MonoBitmap big;
  ASSERT_TRUE(big.create(500, 500));
  std::mt19937 rng(1);  // noise, so that even the PNG outgrows the limit
  for (std::uint32_t y = 0; y < big.height(); ++y)
    for (int i = 0; i < big.stride(); ++i) big.row(y)[i] = std::uint8_t(rng());
  const bool bmpSaved = big.saveBmp(path("a.bmp"));
  const bool pngSaved = big.savePng(path("a.bmp"));
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(bmpSaved);
  EXPECT_FALSE(pngSaved);
  EXPECT_EQ(contentOf(path("a.bmp")), "old picture");
  EXPECT_EQ(names(), std::set<std::string>{"a.bmp"});
}

TEST_F(BmpFile, FileSourceReadsOnlyInsideTheFileInAnyOrder) {
  writeFile(path("bytes"), "abcdefgh");
  FileSource source(path("bytes"));
  ASSERT_TRUE(source.isOpen());
  EXPECT_EQ(source.size(), 8u);
  std::uint8_t out[8] = {};
  const auto text = [&](std::size_t n) { return std::string(out, out + n); };
  EXPECT_TRUE(source.read(4, out, 4));
  EXPECT_EQ(text(4), "efgh");
  EXPECT_TRUE(source.read(1, out, 2));
  EXPECT_EQ(text(2), "bc");
  EXPECT_FALSE(source.read(5, out, 4));
  EXPECT_FALSE(source.read(9, out, 0));
  EXPECT_FALSE(FileSource(path("absent")).isOpen());
}

TEST_F(BmpFile, FailedLoadsLeaveTheSurfaceAsItWas) {
  const MonoBitmap original = markedSurface();
  ASSERT_TRUE(original.saveBmp(path("good.bmp")));
  const std::string good = contentOf(path("good.bmp"));
  writeFile(path("cut.bmp"), good.substr(0, good.size() - 1));
  writeFile(path("empty.bmp"), "");
  ASSERT_TRUE(original.savePng(path("png.bmp")));
  for (const char* name : {"cut.bmp", "empty.bmp", "png.bmp", "absent.bmp"})
    EXPECT_TRUE(refusedWithoutChange([&](MonoBitmap& b) { return b.loadBmp(path(name)); })) << name;
}

}  // namespace
}  // namespace tenmark
