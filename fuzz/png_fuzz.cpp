// PNG reader on arbitrary bytes: it must never crash, a refused file must leave the target
// untouched, and an accepted picture must survive our own writer and reader unchanged.
#include <cstdint>
#include <span>

#include "fuzz_support.h"
#include "imagefile/png_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tenmark::fuzz::checkReader({data, size}, tenmark::decodePng, tenmark::encodePng,
                             tenmark::fuzz::samePicture);
  return 0;
}
