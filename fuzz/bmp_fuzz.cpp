// BMP reader on arbitrary bytes: it must never crash, a refused file must leave the target
// untouched, and an accepted picture must survive our own writer and reader byte for byte.
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz_support.h"
#include "imagefile/bmp_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using tenmark::MonoBitmap;
  tenmark::fuzz::checkReader(
      {data, size},
      [](std::span<const std::uint8_t> file, MonoBitmap& target) {
        return tenmark::decodeBmp(file, target);
      },
      [](const MonoBitmap& b, std::vector<std::uint8_t>& out) {
        out = tenmark::encodeBmp(b);
        return !out.empty();
      },
      tenmark::fuzz::sameSurface);
  return 0;
}
