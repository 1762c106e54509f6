#include <gtest/gtest.h>

#include <vector>

#include "imagefile/document_names.h"
#include "platform/path_text.h"

namespace tenmark {
namespace {

TEST(DocumentNames, FormatsComeFromTheLastFourCharactersWithoutRegardToCase) {
  EXPECT_EQ(pictureFormatOf("C:\\pics\\Cat.PNG"), PictureFormat::Png);
  EXPECT_EQ(pictureFormatOf("a.Bmp"), PictureFormat::Bmp);
  EXPECT_EQ(pictureFormatOf(".png"), PictureFormat::Png);
  EXPECT_EQ(pictureFormatOf("a.gif"), std::nullopt);
  EXPECT_EQ(pictureFormatOf("apng"), std::nullopt);
  EXPECT_EQ(pictureFormatOf("png"), std::nullopt);
}

TEST(DocumentNames, SaveAsCompletesTheNameWithTheFiltersExtensionInAnyCase) {
  const struct {
    const char* chosen;
    PictureFormat format;
    const char* path;
  } cases[] = {
      {"C:\\pic", PictureFormat::Png, "C:\\pic.png"},
      {"C:\\pic.png", PictureFormat::Png, "C:\\pic.png"},
      {"C:\\UPPER.PNG", PictureFormat::Png, "C:\\UPPER.PNG"},
      {"C:\\pic.PNG", PictureFormat::Bmp, "C:\\pic.PNG.bmp"},
      {"C:\\a.bmp", PictureFormat::Png, "C:\\a.bmp.png"},
      {"C:\\a.bmp", PictureFormat::Bmp, "C:\\a.bmp"},
      {"C:\\bar.BMP", PictureFormat::Bmp, "C:\\bar.BMP"},
      {"C:\\pic.Png", PictureFormat::Png, "C:\\pic.Png"},
  };
  for (const auto& c : cases) EXPECT_EQ(completedSaveAsPath(c.chosen, c.format), c.path);
  EXPECT_EQ(savePathOf("20060604_092418", "D:\\save\\"), "D:\\save\\20060604_092418");
  EXPECT_EQ(savePathOf("C:\\pics\\cat.bmp", "D:\\save\\"), "C:\\pics\\cat.bmp");
  // A network path is written where it came from.
  EXPECT_EQ(savePathOf("\\\\server\\share\\cat.png", "D:\\save\\"), "\\\\server\\share\\cat.png");
  EXPECT_EQ(autoSaveName("\\\\server\\share\\cat.png"), "cat");
}

TEST(DocumentNames, AutomaticSavesTakeTheBareNameWithoutItsExtension) {
  const std::string hyou = "表";
  const struct {
    std::string document;
    std::optional<std::string> name;
  } cases[] = {
      {"20060604_092418", "20060604_092418"},
      {"C:\\pics\\cat.bmp", "cat"},
      {".hidden", ".hidden"},
      {"D:\\x\\name.tar.gz", "name.tar"},
      {"C:\\a.b\\c", "c"},
      {"C:nofolder.png", std::nullopt},
      {"C:\\dir\\" + hyou + ".png", hyou},
      {"C:\\" + hyou + "\\x.png", "x"},
  };
  for (const auto& c : cases) EXPECT_EQ(autoSaveName(c.document), c.name) << c.document;
}

// The rescue after a fault tries the same names in a buffer of its own.
TEST(DocumentNames, NumberedPathsFillAFixedBufferOrRefuseWhatDoesNotFit) {
  const struct {
    std::size_t capacity;
    int n;
    const char* path;  // nullptr: refused
  } cases[] = {{16, 0, "D:\\s\\n.bmp"},
               {16, 2, "D:\\s\\n_2.bmp"},
               {16, 123456, nullptr},
               {14, 12, "D:\\s\\n_12.bmp"},
               {13, 12, nullptr}};
  for (const auto& c : cases) {
    std::vector<char> out(c.capacity, 'x');
    const bool fits = numberedSavePath(out, "D:\\s\\n", ".bmp", c.n);
    EXPECT_STREQ(fits ? out.data() : nullptr, c.path) << c.n;
  }
}

TEST(DocumentNames, PathsCompareAsWindowsNamesFoldingOnlyAsciiLetters) {
  EXPECT_TRUE(samePathName("C:\\Pictures\\Scan.PNG", "c:\\pictures\\scan.png"));
  EXPECT_FALSE(samePathName("C:\\a.png", "C:\\a.pn"));
  EXPECT_FALSE(samePathName("C:\\ア.png", "C:\\ヂ.png"));
}

}  // namespace
}  // namespace tenmark
