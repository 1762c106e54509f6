// BMP reader on arbitrary bytes: it must never crash, a refused file must leave the target
// untouched, and an accepted picture must survive our own writer and reader byte for byte.
#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz_support.h"
#include "imagefile/bmp_codec.h"
#include "imagefile/bmp_layout.h"

namespace {

// A few bytes can claim 65535 × 65535 pixels: half a gigabyte to fill, write and read back on
// every run. Larger sides are left to the unit tests so the fuzzer spends its time on the
// decoding paths; every header field still reaches the parser.
constexpr std::int32_t kMaxFuzzSide = 4096;

bool withinFuzzSides(std::span<const std::uint8_t> file) {
  tenmark::BmpLayout layout;
  const auto head = file.first(std::min(file.size(), tenmark::kBmpHeadBytes));
  return tenmark::parseBmpLayout(head, file.size(), layout) != tenmark::PictureFault::None ||
         (layout.width <= kMaxFuzzSide && layout.height <= kMaxFuzzSide);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using tenmark::MonoBitmap;
  if (!withinFuzzSides({data, size})) return 0;
  tenmark::fuzz::checkReader(
      {data, size},
      [](std::span<const std::uint8_t> file, MonoBitmap& target) {
        return tenmark::decodeBmp(file, target) == tenmark::PictureFault::None;
      },
      [](const MonoBitmap& b, std::vector<std::uint8_t>& out) {
        out = tenmark::encodeBmp(b);
        return !out.empty();
      },
      tenmark::fuzz::sameSurface);
  return 0;
}
