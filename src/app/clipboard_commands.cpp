// The picture through the clipboard and files dropped on the window.
#include "app/paper_model.h"
#include "tenmark/texts.h"

namespace tenmark {

void PaperModel::copyToClipboard() {
  // A picture larger than the clipboard bitmap can hold is not copied at all.
  if (std::int64_t(canvas_.width()) * canvas_.height() * 4 > kMaxClipboardBytes) return;
  // In the canvas's display colours, as other programs should see it.
  Rgb32Image image;
  image.reshape(canvas_.width(), canvas_.height());
  canvas_.blitTo(Rect{0, 0, image.width, image.height}, image, Point{0, 0});
  platform_.putClipboardImage(image);
}

void PaperModel::paste() {
  const ClipboardPicture read = platform_.readClipboardPicture(canvas_);
  if (read.status == ClipboardPicture::Status::Unreadable) {
    // Never a black area or garbage in its place: nothing is pasted, and the user hears why.
    platform_.showMessage(text::ClipboardUnreadable);
    return;
  }
  if (read.status != ClipboardPicture::Status::Read || !beginWholeCanvasChange()) return;
  const MonoBitmap& picture = read.picture;
  picture.copyRectTo(Rect{0, 0, picture.width(), picture.height()}, canvas_, Point{0, 0});
  recordWholeCanvas();
  setModified(true);
  platform_.invalidateWindow();
}

void PaperModel::dropFile(const std::string& path) {
  endPressInProgress();
  try {
    openFile(path);
  } catch (const std::bad_alloc&) {
    // Not even the message could be made; nothing else was touched.
  }
}

}  // namespace tenmark
