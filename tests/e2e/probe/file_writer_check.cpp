// A console helper that the end-to-end tests run under Wine to exercise the Win32 file writer
// on its own:  tenmark_file_check PATH TEXT [occupy|die|rival]
// With "occupy", files are first placed under the first two temporary names the writer would
// try: the first held open, as by a save in progress, the second closed, as a save cut short
// would leave it. Output: "occupied=NAME", "leftover=NAME", then "saved" or "refused". With "die",
// the process is ended once the temporary file is written, before it is moved. With "rival",
// the file goes under a free name, as an automatic save does: PATH_1.png, which another program
// takes while the file is written, then PATH_2.png.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include <windows.h>

#include "platform/atomic_replace.h"
#include "platform/atomic_write.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::string path = argv[1];
  const std::string text = argv[2];
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                                            text.size());
  if (argc > 3 && std::strcmp(argv[3], "die") == 0) {
    tenmark::TemporaryFile temporary(path);
    if (temporary.isOpen() && temporary.write(bytes) && temporary.flush())
      TerminateProcess(GetCurrentProcess(), 9);
    return 3;
  }
  if (argc > 3 && std::strcmp(argv[3], "rival") == 0) {
    int asked = 0;
    const auto freeName = [&] {
      const std::string name = path.substr(0, path.size() - 4) + (asked ? "_2.png" : "_1.png");
      if (asked++ == 0)
        if (std::FILE* f = std::fopen(name.c_str(), "wb")) std::fputs("rival", f), std::fclose(f);
      return name;
    };
    std::printf("%s\n", tenmark::writeFileAtomically(tenmark::WriteTarget(freeName), bytes)
                            ? "saved"
                            : "refused");
    return 0;
  }
  std::FILE* inUse = nullptr;
  if (argc > 3 && std::strcmp(argv[3], "occupy") == 0) {
    for (int attempt : {0, 1}) {
      const std::string name = tenmark::temporaryNameFor(path, attempt);
      std::FILE* f = std::fopen(name.c_str(), "wb");
      if (!f) return 3;
      std::fputs("someone else's", f);
      std::fflush(f);
      if (attempt == 0) inUse = f;
      if (attempt == 1) std::fclose(f);
      std::printf("%s=%s\n", attempt == 0 ? "occupied" : "leftover", name.c_str());
    }
  }
  const bool saved = tenmark::writeFileAtomically(path, bytes);
  if (inUse) std::fclose(inUse);
  std::printf("%s\n", saved ? "saved" : "refused");
  return 0;
}
