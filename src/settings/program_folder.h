#pragma once
// Where the configuration file lives: the folder of the executable, taken from the program
// path (a Shift-JIS byte string).

#include <string>
#include <string_view>

namespace tenmark {

// "/" becomes "\", then everything after the last "\" is cut; empty when there is no "\".
// Trail bytes of double-byte characters are skipped, so 表 (0x95 0x5C) is not a separator.
std::string exeFolderFromProgramPath(std::string_view programPath);

// exeFolder followed directly by "\tenmark.ini".
std::string configFilePath(const std::string& exeFolder);

}  // namespace tenmark
