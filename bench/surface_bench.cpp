// Whole-canvas surface operations against memcpy of the same bytes, and the cost of one wide
// stroke segment on a small and a large canvas.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "surface/mono_bitmap.h"
#include "surface/rgb32_image.h"

namespace tenmark {
namespace {

constexpr int kSide = 5999;

MonoBitmap picture(int side) {
  MonoBitmap b;
  b.create(side, side);
  std::mt19937 rng(1);
  for (std::size_t i = 0; i < b.byteCount(); ++i) b.pixels()[i] = std::uint8_t(rng());
  return b;
}

void setBytes(benchmark::State& state, const MonoBitmap& b) {
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(b.byteCount()));
}

void BM_Memcpy(benchmark::State& state) {
  const MonoBitmap src = picture(kSide);
  std::vector<std::uint8_t> dst(src.byteCount());
  for (auto _ : state) {
    std::memcpy(dst.data(), src.pixels(), dst.size());
    benchmark::DoNotOptimize(dst.data());
    benchmark::ClobberMemory();
  }
  setBytes(state, src);
}
BENCHMARK(BM_Memcpy);

void BM_Assign(benchmark::State& state) {
  const MonoBitmap src = picture(kSide);
  MonoBitmap dst;
  dst.create(kSide, kSide);
  for (auto _ : state) {
    dst.assign(src);
    benchmark::ClobberMemory();
  }
  setBytes(state, src);
}
BENCHMARK(BM_Assign);

void BM_CopyAllFrom(benchmark::State& state) {
  const MonoBitmap src = picture(kSide);
  MonoBitmap dst;
  dst.create(kSide, kSide);
  for (auto _ : state) {
    dst.copyAllFrom(src);
    benchmark::ClobberMemory();
  }
  setBytes(state, src);
}
BENCHMARK(BM_CopyAllFrom);

// The Move tool's copy: the whole canvas shifted by an odd number of pixels.
void BM_CopyRectToOddOffset(benchmark::State& state) {
  const MonoBitmap src = picture(kSide);
  MonoBitmap dst;
  dst.create(kSide, kSide);
  for (auto _ : state) {
    src.copyRectTo(0, 0, kSide, kSide, dst, 3, 0);
    benchmark::ClobberMemory();
  }
  setBytes(state, src);
}
BENCHMARK(BM_CopyRectToOddOffset);

void BM_MirrorLeftRight(benchmark::State& state) {
  MonoBitmap b = picture(kSide);
  for (auto _ : state) {
    b.mirrorLeftRight();
    benchmark::ClobberMemory();
  }
  setBytes(state, b);
}
BENCHMARK(BM_MirrorLeftRight);

void BM_MirrorTopBottom(benchmark::State& state) {
  MonoBitmap b = picture(kSide);
  for (auto _ : state) {
    b.mirrorTopBottom();
    benchmark::ClobberMemory();
  }
  setBytes(state, b);
}
BENCHMARK(BM_MirrorTopBottom);

void BM_IsBlankOfBlankCanvas(benchmark::State& state) {
  MonoBitmap b;
  b.create(kSide, kSide);
  for (auto _ : state) benchmark::DoNotOptimize(b.isBlank());
  setBytes(state, b);
}
BENCHMARK(BM_IsBlankOfBlankCanvas);

void BM_Fill(benchmark::State& state) {
  MonoBitmap b;
  b.create(kSide, kSide);
  int index = 0;
  for (auto _ : state) {
    b.fill(index ^= 1);
    benchmark::ClobberMemory();
  }
  setBytes(state, b);
}
BENCHMARK(BM_Fill);

// One stroke segment: 30 pixels wide, 100 long, in the middle of the canvas; the side is the
// argument, so 640 and 5999 must cost the same.
void BM_WideLineSegment(benchmark::State& state) {
  const int side = int(state.range(0));
  MonoBitmap b;
  b.create(side, side);
  const int c = side / 2;
  int index = 0;
  for (auto _ : state) {
    b.drawLine(c - 30, c - 40, c + 30, c + 40, 30, index ^= 1);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_WideLineSegment)->Arg(640)->Arg(kSide);

void BM_ThinLineSegment(benchmark::State& state) {
  const int side = int(state.range(0));
  MonoBitmap b;
  b.create(side, side);
  const int c = side / 2;
  int index = 0;
  for (auto _ : state) {
    b.drawLine(c - 30, c - 40, c + 30, c + 40, 1, index ^= 1);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ThinLineSegment)->Arg(640)->Arg(kSide);

// What a stroke segment puts on screen: its 90-pixel rectangle, reduced to half size.
void BM_StretchStrokeRectangle(benchmark::State& state) {
  const int side = int(state.range(0));
  const MonoBitmap b = picture(side);
  Rgb32Image screen;
  screen.resize(1920, 1080);
  const int c = side / 2;
  for (auto _ : state) {
    b.stretchTo(c - 45, c - 45, 90, 90, screen, 300, 300, 45, 45);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_StretchStrokeRectangle)->Arg(640)->Arg(kSide);

}  // namespace
}  // namespace tenmark
