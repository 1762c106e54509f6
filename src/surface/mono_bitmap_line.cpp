// Lines and dots of MonoBitmap, drawn by palette index. Width 1 is the Bresenham line without its
// end point; wider pens paint every pixel whose centre lies within half the width of the segment
// (a band with round ends), row by row as spans. Both first cut the segment down to the surface,
// so the work depends on the visible part only, whatever the coordinates.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "surface/bit_span.h"
#include "surface/mono_bitmap.h"

namespace tenmark {

namespace {

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

void plot(MonoBitmap& b, std::int64_t x, std::int64_t y, bool ink) {
  std::uint8_t& byte = b.row(std::uint32_t(y))[x >> 3];
  const auto mask = std::uint8_t(0x80u >> (x & 7));
  byte = ink ? std::uint8_t(byte | mask) : std::uint8_t(byte & ~mask);
}

// The one-pixel line, walked along its major axis: step i (0 <= i < major length) lies at
// minor offset i * minorLen / majorLen rounded half up. Only the steps inside the surface are
// walked; the minor offset is monotone, so its bounds are found by bisection.
void drawThinLine(MonoBitmap& b, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2,
                  bool ink) {
  const std::int64_t dx = x2 - x1;
  const std::int64_t dy = y2 - y1;
  if (dx == 0 && dy == 0) return;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const std::int64_t m1 = xMajor ? x1 : y1;
  const std::int64_t n1 = xMajor ? y1 : x1;
  const std::int64_t dm = xMajor ? dx : dy;
  const std::int64_t dn = xMajor ? dy : dx;
  const std::int64_t mLen = xMajor ? b.width() : std::int64_t(b.height());
  const std::int64_t nLen = xMajor ? std::int64_t(b.height()) : b.width();
  const std::int64_t sm = dm > 0 ? 1 : -1;
  const std::int64_t sn = dn > 0 ? 1 : (dn < 0 ? -1 : 0);
  // Both lengths are below 2^32, so their product fits in 64 unsigned bits.
  const std::uint64_t am = std::uint64_t(std::llabs(dm));
  const std::uint64_t an = std::uint64_t(std::llabs(dn));

  std::int64_t lo = std::max<std::int64_t>(0, sm > 0 ? -m1 : m1 - (mLen - 1));
  std::int64_t hi = std::min<std::int64_t>(std::int64_t(am) - 1, sm > 0 ? mLen - 1 - m1 : m1);
  const auto minorAt = [&](std::int64_t i) {
    const std::uint64_t q = std::uint64_t(i) * an;
    return n1 + sn * std::int64_t(q / am + (2 * (q % am) >= am ? 1 : 0));
  };
  // Along the walk the minor coordinate moves in direction sn (or not at all).
  const auto notYetIn = [&](std::int64_t i) {
    return sn >= 0 ? minorAt(i) < 0 : minorAt(i) >= nLen;
  };
  const auto pastIn = [&](std::int64_t i) { return sn >= 0 ? minorAt(i) >= nLen : minorAt(i) < 0; };
  if (lo > hi) return;
  lo = firstWhere(lo, hi, [&](std::int64_t i) { return !notYetIn(i); });
  hi = firstWhere(lo, hi, pastIn) - 1;
  if (lo > hi) return;

  const std::uint64_t start = std::uint64_t(lo) * an;
  std::uint64_t whole = start / am;
  std::uint64_t rem = start % am;
  for (std::int64_t i = lo; i <= hi; ++i) {
    const std::int64_t minor = n1 + sn * std::int64_t(whole + (2 * rem >= am ? 1 : 0));
    const std::int64_t major = m1 + sm * i;
    plot(b, xMajor ? major : minor, xMajor ? minor : major, ink);
    rem += an;
    if (rem >= am) {
      rem -= am;
      ++whole;
    }
  }
}

struct Point {
  double x, y;
};

// Liang-Barsky: narrows [t0, t1] of a + t * d to the part inside [lo, hi] on one axis.
bool clipAxis(double a, double d, double lo, double hi, double& t0, double& t1) {
  if (d == 0) return a >= lo && a <= hi;
  double enter = (lo - a) / d;
  double leave = (hi - a) / d;
  if (enter > leave) std::swap(enter, leave);
  t0 = std::max(t0, enter);
  t1 = std::min(t1, leave);
  return t0 <= t1;
}

// Narrows [lo, hi] to the x with c0 <= a * x + b <= c1.
void intersectLinear(double a, double b, double c0, double c1, double& lo, double& hi) {
  if (a == 0) {
    if (b < c0 || b > c1) hi = -HUGE_VAL;
    return;
  }
  double from = (c0 - b) / a;
  double to = (c1 - b) / a;
  if (from > to) std::swap(from, to);
  lo = std::max(lo, from);
  hi = std::min(hi, to);
}

// The round-ended band of radius r around the segment p0 + t * d, t in [0, span].
class Capsule {
 public:
  Capsule(Point p0, Point d, double span, double r) : p0_(p0), d_(d), span_(span), r_(r) {
    length_ = std::hypot(d.x, d.y);
  }

  // The x extent of the capsule on the horizontal line y, or an empty range (lo > hi).
  void rowExtent(double y, double& lo, double& hi) const {
    lo = HUGE_VAL;
    hi = -HUGE_VAL;
    addDisc(p0_, y, lo, hi);
    addDisc(Point{p0_.x + span_ * d_.x, p0_.y + span_ * d_.y}, y, lo, hi);
    if (length_ == 0) return;
    // Measured from p0: the projection onto d within [0, span·|d|²], the distance from the
    // line at most r. The capsule is convex, so its row is the hull of the three pieces.
    const double v = y - p0_.y;
    double bandLo = -HUGE_VAL;
    double bandHi = HUGE_VAL;
    intersectLinear(d_.x, v * d_.y, 0, span_ * length_ * length_, bandLo, bandHi);
    intersectLinear(d_.y, -v * d_.x, -r_ * length_, r_ * length_, bandLo, bandHi);
    if (bandLo <= bandHi) {
      lo = std::min(lo, p0_.x + bandLo);
      hi = std::max(hi, p0_.x + bandHi);
    }
  }

 private:
  void addDisc(Point c, double y, double& lo, double& hi) const {
    const double dy = y - c.y;
    const double rest = r_ * r_ - dy * dy;
    if (rest < 0) return;
    const double half = std::sqrt(rest);
    lo = std::min(lo, c.x - half);
    hi = std::max(hi, c.x + half);
  }

  Point p0_;
  Point d_;
  double span_;
  double r_;
  double length_;
};

// A tolerance far below a pixel and far above the rounding of the arithmetic above, so that
// pixels exactly on the rim count as inside on both sides of a symmetric shape.
constexpr double kRim = 1e-7;

void drawWideLine(MonoBitmap& b, int x1, int y1, int x2, int y2, int width, bool ink) {
  const double r = width / 2.0;
  // Pixel centres sit on integer points. An odd width is centred on the end points' pixels;
  // an even one on their top-left corners, so that it covers exactly `width` rows or columns.
  const double shift = width % 2 == 0 ? -0.5 : 0.0;
  const Point a{x1 + shift, y1 + shift};
  const Point d{double(x2) - double(x1), double(y2) - double(y1)};
  // Cut the segment to the surface grown by more than the radius: the caps and band ends left
  // at the cut then lie wholly outside the surface.
  const double margin = r + 2;
  double t0 = 0;
  double t1 = 1;
  if (!clipAxis(a.x, d.x, -margin, b.width() - 1 + margin, t0, t1) ||
      !clipAxis(a.y, d.y, -margin, double(b.height()) - 1 + margin, t0, t1)) {
    return;
  }
  const Point p0{a.x + t0 * d.x, a.y + t0 * d.y};
  const Capsule capsule(p0, d, t1 - t0, r);

  const double yA = p0.y;
  const double yB = a.y + t1 * d.y;
  const double top = std::max(0.0, std::ceil(std::min(yA, yB) - r - kRim));
  const double bottom = std::min(double(b.height()) - 1, std::floor(std::max(yA, yB) + r + kRim));
  const double right = double(b.width()) - 1;
  for (double y = top; y <= bottom; ++y) {
    double lo;
    double hi;
    capsule.rowExtent(y, lo, hi);
    lo = std::max(0.0, std::ceil(lo - kRim));
    hi = std::min(right, std::floor(hi + kRim));
    if (lo <= hi) {
      bits::fillBits(b.row(std::uint32_t(y)), std::int64_t(lo), std::int64_t(hi - lo) + 1, ink);
    }
  }
}

}  // namespace

void MonoBitmap::drawLine(int x1, int y1, int x2, int y2, int penWidth, int index) {
  if (!hasPixels()) return;
  if (penWidth <= 1) {
    drawThinLine(*this, x1, y1, x2, y2, index != 0);
  } else {
    drawWideLine(*this, x1, y1, x2, y2, penWidth, index != 0);
  }
}

void MonoBitmap::drawDot(int x, int y, int penWidth, int index) {
  // The line to the next pixel; at x = INT_MAX that pixel cannot be on any surface anyway.
  if (x == INT32_MAX) return;
  drawLine(x, y, x + 1, y, penWidth, index);
}

}  // namespace tenmark
