#pragma once
// Where the configuration file lives: the folder of the executable, taken from the program
// path (UTF-8).

#include <string>
#include <string_view>

namespace tenmark {

// "/" becomes "\", then everything after the last "\" is cut; empty when there is no "\".
std::string exeFolderFromProgramPath(std::string_view programPath);

// exeFolder followed directly by "\tenmark.ini".
std::string configFilePath(const std::string& exeFolder);

}  // namespace tenmark
