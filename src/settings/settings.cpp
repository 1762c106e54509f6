#include "settings/settings.h"

#include <algorithm>

#include "surface/mono_bitmap.h"

namespace tenmark {
namespace {

constexpr std::int32_t kScreenMargin = 100;

bool usableSide(std::int32_t side) { return side >= 1 && side <= MonoBitmap::kMaxSide; }

}  // namespace

std::int32_t defaultCanvasSide(std::int32_t screenHeight) {
  const std::int64_t side = std::int64_t{screenHeight} - kScreenMargin;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(side, 1, MonoBitmap::kMaxSide));
}

Settings defaultSettings(std::int32_t screenHeight, const std::string& exeFolder) {
  Settings settings;
  settings.saveFolder = exeFolder;
  settings.n_canvas_x = settings.n_canvas_y = defaultCanvasSide(screenHeight);
  return settings;
}

bool configurableCanvasSize(const CanvasSize& size) {
  return size.width >= 1 && size.height >= 1 && size.width <= kMaxConfiguredCanvasSide &&
         size.height <= kMaxConfiguredCanvasSide;
}

CanvasSize canvasSizeOrDefault(const Settings& settings, std::int32_t screenHeight) {
  if (usableSide(settings.n_canvas_x) && usableSide(settings.n_canvas_y))
    return {settings.n_canvas_x, settings.n_canvas_y};
  const std::int32_t side = defaultCanvasSide(screenHeight);
  return {side, side};
}

}  // namespace tenmark
