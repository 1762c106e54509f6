// The document commands as the window runs them: the document does the work, and the window
// follows a replaced picture.
#include "app/paper_model.h"

namespace tenmark {

bool PaperModel::openImageFile(const std::string& path) {
  std::optional<Document::PictureFile> file = document_.readPictureFile(path);
  if (!file || !document_.replacePicture(std::move(*file), path)) return false;
  pictureReplaced();
  return true;
}

void PaperModel::openFile(const std::string& path) {
  if (!document_.openFile(path)) return;
  pictureReplaced();
  platform_.invalidateWindow();
}

void PaperModel::openPicture() {
  const std::optional<std::string> path = platform_.chooseOpenPath(settings_.saveFolder);
  if (path) openFile(*path);
}

void PaperModel::newPicture() {
  if (!document_.startNewPicture()) return;
  toolContext_.showUndoState();
  platform_.invalidateWindow();
}

}  // namespace tenmark
