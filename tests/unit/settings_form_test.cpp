#include "dialogs/settings_form.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "tenmark/texts.h"

namespace tenmark {
namespace {

// 𠮷, a Hangul syllable, then 表ソ, in UTF-8.
const std::set<std::string> kFolders = {"C:\\pictures", "C:\\pictures\\", "C:\\\xf0\xa0\xae\xb7",
                                        "C:\\\xed\x95\x9c", "C:\\\xe8\xa1\xa8\xe3\x82\xbd"};
const FolderQuery isFolder = [](const std::string& path) { return kFolders.count(path) > 0; };

TEST(SettingsForm, EditsReadAsDecimalNumbers) {
  const struct {
    std::string text;
    std::int32_t value;
  } cases[] = {
      {"", 0},
      {"abc", 0},
      {"-", 0},
      {"12abc", 12},
      {"+5", 5},
      {" -3", -3},
      {"\t 42 7", 42},
      {"--5", 0},
      {"0x10", 0},
      {"0640", 640},
      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
      {"99999999999", INT_MAX},
      {"-99999999999", INT_MIN},
      {std::string(300, '9'), INT_MAX},
      {"\x82\x54", 0},  // a full-width digit is not a digit
  };
  for (const auto& c : cases) EXPECT_EQ(parseDecimal(c.text), c.value) << c.text;
}

TEST(SettingsForm, OkChecksTheTypedSizesFirstThenTheFolder) {
  const struct {
    std::int32_t width, height;
    std::string folder;
    std::optional<std::string> message;
  } cases[] = {
      // A folder the Shift-JIS settings file cannot name (𠮷, Hangul) is refused; 表 and ソ,
      // whose second Shift-JIS byte is a backslash, are not.
      {20000, 300, "C:\\\xf0\xa0\xae\xb7",
       "C:\\\xf0\xa0\xae\xb7" + std::string(text::SaveFolderNotShiftJisSuffix)},
      {20000, 300, "C:\\\xed\x95\x9c",
       "C:\\\xed\x95\x9c" + std::string(text::SaveFolderNotShiftJisSuffix)},
      {20000, 300, "C:\\\xe8\xa1\xa8\xe3\x82\xbd", std::nullopt},
      // The canvas's own size (here 20000 x 300, a larger picture that was opened) is never
      // refused; a side that was typed is.
      {20000, 300, "C:\\pictures", std::nullopt},
      {20000, 6000, "C:\\pictures", text::CanvasSizeTooLarge},
      {20000, 0, "C:\\pictures", text::CanvasSizeTooSmall},
      {20001, 300, "C:\\pictures", text::CanvasSizeTooLarge},
      {20000, 300, "", text::SaveFolderMissing},
      {0, 10, "", text::CanvasSizeTooSmall},
      {10, 0, "C:\\pictures", text::CanvasSizeTooSmall},
      {-5, 7000, "C:\\pictures", text::CanvasSizeTooSmall},
      {6000, 1, "C:\\pictures", text::CanvasSizeTooLarge},
      {1, INT_MAX, "", text::CanvasSizeTooLarge},
      {5999, 1, "", text::SaveFolderMissing},
      {5999, 1, "C:\\pictures\\file.png", text::SaveFolderMissing},
      {5999, 1, "C:\\pictures", std::nullopt},
      {1, 5999, "C:\\pictures\\", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(settingsProblem(c.width, c.height, CanvasSize{20000, 300}, c.folder, isFolder),
              c.message)
        << c.width << "x" << c.height << " " << c.folder;
  }
}

TEST(SettingsForm, BrowserStartsOnAnExistingFolderWithoutItsTrailingBackslash) {
  EXPECT_EQ(browseStartFolder("C:\\pictures\\", isFolder), "C:\\pictures");
  EXPECT_EQ(browseStartFolder("C:\\pictures", isFolder), "C:\\pictures");
  EXPECT_EQ(browseStartFolder("C:\\missing\\", isFolder), "");
  EXPECT_EQ(browseStartFolder("", isFolder), "");
  EXPECT_EQ(browseStartFolder("C:\\\xe8\xa1\xa8\xe3\x82\xbd", isFolder),
            "C:\\\xe8\xa1\xa8\xe3\x82\xbd");
}

TEST(SettingsForm, BrowsedPathIsTakenOnlyWholeAndAsAFolder) {
  const auto fromBuffer = [](std::string contents, std::size_t capacity) {
    contents.resize(capacity, '\0');
    return browsedFolder(std::span<const char>(contents.data(), capacity), isFolder);
  };
  EXPECT_EQ(fromBuffer("C:\\pictures", 260), "C:\\pictures");
  EXPECT_EQ(fromBuffer("C:\\pictures", 12), "C:\\pictures");
  // The path filled the buffer: it may be the start of a longer one.
  EXPECT_EQ(fromBuffer("C:\\pictures", 11), std::nullopt);
  EXPECT_EQ(fromBuffer("C:\\pictures\\file.png", 260), std::nullopt);
  EXPECT_EQ(fromBuffer("", 260), std::nullopt);
}

}  // namespace
}  // namespace tenmark
