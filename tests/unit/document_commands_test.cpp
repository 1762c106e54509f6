#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

#include "support/bmp_recipes.h"
#include "support/model_rig.h"
#include "support/temp_folder.h"
#include "support/test_surfaces.h"

namespace tenmark {
namespace {

class DocumentTest : public TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    rig.model.settings().saveFolder = path("save");  // no trailing separator: one is added
    rig.model.makeTimestampName(rig.platform.now);
  }
  // Where an automatic save of the timestamp picture lands (the separator is the program's).
  std::string autoSaved(const std::string& suffix) const {
    return path("save\\20060604_092418" + suffix);
  }
  MonoBitmap load(const std::string& file) const {
    MonoBitmap b;
    EXPECT_EQ(pictureFormatOf(file) == PictureFormat::Bmp ? b.loadBmp(file) : b.loadPng(file),
              PictureFault::None);
    return b;
  }
  std::string savedPicture(const std::string& name) {
    MonoBitmap picture = randomPicture(50, 30, rng);
    EXPECT_TRUE(pictureFormatOf(name) == PictureFormat::Bmp ? picture.saveBmp(path(name))
                                                            : picture.savePng(path(name)));
    return path(name);
  }

  ModelRig rig;
  std::mt19937 rng{5};
};

// The numbered names that follow are the closing save's tests'.
TEST_F(DocumentTest, ClosingSavesTheDrawingUnderItsNameInTheChosenFormat) {
  rig.stroke({{10, 10}, {60, 30}});
  ASSERT_TRUE(rig.model.saveBeforeClosing());
  EXPECT_EQ(rig.model.settings().saveFolder, path("save") + "\\");
  EXPECT_TRUE(samePicture(load(autoSaved(".png")), rig.model.canvas()));
  rig.model.settings().n_save_type = 1;
  ASSERT_TRUE(rig.model.saveBeforeClosing());
  EXPECT_TRUE(samePicture(load(autoSaved(".bmp")), rig.model.canvas()));
}

TEST_F(DocumentTest, NothingIsSavedForABlankAnUnmodifiedOrAnUnsavedPicture) {
  rig.model.setModified(true);  // blank but modified
  EXPECT_TRUE(rig.model.saveBeforeClosing());
  rig.stroke({{10, 10}, {60, 30}});
  rig.model.settings().n_save_img = 0;
  EXPECT_TRUE(rig.model.saveBeforeClosing());
  rig.model.settings().n_save_img = 1;
  rig.model.runCommand(CommandId::NoSaveExit);
  EXPECT_TRUE(rig.platform.closed);
  EXPECT_TRUE(rig.model.saveBeforeClosing());
  EXPECT_EQ(entries(), 0u);
}

// A failed protective save asks, with No as the safe answer: No keeps everything as it was.
TEST_F(DocumentTest, AFailedProtectiveSaveAsksAndNoKeepsThePicture) {
  rig.model.settings().saveFolder = path("missing/folder");
  rig.stroke({{10, 10}, {60, 30}});
  rig.platform.openAnswer = savedPicture("other.png");
  const std::vector<int> drawn = indicesOf(rig.model.canvas());
  EXPECT_FALSE(rig.model.saveBeforeClosing());
  rig.model.runCommand(CommandId::New);
  rig.model.runCommand(CommandId::Open);
  rig.model.dropFile(path("other.png"));
  EXPECT_EQ(indicesOf(rig.model.canvas()), drawn);
  EXPECT_TRUE(rig.model.modified());
  EXPECT_TRUE(rig.platform.messages.empty());
  // The system's reason is a line of its own.
  const std::string failed = path("missing/folder") + "\\20060604_092418.png";
  const std::string asked =
      failed + text::ProtectiveSaveFailedSuffix + "\n" + std::strerror(ENOENT) + "\n";
  const std::string goOn = asked + text::GoOnWithoutSavingQuestion;
  EXPECT_EQ(rig.platform.warnings,
            (std::vector<std::string>{asked + text::QuitWithoutSavingQuestion, goOn, goOn, goOn}));
  // The end of the session never asks: it is held up, with the reason, until the picture is
  // saved or discarded.
  EXPECT_FALSE(rig.model.saveBeforeSessionEnd());
  EXPECT_EQ(rig.platform.sessionEndBlockedFor,
            failed + text::SaveFailedSuffix + "\n" + std::strerror(ENOENT));
  EXPECT_EQ(rig.platform.warnings.size(), 4u);
  rig.model.runCommand(CommandId::NoSaveExit);
  EXPECT_FALSE(rig.platform.sessionEndBlockedFor);
}

TEST_F(DocumentTest, YesToAFailedProtectiveSaveGoesOnWithoutSaving) {
  rig.model.settings().saveFolder = path("missing/folder");
  rig.platform.warningAnswer = true;
  rig.stroke({{10, 10}, {60, 30}});
  rig.model.runCommand(CommandId::New);
  EXPECT_TRUE(rig.model.canvas().isBlank());
  rig.stroke({{10, 10}, {60, 30}});
  rig.platform.openAnswer = savedPicture("other.png");
  rig.model.runCommand(CommandId::Open);
  EXPECT_EQ(rig.model.documentName(), path("other.png"));
  rig.stroke({{10, 10}, {60, 30}});
  // Closing: discarded, so that the shut-down goes on as after the exit without saving.
  EXPECT_TRUE(rig.model.saveBeforeClosing());
  EXPECT_FALSE(rig.model.modified());
  EXPECT_EQ(rig.platform.warnings.size(), 3u);
  EXPECT_EQ(entries(), 1u);  // other.png alone
}

TEST_F(DocumentTest, NewSavesTheModifiedDrawingAndStartsABlankUnnamedPicture) {
  rig.stroke({{10, 10}, {60, 30}});
  rig.platform.now = FakePlatform::makeTime(2007, 1, 15, 8, 30, 0);
  rig.model.runCommand(CommandId::New);
  EXPECT_TRUE(std::filesystem::exists(autoSaved(".png")));
  EXPECT_TRUE(rig.model.canvas().isBlank());
  EXPECT_EQ(rig.model.documentName(), "20070115_083000");
  EXPECT_FALSE(rig.model.modified());
  EXPECT_FALSE(rig.model.undoRing().canUndo());
}

TEST_F(DocumentTest, OpenReplacesThePictureButKeepsTheCanvasColours) {
  const std::string file = savedPicture("Cat.PNG");
  rig.model.setStandInCanvas(true);
  rig.stroke({{10, 10}, {60, 30}});
  rig.platform.openAnswer = file;
  rig.model.runCommand(CommandId::Open);
  EXPECT_FALSE(rig.model.standInCanvas());
  EXPECT_TRUE(std::filesystem::exists(autoSaved(".png")));  // the replaced picture
  const MonoBitmap opened = load(file);
  EXPECT_EQ(indicesOf(rig.model.canvas()), indicesOf(opened));
  EXPECT_EQ(rig.model.canvas().getColor(0), kPaper);
  EXPECT_EQ(rig.model.documentName(), file);
  EXPECT_FALSE(rig.model.modified());
  EXPECT_EQ(rig.platform.fittedTo, (Point{50, 30}));
  // Undo after opening cannot bring back pieces of the replaced picture.
  rig.model.runCommand(CommandId::Undo);
  EXPECT_EQ(indicesOf(rig.model.canvas()), indicesOf(opened));
}

// Open says why and writes no copy of the replaced picture; a command-line word that is no
// picture is passed over without a word.
TEST_F(DocumentTest, FilesThatCannotBeOpenedChangeNothingAndSayWhy) {
  const std::string good = contentOf(savedPicture("good.png"));
  const Bytes twoBits = buildBmp({.bitCount = 2, .pixels = Bytes(4)});
  const Bytes wide = buildBmp({.width = 70000, .bitCount = 1, .pixels = Bytes(8752)});
  const struct {
    std::string name, content, reason;
  } cases[] = {
      {"cut.png", good.substr(0, 60), text::OpenFaultCutShort},
      {"pic.gif", good, text::OpenFaultNotPicture},
      {"png.bmp", good, text::OpenFaultNotBmp},
      {"text.png", "not a picture", text::OpenFaultNotPng},
      {"empty.bmp", "", text::OpenFaultEmpty},
      // The end chunk's checksum broken.
      {"crc.png", good.substr(0, good.size() - 1) + "?", text::OpenFaultDamaged},
      {"two-bits.bmp", std::string(twoBits.begin(), twoBits.end()), text::OpenFaultUnsupported},
      {"wide.bmp", std::string(wide.begin(), wide.end()), text::OpenFaultTooLarge},
      {"none.png", "", std::strerror(ENOENT)},
  };
  rig.stroke({{10, 10}, {60, 30}});
  const std::vector<int> drawn = indicesOf(rig.model.canvas());
  for (const auto& c : cases) {
    if (c.name != "none.png") writeFile(path(c.name), c.content);
    rig.platform.openAnswer = path(c.name);
    rig.model.runCommand(CommandId::Open);
    EXPECT_EQ(rig.platform.messages.back(),
              path(c.name) + text::OpenFailedSuffix + "\n" + c.reason);
    EXPECT_FALSE(rig.model.openImageFile(path(c.name))) << c.name;
    EXPECT_EQ(indicesOf(rig.model.canvas()), drawn);
    EXPECT_EQ(rig.model.documentName(), "20060604_092418");
    EXPECT_TRUE(rig.model.modified());
  }
  EXPECT_FALSE(rig.model.openImageFile(path("")));
  EXPECT_EQ(rig.platform.messages.size(), std::size(cases));
  EXPECT_EQ(entries(), std::size(cases));  // good.png, no none.png, no save folder
}

// A file's paper is its lighter colour: black and white the other way round (as ImageMagick
// writes them) open as they look, with indices unlike the file's, so that Save over the file
// asks as over a colour original. A file in the canvas's own paper and ink is one of ours: it
// keeps its indices, and its bytes when saved again, whichever colour is the lighter; so does a
// file whose colours are equal.
TEST_F(DocumentTest, AFilesLighterColourIsItsPaperUnlessTheFileIsInTheCanvasColours) {
  rig.model.settings().saveFolder = "";  // test paths carry no drive: bare names
  const Color black = 0, white = 0xFFFFFF, dark = makeColor(20, 40, 30);
  const Color light = makeColor(250, 250, 200);
  const struct {
    const char* name;
    Color paper, ink, file0, file1;
    bool swapped;
  } cases[] = {
      {"reversed.png", kPaper, kInk, black, white, true},
      {"reversed.bmp", kPaper, kInk, black, white, true},
      {"dark-canvas.png", dark, light, black, white, true},
      {"own.png", kPaper, kInk, kPaper, kInk, false},
      {"own-dark.png", dark, light, dark, light, false},
      {"own-dark.bmp", dark, light, dark, light, false},
      {"equal.bmp", kPaper, kInk, dark, dark, false},
  };
  std::size_t asked = 0;
  for (const auto& c : cases) {
    rig.model.canvas().setColor(0, c.paper);
    rig.model.canvas().setColor(1, c.ink);
    MonoBitmap file = randomPicture(50, 30, rng);
    file.setColor(0, c.file0);
    file.setColor(1, c.file1);
    ASSERT_TRUE(pictureFormatOf(c.name) == PictureFormat::Bmp ? file.saveBmp(path(c.name))
                                                              : file.savePng(path(c.name)));
    const std::string bytes = contentOf(path(c.name));
    ASSERT_TRUE(rig.model.openImageFile(path(c.name))) << c.name;
    std::vector<int> looks = indicesOf(file);
    for (int& index : looks) index = c.swapped ? 1 - index : index;
    EXPECT_EQ(indicesOf(rig.model.canvas()), looks) << c.name;
    EXPECT_EQ(rig.model.canvas().getColor(0), c.paper) << c.name;
    // No, by default, to the question over a swapped file.
    rig.model.runCommand(CommandId::Save);
    asked += c.swapped;
    EXPECT_EQ(rig.platform.warnings.size(), asked) << c.name;
    if (c.swapped || (c.file0 == c.paper && c.file1 == c.ink)) {
      EXPECT_EQ(contentOf(path(c.name)), bytes) << c.name;
    }
  }
}

// The rescue after a fault writes to a path prepared in advance: it follows every new name and
// save folder, and only a modified, non-blank picture needs it.
TEST_F(DocumentTest, TheRescuePathFollowsTheNameAndTheSaveFolder) {
  EXPECT_EQ(rig.platform.rescueBase, path("save") + "\\20060604_092418");
  rig.platform.now = FakePlatform::makeTime(2007, 1, 2, 3, 4, 5);
  rig.model.runCommand(CommandId::New);
  EXPECT_EQ(rig.platform.rescueBase, path("save") + "\\20070102_030405");
  rig.model.runCommand(CommandId::Config);  // Cancel: the values the dialog showed
  ASSERT_TRUE(rig.platform.settingsShown);
  SettingsDialogValues values = *rig.platform.settingsShown;
  values.saveFolder = path("other\\");
  rig.platform.settingsAnswer = values;
  rig.model.runCommand(CommandId::Config);
  EXPECT_EQ(rig.platform.rescueBase, path("other\\20070102_030405"));

  EXPECT_FALSE(rig.model.needsRescue());
  rig.model.setModified(true);
  EXPECT_FALSE(rig.model.needsRescue());  // blank
  rig.stroke({{10, 10}, {60, 30}});
  EXPECT_TRUE(rig.model.needsRescue());
}

TEST_F(DocumentTest, SaveOfANewPictureAsksForANameAndSaveAsCompletesIt) {
  rig.stroke({{10, 10}, {60, 30}});
  rig.platform.saveAnswer = ChosenSavePath{path("pic"), PictureFormat::Png};
  rig.model.runCommand(CommandId::Save);
  EXPECT_EQ(rig.platform.savePathAskedWith, "20060604_092418");
  EXPECT_TRUE(samePicture(load(path("pic.png")), rig.model.canvas()));
  EXPECT_EQ(rig.model.documentName(), path("pic.png"));
  EXPECT_FALSE(rig.model.modified());
  // The completed name exists: asked again, and No writes nothing.
  rig.stroke({{5, 5}, {5, 40}});
  rig.platform.saveAnswer = ChosenSavePath{path("pic"), PictureFormat::Png};
  const std::string before = contentOf(path("pic.png"));
  rig.model.runCommand(CommandId::SaveAs);
  EXPECT_EQ(rig.platform.questions.size(), 1u);
  EXPECT_EQ(contentOf(path("pic.png")), before);
  EXPECT_TRUE(rig.model.modified());
}

TEST_F(DocumentTest, SaveWritesTheFormatOfTheNameAndReportsAFailure) {
  rig.model.settings().saveFolder = "";  // test paths carry no drive, so they count as bare names
  const std::string file = savedPicture("old.BMP");
  ASSERT_TRUE(rig.model.openImageFile(file));
  rig.stroke({{1, 1}, {20, 20}});
  rig.model.runCommand(CommandId::Save);
  EXPECT_EQ(contentOf(file).substr(0, 2), "BM");
  EXPECT_FALSE(rig.model.modified());
  // A file that cannot be written any more: a folder took its place.
  rig.stroke({{1, 1}, {20, 20}});
  std::filesystem::remove(file);
  std::filesystem::create_directory(file);
  rig.model.runCommand(CommandId::Save);
  ASSERT_EQ(rig.platform.messages.size(), 1u);
  EXPECT_EQ(rig.platform.messages[0], file + text::SaveFailedSuffix + "\n" + std::strerror(EISDIR));
  EXPECT_TRUE(rig.model.modified());
}

TEST_F(DocumentTest, SavingOverAReducedOriginalAsksFirstAndNoKeepsIt) {
  rig.model.settings().saveFolder = "";  // test paths carry no drive: bare names
  // A 24-bit row of red, white and black: it opens reduced to ink and paper.
  const Bytes bytes =
      buildBmp({.width = 3, .pixels = {0, 0, 255, 255, 255, 255, 0, 0, 0, 0, 0, 0}});
  const std::string original = path("scan.bmp"), colours(bytes.begin(), bytes.end());
  writeFile(original, colours);
  ASSERT_TRUE(rig.model.openImageFile(original));
  rig.model.setModified(true);
  const std::string warning =
      original + text::ReducedOriginalSuffix + "\n" + text::OverwriteReducedQuestion;
  // No, by default, to Save and to Save As onto it: the colours stay, and so does the mark.
  rig.model.runCommand(CommandId::Save);
  rig.platform.saveAnswer = ChosenSavePath{original, PictureFormat::Bmp};
  rig.model.runCommand(CommandId::SaveAs);
  EXPECT_EQ(rig.platform.warnings, (std::vector<std::string>{warning, warning}));
  EXPECT_EQ(contentOf(original), colours);
  EXPECT_TRUE(rig.model.modified());
  // Yes writes the 1-bit picture, which is kept exactly from then on: no more asking.
  rig.platform.warningAnswer = true;
  rig.model.runCommand(CommandId::Save);
  EXPECT_FALSE(rig.model.modified());
  EXPECT_TRUE(samePicture(load(original), rig.model.canvas()));
  rig.model.setModified(true);
  rig.model.runCommand(CommandId::Save);
  EXPECT_EQ(rig.platform.warnings.size(), 3u);
  EXPECT_FALSE(rig.model.modified());
}

// Every way of closing goes through one save: made once, also when the end of the session made
// it first; a session that goes on needs it again.
TEST_F(DocumentTest, TheClosingSaveIsMadeOnceUnlessTheSessionGoesOn) {
  rig.stroke({{10, 10}, {60, 30}});
  EXPECT_TRUE(rig.model.readyToEndSession());
  EXPECT_TRUE(rig.model.readyToClose());
  EXPECT_TRUE(std::filesystem::exists(autoSaved(".png")));
  EXPECT_FALSE(std::filesystem::exists(autoSaved("_1.png")));
  rig.model.sessionGoesOn();
  EXPECT_TRUE(rig.model.readyToClose());
  EXPECT_TRUE(std::filesystem::exists(autoSaved("_1.png")));
}

// At the end of the session the process goes whatever anyone answers: nothing is asked or held
// up, a save that failed at the query is made once more, and a save already made is not repeated.
TEST_F(DocumentTest, TheEndOfTheSessionSavesOnceMoreAfterAFailureAndNeverAsks) {
  rig.stroke({{10, 10}, {60, 30}});
  const std::string folder = rig.model.settings().saveFolder;
  rig.model.settings().saveFolder = path("missing/folder");
  EXPECT_FALSE(rig.model.readyToEndSession());
  rig.model.saveAtSessionEnd();
  rig.model.settings().saveFolder = folder;
  rig.model.saveAtSessionEnd();
  rig.model.saveAtSessionEnd();
  EXPECT_TRUE(samePicture(load(autoSaved(".png")), rig.model.canvas()));
  EXPECT_FALSE(std::filesystem::exists(autoSaved("_1.png")));
  EXPECT_TRUE(rig.platform.warnings.empty());
  EXPECT_TRUE(rig.platform.messages.empty());
  // Saved at the query: nothing more is written.
  rig.model.sessionGoesOn();
  rig.stroke({{10, 40}, {60, 40}});
  EXPECT_TRUE(rig.model.readyToEndSession());
  rig.model.saveAtSessionEnd();
  EXPECT_TRUE(std::filesystem::exists(autoSaved("_1.png")));
  EXPECT_FALSE(std::filesystem::exists(autoSaved("_2.png")));
}

}  // namespace
}  // namespace tenmark
