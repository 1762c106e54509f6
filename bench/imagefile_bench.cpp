// Picture files on a 5999 × 5999 line drawing: our savePng/loadPng against a minimal direct
// libpng program with the same settings, our saveBmp/loadBmp against one fwrite/fread of the
// same bytes, and the cost of flushing a save to the disk: savePng against the same save
// without the flush plus one fsync of the same bytes. All files go to one temporary folder.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "imagefile/bmp_codec.h"
#include "imagefile/picture_fault.h"
#include "imagefile/png_codec.h"
#include "surface/mono_bitmap.h"

namespace {

using tenmark::MonoBitmap;
using tenmark::PictureFault;
using tenmark::WriteTarget;

constexpr int kSide = 5999;

void fillDisc(MonoBitmap& b, int cx, int cy, int radius) {
  for (int dy = -radius; dy <= radius; ++dy)
    for (int dx = -radius; dx <= radius; ++dx)
      if (dx * dx + dy * dy <= radius * radius) b.setPixel(cx + dx, cy + dy, 1);
}

// A few hundred random strokes of round pens 2 to 12 pixels wide.
MonoBitmap lineDrawing() {
  MonoBitmap b;
  b.create(kSide, kSide);
  b.setColor(0, tenmark::makeColor(244, 241, 234));
  std::mt19937 rng(2024);
  std::uniform_int_distribution<int> coord(0, kSide - 1), radius(1, 6);
  for (int stroke = 0; stroke < 300; ++stroke) {
    const int x0 = coord(rng), y0 = coord(rng), x1 = coord(rng), y1 = coord(rng);
    const int r = radius(rng);
    const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0)) / r + 1;
    for (int i = 0; i <= steps; ++i)
      fillDisc(b, x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps, r);
  }
  return b;
}

struct Fixture {
  MonoBitmap picture = lineDrawing();
  std::string dir = "/tmp/tenmark-bench-" + std::to_string(getpid());
  std::vector<std::uint8_t> bmpBytes = tenmark::encodeBmp(picture);

  Fixture() {
    std::filesystem::create_directories(dir);
    if (!picture.savePng(path("reference.png")) || !picture.saveBmp(path("reference.bmp")))
      std::abort();
  }
  ~Fixture() { std::filesystem::remove_all(dir); }
  std::string path(const char* name) const { return dir + "/" + name; }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

// The minimal direct libpng writer: same chunks, filters and default compression.
bool writeDirect(const MonoBitmap& b, const std::string& path, const std::vector<png_bytep>& rows) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return false;
  }
  png_init_io(png, f);
  png_set_filter(png, 0, PNG_ALL_FILTERS);
  png_set_IHDR(png, info, png_uint_32(b.width()), b.height(), 1, PNG_COLOR_TYPE_PALETTE,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_color palette[2] = {{244, 241, 234}, {0, 0, 0}};
  png_set_PLTE(png, info, palette, 2);
  png_write_info(png, info);
  png_write_image(png, const_cast<png_bytepp>(rows.data()));
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0;
}

// The minimal direct libpng reader: the picture's memory and one pointer per row, owned by the
// caller so that this frame, which libpng may leave by longjmp, holds no destructors.
bool readDirect(const std::string& path, std::unique_ptr<png_byte[]>& pixels,
                std::unique_ptr<png_bytep[]>& rows) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  png_byte signature[8];
  if (std::fread(signature, 1, 8, f) != 8 || png_sig_cmp(signature, 0, 8) != 0) {
    std::fclose(f);
    return false;
  }
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(f);
    return false;
  }
  png_init_io(png, f);
  png_set_sig_bytes(png, 8);
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info),
                    height = png_get_image_height(png, info);
  const std::size_t stride = (std::size_t(width) + 31) / 32 * 4;
  pixels.reset(new png_byte[stride * height]);
  rows.reset(new png_bytep[height]);
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = pixels.get() + y * stride;
  png_read_image(png, rows.get());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(f);
  return true;
}

// Our own writer: the fixture's picture into one file, again and again.
void saveOurs(benchmark::State& state, bool (MonoBitmap::*save)(const WriteTarget&) const,
              const char* name) {
  const Fixture& f = fixture();
  for (auto _ : state)
    if (!(f.picture.*save)(f.path(name))) state.SkipWithError("our save failed");
}

// Our own reader: the reference file into a fresh surface each time.
void loadOurs(benchmark::State& state, PictureFault (MonoBitmap::*load)(const std::string&, bool*),
              const char* reference) {
  const Fixture& f = fixture();
  for (auto _ : state) {
    MonoBitmap b;
    if ((b.*load)(f.path(reference), nullptr) != PictureFault::None)
      state.SkipWithError("our load failed");
    benchmark::DoNotOptimize(b.pixels());
  }
}

void BM_SavePng(benchmark::State& state) { saveOurs(state, &MonoBitmap::savePng, "ours.png"); }

void BM_DirectLibpngWrite(benchmark::State& state) {
  const Fixture& f = fixture();
  std::vector<png_bytep> rows;
  for (std::int32_t y = 0; y < f.picture.height(); ++y)
    rows.push_back(const_cast<png_bytep>(f.picture.row(y)));
  for (auto _ : state)
    if (!writeDirect(f.picture, f.path("direct.png"), rows)) state.SkipWithError("write failed");
}

// What savePng did before its data was flushed: encode, write a temporary, rename.
void BM_SavePngWithoutFlush(benchmark::State& state) {
  const Fixture& f = fixture();
  const std::string temporary = f.path("unflushed.png.tmp"), target = f.path("unflushed.png");
  for (auto _ : state) {
    std::vector<std::uint8_t> bytes;
    FILE* out = std::fopen(temporary.c_str(), "wb");
    const bool saved = tenmark::encodePng(f.picture, bytes) && out &&
                       std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (out) std::fclose(out);
    if (!saved || std::rename(temporary.c_str(), target.c_str()) != 0)
      state.SkipWithError("save failed");
  }
}

// One fsync of the PNG's bytes freshly written to a file; only the fsync is timed.
void BM_FsyncSameBytes(benchmark::State& state) {
  const Fixture& f = fixture();
  std::vector<std::uint8_t> bytes;
  if (!tenmark::encodePng(f.picture, bytes)) state.SkipWithError("encode failed");
  for (auto _ : state) {
    state.PauseTiming();
    const int fd = ::open(f.path("fsync.png").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool written =
        fd >= 0 && ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size());
    state.ResumeTiming();
    if (!written || ::fsync(fd) != 0) state.SkipWithError("fsync failed");
    state.PauseTiming();
    if (fd >= 0) ::close(fd);
    state.ResumeTiming();
  }
}

void BM_LoadPng(benchmark::State& state) { loadOurs(state, &MonoBitmap::loadPng, "reference.png"); }

void BM_DirectLibpngRead(benchmark::State& state) {
  const Fixture& f = fixture();
  for (auto _ : state) {
    std::unique_ptr<png_byte[]> pixels;
    std::unique_ptr<png_bytep[]> rows;
    if (!readDirect(f.path("reference.png"), pixels, rows)) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(pixels.get());
  }
}

void BM_SaveBmp(benchmark::State& state) { saveOurs(state, &MonoBitmap::saveBmp, "ours.bmp"); }

void BM_FwriteSameBytes(benchmark::State& state) {
  const Fixture& f = fixture();
  for (auto _ : state) {
    FILE* out = std::fopen(f.path("direct.bmp").c_str(), "wb");
    std::fwrite(f.bmpBytes.data(), 1, f.bmpBytes.size(), out);
    std::fclose(out);
  }
}

void BM_LoadBmp(benchmark::State& state) { loadOurs(state, &MonoBitmap::loadBmp, "reference.bmp"); }

void BM_FreadSameBytes(benchmark::State& state) {
  const Fixture& f = fixture();
  for (auto _ : state) {
    FILE* in = std::fopen(f.path("reference.bmp").c_str(), "rb");
    std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[f.bmpBytes.size()]);
    if (std::fread(bytes.get(), 1, f.bmpBytes.size(), in) != f.bmpBytes.size())
      state.SkipWithError("fread failed");
    benchmark::DoNotOptimize(bytes.get());
    std::fclose(in);
  }
}

// Whole files, disk included: wall-clock milliseconds.
#define FILE_BENCHMARK(name) BENCHMARK(name)->Unit(benchmark::kMillisecond)->UseRealTime()
FILE_BENCHMARK(BM_SavePng);
FILE_BENCHMARK(BM_SavePngWithoutFlush);
FILE_BENCHMARK(BM_FsyncSameBytes);
FILE_BENCHMARK(BM_DirectLibpngWrite);
FILE_BENCHMARK(BM_LoadPng);
FILE_BENCHMARK(BM_DirectLibpngRead);
FILE_BENCHMARK(BM_SaveBmp);
FILE_BENCHMARK(BM_FwriteSameBytes);
FILE_BENCHMARK(BM_LoadBmp);
FILE_BENCHMARK(BM_FreadSameBytes);

}  // namespace
