#pragma once
// What the view window shows: its place in the client area, the scroll bars, the paints of the
// main window and the view window, and canvas rectangles put on screen the moment they change.
// It keeps the images it renders into, so that repaints of one size do not allocate.

#include "app/paper_platform.h"
#include "canvas/canvas_view.h"
#include "canvas/wheel.h"
#include "settings/settings.h"
#include "surface/mono_bitmap.h"
#include "surface/rgb32_image.h"

namespace tenmark {

class ViewPresenter {
 public:
  ViewPresenter(PaperPlatform& platform, const MonoBitmap& canvas, const Settings& settings);

  CanvasView& view() { return view_; }
  const CanvasView& view() const { return view_; }
  // From now on the view is laid out.
  void finishInitialisation();
  // The client area changed size, or the canvas or the zoom changed: bars and layout again.
  void onSize();
  void onScroll(ScrollAxis axis, ScrollRequest request, int trackPosition);
  // The wheel turned without Ctrl: the view scrolls as far as the turn and the bar allow.
  void wheelScroll(const WheelTurn& turn);
  // After a zoom step around the pointer: the point the view holds for it goes back under it,
  // as far as the bars allow.
  void scrollToAnchor();
  void relayout();
  // The main window's paint: the margins around the view window, never the canvas.
  void paintMargins();
  // The view window's paint of `update` (view-window coordinates): the canvas there, once.
  void paintView(const Rect& update);
  // Puts a canvas rectangle on screen at once; returns it snapped to the zoom's grid.
  Rect presentRect(const Rect& r);

 private:
  Color backgroundColor() const;
  void layoutView();
  // Renders the client area `area` of the view and puts it on the view window.
  void presentViewArea(const Rect& area, Rgb32Image& image);

  PaperPlatform& platform_;
  const MonoBitmap& canvas_;
  const Settings& settings_;
  CanvasView view_;
  WheelAccumulator wheel_;
  Rgb32Image viewImage_;
  Rgb32Image patchImage_;
};

}  // namespace tenmark
