#include "imagefile/bmp_rle.h"

#include <cstring>

namespace tenmark {

namespace {

// Pen position in file coordinates: rows count up from the bottom. Every write is clipped,
// so no code in the data can reach outside the surface. The pen only ever moves up, so each
// row is filled with the background once, when the pen first reaches it or at the end.
class RleCanvas {
 public:
  RleCanvas(const InkTable& ink, MonoBitmap& out)
      : ink_(ink), out_(out), background_(ink[0] ? 0xFF : 0) {}

  void put(unsigned index) {
    if (x_ < std::uint64_t(out_.width()) && row_ < std::uint64_t(out_.height())) {
      fillRowsBelow(row_ + 1);
      out_.setPixel(int(x_), int(out_.height() - 1 - row_), ink_[index]);
    }
    ++x_;
  }
  void endLine() {
    x_ = 0;
    ++row_;
  }
  void move(unsigned dx, unsigned dy) {
    x_ += dx;
    row_ += dy;
  }
  // Rows the data never reached take the background.
  void finish() { fillRowsBelow(out_.height()); }

 private:
  void fillRowsBelow(std::uint64_t rows) {
    for (; filled_ < rows; ++filled_)
      std::memset(out_.row(std::int32_t(out_.height() - 1 - filled_)), background_,
                  std::size_t(out_.stride()));
  }

  const InkTable& ink_;
  MonoBitmap& out_;
  const int background_;
  std::uint64_t x_ = 0;
  std::uint64_t row_ = 0;
  std::uint64_t filled_ = 0;
};

// A run repeats one byte: RLE8 its value, RLE4 its two nibbles in turn.
void putRun(RleCanvas& canvas, unsigned count, std::uint8_t value, int bitCount) {
  for (unsigned i = 0; i < count; ++i)
    canvas.put(bitCount == 8 ? value : (i & 1) ? value & 0x0Fu : value >> 4);
}

// Literal pixels, padded in the data to a whole number of 16-bit words.
bool putLiteral(RleCanvas& canvas, std::span<const std::uint8_t> data, std::size_t& pos,
                unsigned count, int bitCount) {
  const std::size_t bytes = bitCount == 8 ? count : (count + 1) / 2;
  const std::size_t padded = (bytes + 1) & ~std::size_t(1);
  if (padded > data.size() - pos) return false;
  for (unsigned i = 0; i < count; ++i) {
    const std::uint8_t b = data[pos + (bitCount == 8 ? i : i / 2)];
    canvas.put(bitCount == 8 ? b : (i & 1) ? b & 0x0Fu : b >> 4);
  }
  pos += padded;
  return true;
}

}  // namespace

bool decodeRle(std::span<const std::uint8_t> data, int bitCount, const InkTable& ink,
               MonoBitmap& out) {
  RleCanvas canvas(ink, out);
  std::size_t pos = 0;
  while (data.size() - pos >= 2) {
    const unsigned first = data[pos], second = data[pos + 1];
    pos += 2;
    if (first > 0) {
      putRun(canvas, first, std::uint8_t(second), bitCount);
    } else if (second == 0) {
      canvas.endLine();
    } else if (second == 1) {
      canvas.finish();
      return true;
    } else if (second == 2) {
      if (data.size() - pos < 2) return false;
      canvas.move(data[pos], data[pos + 1]);
      pos += 2;
    } else if (!putLiteral(canvas, data, pos, second, bitCount)) {
      return false;
    }
  }
  return false;
}

}  // namespace tenmark
