#pragma once
// Mirroring of 1-bit rows: byte bit-reversal tables, with vector forms of the same where the
// processor has them.

#include <cstdint>
#include <vector>

namespace tenmark::bits {

// dst pixel x = src pixel width - 1 - x for the `width` pixels of a row; the bits after the
// last pixel in dst's last byte become 0. dst and src must not overlap.
void reverseRow(const std::uint8_t* src, std::int64_t width, std::uint8_t* dst);

// One way of mirroring the whole bytes of a row: dst[j] = the bits of byte q - 1 - j, read
// `shift` bits into the source (that is, src[k] << shift | src[k + 1] >> (8 - shift)), reversed.
// Reads src[q] only when shift is not 0.
using MirrorBytes = void (*)(const std::uint8_t* src, int shift, std::uint8_t* dst, std::int64_t q);

struct MirrorKernel {
  const char* name;
  MirrorBytes run;
};

// Every kernel this processor can run, the fastest first; the table form is always there.
std::vector<MirrorKernel> mirrorKernels();

}  // namespace tenmark::bits
