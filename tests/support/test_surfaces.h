#pragma once
// Surfaces made for tests, and what a surface holds, for comparing before and after.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "surface/mono_bitmap.h"

namespace tenmark {

// Every byte of the pixel memory, row padding included.
inline std::vector<std::uint8_t> bytesOf(const MonoBitmap& b) {
  return {b.pixels(), b.pixels() + b.byteCount()};
}

// The colour index of every pixel, row by row from the top.
inline std::vector<int> indicesOf(const MonoBitmap& b) {
  std::vector<int> out;
  for (std::int32_t y = 0; y < b.height(); ++y)
    for (int x = 0; x < b.width(); ++x) out.push_back(b.pixel(x, int(y)));
  return out;
}

// A blank surface in the given colours.
inline MonoBitmap canvasOf(int width, int height, Color paper = 0xFFFFFF, Color ink = 0) {
  MonoBitmap b;
  EXPECT_TRUE(b.create(width, height));
  b.setColor(0, paper);
  b.setColor(1, ink);
  return b;
}

// A surface with content of its own, to show that a refused file changes nothing.
inline MonoBitmap markedSurface() {
  MonoBitmap b = canvasOf(3, 2, makeColor(9, 8, 7));
  b.setPixel(1, 0, 1);
  return b;
}

// Random indices, set pixel by pixel; the colours stay as created.
inline MonoBitmap randomSurface(int width, int height, std::mt19937& rng) {
  MonoBitmap b = canvasOf(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.setPixel(x, y, int(rng() & 1));
  return b;
}

// Random indices and two random colours.
inline MonoBitmap randomPicture(int width, int height, std::mt19937& rng) {
  MonoBitmap b = randomSurface(width, height, rng);
  for (int i : {0, 1}) b.setColor(i, makeColor(rng() & 255, rng() & 255, rng() & 255));
  return b;
}

// A copy of everything: size, colours and every byte of pixel memory, row padding included.
inline MonoBitmap copyOf(const MonoBitmap& b) {
  MonoBitmap c;
  c.assign(b);
  if (c.hasPixels()) std::memcpy(c.pixels(), b.pixels(), b.byteCount());
  return c;
}

// Same size, colours and indices: all that a picture file carries. Row padding is not compared.
inline testing::AssertionResult samePicture(const MonoBitmap& got, const MonoBitmap& want) {
  if (got.width() != want.width() || got.height() != want.height())
    return testing::AssertionFailure() << "size " << got.width() << "x" << got.height()
                                       << " instead of " << want.width() << "x" << want.height();
  for (int i : {0, 1})
    if (got.getColor(i) != want.getColor(i))
      return testing::AssertionFailure() << "colour " << i << " is " << std::hex << got.getColor(i)
                                         << " instead of " << want.getColor(i);
  if (indicesOf(got) != indicesOf(want)) return testing::AssertionFailure() << "indices differ";
  return testing::AssertionSuccess();
}

// Hands `read` a marked surface; passes when it refuses and leaves that surface as it was.
template <typename Read>
testing::AssertionResult refusedWithoutChange(Read read) {
  const MonoBitmap before = markedSurface();
  MonoBitmap b = markedSurface();
  const bool accepted = read(b);
  // Size, colours, indices and every byte of padding: all that a refusal must leave alone.
  const bool changed = !samePicture(b, before) || bytesOf(b) != bytesOf(before);
  if (!accepted && !changed) return testing::AssertionSuccess();
  return testing::AssertionFailure() << (accepted ? "accepted" : "refused") << " and "
                                     << (changed ? "changed" : "kept") << " the surface";
}

}  // namespace tenmark
