#pragma once
// The picture as a document: its name and modified mark, opening, saving under its name or a
// new one, the automatic save that keeps a modified picture from being lost, and the rules of
// closing the window and ending the session around that save.

#include <ctime>
#include <functional>
#include <optional>
#include <string>

#include "app/paper_platform.h"
#include "canvas/undo_ring.h"
#include "settings/settings.h"
#include "surface/mono_bitmap.h"

namespace tenmark {

class Document {
 public:
  // `markChanged` runs whenever the modified mark or the name changes, for the caption.
  Document(PaperPlatform& platform, MonoBitmap& canvas, UndoRing& ring, Settings& settings,
           std::function<void()> markChanged);

  const std::string& name() const { return name_; }
  bool modified() const { return modified_; }
  void setModified(bool value);
  // A new picture's name from the local time; clears the modified mark.
  void makeTimestampName(const std::tm& local);

  struct PictureFile {
    MonoBitmap picture;
    // The file held more than two colours, or its indices were swapped so that it looks as it
    // did: saving it again would not give it back.
    bool reduced = false;
  };
  // A picture file read without touching the canvas; nothing when it cannot replace it, and
  // `fault`, when given, says why.
  std::optional<PictureFile> readPictureFile(const std::string& path,
                                             PictureFault* fault = nullptr);
  // The canvas becomes the file's picture, named `name`, with a fresh undo ring; false, with
  // nothing changed, without the memory for it.
  bool replacePicture(PictureFile&& file, std::string name);
  // Open and a dropped file: read first, and only a readable file is worth the protective
  // save; an unreadable one is said so. True when the canvas now holds the file.
  bool openFile(const std::string& path);
  // A blank canvas under a new timestamp name, after the protective save of a drawn picture;
  // false when that save failed and the user kept the picture.
  bool startNewPicture();
  void save();
  void saveAs();

  struct AutoSaveResult {
    bool failed = false;
    std::string path;  // the file written or tried; empty when nothing was to be saved
  };
  // The automatic save of a modified picture into the save folder, when it is switched on.
  AutoSaveResult autoSave();
  // What the rescue after a fault needs, prepared while nothing has gone wrong: the automatic
  // save's path without its extension (empty when the name gives none). Only a modified,
  // non-blank picture is rescued, whether or not saving at exit is on.
  std::string rescueBase() const;
  bool needsRescue() const { return modified_ && !canvas_.isBlank(); }

  // Before the window closes: the automatic save of a drawn picture. When it fails, the user
  // chooses: true (Yes) closes without saving, false (No) keeps the window and its picture.
  bool saveBeforeClosing();
  // At the end of the Windows session: as before closing, but without asking; a failed save
  // keeps the session from ending, with the reason given to the system.
  bool saveBeforeSessionEnd();
  // The closing as the window meets it: the save is made once, also when the end of the
  // session made it first; a session that goes on after all needs it again.
  bool readyToClose();
  bool readyToEndSession();
  void sessionGoesOn() { closingSaved_ = false; }
  // The session ends now, whatever anyone would answer: the closing save once more if it has
  // not been made, and never a question.
  void saveAtSessionEnd();
  // Left without saving: nothing is held up for the picture any more.
  void discard();

 private:
  enum class Protection { BeforeClosing, BeforeReplacing, BeforeSessionEnd };
  // The automatic save that protects a picture about to be replaced or closed; false when it
  // failed and the picture must stay.
  bool protectPicture(Protection purpose);
  void allowSessionEnd();
  // The picture into the save folder under its automatic-save name.
  AutoSaveResult writeAutoSaveCopy();
  // The save folder and the automatic-save name, without an extension.
  std::optional<std::string> autoSaveBase() const;
  bool writePicture(const WriteTarget& target, PictureFormat format);
  // Before `path` is written over: true when it may be, asking first when it is the reduced
  // file this picture came from.
  bool mayOverwrite(const std::string& path);

  PaperPlatform& platform_;
  MonoBitmap& canvas_;
  UndoRing& ring_;
  Settings& settings_;
  std::function<void()> markChanged_;
  std::string name_;
  // The file under `name_` has more colours than the picture keeps.
  bool originalReduced_ = false;
  bool modified_ = false;
  bool sessionEndBlocked_ = false;
  bool closingSaved_ = false;
};

}  // namespace tenmark
