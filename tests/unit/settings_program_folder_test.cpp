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
      // 表 is 0x95 0x5C: its trail byte is no separator.
      {"C:\\\x95\x5C\\tenmark.exe", "C:\\\x95\x5C\\"},
      {"C:\\a\\\x95\x5Cx.exe", "C:\\a\\"},
      {"\x95\x5C.exe", ""},
      // A lead byte in 0xE0-0xFC range, trail 0x5C.
      {"D:\\\xE0\x5C\\\xFC\x5Cz", "D:\\\xE0\x5C\\"},
      // Half-width katakana (0xA1-0xDF) are single bytes.
      {"D:\\\xB1\\x", "D:\\\xB1\\"},
      // A lead byte at the very end has no trail to skip.
      {"D:\\x\\\x95", "D:\\x\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(exeFolderFromProgramPath(c.path), c.folder) << c.path;
}

TEST(ProgramFolder, ConfigFileIsBesideTheExecutable) {
  EXPECT_EQ(configFilePath("C:\\Tools\\"), "C:\\Tools\\\\tenmark.ini");
  EXPECT_EQ(configFilePath(""), "\\tenmark.ini");
}

}  // namespace
}  // namespace tenmark
