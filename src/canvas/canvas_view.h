#pragma once
// The view of the canvas in the main window's client area: the zoom, the two scroll bars, where
// the canvas view window sits, and the exact integer mapping between client and canvas pixels.
// Positions and rectangles that reach the screen are moved onto a grid of the zoom's ratio, so
// that a partial update and a full repaint give the same screen pixels.

#include <cstdint>

#include "surface/geometry.h"
#include "canvas/scroll_bar.h"

namespace tenmark {

// c canvas pixels are shown on d client pixels; the steps are 1 where nothing is snapped.
struct ZoomRatio {
  int c;
  int d;
  int scrollStep;
  int canvasStep;
};

// The ratio of a zoom factor; a value that is not one of the eight levels behaves as 1.0.
ZoomRatio zoomRatioOf(double zoomFactor);

class CanvasView {
 public:
  static constexpr double kMinZoom = 0.25;
  static constexpr double kMaxZoom = 2.0;
  static constexpr double kZoomStep = 0.25;
  static constexpr int kLineStep = 10;

  double zoomFactor() const { return zoomFactor_; }
  void zoomUp();
  void zoomDown();
  void zoomNormal();

  // Truncating 32-bit conversions of lengths and positions.
  int toCanvas(int v) const { return v * ratio_.c / ratio_.d; }
  int toClient(int v) const { return v * ratio_.d / ratio_.c; }

  Point snapScroll(int h, int v) const;
  Point padExtent(int w, int h) const;
  Rect snapRect(const Rect& r) const;
  // The canvas pixel at the view's top left, from the snapped scroll positions; at a bar's
  // largest position the step above when the step below would hide the canvas's far edge.
  Point viewOrigin() const;
  // May lie outside the canvas.
  Point clientToCanvas(Point client) const;
  // Where a snapped canvas rectangle lands in the client area.
  Rect clientRectOf(const Rect& snapped) const;
  // The canvas rectangle a full repaint stretches into a view window of w x h, and its size on
  // screen (from the view window's top left).
  Rect paintSource(int viewWidth, int viewHeight) const;
  Point paintTargetSize(const Rect& source) const;

  // Places the view window for a client area; does nothing until enabled.
  void setLayoutEnabled(bool enabled) { layoutEnabled_ = enabled; }
  bool layoutEnabled() const { return layoutEnabled_; }
  const Rect& layout(int clientWidth, int clientHeight, int canvasWidth, int canvasHeight);
  const Rect& viewRect() const { return viewRect_; }

  ScrollBar& bar(ScrollAxis axis) { return axis == ScrollAxis::Horizontal ? hbar_ : vbar_; }
  const ScrollBar& bar(ScrollAxis axis) const {
    return axis == ScrollAxis::Horizontal ? hbar_ : vbar_;
  }
  // The bar for a client extent and a canvas extent (in canvas pixels): in use only while the
  // zoomed canvas is larger than the client; its position kept as far as the range allows. The
  // canvas extent is kept with the bar for the snapping at the end of its range.
  void fitBar(ScrollAxis axis, int clientExtent, int canvasExtent);
  // False when the bar is not in use and nothing happened.
  bool scroll(ScrollAxis axis, ScrollRequest request, int trackPosition);

  // Zooming around the pointer. The canvas point under `client` (exactly, the middle of its
  // client pixel) is taken at the first step of a run and held while the pointer stays there
  // and nothing else moves the view, so that a run of steps in and out, however long, comes
  // back to the very same scroll positions.
  void holdAnchor(Point client);
  // After a step: each bar in use scrolls so that the held point lies in the pointer's pixel
  // again, as far as its range allows.
  void scrollToAnchor();

 private:
  // What the last step left; any other view means the view was moved otherwise.
  struct ViewState {
    double zoom = 0;
    Point positions;
    Rect viewRect;
    bool operator==(const ViewState&) const = default;
  };
  struct ZoomAnchor {
    bool held = false;
    Point client;
    // The canvas point, per axis, times `denominator`.
    std::int64_t numerator[2] = {0, 0};
    std::int64_t denominator = 1;
    ViewState view;
  };
  ViewState state() const;
  int anchoredPosition(ScrollAxis axis) const;
  void setZoom(double zoom);
  int snappedPosition(const ScrollBar& b, int canvasExtent) const;

  double zoomFactor_ = 1.0;
  ZoomRatio ratio_ = zoomRatioOf(1.0);
  bool layoutEnabled_ = false;
  Rect viewRect_;
  ScrollBar hbar_;
  ScrollBar vbar_;
  int canvasWidth_ = 0;
  int canvasHeight_ = 0;
  ZoomAnchor anchor_;
};

}  // namespace tenmark
