#include "dialogs/settings_form.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <variant>

#include "tenmark/texts.h"

namespace tenmark {
namespace {

// 𠮷 then 表ソ, in UTF-8.
const std::set<std::string> kFolders = {"C:\\pictures", "C:\\pictures\\", "C:\\\xf0\xa0\xae\xb7",
                                        "D:\\\xf0\xa0\xae\xb7", "C:\\\xe8\xa1\xa8\xe3\x82\xbd"};
const FolderQuery isFolder = [](const std::string& path) { return kFolders.count(path) > 0; };

// Decimal digits, full-width ones (０ to ９) too, between blanks; any other text is no number.
// Beyond 32 bits, however many digits, the largest.
TEST(SettingsForm, SizeEditsHoldWholeNumbersOnly) {
  const struct {
    std::string text;
    std::optional<std::int32_t> number;
  } cases[] = {{"640", 640},          {" \t0640 ", 640},          {"１２３", 123},
               {"９0", 90},           {"2147483647", INT_MAX},    {std::string(300, '9'), INT_MAX},
               {"", std::nullopt},    {" ", std::nullopt},        {"abc", std::nullopt},
               {"1e3", std::nullopt}, {"12.5", std::nullopt},     {"1 2", std::nullopt},
               {"-5", std::nullopt},  {"1\xef\xbc", std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(parseWholeNumber(c.text), c.number) << c.text;
}

// Side by side, width first: no whole number, too small, beyond the largest side; then the
// folder. What the dialog showed is never refused: the canvas's own size (a larger picture that
// was opened) and a program folder the Shift-JIS settings file cannot name (𠮷). Another such
// folder is refused; 表 and ソ, whose second Shift-JIS byte is a backslash, are not.
TEST(SettingsForm, OkChecksEachTypedSideThenAChangedFolder) {
  const std::string kanji = "\xf0\xa0\xae\xb7";
  SettingsDialogValues shown;
  shown.canvasWidth = 20000;
  shown.canvasHeight = 300;
  shown.saveFolder = "C:\\" + kanji;
  const std::string limit = "入力されたキャンバスサイズが限界値（5999 pixel）を越えています";
  const struct {
    SettingsEntries entries;
    std::variant<std::pair<int, int>, std::string> result;
  } cases[] = {
      {{"20000", "300", "C:\\" + kanji}, std::pair(20000, 300)},
      {{"２0000", " 300", "C:\\\xe8\xa1\xa8\xe3\x82\xbd"}, std::pair(20000, 300)},
      {{"5999", "1", "C:\\pictures\\"}, std::pair(5999, 1)},
      {{"20000", "300", "D:\\" + kanji}, "D:\\" + kanji + text::SaveFolderNotShiftJisSuffix},
      {{"6000", "300", "C:\\pictures"}, limit},
      {{"20000", "6000", "C:\\pictures"}, limit},
      {{"20001", "300", "C:\\pictures"}, limit},
      {{"99999999999", "300", "C:\\pictures"}, limit},
      {{"20000", "0", "C:\\pictures"}, text::CanvasSizeTooSmall},
      {{"0", "7000", "C:\\pictures"}, text::CanvasSizeTooSmall},
      {{"abc", "300", "C:\\pictures"}, "キャンバスの幅には 1～5999 の整数を入力してください"},
      {{"1e3", "-5", "C:\\pictures"}, "キャンバスの幅には 1～5999 の整数を入力してください"},
      {{"20000", "12.5", "C:\\pictures"}, "キャンバスの高さには 1～5999 の整数を入力してください"},
      {{"5999", "1", ""}, text::SaveFolderMissing},
      {{"5999", "1", "C:\\pictures\\file.png"}, text::SaveFolderMissing},
  };
  for (const auto& c : cases) {
    const SettingsReading reading = readSettingsEntries(c.entries, shown, isFolder);
    const std::variant<std::pair<int, int>, std::string> result =
        reading.problem ? decltype(c.result)(*reading.problem)
                        : std::pair(reading.size.width, reading.size.height);
    EXPECT_EQ(result, c.result) << c.entries.width << "x" << c.entries.height << " "
                                << c.entries.folder;
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
