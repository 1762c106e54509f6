#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include "imagefile/file_source.h"
#include "platform/file_error.h"
#include "support/temp_folder.h"
#include "support/test_surfaces.h"
#include "surface/mono_bitmap.h"

namespace tenmark {
namespace {

namespace fs = std::filesystem;

using BmpFile = TempFolderTest;

// Both picture formats through the file: each saver, its loader and the other format's file.
const struct {
  const char* name;
  bool (MonoBitmap::*save)(const WriteTarget&) const;
  PictureFault (MonoBitmap::*load)(const std::string&, bool*);
} kFormats[] = {{"a.bmp", &MonoBitmap::saveBmp, &MonoBitmap::loadBmp},
                {"a.png", &MonoBitmap::savePng, &MonoBitmap::loadPng}};

// Sides around whole bytes and words; each save replaces the file of the size before. The row
// padding comes back as the blank picture had it, so that a loaded picture saves as it came.
TEST_F(BmpFile, SaveThenLoadGivesBackThePictureAndEveryByte) {
  std::mt19937 rng(3);
  for (const auto& f : kFormats) {
    writeFile(path(f.name), "old");
    for (int width : {1, 7, 8, 9, 31, 32, 33}) {
      for (int height : {1, 5}) {
        const MonoBitmap original = randomPicture(width, height, rng);
        ASSERT_TRUE((original.*f.save)(path(f.name))) << f.name;
        MonoBitmap loaded = markedSurface();
        bool reduced = true;
        ASSERT_EQ((loaded.*f.load)(path(f.name), &reduced), PictureFault::None) << f.name;
        EXPECT_TRUE(samePicture(loaded, original)) << f.name << " " << width << "x" << height;
        EXPECT_EQ(bytesOf(loaded), bytesOf(original)) << f.name << " " << width;
        EXPECT_FALSE(reduced) << f.name;
      }
    }
  }
  EXPECT_EQ(entries(), 2u);
}

// A missing folder, a surface without pixels, a folder where the file should go.
TEST_F(BmpFile, FailedSavesTouchNothingAndLeaveNoTemporary) {
  writeFile(path("a.bmp"), "old picture");
  fs::create_directory(path("folder.bmp"));
  for (const auto& f : kFormats) {
    EXPECT_FALSE((markedSurface().*f.save)(path("missing/a.bmp"))) << f.name;
    EXPECT_FALSE((MonoBitmap().*f.save)(path("a.bmp"))) << f.name;
    EXPECT_FALSE((markedSurface().*f.save)(path("folder.bmp"))) << f.name;
  }
  EXPECT_EQ(contentOf(path("a.bmp")), "old picture");
  EXPECT_TRUE(fs::is_directory(path("folder.bmp")));
  EXPECT_EQ(entries(), 2u);
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
  std::mt19937 rng(1);  // noise, so that even the PNG outgrows the limit
  const MonoBitmap big = randomSurface(500, 500, rng);
  const bool bmpSaved = big.saveBmp(path("a.bmp"));
  const bool pngSaved = big.savePng(path("a.bmp"));
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(bmpSaved);
  EXPECT_FALSE(pngSaved);
  EXPECT_EQ(fileErrorText(), std::strerror(EFBIG));  // the reason for the message
  EXPECT_EQ(contentOf(path("a.bmp")), "old picture");
  EXPECT_EQ(entries(), 1u);
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

// Each loader refuses its own file cut short and no file at all, and says which; the readers'
// starting corpora hold the other files they refuse.
TEST_F(BmpFile, FailedLoadsLeaveTheSurfaceAsItWasAndSayWhy) {
  for (const auto& f : kFormats) {
    ASSERT_TRUE((markedSurface().*f.save)(path(f.name)));
    const std::string good = contentOf(path(f.name));
    writeFile(path("cut"), good.substr(0, good.size() - 1));
    for (const auto& [name, fault] :
         {std::pair{"cut", PictureFault::CutShort}, {"absent", PictureFault::Unopened}}) {
      PictureFault found = PictureFault::None;
      EXPECT_TRUE(refusedWithoutChange([&](MonoBitmap& b) {
        found = (b.*f.load)(path(name), nullptr);
        return found == PictureFault::None;
      })) << f.name
          << " " << name;
      EXPECT_EQ(found, fault) << f.name << " " << name;
    }
  }
}

}  // namespace
}  // namespace tenmark
