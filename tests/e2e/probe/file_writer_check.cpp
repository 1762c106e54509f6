// A console helper that the end-to-end tests run under Wine to exercise the Win32 file writer
// on its own:  tenmark_file_check PATH TEXT [occupy]
// With "occupy", files of someone else are first placed under the first two temporary names
// the writer would try. Output: one "occupied=NAME" line per placed file, then "saved" or
// "refused".
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/atomic_write.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::string path = argv[1];
  const std::string text = argv[2];
  if (argc > 3 && std::strcmp(argv[3], "occupy") == 0) {
    for (int attempt : {0, 1}) {
      const std::string name = tenmark::temporaryNameFor(path, attempt);
      std::FILE* f = std::fopen(name.c_str(), "wb");
      if (!f) return 3;
      std::fputs("someone else's", f);
      std::fclose(f);
      std::printf("occupied=%s\n", name.c_str());
    }
  }
  const bool saved = tenmark::writeFileAtomically(
      path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  std::printf("%s\n", saved ? "saved" : "refused");
  return 0;
}
