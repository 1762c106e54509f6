// The undo records' byte runs on arbitrary bytes: decoding a damaged record never reads or writes
// outside its two buffers, and whatever the encoder makes of the bytes decodes back to them.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "canvas/byte_runs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // The first two bytes give the size of the bytes the record says it holds.
  const std::size_t decodedSize = std::size_t(data[0]) | std::size_t(data[1]) << 8;
  const std::span<const std::uint8_t> record(data + 2, size - 2);
  // Buffers of exactly their size, so that the address sanitizer sees a step outside.
  std::vector<std::uint8_t> in(record.begin(), record.end());
  std::vector<std::uint8_t> out(decodedSize);
  tenmark::decodeByteRuns(in, out);

  std::vector<std::uint8_t> encoded(record.size());
  const std::size_t used = tenmark::encodeByteRuns(record, encoded);
  if (used != 0) {
    std::vector<std::uint8_t> back(record.size());
    if (used >= record.size() || !tenmark::decodeByteRuns(std::span(encoded).first(used), back) ||
        std::memcmp(back.data(), record.data(), record.size()) != 0)
      std::abort();
  }
  tenmark::PackedBytes packed;
  std::vector<std::uint8_t> unpacked(record.size());
  if (packed.pack(record, 1 + decodedSize % 64) && (!packed.unpack(unpacked) || unpacked != in))
    std::abort();
  return 0;
}
