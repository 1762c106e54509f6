// The wide pen: every pixel whose centre lies within half the width of the segment, i.e. a band
// with a round cap at each end. The shape is convex, so each row is one span, found from the
// row's intersection with the two cap discs and the band and filled with whole bytes.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "surface/bit_span.h"
#include "surface/line_raster.h"

namespace tenmark {

namespace {

struct Vec2 {
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
  Capsule(Vec2 p0, Vec2 d, double span, double r) : p0_(p0), d_(d), span_(span), r_(r) {
    length_ = std::hypot(d.x, d.y);
  }

  // The x extent of the capsule on the horizontal line y, or an empty range (lo > hi).
  void rowExtent(double y, double& lo, double& hi) const {
    lo = HUGE_VAL;
    hi = -HUGE_VAL;
    addDisc(p0_, y, lo, hi);
    addDisc(Vec2{p0_.x + span_ * d_.x, p0_.y + span_ * d_.y}, y, lo, hi);
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
  void addDisc(Vec2 c, double y, double& lo, double& hi) const {
    const double dy = y - c.y;
    const double rest = r_ * r_ - dy * dy;
    if (rest < 0) return;
    const double half = std::sqrt(rest);
    lo = std::min(lo, c.x - half);
    hi = std::max(hi, c.x + half);
  }

  Vec2 p0_;
  Vec2 d_;
  double span_;
  double r_;
  double length_;
};

// A tolerance far below a pixel and far above the rounding of the arithmetic above, so that
// pixels exactly on the rim count as inside on both sides of a symmetric shape.
constexpr double kRim = 1e-7;

// The part [t0, t1] of a + t * d inside the surface grown by `margin`; false when none.
bool clipToSurface(const MonoBitmap& b, Vec2 a, Vec2 d, double margin, double& t0, double& t1) {
  t0 = 0;
  t1 = 1;
  return clipAxis(a.x, d.x, -margin, b.width() - 1 + margin, t0, t1) &&
         clipAxis(a.y, d.y, -margin, double(b.height()) - 1 + margin, t0, t1);
}

// Fills the capsule's span on every row from top to bottom (both inside the surface).
void fillRows(MonoBitmap& b, const Capsule& capsule, double top, double bottom, bool ink) {
  const double right = double(b.width()) - 1;
  for (double y = top; y <= bottom; ++y) {
    double lo;
    double hi;
    capsule.rowExtent(y, lo, hi);
    lo = std::max(0.0, std::ceil(lo - kRim));
    hi = std::min(right, std::floor(hi + kRim));
    if (lo <= hi) {
      bits::fillBits(b.row(std::int32_t(y)), std::int64_t(lo), std::int64_t(hi - lo) + 1, ink);
    }
  }
}

}  // namespace

void drawWideLine(MonoBitmap& b, int x1, int y1, int x2, int y2, int width, bool ink) {
  const double r = width / 2.0;
  // Pixel centres sit on integer points. An odd width is centred on the end points' pixels;
  // an even one on their top-left corners, so that it covers exactly `width` rows or columns.
  const double shift = width % 2 == 0 ? -0.5 : 0.0;
  const Vec2 a{x1 + shift, y1 + shift};
  const Vec2 d{double(x2) - double(x1), double(y2) - double(y1)};
  // Cut the segment to the surface grown by more than the radius: the caps and band ends left
  // at a cut then lie wholly outside the surface, and huge coordinates cost nothing.
  double t0;
  double t1;
  if (!clipToSurface(b, a, d, r + 2, t0, t1)) return;
  const Vec2 p0{a.x + t0 * d.x, a.y + t0 * d.y};
  const double y1End = a.y + t1 * d.y;
  const double top = std::max(0.0, std::ceil(std::min(p0.y, y1End) - r - kRim));
  const double bottom =
      std::min(double(b.height()) - 1, std::floor(std::max(p0.y, y1End) + r + kRim));
  fillRows(b, Capsule(p0, d, t1 - t0, r), top, bottom, ink);
}

}  // namespace tenmark
