#include "dialogs/settings_form.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "tenmark/texts.h"

namespace tenmark {
namespace {

// 𠮷 then 表ソ, in UTF-8.
const std::set<std::string> kFolders = {"C:\\pictures", "C:\\pictures\\", "C:\\\xf0\xa0\xae\xb7",
                                        "C:\\\xe8\xa1\xa8\xe3\x82\xbd"};
const FolderQuery isFolder = [](const std::string& path) { return kFolders.count(path) > 0; };

// Blanks and a sign, then decimal digits; beyond 32 bits, however many digits, the nearest end.
TEST(SettingsForm, EditsReadAsDecimalNumbers) {
  EXPECT_EQ(parseDecimal("abc"), 0);
  EXPECT_EQ(parseDecimal("12abc"), 12);
  EXPECT_EQ(parseDecimal("\t -3 7"), -3);
  EXPECT_EQ(parseDecimal("+0640"), 640);
  EXPECT_EQ(parseDecimal("--5"), 0);
  EXPECT_EQ(parseDecimal("2147483647"), INT_MAX);
  EXPECT_EQ(parseDecimal("-2147483648"), INT_MIN);
  EXPECT_EQ(parseDecimal("-99999999999"), INT_MIN);
  EXPECT_EQ(parseDecimal(std::string(300, '9')), INT_MAX);
}

// The canvas's own size (here 20000 x 300, a larger picture that was opened) is never refused;
// a side that was typed is. A folder the Shift-JIS settings file cannot name is refused; 表 and
// ソ, whose second Shift-JIS byte is a backslash, are not.
TEST(SettingsForm, OkChecksTheTypedSizesFirstThenTheFolder) {
  const struct {
    std::int32_t width, height;
    std::string folder;
    std::optional<std::string> message;
  } cases[] = {
      {20000, 300, "C:\\\xf0\xa0\xae\xb7",
       "C:\\\xf0\xa0\xae\xb7" + std::string(text::SaveFolderNotShiftJisSuffix)},
      {20000, 300, "C:\\\xe8\xa1\xa8\xe3\x82\xbd", std::nullopt},
      {20000, 6000, "C:\\pictures", text::CanvasSizeTooLarge},
      {20001, 300, "C:\\pictures", text::CanvasSizeTooLarge},
      {20000, 0, "C:\\pictures", text::CanvasSizeTooSmall},
      {-5, 7000, "C:\\pictures", text::CanvasSizeTooSmall},
      {1, INT_MAX, "", text::CanvasSizeTooLarge},
      {5999, 1, "", text::SaveFolderMissing},
      {5999, 1, "C:\\pictures\\file.png", text::SaveFolderMissing},
      {1, 5999, "C:\\pictures\\", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(settingsProblem(c.width, c.height, CanvasSize{20000, 300}, c.folder, isFolder),
              c.message)
        << c.width << "x" << c.height << " " << c.folder;
  }
}

// The browser opens on an existing folder without its trailing backslash; what it gives back is
// taken only whole (a path that filled the buffer may be the start of a longer one) and as a
// folder.
TEST(SettingsForm, FolderBrowser) {
  EXPECT_EQ(browseStartFolder("C:\\pictures\\", isFolder), "C:\\pictures");
  EXPECT_EQ(browseStartFolder("C:\\pictures", isFolder), "C:\\pictures");
  EXPECT_EQ(browseStartFolder("C:\\missing\\", isFolder), "");
  const auto fromBuffer = [](std::string contents, std::size_t capacity) {
    contents.resize(capacity, '\0');
    return browsedFolder(std::span<const char>(contents.data(), capacity), isFolder);
  };
  EXPECT_EQ(fromBuffer("C:\\pictures", 12), "C:\\pictures");
  EXPECT_EQ(fromBuffer("C:\\pictures", 11), std::nullopt);
  EXPECT_EQ(fromBuffer("C:\\pictures\\file.png", 260), std::nullopt);
}

}  // namespace
}  // namespace tenmark
