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

// A replaced file keeps its permissions. Read-only means no write bit at all, so the refusal
// holds even for root, which may write anything.
TEST_F(AtomicWrite, TargetIsReplacedWithItsModeOrRefusedWhenReadOnly) {
  for (const mode_t mode : {0640u, 0444u}) {
    writeFile(path("a.png"), "old picture");
    ASSERT_EQ(::chmod(path("a.png").c_str(), mode), 0);
    EXPECT_EQ(writeFileAtomically(path("a.png"), bytes("new")), mode == 0640u) << mode;
    EXPECT_EQ(contentOf(path("a.png")), mode == 0640u ? "new" : "old picture") << mode;
    EXPECT_EQ(modeOf(path("a.png")), mode);
    EXPECT_EQ(entries(), 1u);
  }
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
