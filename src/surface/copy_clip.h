#pragma once
// Clipping of a rectangle copied from one raster into another, in 64 bits so that no origin or
// size an int can hold overflows on the way.

#include <algorithm>
#include <cstdint>

namespace tenmark {

struct CopyRect {
  std::int64_t sx, sy, tx, ty, w, h;
};

// Shrinks one axis of a copy to the part that lies inside both the source and the target.
inline void clipCopyAxis(std::int64_t& s, std::int64_t& t, std::int64_t& n, std::int64_t sourceLen,
                         std::int64_t targetLen) {
  const std::int64_t lead = std::max({std::int64_t(0), -s, -t});
  s += lead;
  t += lead;
  n = std::min({n - lead, sourceLen - s, targetLen - t});
}

// False when nothing of the copy is left.
inline bool clipCopy(CopyRect& r, std::int64_t sourceWidth, std::int64_t sourceHeight,
                     std::int64_t targetWidth, std::int64_t targetHeight) {
  clipCopyAxis(r.sx, r.tx, r.w, sourceWidth, targetWidth);
  clipCopyAxis(r.sy, r.ty, r.h, sourceHeight, targetHeight);
  return r.w > 0 && r.h > 0;
}

}  // namespace tenmark
