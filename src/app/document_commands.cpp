// Documents: opening a picture, saving it under its name or a new one, the automatic save that
// keeps a modified picture from being lost, and the new picture.
#include "app/caption.h"
#include "app/paper_model.h"
#include "tenmark/texts.h"

namespace tenmark {

bool PaperModel::openImageFile(const std::string& path) {
  std::optional<MonoBitmap> picture = readPictureFile(path);
  return picture && replacePicture(std::move(*picture), path);
}

std::optional<MonoBitmap> PaperModel::readPictureFile(const std::string& path) {
  if (!platform_.fileExists(path)) return std::nullopt;
  const std::optional<PictureFormat> format = pictureFormatOf(path);
  if (!format) return std::nullopt;
  try {
    MonoBitmap picture;
    if (!(*format == PictureFormat::Png ? picture.loadPng(path) : picture.loadBmp(path)))
      return std::nullopt;
    // A file's meaning is its indices; the canvas keeps its own colours.
    picture.setColor(0, canvas_.getColor(0));
    picture.setColor(1, canvas_.getColor(1));
    return picture;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

bool PaperModel::replacePicture(MonoBitmap&& picture, std::string name) {
  // Records of the replaced picture mean nothing on this one.
  if (!ring_.resetRing(picture)) return false;
  canvas_ = std::move(picture);
  standInCanvas_ = false;
  documentName_ = std::move(name);
  platform_.fitWindowToCanvas(canvas_.width(), int(canvas_.height()));
  setModified(false);
  updateMenu();
  onSize();
  return true;
}

void PaperModel::openChosenFile(const std::string& path) {
  std::optional<MonoBitmap> picture = readPictureFile(path);
  if (!picture) {
    platform_.showMessage(path + text::OpenFailedSuffix);
    return;
  }
  if (!protectPicture(Protection::BeforeReplacing)) return;
  replacePicture(std::move(*picture), path);
  platform_.invalidateWindow();
}

PaperModel::AutoSaveResult PaperModel::autoSave() {
  if (settings_.n_save_img != 1 || !modified_) return {};
  return writeAutoSaveCopy();
}

PaperModel::AutoSaveResult PaperModel::saveAfterFault() {
  if (!modified_ || canvas_.isBlank()) return {};
  return writeAutoSaveCopy();
}

PaperModel::AutoSaveResult PaperModel::writeAutoSaveCopy() {
  const std::optional<std::string> name = autoSaveName(documentName_);
  if (!name) return {};
  settings_.saveFolder = withTrailingSeparator(settings_.saveFolder);
  const PictureFormat format = settings_.n_save_type == 1 ? PictureFormat::Bmp : PictureFormat::Png;
  const std::string path =
      uniqueSavePath(settings_.saveFolder + *name, format == PictureFormat::Bmp ? ".bmp" : ".png",
                     [this](const std::string& p) { return platform_.fileExists(p); });
  return AutoSaveResult{!writePicture(path, format), path};
}

bool PaperModel::protectPicture(Protection purpose) {
  try {
    const AutoSaveResult saved = autoSave();
    if (!saved.failed) {
      allowSessionEnd();
      return true;
    }
    const std::string failed = saved.path + text::ProtectiveSaveFailedSuffix + "\n";
    switch (purpose) {
      case Protection::BeforeClosing:
        if (!platform_.askWarningYesNo(failed + text::QuitWithoutSavingQuestion)) return false;
        // Discarded: the rest of the shut-down runs as the exit without saving does.
        modified_ = false;
        allowSessionEnd();
        return true;
      case Protection::BeforeReplacing:
        return platform_.askWarningYesNo(failed + text::GoOnWithoutSavingQuestion);
      case Protection::BeforeSessionEnd:
        platform_.blockSessionEnd(saved.path + text::SaveFailedSuffix);
        sessionEndBlocked_ = true;
        return false;
    }
  } catch (const std::bad_alloc&) {
    // Not even the file's name could be made: the picture stays, unsaved.
  }
  return false;
}

void PaperModel::allowSessionEnd() {
  if (!sessionEndBlocked_) return;
  sessionEndBlocked_ = false;
  platform_.allowSessionEnd();
}

bool PaperModel::saveBeforeClosing() {
  return canvas_.isBlank() || protectPicture(Protection::BeforeClosing);
}

bool PaperModel::saveBeforeSessionEnd() {
  return canvas_.isBlank() || protectPicture(Protection::BeforeSessionEnd);
}

bool PaperModel::writePicture(const std::string& path, PictureFormat format) {
  // An encoder without memory is a failed save, told as any other.
  try {
    return format == PictureFormat::Bmp ? canvas_.saveBmp(path) : canvas_.savePng(path);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

void PaperModel::newPicture() {
  if (modified_ && !canvas_.isBlank() && !protectPicture(Protection::BeforeReplacing)) return;
  std::string name = timestampName(platform_.localTime());
  canvas_.fill(0);
  documentName_ = std::move(name);
  setModified(false);
  resetUndoRing();
  platform_.invalidateWindow();
}

void PaperModel::openPicture() {
  const std::optional<std::string> path = platform_.chooseOpenPath(settings_.saveFolder);
  if (path) openChosenFile(*path);
}

void PaperModel::save() {
  const std::string path = savePathOf(documentName_, settings_.saveFolder);
  if (!platform_.fileExists(path)) {
    saveAs();
    return;
  }
  // Any name that does not end in ".bmp" is written as PNG.
  if (!writePicture(path, pictureFormatOf(path).value_or(PictureFormat::Png))) {
    platform_.showMessage(path + text::SaveFailedSuffix);
    return;
  }
  setModified(false);
}

void PaperModel::saveAs() {
  const std::optional<ChosenSavePath> chosen =
      platform_.chooseSavePath(settings_.saveFolder, documentName_);
  if (!chosen) return;
  const std::string path = completedSaveAsPath(chosen->path, chosen->format);
  // The dialog asked about the name as typed; a completed name that exists is asked again.
  if (path != chosen->path && platform_.fileExists(path) &&
      !platform_.askYesNo(path + text::ReplaceQuestionSuffix))
    return;
  if (!writePicture(path, chosen->format)) {
    platform_.showMessage(path + text::SaveFailedSuffix);
    return;
  }
  documentName_ = path;
  setModified(false);
}

}  // namespace tenmark
