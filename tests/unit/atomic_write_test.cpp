#include "platform/atomic_write.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "platform/atomic_replace.h"
#include "support/temp_folder.h"

namespace tenmark {
namespace {

using AtomicWrite = TempFolderTest;

std::vector<std::uint8_t> bytes(const std::string& text) { return {text.begin(), text.end()}; }

mode_t modeOf(const std::string& file) {
  struct stat st {};
  EXPECT_EQ(::stat(file.c_str(), &st), 0);
  return st.st_mode & 07777;
}

// Read-only means no write bit at all, so the refusal holds even for root, which may write
// anything.
TEST_F(AtomicWrite, ReadOnlyTargetIsRefusedAndKeptWithItsMode) {
  writeFile(path("a.png"), "old picture");
  ASSERT_EQ(::chmod(path("a.png").c_str(), 0444), 0);
  EXPECT_FALSE(writeFileAtomically(path("a.png"), bytes("new")));
  EXPECT_EQ(contentOf(path("a.png")), "old picture");
  EXPECT_EQ(modeOf(path("a.png")), 0444u);
  EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicWrite, ReplacedFileKeepsItsPermissions) {
  writeFile(path("a.png"), "old picture");
  ASSERT_EQ(::chmod(path("a.png").c_str(), 0640), 0);
  ASSERT_TRUE(writeFileAtomically(path("a.png"), bytes("new")));
  EXPECT_EQ(contentOf(path("a.png")), "new");
  EXPECT_EQ(modeOf(path("a.png")), 0640u);
  EXPECT_EQ(entries(), 1u);
}

// Files that happen to hold the names the writer tries first are someone else's: they are
// neither truncated nor removed, and the save still succeeds under a free name.
TEST_F(AtomicWrite, ExistingFilesUnderTemporaryNamesAreLeftAlone) {
  const std::string target = path("a.png");
  for (int attempt : {0, 1}) writeFile(temporaryNameFor(target, attempt), "someone else's");
  ASSERT_TRUE(writeFileAtomically(target, bytes("new")));
  EXPECT_EQ(contentOf(target), "new");
  for (int attempt : {0, 1})
    EXPECT_EQ(contentOf(temporaryNameFor(target, attempt)), "someone else's") << attempt;
  EXPECT_EQ(entries(), 3u);
}

}  // namespace
}  // namespace tenmark
