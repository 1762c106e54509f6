// The drawing budgets: one stroke segment and the end of a short stroke cost the same on a small
// and a large canvas; a full repaint of a 1920 x 1080 client, a wheel notch with its repaint and
// one Move drag step stay within a few memcpy of their bytes, and so does the undo record of a
// whole-canvas change. Each has its memcpy baseline here,
// measured in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <random>
#include <span>
#include <vector>

#include "app/paper_model.h"
#include "canvas/view_render.h"
#include "shortcuts/virtual_keys.h"

namespace tenmark {
namespace {

constexpr int kLargeSide = 5999;
constexpr Point kClient{1920, 1080};

// A window that does nothing with the effects, so only the model's own work is measured.
class QuietPlatform : public PaperPlatform {
 public:
  std::vector<int> keys;
  Point clientSize() const override { return kClient; }
  bool isKeyDown(int vk) const override {
    return std::find(keys.begin(), keys.end(), vk) != keys.end();
  }
  Point pointerPosition() const override { return Point{}; }
  Point screenToClient(Point screen) const override { return screen; }
  Color buttonFaceColor() const override { return 0; }
  bool fileExists(const std::string&) const override { return false; }
  std::tm localTime() const override { return std::tm{}; }
  void moveViewWindow(const Rect&) override {}
  void invalidateView() override {}
  void invalidateWindow() override {}
  void fillBackground(const Rect&, Color) override {}
  void presentView(Point, const Rgb32Image& image) override {
    benchmark::DoNotOptimize(image.pixels);
  }
  void setScrollBar(ScrollAxis, const ScrollBar&) override {}
  void setCaption(const std::string&) override {}
  void prepareRescue(const std::string&) override {}
  void setCursor(ToolMode) override {}
  void capturePointer() override {}
  void releasePointer() override {}
  void enableMenuItem(int, bool) override {}
  void applyTranslucency(int, int) override {}
  void toggleMenuBar() override {}
  void redrawWindow() override {}
  void fitWindowToCanvas(int, int) override {}
  void setMenuLabel(int, const std::string&) override {}
  void showPopupMenu() override {}
  void closeWindow() override {}
  void putClipboardImage(const Rgb32Image&) override {}
  ClipboardPicture readClipboardPicture(const MonoBitmap&) override { return {}; }
  void showMessage(const std::string&) override {}
  bool askYesNo(const std::string&) override { return false; }
  bool askWarningYesNo(const std::string&) override { return false; }
  void blockSessionEnd(const std::string&) override {}
  void allowSessionEnd() override {}
  std::optional<std::string> chooseOpenPath(const std::string&) override { return {}; }
  std::optional<ChosenSavePath> chooseSavePath(const std::string&, const std::string&) override {
    return {};
  }
  std::optional<SettingsDialogValues> runSettingsDialog(const SettingsDialogValues&,
                                                        const InkCutQuery&) override {
    return {};
  }
  std::optional<KeyBindings> runShortcutDialog(const KeyBindings&) override { return {}; }
};

void fillRandom(MonoBitmap& b) {
  std::mt19937 rng(1);
  for (std::size_t i = 0; i < b.byteCount(); ++i) b.pixels()[i] = std::uint8_t(rng() & rng());
}

struct Window {
  QuietPlatform platform;
  PaperModel model{platform, "bench"};

  Window(int side, double zoom) {
    model.canvas().create(side, side);
    fillRandom(model.canvas());
    model.resetUndoRing();
    model.finishInitialisation();
    while (model.view().zoomFactor() > zoom) model.runCommand(CommandId::ZoomDown);
    model.onSize();
    model.settings().n_pen_size = 8;
  }
  // One paint request of the whole window: the margins, then the view window.
  void repaint() {
    model.paintMargins();
    const Rect& v = model.view().viewRect();
    model.paintView(Rect{0, 0, v.width, v.height});
  }
};

void memcpyBaseline(benchmark::State& state, std::size_t bytes) {
  std::vector<std::uint8_t> src(bytes, 1), dst(bytes);
  for (auto _ : state) {
    std::memcpy(dst.data(), src.data(), bytes);
    benchmark::DoNotOptimize(dst.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
}

// Args: canvas side, zoom in percent. A press at the view's centre, then segments of 60 client
// pixels back and forth: each draws, grows the record and presents its rectangle.
void BM_StrokeSegment(benchmark::State& state) {
  Window w(int(state.range(0)), double(state.range(1)) / 100.0);
  const Point centre{kClient.x / 2, kClient.y / 2};
  w.model.leftButtonDown(centre);
  bool away = false;
  for (auto _ : state) {
    away = !away;
    w.model.pointerMoved(Point{centre.x + (away ? 60 : 0), centre.y + (away ? 40 : 0)});
  }
}
BENCHMARK(BM_StrokeSegment)
    ->Args({640, 100})
    ->Args({kLargeSide, 100})
    ->Args({640, 25})
    ->Args({kLargeSide, 25});

// Eight points around the view's centre, a zigzag of 60 by 40 client pixels, oldest first.
std::vector<Point> zigzag() {
  std::vector<Point> points;
  for (int i = 0; i < 8; ++i)
    points.push_back(Point{kClient.x / 2 - 240 + 60 * i, kClient.y / 2 + (i % 2) * 40});
  return points;
}

// A pen frame carrying eight points of history on a large canvas, against the same eight
// segments by mouse moves below: the pen's way costs at most half as much again.
void BM_PenFrameOfEightPoints(benchmark::State& state) {
  Window w(kLargeSide, 1.0);
  w.model.settings().b_IgnoreTabXY = 0;
  std::vector<PenFrame> newestFirst;
  for (const Point& p : zigzag()) {
    PenFrame f;
    f.inRange = f.inContact = f.hasPressure = true;
    f.pressure = 512;
    f.screen = p;
    newestFirst.insert(newestFirst.begin(), f);
  }
  w.model.penFrames(std::span(&newestFirst.back(), 1));
  for (auto _ : state) w.model.penFrames(newestFirst);
}
BENCHMARK(BM_PenFrameOfEightPoints);

void BM_MouseMovesOfEightPoints(benchmark::State& state) {
  Window w(kLargeSide, 1.0);
  const std::vector<Point> points = zigzag();
  w.model.leftButtonDown(points.front());
  for (auto _ : state)
    for (const Point& p : points) w.model.pointerMoved(p);
}
BENCHMARK(BM_MouseMovesOfEightPoints);

// The end of a short stroke: its record made from the snapshot, and the snapshot brought up to
// date with the canvas.
void BM_StrokeEnd(benchmark::State& state) {
  MonoBitmap canvas;
  canvas.create(int(state.range(0)), int(state.range(0)));
  UndoRing ring;
  ring.resetRing(canvas);
  int index = 0;
  for (auto _ : state) {
    canvas.drawLine(100, 100, 160, 140, 8, index ^= 1);
    ring.beginRecord(Rect{92, 92, 76, 56});
    ring.pushRecord(canvas);
  }
}
BENCHMARK(BM_StrokeEnd)->Arg(640)->Arg(kLargeSide);

void BM_MemcpyClientBytes(benchmark::State& state) {
  memcpyBaseline(state, std::size_t(kClient.x) * std::size_t(kClient.y) * 4);
}
BENCHMARK(BM_MemcpyClientBytes);

// Arg: zoom in percent. The whole 1920 x 1080 view of a large canvas, rendered for the screen.
void BM_FullRepaint(benchmark::State& state) {
  Window w(kLargeSide, double(state.range(0)) / 100.0);
  for (auto _ : state) w.repaint();
}
BENCHMARK(BM_FullRepaint)->DenseRange(25, 200, 25);

// One wheel notch on a large canvas at 100 %, down and up by turns, with the repaint it asks for:
// within the full repaint's budget.
void BM_WheelNotchWithRepaint(benchmark::State& state) {
  Window w(kLargeSide, 1.0);
  int delta = -kWheelNotch;
  for (auto _ : state) {
    w.model.mouseWheel(WheelTurn{ScrollAxis::Vertical, delta, false, Point{960, 540}, 3});
    w.repaint();
    delta = -delta;
  }
}
BENCHMARK(BM_WheelNotchWithRepaint);

void BM_MemcpyCanvasBytes(benchmark::State& state) {
  MonoBitmap b;
  b.create(kLargeSide, kLargeSide);
  memcpyBaseline(state, b.byteCount());
}
BENCHMARK(BM_MemcpyCanvasBytes);

// A large line drawing: lines of the pen's widths, about 2 % ink.
MonoBitmap lineDrawing() {
  MonoBitmap b;
  b.create(kLargeSide, kLargeSide);
  std::mt19937 rng(5);
  const auto pick = [&](int n) { return int(rng() % unsigned(n)); };
  for (int i = 0; i < 250; ++i) {
    const int x = pick(kLargeSide);
    const int y = pick(kLargeSide);
    b.drawLine(x, y, x + pick(800) - 400, y + pick(800) - 400, 4 + pick(9), 1);
  }
  return b;
}

// Args: the picture (0 a line drawing, 1 noise), the change (0 Clear, 1 Paste of the other
// picture). The undo record of a whole-canvas change on a large canvas: readied before the
// change and pushed after it, within three memcpy of the canvas's bytes; record_bytes is what it
// holds.
void BM_WholeCanvasRecord(benchmark::State& state) {
  MonoBitmap pictures[2] = {lineDrawing(), {}};
  pictures[1].create(kLargeSide, kLargeSide);
  fillRandom(pictures[1]);
  const MonoBitmap& before = pictures[state.range(0)];
  const MonoBitmap& pasted = pictures[1 - state.range(0)];
  MonoBitmap canvas;
  canvas.create(kLargeSide, kLargeSide);
  UndoRing ring;
  const Rect whole{0, 0, kLargeSide, kLargeSide};
  for (auto _ : state) {
    canvas.copyAllFrom(before);
    ring.resetRing(canvas);
    const auto start = std::chrono::steady_clock::now();
    ring.prepareWholeRecord(canvas);
    const auto prepared = std::chrono::steady_clock::now();
    if (state.range(1) == 0)
      canvas.fill(0);
    else
      canvas.copyAllFrom(pasted);
    const auto changed = std::chrono::steady_clock::now();
    ring.beginRecord(whole);
    ring.pushRecord(canvas);
    const auto pushed = std::chrono::steady_clock::now();
    state.SetIterationTime(
        std::chrono::duration<double>(prepared - start + pushed - changed).count());
  }
  state.counters["record_bytes"] = double(ring.recordBytes());
}
BENCHMARK(BM_WholeCanvasRecord)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

// One pointer position of a Move drag on a large canvas (the repaint it asks for is measured by
// BM_FullRepaint).
void BM_MoveDragStep(benchmark::State& state) {
  Window w(kLargeSide, 1.0);
  w.platform.keys = {vk::kControl, vk::kSpace};
  w.model.leftButtonDown(Point{500, 500});
  int dx = 0;
  for (auto _ : state) w.model.pointerMoved(Point{500 + (++dx % 50), 503});
}
BENCHMARK(BM_MoveDragStep);

// A Move drag step with the repaint it asks for.
void BM_MoveDragWithRepaint(benchmark::State& state) {
  Window w(kLargeSide, 1.0);
  w.platform.keys = {vk::kControl, vk::kSpace};
  w.model.leftButtonDown(Point{500, 500});
  int dx = 0;
  for (auto _ : state) {
    w.model.pointerMoved(Point{500 + (++dx % 50), 503});
    w.repaint();
  }
}
BENCHMARK(BM_MoveDragWithRepaint);

// The mirror command with its undo step (the mirror itself), against the surface's mirror alone.
void BM_SurfaceMirror(benchmark::State& state) {
  Window w(kLargeSide, 1.0);
  for (auto _ : state) w.model.canvas().mirrorLeftRight();
}
BENCHMARK(BM_SurfaceMirror)->Unit(benchmark::kMillisecond);

void BM_MirrorCommand(benchmark::State& state) {
  Window w(kLargeSide, 1.0);
  for (auto _ : state) w.model.runCommand(CommandId::VMirror);
}
BENCHMARK(BM_MirrorCommand)->Unit(benchmark::kMillisecond);

// The automatic save when the window closes, against saving the same canvas directly.
std::string benchFolder() {
  const auto folder = std::filesystem::temp_directory_path() / "tenmark-bench";
  std::filesystem::create_directories(folder);
  return folder.string() + "/";
}

void BM_SavePng(benchmark::State& state) {
  Window w(kLargeSide, 1.0);
  const std::string path = benchFolder() + "direct.png";
  for (auto _ : state) benchmark::DoNotOptimize(w.model.canvas().savePng(path));
}
BENCHMARK(BM_SavePng)->Unit(benchmark::kMillisecond);

void BM_ExitAutoSave(benchmark::State& state) {
  Window w(kLargeSide, 1.0);
  w.model.settings().saveFolder = benchFolder();
  w.model.makeTimestampName(std::tm{});
  w.model.setModified(true);
  for (auto _ : state) benchmark::DoNotOptimize(w.model.saveBeforeClosing());
}
BENCHMARK(BM_ExitAutoSave)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tenmark
