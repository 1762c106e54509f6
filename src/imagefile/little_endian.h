#pragma once
// Little-endian field access for file headers, independent of the host's byte order.

#include <cstdint>

namespace tenmark {

inline std::uint16_t readLe16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }

inline std::uint32_t readLe32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
         (std::uint32_t(p[3]) << 24);
}

inline void writeLe16(std::uint8_t* p, std::uint16_t value) {
  p[0] = std::uint8_t(value);
  p[1] = std::uint8_t(value >> 8);
}

inline void writeLe32(std::uint8_t* p, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(value >> (8 * i));
}

}  // namespace tenmark
