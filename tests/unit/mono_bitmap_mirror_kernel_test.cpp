#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "surface/bit_reverse.h"

namespace tenmark::bits {
namespace {

int bitAt(const std::vector<std::uint8_t>& row, std::int64_t x) {
  return (row[std::size_t(x >> 3)] >> (7 - (x & 7))) & 1;
}

// Every kernel the processor offers mirrors whole bytes at every bit offset like the
// per-pixel definition, and never reads the byte after the row when it need not.
TEST(MirrorKernels, EveryKernelMatchesThePerPixelMirror) {
  std::mt19937 rng(606);
  const auto kernels = mirrorKernels();
  ASSERT_FALSE(kernels.empty());
  EXPECT_STREQ(kernels.back().name, "table");
  for (const MirrorKernel& kernel : kernels) {
    for (std::int64_t q : {0, 1, 15, 31, 32, 33, 64, 95, 96, 97, 200}) {
      for (int shift = 0; shift < 8; ++shift) {
        // Exactly the bytes the kernel may read, so the sanitizer sees any overrun.
        std::vector<std::uint8_t> src(std::size_t(q + (shift ? 1 : 0)));
        for (auto& b : src) b = std::uint8_t(rng());
        std::vector<std::uint8_t> dst(std::size_t(q) + 1, 0xA5);
        if (q > 0) kernel.run(src.data(), shift, dst.data(), q);
        for (std::int64_t x = 0; x < q * 8; ++x) {
          ASSERT_EQ(bitAt(dst, x), bitAt(src, shift + q * 8 - 1 - x))
              << kernel.name << " q " << q << " shift " << shift << " x " << x;
        }
        EXPECT_EQ(dst[std::size_t(q)], 0xA5) << kernel.name;
      }
    }
  }
}

}  // namespace
}  // namespace tenmark::bits
