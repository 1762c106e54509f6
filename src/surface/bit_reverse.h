#pragma once
// Mirroring of 1-bit rows: byte bit-reversal tables, with vector forms of the same for
// each instruction set (surface/instruction_set.h).

#include <cstdint>

namespace tenmark::bits {

// dst pixel x = src pixel width - 1 - x for the `width` pixels of a row; the bits after the
// last pixel in dst's last byte become 0. dst and src must not overlap.
void reverseRow(const std::uint8_t* src, std::int64_t width, std::uint8_t* dst);

// The same in place; `scratch` holds the row's bytes for the forms that go through it.
void mirrorRow(std::uint8_t* row, std::int64_t width, std::uint8_t* scratch);

}  // namespace tenmark::bits
