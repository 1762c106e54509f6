#include "surface/mono_bitmap.h"

#include <cstring>
#include <new>
#include <utility>

namespace tenmark {

namespace {

RgbQuad toQuad(Color c) {
  return RgbQuad{std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c), 0};
}

}  // namespace

MonoBitmap::MonoBitmap() = default;

MonoBitmap::~MonoBitmap() { release(); }

MonoBitmap::MonoBitmap(MonoBitmap&& other) noexcept { *this = std::move(other); }

MonoBitmap& MonoBitmap::operator=(MonoBitmap&& other) noexcept {
  if (this != &other) {
    info_ = other.info_;
    pixels_ = std::move(other.pixels_);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    stride_ = std::exchange(other.stride_, 0);
    other.info_ = MonoBitmapInfo{};
  }
  return *this;
}

void MonoBitmap::FreePixels::operator()(std::uint8_t* p) const { ::operator delete(p); }

void MonoBitmap::release() {
  pixels_.reset();
  width_ = 0;
  height_ = 0;
  stride_ = 0;
}

bool MonoBitmap::create(std::int32_t width, std::int32_t height, InitialPixels start) {
  release();
  info_ = MonoBitmapInfo{};
  info_.header.biSize = 40;
  info_.header.biPlanes = 1;
  info_.header.biBitCount = 1;
  info_.colors[0] = toQuad(makeColor(255, 255, 255));
  info_.colors[1] = toQuad(makeColor(0, 0, 0));
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return false;

  // Both sides are at most kMaxSide, so stride × height fits in 32 bits.
  const std::int32_t stride = (width + 31) / 32 * 4;
  const std::size_t bytes = std::size_t(stride) * std::size_t(height);
  // Through operator new, like every other allocation, so that one hook sees them all.
  void* memory = ::operator new(bytes, std::nothrow);
  if (!memory) return false;
  if (start == InitialPixels::Zero) std::memset(memory, 0, bytes);
  pixels_.reset(static_cast<std::uint8_t*>(memory));
  width_ = width;
  height_ = height;
  stride_ = stride;
  info_.header.biWidth = width;
  info_.header.biHeight = -height;
  info_.header.biSizeImage = std::uint32_t(bytes);
  return true;
}

void MonoBitmap::setColor(int index, Color color) {
  info_.colors[index > 0 ? 1 : 0] = toQuad(color);
}

Color MonoBitmap::getColor(int index) const {
  const RgbQuad& q = info_.colors[index != 0 ? 1 : 0];
  return makeColor(q.red, q.green, q.blue);
}

int MonoBitmap::pixel(int x, int y) const {
  if (!contains(x, y)) return 0;
  return (row(std::int32_t(y))[x >> 3] >> (7 - (x & 7))) & 1;
}

void MonoBitmap::setPixel(int x, int y, int index) {
  if (!contains(x, y)) return;
  std::uint8_t& byte = row(std::int32_t(y))[x >> 3];
  const auto mask = std::uint8_t(0x80u >> (x & 7));
  byte = index ? std::uint8_t(byte | mask) : std::uint8_t(byte & ~mask);
}

}  // namespace tenmark
