// The one-pixel line, walked along its major axis: step i (0 <= i < major length) lies at minor
// offset i * minorLength / majorLength rounded half up, which is what Bresenham's error term
// gives. The end point is step majorLength and is never drawn.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "surface/line_raster.h"

namespace tenmark {

namespace {

struct ThinLine {
  bool xMajor;
  std::int64_t major1, minor1;        // start
  std::int64_t majorStep, minorStep;  // +1 or -1; the minor one 0 for a straight line
  // Both lengths are below 2^32, so their product fits in 64 unsigned bits.
  std::uint64_t majorLength, minorLength;
  std::int64_t majorExtent, minorExtent;  // surface size along each axis

  std::int64_t minorAt(std::int64_t i) const {
    const std::uint64_t q = std::uint64_t(i) * minorLength;
    return minor1 + minorStep * std::int64_t(q / majorLength + roundsUp(q % majorLength));
  }
  std::uint64_t roundsUp(std::uint64_t remainder) const {
    return 2 * remainder >= majorLength ? 1 : 0;
  }
};

ThinLine makeThinLine(const MonoBitmap& b, std::int64_t dx, std::int64_t dy, int x1, int y1) {
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const std::int64_t dMajor = xMajor ? dx : dy;
  const std::int64_t dMinor = xMajor ? dy : dx;
  const std::int64_t width = b.width();
  const std::int64_t height = b.height();
  return ThinLine{xMajor,
                  xMajor ? x1 : y1,
                  xMajor ? y1 : x1,
                  dMajor > 0 ? 1 : -1,
                  dMinor > 0 ? 1 : (dMinor < 0 ? -1 : 0),
                  std::uint64_t(std::llabs(dMajor)),
                  std::uint64_t(std::llabs(dMinor)),
                  xMajor ? width : height,
                  xMajor ? height : width};
}

// First i in [lo, hi] for which the monotone predicate holds, hi + 1 when none.
template <typename Pred>
std::int64_t firstWhere(std::int64_t lo, std::int64_t hi, Pred pred) {
  std::int64_t end = hi + 1;
  while (lo < end) {
    const std::int64_t mid = lo + (end - lo) / 2;
    if (pred(mid)) {
      end = mid;
    } else {
      lo = mid + 1;
    }
  }
  return end;
}

// The steps [lo, hi] that fall inside the surface; false when none. The major coordinate is
// linear in i; the minor one is monotone, so its bounds are found by bisection.
bool clipSteps(const ThinLine& l, std::int64_t& lo, std::int64_t& hi) {
  const std::int64_t lastMajor = l.majorExtent - 1;
  lo = std::max<std::int64_t>(0, l.majorStep > 0 ? -l.major1 : l.major1 - lastMajor);
  hi = std::min<std::int64_t>(std::int64_t(l.majorLength) - 1,
                              l.majorStep > 0 ? lastMajor - l.major1 : l.major1);
  if (lo > hi) return false;
  const bool down = l.minorStep >= 0;
  const auto reached = [&](std::int64_t i) {
    return down ? l.minorAt(i) >= 0 : l.minorAt(i) < l.minorExtent;
  };
  const auto left = [&](std::int64_t i) {
    return down ? l.minorAt(i) >= l.minorExtent : l.minorAt(i) < 0;
  };
  lo = firstWhere(lo, hi, reached);
  hi = firstWhere(lo, hi, left) - 1;
  return lo <= hi;
}

void plot(MonoBitmap& b, std::int64_t x, std::int64_t y, bool ink) {
  std::uint8_t& byte = b.row(std::int32_t(y))[x >> 3];
  const auto mask = std::uint8_t(0x80u >> (x & 7));
  byte = ink ? std::uint8_t(byte | mask) : std::uint8_t(byte & ~mask);
}

// Steps lo..hi with Bresenham's running remainder instead of a division per pixel.
void walk(MonoBitmap& b, const ThinLine& l, std::int64_t lo, std::int64_t hi, bool ink) {
  const std::uint64_t start = std::uint64_t(lo) * l.minorLength;
  std::uint64_t whole = start / l.majorLength;
  std::uint64_t rem = start % l.majorLength;
  for (std::int64_t i = lo; i <= hi; ++i) {
    const std::int64_t minor = l.minor1 + l.minorStep * std::int64_t(whole + l.roundsUp(rem));
    const std::int64_t major = l.major1 + l.majorStep * i;
    plot(b, l.xMajor ? major : minor, l.xMajor ? minor : major, ink);
    rem += l.minorLength;
    if (rem >= l.majorLength) {
      rem -= l.majorLength;
      ++whole;
    }
  }
}

}  // namespace

void drawThinLine(MonoBitmap& b, int x1, int y1, int x2, int y2, bool ink) {
  const std::int64_t dx = std::int64_t(x2) - x1;
  const std::int64_t dy = std::int64_t(y2) - y1;
  if (dx == 0 && dy == 0) return;
  const ThinLine line = makeThinLine(b, dx, dy, x1, y1);
  std::int64_t lo;
  std::int64_t hi;
  if (clipSteps(line, lo, hi)) walk(b, line, lo, hi, ink);
}

}  // namespace tenmark
