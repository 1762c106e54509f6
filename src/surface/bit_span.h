#pragma once
// Bit-span primitives on 1-bit rows (pixel x is bit 7 - x % 8 of byte x / 8). They read only
// bytes that hold pixels of the span they are given and write only the span's bits, so the
// callers' clipping alone keeps every access inside the surface.

#include <cstdint>

namespace tenmark::bits {

// Copies `count` pixels from src starting at pixel srcX to dst starting at pixel dstX.
// The two spans must not share bytes.
void copyBits(const std::uint8_t* src, std::int64_t srcX, std::uint8_t* dst, std::int64_t dstX,
              std::int64_t count);

// Sets `count` pixels from pixel `first` on to ink (1) or paper (0).
void fillBits(std::uint8_t* row, std::int64_t first, std::int64_t count, bool ink);

// True when any of the pixels 0 .. count - 1 is set; stops at the first one found.
bool anyBits(const std::uint8_t* row, std::int64_t count);

// True when any of the pixels first .. first + count - 1 is set.
bool anyBitsIn(const std::uint8_t* row, std::int64_t first, std::int64_t count);

}  // namespace tenmark::bits
