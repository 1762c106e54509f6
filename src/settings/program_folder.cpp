#include "settings/program_folder.h"

namespace tenmark {
namespace {

bool isShiftJisLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace

std::string exeFolderFromProgramPath(std::string_view programPath) {
  std::string folder(programPath);
  std::size_t end = 0;  // one past the last separator; 0 when there is none
  for (std::size_t i = 0; i < folder.size(); ++i) {
    if (isShiftJisLeadByte(static_cast<unsigned char>(folder[i]))) {
      ++i;
      continue;
    }
    if (folder[i] == '/') folder[i] = '\\';
    if (folder[i] == '\\') end = i + 1;
  }
  folder.resize(end);
  return folder;
}

std::string configFilePath(const std::string& exeFolder) { return exeFolder + "\\tenmark.ini"; }

}  // namespace tenmark
