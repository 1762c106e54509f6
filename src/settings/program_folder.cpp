#include "settings/program_folder.h"

namespace tenmark {

std::string exeFolderFromProgramPath(std::string_view programPath) {
  std::string folder(programPath);
  std::size_t end = 0;  // one past the last separator; 0 when there is none
  for (std::size_t i = 0; i < folder.size(); ++i) {
    if (folder[i] == '/') folder[i] = '\\';
    if (folder[i] == '\\') end = i + 1;
  }
  folder.resize(end);
  return folder;
}

std::string configFilePath(const std::string& exeFolder) { return exeFolder + "\\tenmark.ini"; }

}  // namespace tenmark
