// Whole-canvas surface operations against memcpy of the same bytes, and the cost of one wide
// stroke segment on a small and a large canvas.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "surface/mono_bitmap.h"
#include "surface/picture_reduction.h"
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

MonoBitmap blank(int side) {
  MonoBitmap b;
  b.create(side, side);
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

// Copies the whole random canvas into a blank one of the same size.
template <typename Copy>
void copyCanvas(benchmark::State& state, Copy copy) {
  const MonoBitmap src = picture(kSide);
  MonoBitmap dst = blank(kSide);
  for (auto _ : state) {
    copy(src, dst);
    benchmark::ClobberMemory();
  }
  setBytes(state, src);
}

// Changes the whole canvas in place.
template <typename Change>
void changeCanvas(benchmark::State& state, MonoBitmap b, Change change) {
  for (auto _ : state) {
    change(b);
    benchmark::ClobberMemory();
  }
  setBytes(state, b);
}

void BM_Assign(benchmark::State& state) {
  copyCanvas(state, [](const MonoBitmap& src, MonoBitmap& dst) { dst.assign(src); });
}
BENCHMARK(BM_Assign);

void BM_CopyAllFrom(benchmark::State& state) {
  copyCanvas(state, [](const MonoBitmap& src, MonoBitmap& dst) { dst.copyAllFrom(src); });
}
BENCHMARK(BM_CopyAllFrom);

// The Move tool's copy: the whole canvas shifted by an odd number of pixels.
void BM_CopyRectToOddOffset(benchmark::State& state) {
  copyCanvas(state, [](const MonoBitmap& src, MonoBitmap& dst) {
    src.copyRectTo(Rect{0, 0, kSide, kSide}, dst, Point{3, 0});
  });
}
BENCHMARK(BM_CopyRectToOddOffset);

void BM_MirrorLeftRight(benchmark::State& state) {
  changeCanvas(state, picture(kSide), [](MonoBitmap& b) { b.mirrorLeftRight(); });
}
BENCHMARK(BM_MirrorLeftRight);

void BM_MirrorTopBottom(benchmark::State& state) {
  changeCanvas(state, picture(kSide), [](MonoBitmap& b) { b.mirrorTopBottom(); });
}
BENCHMARK(BM_MirrorTopBottom);

void BM_IsBlankOfBlankCanvas(benchmark::State& state) {
  const MonoBitmap b = blank(kSide);
  for (auto _ : state) benchmark::DoNotOptimize(b.isBlank());
  setBytes(state, b);
}
BENCHMARK(BM_IsBlankOfBlankCanvas);

void BM_Fill(benchmark::State& state) {
  int index = 0;
  changeCanvas(state, blank(kSide), [&index](MonoBitmap& b) { b.fill(index ^= 1); });
}
BENCHMARK(BM_Fill);

// One stroke segment, 100 long, in the middle of a canvas whose side is the argument, drawn in
// alternate colours.
void drawSegments(benchmark::State& state, int penWidth) {
  const int side = int(state.range(0));
  MonoBitmap b = blank(side);
  const int c = side / 2;
  int index = 0;
  for (auto _ : state) {
    b.drawLine(c - 30, c - 40, c + 30, c + 40, penWidth, index ^= 1);
    benchmark::ClobberMemory();
  }
}

// A 30-pixel-wide segment; 640 and 5999 must cost the same.
void BM_WideLineSegment(benchmark::State& state) { drawSegments(state, 30); }
BENCHMARK(BM_WideLineSegment)->Arg(640)->Arg(kSide);

void BM_ThinLineSegment(benchmark::State& state) { drawSegments(state, 1); }
BENCHMARK(BM_ThinLineSegment)->Arg(640)->Arg(kSide);

// What a stroke segment puts on screen: its 90-pixel rectangle, reduced to half size.
void BM_StretchStrokeRectangle(benchmark::State& state) {
  const int side = int(state.range(0));
  const MonoBitmap b = picture(side);
  Rgb32Image screen;
  screen.resize(1920, 1080);
  const int c = side / 2;
  for (auto _ : state) {
    b.stretchTo(Rect{c - 45, c - 45, 90, 90}, screen, Rect{300, 300, 45, 45});
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_StretchStrokeRectangle)->Arg(640)->Arg(kSide);

// Paste: a 32-bit picture of the canvas's size reduced to indices, against reading its bytes.
Rgb32Image colourPicture() {
  Rgb32Image p;
  p.reshape(kSide, kSide);
  std::mt19937 rng(2);
  for (std::uint32_t& c : p.pixels) c = rng() & 0xFFFFFFu;
  return p;
}

void BM_MemcpyPictureBytes(benchmark::State& state) {
  const Rgb32Image p = colourPicture();
  std::vector<std::uint32_t> copy(p.pixels.size());
  for (auto _ : state) {
    std::memcpy(copy.data(), p.pixels.data(), copy.size() * 4);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MemcpyPictureBytes)->Unit(benchmark::kMillisecond);

void BM_ReduceOntoCanvas(benchmark::State& state) {
  const Rgb32Image p = colourPicture();
  MonoBitmap canvas = blank(kSide);
  canvas.setColor(0, 0xEAF1F4);
  for (auto _ : state) {
    reduceOntoCanvas(p, canvas);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ReduceOntoCanvas)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tenmark
