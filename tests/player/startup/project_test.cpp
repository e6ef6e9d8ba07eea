#include "player/startup/project.h"

#include <gtest/gtest.h>

#include "core/data_file_writer.h"
#include "core/path_resolver.h"
#include "core/recording_message_box.h"
#include "player/startup/shared_routines.h"
#include "support/temp_folder.h"

namespace sl {
namespace {

// A complete project information file, every value differing from its default.
std::string FullGeneral() {
  DataFileWriter w;
  w.String("MyGame").String("unused").String("The Crypt").Integer(3).String("Hall");
  w.String("1.2").Integer(640).Integer(400).String("Ann").String("ann@x.org").String("x.org");
  w.EndLine();
  w.Integer(1).EndLine();
  w.Integer(0).Integer(0).Integer(0).String("Dark").EndLine();
  w.Integer(0).Integer(0).Integer(0).Boolean(true).Boolean(true).Integer(0).EndLine();
  w.Integer(0).Integer(0).Integer(12).Integer(4);
  for (int i = 0; i < 5; ++i)
    w.Boolean(false);
  w.Boolean(true).String("bar.gif").String("back.gif").Integer(2).Integer(0).Integer(0);
  w.String("hand.cur").EndLine();
  w.Integer(0).Integer(0).Boolean(true).EndLine();
  w.Integer(0).Boolean(true).Boolean(true).EndLine();
  w.Integer(0).Boolean(true).EndLine();
  w.Boolean(true).EndLine();
  w.Boolean(true).EndLine();
  return w.Bytes();
}

std::string FirstElevenFields() {
  DataFileWriter w;
  w.String("MyGame").String("").String("Title").Integer(0).String("Start").String("");
  w.Integer(640).Integer(480).String("").String("").String("").EndLine();
  return w.Bytes();
}

class ProjectTest : public ::testing::Test {
 protected:
  SetUpResult SetUpWith(std::string_view general) {
    dir.Write("Config/General", general);
    return project.SetUpProject(dir.Path());
  }
  test::TempFolder dir;
  PathResolver paths;
  RecordingMessageBoxService boxes;
  Project project{paths, boxes};
};

TEST_F(ProjectTest, FoldersEndInOneSeparator) {
  SetUpWith(FullGeneral());
  const ProjectFolders& f = project.Folders();
  EXPECT_EQ(f.ProjectFolder, dir.Path() + "/");
  EXPECT_EQ(f.FramesFolder, dir.Path() + "/Frames/");
  EXPECT_EQ(f.ConfigFolder, dir.Path() + "/Config/");
  EXPECT_EQ(f.InventoryFolder, dir.Path() + "/Inventory/");
}

TEST_F(ProjectTest, ProjectInRootFolder) {
  PathResolver rootPaths;
  Project root(rootPaths, boxes);
  root.SetUpProject("/");
  EXPECT_EQ(root.Folders().ProjectFolder, "/");
  EXPECT_EQ(root.Folders().FramesFolder, "/Frames/");
}

TEST_F(ProjectTest, ReadsAllFields) {
  ASSERT_EQ(SetUpWith(FullGeneral()), SetUpResult::Continue);
  EXPECT_TRUE(boxes.Shown().empty());
  const ProjectInformation& i = project.Info();
  EXPECT_EQ(i.ProjectName, "MyGame");
  EXPECT_EQ(i.GameTitle, "The Crypt");
  EXPECT_EQ(i.InitialFrame, "Hall");
  EXPECT_EQ(i.GameVersion, "1.2");
  EXPECT_EQ(i.PictureWidth, 640);
  EXPECT_EQ(i.PictureHeight, 400);
  EXPECT_EQ(i.AuthorHomepage, "x.org");
  EXPECT_EQ(i.ResolutionOffer, 1);
  EXPECT_EQ(i.SchemeName, "Dark");
  EXPECT_TRUE(i.HideLoadButton);
  EXPECT_TRUE(i.HideSaveButton);
  EXPECT_EQ(i.InventoryItemGap, 12);
  EXPECT_EQ(i.InventoryMargin, 4);
  EXPECT_FALSE(i.InventoryAnimated);
  EXPECT_FALSE(i.InventoryPopUpOnAdd);
  EXPECT_TRUE(i.InventoryBackgroundShown);
  EXPECT_EQ(i.InventoryPicture1, "bar.gif");
  EXPECT_EQ(i.InventoryPicture2, "back.gif");
  EXPECT_EQ(i.TargetResolution, 2);
  EXPECT_EQ(i.DefaultPointer, "hand.cur");
  EXPECT_TRUE(i.MenusAlwaysShown);
  EXPECT_TRUE(i.SkipTitleScreen);
  EXPECT_TRUE(i.HideLogo);
  EXPECT_TRUE(i.HideTransitionsOption);
  EXPECT_TRUE(i.HideEffectsOption);
  EXPECT_TRUE(i.MenusNeverShown);
}

TEST_F(ProjectTest, FileEndingAfterFieldElevenKeepsDefaults) {
  project.MutableInfo().SkipTitleScreen = true;  // left over from before: reset by the defaults
  ASSERT_EQ(SetUpWith(FirstElevenFields()), SetUpResult::Continue);
  EXPECT_TRUE(boxes.Shown().empty());
  const ProjectInformation& i = project.Info();
  EXPECT_EQ(i.ProjectName, "MyGame");
  EXPECT_EQ(i.ResolutionOffer, 0);
  EXPECT_EQ(i.TargetResolution, 0);
  EXPECT_FALSE(i.SkipTitleScreen);
  EXPECT_FALSE(i.MenusNeverShown);
  EXPECT_FALSE(i.InventoryBackgroundShown);
  EXPECT_TRUE(i.InventoryAnimated && i.InventorySlideIn && i.InventorySlideOut &&
              i.InventoryHideWhenEmpty && i.InventoryPopUpOnAdd);
  EXPECT_EQ(i.InventoryItemGap, 10);
  EXPECT_EQ(i.InventoryPicture1, "DEFAULT");
  EXPECT_EQ(i.DefaultPointer, "DEFAULT");
}

TEST_F(ProjectTest, EveryCheckpointStopsCleanly) {
  // Cut the full file after each line: each line ends at an end-of-file checkpoint.
  std::string full = FullGeneral();
  ASSERT_EQ(SetUpWith(full), SetUpResult::Continue);
  for (std::size_t at = full.find("\r\n"); at != std::string::npos;
       at = full.find("\r\n", at + 2)) {
    boxes.Clear();
    dir.Write("Config/General", full.substr(0, at + 2));
    project.LoadProjectInformation();
    EXPECT_TRUE(boxes.Shown().empty()) << "cut at " << at;
  }
  // Cut inside a group: the reader runs past the end, which is an error.
  dir.Write("Config/General", FirstElevenFields() + "1\r\n0,0,0\r\n");
  boxes.Clear();
  project.LoadProjectInformation();
  EXPECT_EQ(boxes.Shown().size(), 1u);
}

// Every frame keeps surfaces of the picture size: 32767 x 32767 cost 12.6 GB.
TEST_F(ProjectTest, PictureSizeIsCappedWithAMessage) {
  DataFileWriter w;
  w.String("MyGame").String("").String("Title").Integer(0).String("Start").String("");
  w.Integer(32767).Integer(600).String("").String("").String("").EndLine();
  ASSERT_EQ(SetUpWith(w.Bytes()), SetUpResult::Continue);
  EXPECT_EQ(project.Info().PictureWidth, kMaxFramePictureSide);
  EXPECT_EQ(project.Info().PictureHeight, 600);
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text,
            "The frame picture size of this game, 32767 x 600 pixels, is larger than the player "
            "shows; 8192 x 600 pixels are used.");
  EXPECT_EQ(boxes.Shown()[0].icon, MsgIcon::Exclamation);

  boxes.Clear();
  SetUpWith(FirstElevenFields());
  EXPECT_EQ(project.Info().PictureWidth, 640);
  EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(ProjectTest, BadFieldShowsReportAndKeepsValuesReadSoFar) {
  DataFileWriter w;
  w.String("MyGame").String("").String("Title").Integer(0).String("Start").String("v");
  w.String("wide").Integer(480).EndLine();
  ASSERT_EQ(SetUpWith(w.Bytes()), SetUpResult::Continue);
  ASSERT_EQ(boxes.Shown().size(), 1u);
  const MessageBoxRequest& box = boxes.Shown()[0];
  EXPECT_EQ(box.title, "Error");
  EXPECT_EQ(box.icon, MsgIcon::Critical);
  EXPECT_EQ(box.text,
            "An error has occurred. The program may not work properly. Press 'Esc' and the "
            "click 'Exit' to quit.\r\n\r\nError description: Error loading project information.");
  EXPECT_EQ(project.Info().GameTitle, "Title");
  EXPECT_EQ(project.Info().GameVersion, "v");
}

TEST_F(ProjectTest, MissingGeneralIsNotAGame) {
  EXPECT_EQ(project.SetUpProject(dir.Path()), SetUpResult::NotAGame);
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text,
            "The following file is missing: " + dir.Path() + "/Config/General");
  EXPECT_EQ(boxes.Shown()[0].icon, MsgIcon::Exclamation);
  EXPECT_EQ(boxes.Shown()[0].title, "Error");
}

TEST_F(ProjectTest, FoldersAndFilesInAnyLetterCase) {
  PathResolver p2;
  test::TempFolder other;
  other.Write("cOnFiG/general", FullGeneral());
  other.Write("cOnFiG/TEXTS", "1");
  Project game(p2, boxes);
  ASSERT_EQ(game.SetUpProject(other.Path()), SetUpResult::Continue);
  EXPECT_EQ(game.Info().GameTitle, "The Crypt");
  EXPECT_EQ(game.Texts()[1], "Start New Game");
  EXPECT_TRUE(boxes.Shown().empty());
}

class LargeFonts : public DisplayChecks {
 public:
  bool UsesLargeFonts() override { return true; }
};

TEST_F(ProjectTest, LargeFontsQuestion) {
  LargeFonts large;
  project.SetDisplayChecks(&large);
  EXPECT_EQ(SetUpWith(FullGeneral()), SetUpResult::EndProgram);  // No is the default answer
  ASSERT_EQ(boxes.Shown().size(), 1u);
  const MessageBoxRequest& box = boxes.Shown()[0];
  EXPECT_EQ(box.title, "!!!");
  EXPECT_EQ(box.buttons, MsgButtons::YesNo);
  EXPECT_EQ(box.defaultButton, 1);
  EXPECT_EQ(box.text.find(project.Texts()[40] + "\r\n\r\n" + project.Texts()[41]), 0u);
  EXPECT_EQ(project.Info().ProjectName, "");  // not loaded

  boxes.Clear();
  boxes.QueueAnswer(MsgAnswer::Yes);
  PathResolver p2;
  Project again(p2, boxes);
  again.SetDisplayChecks(&large);
  EXPECT_EQ(again.SetUpProject(dir.Path()), SetUpResult::Continue);
  EXPECT_EQ(again.Info().ProjectName, "MyGame");
}

class CdDrive : public CdLookup {
 public:
  explicit CdDrive(std::string cd) : cd_(std::move(cd)) {}
  std::string CdLocation(const std::string& path) override {
    return cd_ + path.substr(path.rfind('/') + 1);
  }

 private:
  std::string cd_;
};

TEST_F(ProjectTest, FindMediaFile) {
  dir.Write("Areas/Music.012", "mp3");
  dir.Write("Areas/Door.wav", "wav");
  dir.Write(".005", "names of four characters are not mapped");
  SetUpWith(FullGeneral());
  const std::string areas = project.Folders().AreasFolder;
  EXPECT_EQ(project.FindMediaFile(areas + "door.WAV"), areas + "door.WAV");
  EXPECT_EQ(project.FindMediaFile(areas + "Music.MP3"), areas + "Music.012");
  EXPECT_TRUE(boxes.Shown().empty());

  EXPECT_EQ(project.FindMediaFile(areas + "Gone.mp3"), areas + "Gone.mp3");
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].text, "The following file is missing:\r\n" + areas +
                                       "Gone.mp3\r\n\r\n" + project.Texts()[34]);
  EXPECT_EQ(boxes.Shown()[0].icon, MsgIcon::Exclamation);

  boxes.Clear();
  EXPECT_EQ(project.FindMediaFile(".jpg"), ".jpg");
  EXPECT_EQ(boxes.Shown().size(), 1u);

  boxes.Clear();
  bool stopping = true;
  project.SetGameStoppingQuery([&] { return stopping; });
  EXPECT_EQ(project.FindMediaFile(areas + "Gone.mp3"), areas + "Gone.mp3");
  EXPECT_TRUE(boxes.Shown().empty());

  test::TempFolder cd;
  cd.Write("Gone.mp3", "on the CD");
  CdDrive drive(cd.Path() + "/");
  project.SetCdLookup(&drive);
  EXPECT_EQ(project.FindMediaFile(areas + "Gone.mp3"), cd / "Gone.mp3");
}

TEST_F(ProjectTest, SafeDirAndDeleteFileIfExists) {
  dir.Write("Saves/b.sav", "");
  dir.Write("Saves/A.SAV", "");
  SetUpWith(FullGeneral());
  EXPECT_EQ(project.SafeDir("saves\\*.sav"), "A.SAV");
  EXPECT_EQ(project.SafeDir(dir.Path() + "/SAVES/B.Sav"), "b.sav");
  EXPECT_EQ(project.SafeDir("saves\\"), "A.SAV");
  EXPECT_EQ(project.SafeDir("nowhere\\*.*"), "");
  EXPECT_EQ(project.SafeDir(""), "");
  project.DeleteFileIfExists("SAVES\\a.sav");
  project.DeleteFileIfExists("SAVES\\a.sav");
  EXPECT_FALSE(dir.Exists("Saves/A.SAV"));
  EXPECT_EQ(project.SafeDir("saves\\*.sav"), "b.sav");
}

TEST(SharedRoutinesTest, MediaExtensionsAndTexts) {
  EXPECT_EQ(MapMediaExtension("Frames\\Pic.JPG"), "Frames\\Pic.005");
  EXPECT_EQ(MapMediaExtension("a.ico"), "a.002");
  EXPECT_EQ(MapMediaExtension("a.Wma"), "a.016");
  EXPECT_EQ(MapMediaExtension("a.jpeg"), "a.jpeg");
  EXPECT_EQ(MapMediaExtension("a.png"), "a.png");
  EXPECT_EQ(MapMediaExtension(".mp"), ".mp");
  EXPECT_EQ(FileNameOfPath("C:\\Games\\x\\pic.jpg"), "pic.jpg");
  EXPECT_EQ(FileNameOfPath("/home/me/game/Frames\\pic.jpg"), "pic.jpg");
  EXPECT_EQ(FileNameOfPath("plain"), "plain");
  EXPECT_EQ(FileNameOfPath("folder\\"), "");
  EXPECT_EQ(NonNegative(-1), 0);
  EXPECT_EQ(NonNegative(7), 7);
  EXPECT_EQ(UnescapeScriptText("MsgBox |Hi|"), "MsgBox \"Hi\"");
  EXPECT_EQ(UnescapeScriptText("no bars"), "no bars");
}

}  // namespace
}  // namespace sl
