#pragma once
// The only raster type: one bit per pixel, rows top-down, the bit a palette index
// (0 paper, 1 ink), with a two-entry colour table that only says how to display the indices.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "imagefile/picture_fault.h"
#include "platform/atomic_write.h"
#include "surface/geometry.h"

namespace tenmark {

struct Rgb32Image;

// A colour as 0x00BBGGRR: red in the low byte.
using Color = std::uint32_t;

constexpr Color makeColor(unsigned red, unsigned green, unsigned blue) {
  return (red & 0xFFu) | ((green & 0xFFu) << 8) | ((blue & 0xFFu) << 16);
}

// How light a colour looks: the weighted sum of its channels (ITU-R BT.601), 0 to 255000.
constexpr int lightness(Color c) {
  return 299 * int(c & 0xFFu) + 587 * int((c >> 8) & 0xFFu) + 114 * int((c >> 16) & 0xFFu);
}

// The in-memory bitmap-info block: a 40-byte BITMAPINFOHEADER followed by two colour entries,
// laid out exactly as in a BMP file (little-endian hosts only, like every Windows target).
struct BitmapInfoHeader {
  std::uint32_t biSize;
  std::int32_t biWidth;
  std::int32_t biHeight;
  std::uint16_t biPlanes;
  std::uint16_t biBitCount;
  std::uint32_t biCompression;
  std::uint32_t biSizeImage;
  std::int32_t biXPelsPerMeter;
  std::int32_t biYPelsPerMeter;
  std::uint32_t biClrUsed;
  std::uint32_t biClrImportant;
};
struct RgbQuad {
  std::uint8_t blue;
  std::uint8_t green;
  std::uint8_t red;
  std::uint8_t reserved;
};
struct MonoBitmapInfo {
  BitmapInfoHeader header;
  RgbQuad colors[2];
};
static_assert(sizeof(BitmapInfoHeader) == 40);
static_assert(sizeof(MonoBitmapInfo) == 48);

class MonoBitmap {
 public:
  // Largest side we accept: far beyond any canvas a user draws, and small enough that
  // stride × height always fits in 32 bits.
  static constexpr std::int32_t kMaxSide = 65535;

  MonoBitmap();
  ~MonoBitmap();
  MonoBitmap(const MonoBitmap&) = delete;
  MonoBitmap& operator=(const MonoBitmap&) = delete;
  // Moving hands the pixels over whole; loaders decode into a temporary and move on success.
  MonoBitmap(MonoBitmap&& other) noexcept;
  MonoBitmap& operator=(MonoBitmap&& other) noexcept;

  void release();
  // What the pixel memory holds after create: index 0 everywhere, or undefined bytes for a
  // reader that writes every byte of every row itself.
  enum class InitialPixels { Zero, Unset };

  // Palette white/black, pixels as `start` says. False for a side that is zero, negative or
  // above kMaxSide, or when the memory is not there: the surface is then 0 × 0 without pixels
  // (header sizes 0 too), whatever it held before.
  bool create(std::int32_t width, std::int32_t height, InitialPixels start = InitialPixels::Zero);

  // None when read; `reduced`, when given, is set to whether the file had to be reduced to two
  // colours (every file but a 1-bit one). Saves are atomic (platform/atomic_write.h).
  PictureFault loadBmp(const std::string& path, bool* reduced = nullptr);
  bool saveBmp(const WriteTarget& target) const;
  PictureFault loadPng(const std::string& path, bool* reduced = nullptr);
  bool savePng(const WriteTarget& target) const;

  // Block copy of the `source` rectangle into another surface at `at`, clipped to both.
  void copyRectTo(const Rect& source, MonoBitmap& target, Point at) const;
  // The whole source shifted by (dx, dy) with paper wherever nothing of it lands: what fill(0)
  // and a shifted copyRectTo give, with each byte written once.
  void copyShiftedFrom(const MonoBitmap& source, int dx, int dy);
  // Block copy of the `source` rectangle into a 32-bit image at `at`, through the palette;
  // clipped to both.
  void blitTo(const Rect& source, Rgb32Image& target, Point at) const;
  // Scaled copy of `source` onto `destination` of a 32-bit image: enlarging repeats pixels;
  // shrinking ANDs the colours of the source pixels that fall on one target pixel, so a dark
  // ink survives any reduction.
  void stretchTo(const Rect& source, Rgb32Image& target, const Rect& destination) const;
  void fill(int index);
  void setColor(int index, Color color);
  Color getColor(int index) const;
  // Width 1: the one-pixel line without its end point. Wider: a band with round ends.
  void drawLine(int x1, int y1, int x2, int y2, int penWidth, int index);
  void drawDot(int x, int y, int penWidth, int index);
  void mirrorLeftRight();
  void mirrorTopBottom();
  // Every pixel takes the other index and the two colours change places: the picture looks as
  // before. Bits past the width stay as they are.
  void swapIndices();
  bool isBlank() const;
  // True when ink (index 1) lies outside the top-left width by height corner: a canvas of that
  // size would cut it off.
  bool hasInkOutside(std::int32_t width, std::int32_t height) const;
  void assign(const MonoBitmap& source);
  void copyAllFrom(const MonoBitmap& source);

  std::int32_t width() const { return width_; }
  std::int32_t height() const { return height_; }
  std::int32_t stride() const { return stride_; }
  bool hasPixels() const { return pixels_ != nullptr; }
  std::uint8_t* pixels() { return pixels_.get(); }
  const std::uint8_t* pixels() const { return pixels_.get(); }
  std::uint8_t* row(std::int32_t y) {
    return pixels_.get() + std::size_t(y) * std::size_t(stride_);
  }
  const std::uint8_t* row(std::int32_t y) const {
    return pixels_.get() + std::size_t(y) * std::size_t(stride_);
  }
  std::size_t byteCount() const {
    return hasPixels() ? std::size_t(stride_) * std::size_t(height_) : 0;
  }
  const MonoBitmapInfo& info() const { return info_; }

  // Single-pixel access for codecs and tests; out-of-range reads give 0, writes do nothing.
  int pixel(int x, int y) const;
  void setPixel(int x, int y, int index);

 private:
  bool contains(int x, int y) const {
    return hasPixels() && x >= 0 && y >= 0 && x < width_ && y < height_;
  }

  struct FreePixels {
    void operator()(std::uint8_t* p) const;
  };

  MonoBitmapInfo info_{};
  std::unique_ptr<std::uint8_t[], FreePixels> pixels_;
  std::int32_t height_ = 0;
  std::int32_t width_ = 0;
  std::int32_t stride_ = 0;
};

}  // namespace tenmark
