#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "canvas/view_render.h"
#include "support/model_rig.h"
#include "support/test_surfaces.h"

namespace tenmark {
namespace {

constexpr double kZooms[] = {0.25, 0.5, 0.75, 1.0, 1.25, 1.5, 1.75, 2.0};

CanvasView viewAt(double zoom) {
  CanvasView view;
  while (view.zoomFactor() > zoom) view.zoomDown();
  while (view.zoomFactor() < zoom) view.zoomUp();
  return view;
}

TEST(CanvasView, ConversionsTruncateTowardZero) {
  EXPECT_EQ(viewAt(0.5).toClient(-7), -3);
  EXPECT_EQ(viewAt(0.75).toCanvas(-7), -9);
}

TEST(CanvasView, ScrollRequestsMoveByLinesAndPagesWithinTheRange) {
  CanvasView v;
  v.fitBar(ScrollAxis::Horizontal, 600, 1000);
  const ScrollBar& bar = v.bar(ScrollAxis::Horizontal);
  EXPECT_EQ(bar, (ScrollBar{0, 1000, 600, 0}));
  const struct {
    ScrollRequest request;
    int track;
    int position;
  } steps[] = {
      {ScrollRequest::LineForward, 0, 10},   {ScrollRequest::PageForward, 0, 401},
      {ScrollRequest::LineForward, 0, 401},  {ScrollRequest::LineBack, 0, 391},
      {ScrollRequest::Other, 0, 391},        {ScrollRequest::PageBack, 0, 0},
      {ScrollRequest::ThumbTrack, 250, 250}, {ScrollRequest::ThumbTrack, -4, 0},
  };
  for (const auto& s : steps) {
    v.scroll(ScrollAxis::Horizontal, s.request, s.track);
    EXPECT_EQ(bar.position, s.position);
  }
  // A bar not in use ignores requests; a canvas that fits takes the bar away.
  EXPECT_FALSE(v.scroll(ScrollAxis::Vertical, ScrollRequest::LineForward, 0));
  v.fitBar(ScrollAxis::Horizontal, 1000, 1000);
  EXPECT_EQ(bar, (ScrollBar{}));
}

TEST(CanvasView, LayoutScrollsACanvasThatDoesNotFit) {
  ModelRig wide(1000, 300, Point{601, 401});
  EXPECT_EQ(wide.platform.bars[0], (ScrollBar{0, 1000, 601, 0}));
  EXPECT_FALSE(wide.platform.bars[1].inUse());
  EXPECT_EQ(wide.platform.viewWindow, (Rect{0, 42, 601, 300}));  // the odd pixel goes below

  wide.platform.area = Point{0, 0};  // minimised: nothing changes
  wide.model.onSize();
  EXPECT_EQ(wide.platform.bars[0], (ScrollBar{0, 1000, 601, 0}));
  EXPECT_EQ(wide.platform.viewWindow, (Rect{0, 42, 601, 300}));
}

// A canvas that fits is centred, without scroll bars.
TEST(CanvasView, PaintFillsTheMarginAndShowsInkAtEveryReduction) {
  ModelRig rig(64, 48, Point{100, 80});
  rig.model.canvas().setPixel(5, 6, 1);
  rig.zoomTo(0.25);
  const Rgb32Image screen = rig.repaintedScreen();
  const Rect v = rig.platform.viewWindow;
  EXPECT_EQ(v, (Rect{42, 34, 16, 12}));
  EXPECT_EQ(screen.at(0, 0), toScreenPixel(0xB5C5D2));
  EXPECT_EQ(screen.at(99, 79), toScreenPixel(0xB5C5D2));
  EXPECT_EQ(screen.at(v.x + 1, v.y + 1), toScreenPixel(kInk));  // ink wins the reduction
  EXPECT_EQ(screen.at(v.x + 2, v.y + 1), toScreenPixel(kPaper));
  rig.model.settings().b_ClientDef = 1;
  EXPECT_EQ(rig.repaintedScreen().at(0, 0), toScreenPixel(rig.platform.buttonFace));
}

// One paint request renders each view pixel once, and a part of the view renders that part
// alone, with the full repaint's pixels.
TEST(CanvasView, OnePaintRequestRendersEachViewPixelOnce) {
  for (double zoom : {1.0, 0.75, 0.25}) {
    ModelRig rig(700, 500, Point{600, 400});
    std::mt19937 rng(3);
    rig.model.canvas().assign(randomSurface(700, 500, rng));
    rig.zoomTo(zoom);
    const Rgb32Image full = rig.repaintedScreen();
    const Rect v = rig.platform.viewWindow;
    rig.platform.presentedPixels = 0;
    rig.paint();
    EXPECT_EQ(rig.platform.presentedPixels, std::int64_t(v.width) * v.height) << zoom;
    rig.platform.presentedPixels = 0;
    rig.platform.screen = Rgb32Image{};
    const Rect update{13, 7, 101, 53};
    rig.model.paintView(update);
    EXPECT_EQ(rig.platform.presentedPixels, std::int64_t(update.width) * update.height);
    for (int y = update.y; y < update.bottom(); ++y)
      for (int x = update.x; x < update.right(); ++x)
        ASSERT_EQ(rig.platform.screen.at(v.x + x, v.y + y), full.at(v.x + x, v.y + y)) << x;
  }
}

// For every zoom and every canvas extent up to 2000 that needs a scroll bar, the bar's largest
// position shows the canvas's last column (row): the pointer reaches it, the paint source holds
// it, and every client pixel near the far edge shows what clientToCanvas says it does. Below
// that position the scroll position is snapped down as everywhere, and at it too when the step
// below already shows the far edge.
TEST(CanvasView, TheFarColumnAndRowAreOnScreenAtTheLargestScrollPositions) {
  constexpr int kAcross = 8;  // the canvas's other extent, which fits the client
  constexpr Color kBackground = 0x123456;
  MonoBitmap canvas;
  Rgb32Image image;
  for (double zoom : kZooms) {
    const ZoomRatio r = zoomRatioOf(zoom);
    const CanvasView zoomed = viewAt(zoom);
    for (int n = 1; n <= 2000; ++n) {
      // A view no wider than one scroll step can miss a column at any position.
      const int smallest = r.scrollStep + 1;
      const int extent = zoomed.toClient(n);
      if (extent <= smallest) continue;
      for (int client : {extent - 1, smallest + n * 7919 % (extent - smallest)}) {
        for (ScrollAxis axis : {ScrollAxis::Horizontal, ScrollAxis::Vertical}) {
          const bool h = axis == ScrollAxis::Horizontal;
          const auto along = [h](Point p) { return h ? p.x : p.y; };
          const auto point = [h](int a, int b) { return h ? Point{a, b} : Point{b, a}; };
          const Point size = point(n, kAcross);
          const Point area = point(client, 40);
          CanvasView v = zoomed;
          v.setLayoutEnabled(true);
          v.fitBar(ScrollAxis::Horizontal, area.x, size.x);
          v.fitBar(ScrollAxis::Vertical, area.y, size.y);
          const Rect view = v.layout(area.x, area.y, size.x, size.y);
          const int start = along(Point{view.x, view.y});
          const int last = start + along(Point{view.width, view.height}) - 1;
          const int across = h ? view.y : view.x;
          const auto canvasAt = [&](int i) { return along(v.clientToCanvas(point(i, across))); };
          const int largest = v.bar(axis).largestPosition();
          SCOPED_TRACE(testing::Message() << "zoom " << zoom << " extent " << n << " client "
                                          << client << (h ? " across" : " down"));

          // Nothing changes below the end of the range.
          v.scroll(axis, ScrollRequest::ThumbTrack, largest - 1);
          const int below = (largest - 1) / r.scrollStep * r.scrollStep;
          ASSERT_EQ(along(v.viewOrigin()), v.toCanvas(below));

          v.scroll(axis, ScrollRequest::ThumbTrack, 1 << 24);
          ASSERT_EQ(v.bar(axis).position, largest);
          const int origin = along(v.viewOrigin());
          ASSERT_EQ(origin % r.c, 0);  // still on the grid
          // One client pixel shows the canvas pixels from its clientToCanvas up to the next
          // pixel's, and at least one.
          const auto farthestFrom = [&](int from, int pixel) {
            return from + std::max(v.toCanvas(pixel), v.toCanvas(pixel + 1) - 1);
          };
          const int down = v.toCanvas(largest / r.scrollStep * r.scrollStep);
          ASSERT_EQ(origin, farthestFrom(down, last - start) >= n - 1 ? down : down + r.c);
          ASSERT_GE(std::max(canvasAt(last), canvasAt(last + 1) - 1), n - 1);
          const Rect source = v.paintSource(view.width, view.height);
          ASSERT_GE(along(Point{source.right(), source.bottom()}), n);

          // The far column in ink on paper: the last client pixels show it exactly where the
          // pointer mapping puts it.
          canvas = canvasOf(size.x, size.y, kPaper, kInk);
          for (int k = 0; k < kAcross; ++k) canvas.setPixel(h ? n - 1 : k, h ? k : n - 1, 1);
          const int first = std::max(start, last - 7);
          const Rect strip = h ? Rect{first, view.y, last + 1 - first, 1}
                               : Rect{view.x, first, 1, last + 1 - first};
          ASSERT_EQ(renderViewArea(canvas, v, kBackground, strip, image), strip);
          bool inkShown = false;
          for (int i = first; i <= last; ++i) {
            const int from = canvasAt(i);
            const int to = std::max(from + 1, canvasAt(i + 1));
            const Color expected = from >= n ? kBackground : to >= n ? kInk : kPaper;
            ASSERT_EQ(h ? image.at(i - first, 0) : image.at(0, i - first), toScreenPixel(expected))
                << "client pixel " << i;
            inkShown |= expected == kInk;
          }
          ASSERT_TRUE(inkShown);
        }
      }
    }
  }
}

// For every zoom and random scroll positions (the first run at the end of both ranges), strokes
// presented one segment at a time leave on screen exactly what a full repaint shows.
TEST(CanvasView, PresentedStrokesMatchAFullRepaintAtEveryZoom) {
  std::mt19937 rng(3);
  const auto pick = [&](int n) { return int(rng() % unsigned(n)); };
  for (double zoom : kZooms) {
    for (int run = 0; run < 4; ++run) {
      ModelRig rig(301 + pick(500), 203 + pick(400), Point{320 + pick(200), 240 + pick(150)});
      rig.zoomTo(zoom);
      for (ScrollAxis axis : {ScrollAxis::Horizontal, ScrollAxis::Vertical})
        rig.model.onScroll(axis, ScrollRequest::ThumbTrack, run == 0 ? 1 << 24 : pick(2000));
      rig.model.settings().n_pen_size = 1 + pick(9);
      rig.platform.screen = rig.repaintedScreen();
      for (int s = 0; s < 6; ++s) {
        const Point client = rig.platform.clientSize();
        rig.model.leftButtonDown(Point{pick(client.x), pick(client.y)});
        for (int k = 0; k < 5; ++k)
          rig.model.pointerMoved(Point{pick(client.x + 40) - 20, pick(client.y + 40) - 20});
        rig.model.leftButtonUp(Point{0, 0});
      }
      const Rgb32Image full = rig.repaintedScreen();
      ASSERT_EQ(full.pixels, rig.platform.screen.pixels) << "zoom " << zoom << " run " << run;
    }
  }
}

}  // namespace
}  // namespace tenmark
