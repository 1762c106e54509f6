#include "platform/atomic_write.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace tenmark {
namespace {

using AtomicWrite = TempFolderTest;

std::vector<std::uint8_t> bytes(const std::string& text) { return {text.begin(), text.end()}; }

// Files under the temporary names, whoever left them, stay as they are: the save takes the next
// free name.
TEST_F(AtomicWrite, FilesUnderTheTemporaryNamesStay) {
  const std::string target = path("a.png");
  for (int attempt : {0, 1}) writeFile(temporaryNameFor(target, attempt), "someone else's");
  ASSERT_TRUE(writeFileAtomically(target, bytes("new")));
  EXPECT_EQ(contentOf(target), "new");
  for (int attempt : {0, 1})
    EXPECT_EQ(contentOf(temporaryNameFor(target, attempt)), "someone else's");
  EXPECT_EQ(entries(), 3u);
}

// Without replacing: a rival that takes the chosen name while the file is being written keeps
// it, and the file goes under the next name asked for.
TEST_F(AtomicWrite, WithoutReplacingARivalThatTookTheNameMeanwhileKeepsIt) {
  const std::string names[] = {path("a.png"), path("a_1.png")};
  std::size_t asked = 0;
  const WriteTarget target([&] {
    if (asked == 0) writeFile(names[0], "rival");
    return names[std::min<std::size_t>(asked++, 1)];
  });
  ASSERT_TRUE(writeFileAtomically(target, bytes("ours")));
  EXPECT_EQ(asked, 2u);
  EXPECT_EQ(contentOf(names[0]), "rival");
  EXPECT_EQ(contentOf(names[1]), "ours");
  EXPECT_EQ(entries(), 2u);
}

TEST(TemporaryName, TakesTheEndOfTheNameInWholeCharactersAsTheWideCallsCountThem) {
  const struct {
    const char* target;
    int attempt;
    const char* name;
  } cases[] = {
      {"/d/a.png", 0, "/d/a.p~0"},       {"C:\\d\\a.png", 12, "C:\\d\\a.~12"},
      {"C:\\d\\x", 13, "C:\\d\\3"},  // a short name keeps the last digits
      {"C:\\d\\3", 3, "C:\\d\\~"},   // never the target itself
      {"C:\\d\\ab~0", 0, "C:\\d\\ab~~"}, {"C:\\d\\表x", 0, "C:\\d\\~0"},  // whole characters only
      {"C:\\d\\x𠮷", 1, "C:\\d\\x~1"},  // two UTF-16 units: room for the marker
      {"C:\\d\\xねこ", 2, "C:\\d\\x~2"},
  };
  for (const auto& c : cases) EXPECT_EQ(temporaryNameFor(c.target, c.attempt), c.name) << c.target;
}

TEST(TemporaryName, EveryAttemptIsAnotherNameBesideTheTargetAndNoLonger) {
  const std::string folder = "C:\\" + std::string(200, 'f') + "\\";
  const std::string target = folder + std::string(44, 'n') + ".png";
  ASSERT_EQ(target.size(), 252u);
  std::set<std::string> names;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = temporaryNameFor(target, attempt);
    EXPECT_LE(name.size(), target.size());
    EXPECT_EQ(name.rfind(folder, 0), 0u);
    EXPECT_EQ(name.find('\\', folder.size()), std::string::npos);
    names.insert(name);
  }
  EXPECT_EQ(names.size(), 100u);
  EXPECT_EQ(names.count(target), 0u);
}

}  // namespace
}  // namespace tenmark
