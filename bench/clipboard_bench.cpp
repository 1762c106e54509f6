// Paste of a 6000 × 6000 32-bit DIB with alpha onto a 5999 × 5999 canvas: read, laid over the
// paper, reduced and copied into the canvas, against memcpy of the DIB's bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "imagefile/dib_reader.h"
#include "imagefile/little_endian.h"
#include "surface/mono_bitmap.h"

namespace tenmark {
namespace {

constexpr int kDibSide = 6000;
constexpr int kCanvasSide = 5999;

// A 40-byte header and bottom-up rows of random colours and random alpha, so that every pixel
// is blended.
const std::vector<std::uint8_t>& dib() {
  static const std::vector<std::uint8_t> bytes = [] {
    std::vector<std::uint8_t> b(40 + std::size_t(kDibSide) * kDibSide * 4);
    writeLe32(&b[0], 40);
    writeLe32(&b[4], kDibSide);
    writeLe32(&b[8], kDibSide);
    writeLe16(&b[12], 1);
    writeLe16(&b[14], 32);
    std::mt19937 rng(3);
    for (std::size_t i = 40; i < b.size(); i += 4) writeLe32(&b[i], std::uint32_t(rng()));
    return b;
  }();
  return bytes;
}

void setBytes(benchmark::State& state) {
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(dib().size()));
}

void BM_MemcpyDibBytes(benchmark::State& state) {
  std::vector<std::uint8_t> copy(dib().size());
  for (auto _ : state) {
    std::memcpy(copy.data(), dib().data(), copy.size());
    benchmark::ClobberMemory();
  }
  setBytes(state);
}
BENCHMARK(BM_MemcpyDibBytes)->Unit(benchmark::kMillisecond);

void BM_PasteDibWithAlpha(benchmark::State& state) {
  MonoBitmap canvas;
  canvas.create(kCanvasSide, kCanvasSide);
  canvas.setColor(0, 0xEAF1F4);
  for (auto _ : state) {
    MonoBitmap picture;
    if (readDib(dib(), canvas, picture) != DibReading::Read) state.SkipWithError("refused");
    picture.copyRectTo(Rect{0, 0, picture.width(), picture.height()}, canvas, Point{0, 0});
    benchmark::ClobberMemory();
  }
  setBytes(state);
}
BENCHMARK(BM_PasteDibWithAlpha)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tenmark
