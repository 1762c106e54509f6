#pragma once
// Where the canvas view sits in the client area: centred when the canvas fits, filling the
// client area from its edge when it does not (the odd pixel of a centring remainder goes to the
// right or bottom).

namespace tenmark {

struct ViewRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int right() const { return x + width; }
  int bottom() const { return y + height; }
};

// Canvas extents are already in client pixels (zoom applied by the caller).
ViewRect layoutView(int clientWidth, int clientHeight, int canvasWidth, int canvasHeight);

}  // namespace tenmark
