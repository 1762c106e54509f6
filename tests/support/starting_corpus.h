#pragma once
// The fuzz targets' starting corpora (fuzz/corpus/<target>/), read by the unit tests, which
// hold the readers to the fuzz targets' rule on every file there. A file whose name begins
// with "refused-" is a broken one the reader must refuse.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "imagefile/picture_fault.h"
#include "support/test_surfaces.h"

namespace tenmark {

// Every file of the bmp and dib corpora that is read holds one 3×2 picture in one layout:
// top row black, white, grey(100); bottom row white, grey(200), black. These indices:
inline const std::vector<int> kCorpusPicture = {1, 0, 1, 0, 0, 1};

inline std::filesystem::path corpusFolder(const std::string& target) {
  return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "fuzz" /
         "corpus" / target;
}

inline std::vector<std::uint8_t> corpusBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The fuzz targets' rule over the target's starting corpus, in name order: a broken file is
// refused and leaves the surface as it was; any other file is read. `read(bytes, surface)`
// reads one file into a marked surface. Returns the files read, with their surfaces.
template <typename Read>
std::vector<std::pair<std::string, MonoBitmap>> expectCorpusReadAsNamed(const std::string& target,
                                                                        std::size_t brokenFiles,
                                                                        Read read) {
  std::vector<std::filesystem::path> files(
      std::filesystem::directory_iterator(corpusFolder(target)), {});
  std::sort(files.begin(), files.end());
  std::size_t broken = 0;
  std::vector<std::pair<std::string, MonoBitmap>> readFiles;
  for (const auto& file : files) {
    const std::vector<std::uint8_t> bytes = corpusBytes(file);
    const std::string name = file.filename().string();
    if (name.starts_with("refused-")) {
      ++broken;
      EXPECT_TRUE(refusedWithoutChange([&](MonoBitmap& b) { return read(bytes, b); })) << name;
    } else {
      MonoBitmap b = markedSurface();
      EXPECT_TRUE(read(bytes, b)) << name;
      readFiles.emplace_back(name, std::move(b));
    }
  }
  EXPECT_EQ(broken, brokenFiles) << "broken files in fuzz/corpus/" << target;
  return readFiles;
}

// What `decode(bytes, surface)` says of each named broken file of the target's corpus.
template <typename Decode>
void expectRefusalsSayWhy(const std::string& target, Decode decode,
                          std::initializer_list<std::pair<const char*, PictureFault>> cases) {
  for (const auto& [file, fault] : cases) {
    MonoBitmap b;
    EXPECT_EQ(decode(corpusBytes(corpusFolder(target) / file), b), fault) << file;
  }
}

}  // namespace tenmark
