#include <gtest/gtest.h>

#include <string>

#include "settings/program_folder.h"

namespace tenmark {
namespace {

TEST(ProgramFolder, FolderIsThePathUpToTheLastBackslash) {
  const struct {
    std::string path;
    std::string folder;
  } cases[] = {
      {"C:\\Tools\\tenmark.exe", "C:\\Tools\\"},
      {"C:/Tools/sub/tenmark.exe", "C:\\Tools\\sub\\"},
      {"C:\\Tools/sub\\tenmark.exe", "C:\\Tools\\sub\\"},
      {"tenmark.exe", ""},
      {"", ""},
      {"\\\\server\\share\\t.exe", "\\\\server\\share\\"},
      {"C:\\Tools\\", "C:\\Tools\\"},
      // Names beyond ASCII (UTF-8) hold no byte that could pass for a separator.
      {"C:\\表\\tenmark.exe", "C:\\表\\"},
      {"C:\\a\\𠮷x.exe", "C:\\a\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(exeFolderFromProgramPath(c.path), c.folder) << c.path;
}

TEST(ProgramFolder, ConfigFileIsBesideTheExecutable) {
  EXPECT_EQ(configFilePath("C:\\Tools\\"), "C:\\Tools\\\\tenmark.ini");
  EXPECT_EQ(configFilePath(""), "\\tenmark.ini");
}

}  // namespace
}  // namespace tenmark
