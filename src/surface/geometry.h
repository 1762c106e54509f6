#pragma once
// Points and rectangles in client or canvas pixels.

#include <algorithm>
#include <cstdint>

namespace tenmark {

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int right() const { return x + width; }
  int bottom() const { return y + height; }
  bool empty() const { return width <= 0 || height <= 0; }
  bool operator==(const Rect&) const = default;
};

// a / b rounded down, for b > 0: steps are as wide below 0 as above it.
inline std::int64_t floorDiv(std::int64_t a, std::int64_t b) { return a / b - (a % b < 0 ? 1 : 0); }

// The part of `a` inside `b`; empty when they do not meet.
inline Rect intersect(const Rect& a, const Rect& b) {
  const int left = std::max(a.x, b.x);
  const int top = std::max(a.y, b.y);
  const int right = std::min(a.right(), b.right());
  const int bottom = std::min(a.bottom(), b.bottom());
  if (right <= left || bottom <= top) return Rect{};
  return Rect{left, top, right - left, bottom - top};
}

// The bounding box of both; an empty rectangle adds nothing.
inline Rect unite(const Rect& a, const Rect& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  const int left = std::min(a.x, b.x);
  const int top = std::min(a.y, b.y);
  return Rect{left, top, std::max(a.right(), b.right()) - left,
              std::max(a.bottom(), b.bottom()) - top};
}

}  // namespace tenmark
