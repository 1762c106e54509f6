#include "app/paper_model.h"

#include "app/caption.h"

namespace tenmark {

PaperModel::PaperModel(PaperPlatform& platform, const char* versionText)
    : platform_(platform),
      versionText_(versionText),
      presenter_(platform, canvas_, settings_),
      document_(platform, canvas_, ring_, settings_, [this] { documentChanged(); }),
      toolContext_{platform, canvas_, ring_, presenter_, document_, settings_},
      pen_(toolContext_, ToolMode::Pen),
      eraser_(toolContext_, ToolMode::Eraser),
      move_(toolContext_),
      hand_(toolContext_) {}

KeyStateQuery PaperModel::keyState() const {
  return [this](int virtualKey) { return platform_.isKeyDown(virtualKey); };
}

void PaperModel::clearStoredPlacement() {
  Settings& s = settings_;
  s.n_xpos = s.n_ypos = s.n_xsize = s.n_ysize = 0;
  s.b_Maximized = 0;
}

void PaperModel::createCanvas(int screenHeight) {
  const CanvasSize size = canvasSizeOrDefault(settings_, screenHeight);
  const int side = defaultCanvasSide(screenHeight);
  // Without memory for the configured nor the default size, a one-pixel canvas keeps the
  // window working.
  standInCanvas_ = !canvas_.create(size.width, size.height) && !canvas_.create(side, side) &&
                   canvas_.create(1, 1);
  canvas_.setColor(0, Color(settings_.n_back_color));
  canvas_.setColor(1, Color(settings_.n_pen_color));
  canvas_.fill(0);
}

void PaperModel::writeCanvasIntoSettings() {
  const CanvasSize size{canvas_.width(), canvas_.height()};
  // A size the settings file would refuse on reading keeps the last configured one.
  if (canvas_.hasPixels() && !standInCanvas_ && configurableCanvasSize(size)) {
    settings_.n_canvas_x = size.width;
    settings_.n_canvas_y = size.height;
  }
  settings_.n_back_color = std::int32_t(canvas_.getColor(0));
  settings_.n_pen_color = std::int32_t(canvas_.getColor(1));
}

void PaperModel::resetUndoRing() {
  // Without memory for its snapshot the ring takes one at the next record.
  ring_.resetRing(canvas_);
  toolContext_.showUndoState();
}

void PaperModel::pictureReplaced() {
  standInCanvas_ = false;
  platform_.fitWindowToCanvas(canvas_.width(), canvas_.height());
  toolContext_.showUndoState();
  presenter_.onSize();
}

void PaperModel::documentChanged() {
  updateCaption();
  try {
    platform_.prepareRescue(document_.rescueBase());
  } catch (const std::bad_alloc&) {
    // The rescue keeps the path prepared before.
  }
}

void PaperModel::updateCaption() {
  try {
    platform_.setCaption(captionText(CaptionFacts{
        versionText_, document_.name(), document_.modified(), presenter_.view().zoomFactor(),
        settings_.n_pen_size, settings_.n_erase_size}));
  } catch (const std::bad_alloc&) {
    // The caption catches up with the next change; the mark itself is kept.
  }
}

}  // namespace tenmark
