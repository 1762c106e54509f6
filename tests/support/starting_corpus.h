#pragma once
// The fuzz targets' starting corpora (fuzz/corpus/<target>/), read by the unit tests, which
// hold the readers to the fuzz targets' rule on every file there. A file whose name begins
// with "refused-" is a broken one the reader must refuse.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/test_surfaces.h"

namespace tenmark {

struct CorpusFile {
  std::string name;
  std::vector<std::uint8_t> bytes;
  bool mustBeRefused() const { return name.starts_with("refused-"); }
};

// Every file of the target's starting corpus, by name.
inline std::vector<CorpusFile> startingCorpus(const std::string& target) {
  const auto dir = std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() /
                   "fuzz" / "corpus" / target;
  std::vector<CorpusFile> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::ifstream in(entry.path(), std::ios::binary);
    files.push_back({entry.path().filename().string(),
                     {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()}});
  }
  std::sort(files.begin(), files.end(),
            [](const CorpusFile& a, const CorpusFile& b) { return a.name < b.name; });
  return files;
}

// The fuzz targets' rule over the target's starting corpus: a broken file is refused and leaves
// the surface as it was; any other file is read. `read(bytes, surface)` reads one file.
template <typename Read>
void expectCorpusReadAsNamed(const std::string& target, std::size_t brokenFiles, Read read) {
  std::size_t broken = 0;
  for (const CorpusFile& file : startingCorpus(target)) {
    if (file.mustBeRefused()) {
      ++broken;
      EXPECT_TRUE(refusedWithoutChange([&](MonoBitmap& b) { return read(file.bytes, b); }))
          << file.name;
    } else {
      MonoBitmap b;
      EXPECT_TRUE(read(file.bytes, b)) << file.name;
    }
  }
  EXPECT_EQ(broken, brokenFiles) << "broken files in fuzz/corpus/" << target;
}

}  // namespace tenmark
