#include "canvas/view_layout.h"

#include <algorithm>

namespace tenmark {

ViewRect layoutView(int clientWidth, int clientHeight, int canvasWidth, int canvasHeight) {
  ViewRect r;
  r.x = clientWidth > canvasWidth ? (clientWidth - canvasWidth) / 2 : 0;
  r.y = clientHeight > canvasHeight ? (clientHeight - canvasHeight) / 2 : 0;
  r.width = std::max(0, std::min(clientWidth, canvasWidth));
  r.height = std::max(0, std::min(clientHeight, canvasHeight));
  return r;
}

}  // namespace tenmark
