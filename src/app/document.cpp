#include "app/document.h"

#include <new>
#include <utility>

#include "app/caption.h"
#include "imagefile/document_names.h"
#include "platform/file_error.h"
#include "platform/path_text.h"
#include "tenmark/texts.h"

namespace tenmark {

namespace {

// A failure message with its reason as a second line, when there is one.
std::string withLine(std::string message, const std::string& reason) {
  if (!reason.empty()) message += "\n" + reason;
  return message;
}

// The system's reason for the failed file step.
std::string withReason(std::string message) {
  return withLine(std::move(message), fileErrorText());
}

// Why a file could not be opened: the system's reason when the system refused it.
std::string faultText(PictureFault fault, std::optional<PictureFormat> named) {
  switch (fault) {
    case PictureFault::None:
      break;
    case PictureFault::Unopened:
      return fileErrorText();
    case PictureFault::Empty:
      return text::OpenFaultEmpty;
    case PictureFault::NotPicture:
      if (!named) return text::OpenFaultNotPicture;
      return *named == PictureFormat::Png ? text::OpenFaultNotPng : text::OpenFaultNotBmp;
    case PictureFault::CutShort:
      return text::OpenFaultCutShort;
    case PictureFault::Unsupported:
      return text::OpenFaultUnsupported;
    case PictureFault::Damaged:
      return text::OpenFaultDamaged;
    case PictureFault::TooLarge:
      return text::OpenFaultTooLarge;
  }
  return {};
}

// A file's paper is the lighter of its colours: a picture whose index 1 is the lighter (black
// and white the other way round, as ImageMagick writes them) has its indices swapped, so that
// it opens as it looks. Equal colours say nothing, and a file in the canvas's own paper and ink
// is one this program wrote: both keep their indices. True when they were swapped.
bool takeLighterAsPaper(MonoBitmap& picture, Color paper, Color ink) {
  const Color zero = picture.getColor(0), one = picture.getColor(1);
  if ((zero == paper && one == ink) || lightness(one) <= lightness(zero)) return false;
  picture.swapIndices();
  return true;
}

}  // namespace

Document::Document(PaperPlatform& platform, MonoBitmap& canvas, UndoRing& ring, Settings& settings,
                   std::function<void()> markChanged)
    : platform_(platform),
      canvas_(canvas),
      ring_(ring),
      settings_(settings),
      markChanged_(std::move(markChanged)) {}

void Document::setModified(bool value) {
  if (value && modified_) return;
  modified_ = value;
  // Saved or replaced: nothing is left for the end of the session to lose.
  if (!value) allowSessionEnd();
  markChanged_();
}

void Document::makeTimestampName(const std::tm& local) {
  name_ = timestampName(local);
  originalReduced_ = false;
  setModified(false);
}

std::optional<Document::PictureFile> Document::readPictureFile(const std::string& path,
                                                               PictureFault* fault) {
  clearFileError();
  const std::optional<PictureFormat> format = pictureFormatOf(path);
  PictureFile file;
  MonoBitmap& picture = file.picture;
  PictureFault found = PictureFault::NotPicture;
  try {
    if (format)
      found = *format == PictureFormat::Png ? picture.loadPng(path, &file.reduced)
                                            : picture.loadBmp(path, &file.reduced);
  } catch (const std::bad_alloc&) {
    found = PictureFault::TooLarge;
  }
  if (fault) *fault = found;
  if (found != PictureFault::None) return std::nullopt;
  // Its indices now differ from the file's, as a colour file's do.
  if (takeLighterAsPaper(picture, canvas_.getColor(0), canvas_.getColor(1))) file.reduced = true;
  // A file's meaning is its indices; the canvas keeps its own colours.
  picture.setColor(0, canvas_.getColor(0));
  picture.setColor(1, canvas_.getColor(1));
  return file;
}

bool Document::replacePicture(PictureFile&& file, std::string name) {
  // Records of the replaced picture mean nothing on this one.
  if (!ring_.resetRing(file.picture)) return false;
  canvas_ = std::move(file.picture);
  name_ = std::move(name);
  originalReduced_ = file.reduced;
  setModified(false);
  return true;
}

bool Document::openFile(const std::string& path) {
  PictureFault fault = PictureFault::None;
  std::optional<PictureFile> file = readPictureFile(path, &fault);
  if (!file) {
    platform_.showMessage(
        withLine(path + text::OpenFailedSuffix, faultText(fault, pictureFormatOf(path))));
    return false;
  }
  return protectPicture(Protection::BeforeReplacing) && replacePicture(std::move(*file), path);
}

bool Document::startNewPicture() {
  if (modified_ && !canvas_.isBlank() && !protectPicture(Protection::BeforeReplacing)) return false;
  std::string name = timestampName(platform_.localTime());
  canvas_.fill(0);
  name_ = std::move(name);
  originalReduced_ = false;
  setModified(false);
  ring_.resetRing(canvas_);
  return true;
}

void Document::save() {
  const std::string path = savePathOf(name_, settings_.saveFolder);
  if (!platform_.fileExists(path)) {
    saveAs();
    return;
  }
  if (!mayOverwrite(path)) return;
  // Any name that does not end in ".bmp" is written as PNG.
  if (!writePicture(path, pictureFormatOf(path).value_or(PictureFormat::Png))) {
    platform_.showMessage(withReason(path + text::SaveFailedSuffix));
    return;
  }
  originalReduced_ = false;
  setModified(false);
}

void Document::saveAs() {
  const std::optional<ChosenSavePath> chosen =
      platform_.chooseSavePath(settings_.saveFolder, name_);
  if (!chosen) return;
  std::string path = completedSaveAsPath(chosen->path, chosen->format);
  // The dialog asked about the name as typed; a completed name that exists is asked again.
  if (path != chosen->path && platform_.fileExists(path) &&
      !platform_.askYesNo(path + text::ReplaceQuestionSuffix))
    return;
  if (!mayOverwrite(path)) return;
  if (!writePicture(path, chosen->format)) {
    platform_.showMessage(withReason(path + text::SaveFailedSuffix));
    return;
  }
  name_ = std::move(path);
  originalReduced_ = false;
  setModified(false);
}

bool Document::mayOverwrite(const std::string& path) {
  // Asked with No as the default: Enter never throws a colour original away.
  return !originalReduced_ || !samePathName(path, name_) ||
         platform_.askWarningYesNo(path + text::ReducedOriginalSuffix + "\n" +
                                   text::OverwriteReducedQuestion);
}

Document::AutoSaveResult Document::autoSave() {
  if (settings_.n_save_img != 1 || !modified_) return {};
  return writeAutoSaveCopy();
}

std::string Document::rescueBase() const { return autoSaveBase().value_or(std::string()); }

std::optional<std::string> Document::autoSaveBase() const {
  const std::optional<std::string> name = autoSaveName(name_);
  if (!name) return std::nullopt;
  return withTrailingSeparator(settings_.saveFolder) + *name;
}

Document::AutoSaveResult Document::writeAutoSaveCopy() {
  const std::optional<std::string> base = autoSaveBase();
  if (!base) return {};
  settings_.saveFolder = withTrailingSeparator(settings_.saveFolder);
  const PictureFormat format = settings_.n_save_type == 1 ? PictureFormat::Bmp : PictureFormat::Png;
  const std::string extension = format == PictureFormat::Bmp ? ".bmp" : ".png";
  std::string path;
  // Asked again when another save (another window's, say) took the name while this one was
  // being written: the file never replaces one.
  const auto freeName = [&] {
    return path = uniqueSavePath(*base, extension,
                                 [this](const std::string& p) { return platform_.fileExists(p); });
  };
  freeName();  // also named when the encoding fails
  return AutoSaveResult{!writePicture(WriteTarget(freeName), format), path};
}

bool Document::writePicture(const WriteTarget& target, PictureFormat format) {
  clearFileError();
  // An encoder without memory is a failed save, told as any other.
  try {
    return format == PictureFormat::Bmp ? canvas_.saveBmp(target) : canvas_.savePng(target);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool Document::protectPicture(Protection purpose) {
  try {
    const AutoSaveResult saved = autoSave();
    if (!saved.failed) {
      allowSessionEnd();
      return true;
    }
    const std::string failed = withReason(saved.path + text::ProtectiveSaveFailedSuffix) + "\n";
    switch (purpose) {
      case Protection::BeforeClosing:
        if (!platform_.askWarningYesNo(failed + text::QuitWithoutSavingQuestion)) return false;
        // Discarded: the rest of the shut-down runs as the exit without saving does.
        discard();
        return true;
      case Protection::BeforeReplacing:
        return platform_.askWarningYesNo(failed + text::GoOnWithoutSavingQuestion);
      case Protection::BeforeSessionEnd:
        platform_.blockSessionEnd(withReason(saved.path + text::SaveFailedSuffix));
        sessionEndBlocked_ = true;
        return false;
    }
  } catch (const std::bad_alloc&) {
    // Not even the file's name could be made: the picture stays, unsaved.
  }
  return false;
}

void Document::allowSessionEnd() {
  if (!sessionEndBlocked_) return;
  sessionEndBlocked_ = false;
  platform_.allowSessionEnd();
}

void Document::discard() {
  // The caption is not rewritten: the window is about to close.
  modified_ = false;
  allowSessionEnd();
}

bool Document::saveBeforeClosing() {
  return canvas_.isBlank() || protectPicture(Protection::BeforeClosing);
}

bool Document::saveBeforeSessionEnd() {
  return canvas_.isBlank() || protectPicture(Protection::BeforeSessionEnd);
}

bool Document::readyToClose() {
  closingSaved_ = closingSaved_ || saveBeforeClosing();
  return closingSaved_;
}

bool Document::readyToEndSession() {
  // Saved now, while the session can still be kept going if that fails.
  closingSaved_ = closingSaved_ || saveBeforeSessionEnd();
  return closingSaved_;
}

void Document::saveAtSessionEnd() {
  if (closingSaved_ || canvas_.isBlank()) return;
  try {
    closingSaved_ = !autoSave().failed;
  } catch (const std::bad_alloc&) {
    // Not even the file's name could be made, and nobody is left to tell.
  }
}

}  // namespace tenmark
