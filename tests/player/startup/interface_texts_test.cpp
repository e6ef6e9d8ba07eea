#include "player/startup/interface_texts.h"

#include <gtest/gtest.h>

#include "core/path_resolver.h"
#include "core/recording_message_box.h"
#include "support/temp_folder.h"

namespace sl {
namespace {

class InterfaceTextsTest : public ::testing::Test {
 protected:
  void Load(std::string_view textsFile) {
    dir.Write("Config/Texts", textsFile);
    Load();
  }
  void Load() { texts.LoadInterfaceTexts(paths, paths.ProjectFolder() + "/Config/", boxes); }
  bool ShowsUnableToLoad() const {
    return boxes.Shown().size() == 1 && boxes.Shown()[0].text == "Unable to load text." &&
           boxes.Shown()[0].title == "Error" && boxes.Shown()[0].icon == MsgIcon::Critical;
  }

  test::TempFolder dir;
  PathResolver paths{dir.Path()};
  RecordingMessageBoxService boxes;
  InterfaceTexts texts;
};

TEST_F(InterfaceTextsTest, BuiltInWordings) {
  InterfaceTexts program, game;
  program.LoadBuiltInTexts(false);
  game.LoadBuiltInTexts(true);
  EXPECT_EQ(program[2], "  Load...");
  EXPECT_EQ(program[8], "  Save...");
  EXPECT_EQ(game[2], "Load Game...");
  EXPECT_EQ(program[30],
            "An error has occurred. The program may not work properly. Press 'Esc' and the "
            "click 'Exit' to quit.");
  EXPECT_EQ(game[34],
            "This file may have been moved or removed from its original location. The game may "
            "not work properly until the missing file is placed back in its original location. "
            "Press 'Esc' and the click 'Exit' to quit.");
  EXPECT_EQ(program[37], "CD-Rom drive:");
  EXPECT_EQ(game[37], "CD-ROM Drive:");
  EXPECT_EQ(program[41],
            "To fix the problem, go to the 'Control Panel' (from the 'Settings' menu of the Start "
            "Menu), double-click 'Display', click the 'Settings' tab, click 'Advanced...', select "
            "'Small Fonts' under 'Font size', click 'OK', and then restart your computer.");
  EXPECT_EQ(program[47], "Please insert the CD#");
  EXPECT_EQ(program[51], "Disable Real-Time Effects");
  // The wordings differ exactly in these entries; entries without a text are empty.
  const std::vector<int> differing = {1, 2, 8, 17, 18, 21, 23, 26, 30, 34, 36, 37, 38};
  for (int k = 0; k < InterfaceTexts::kCount; ++k) {
    bool differs = std::find(differing.begin(), differing.end(), k) != differing.end();
    EXPECT_EQ(program[k] != game[k], differs) << "entry " << k;
    bool empty = k == 0 || k == 16 || k == 20 || k == 28 || k == 39 || k == 42 || k >= 52;
    EXPECT_EQ(program[k].empty(), empty) << "entry " << k;
  }
  EXPECT_EQ(program[-1], "");
  EXPECT_EQ(program[61], "");
}

TEST_F(InterfaceTextsTest, MissingFileGivesProgramWordingSilently) {
  Load();
  EXPECT_EQ(texts[1], "Start");
  EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(InterfaceTextsTest, ModeOneAloneGivesGameWording) {
  Load("1");
  EXPECT_EQ(texts[1], "Start New Game");
  EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(InterfaceTextsTest, ModeTwoReplacesTheFirstEntries) {
  texts.Set(55, "stale");
  Load("2\r\n1,2,3,4,5\r\n3\r\n\"Go\",\"Lade\",\"Raus\"\r\n");
  EXPECT_EQ(texts[1], "Go");
  EXPECT_EQ(texts[3], "Raus");
  EXPECT_EQ(texts[4], "Created By:");
  EXPECT_EQ(texts[51], "Disable Real-Time Effects");
  EXPECT_EQ(texts[55], "stale");  // entries above 51 are only ever set by the file
  EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(InterfaceTextsTest, SixtyOneEntriesFailAfterTheLastOneIsRead) {
  std::string file = "2,0,0,0,0,0,61\r\n";
  for (int k = 1; k <= 61; ++k)
    file += "\"T" + std::to_string(k) + "\"\r\n";
  Load(file);
  EXPECT_TRUE(ShowsUnableToLoad());
  EXPECT_EQ(texts[1], "Start");
  EXPECT_EQ(texts[51], "Disable Real-Time Effects");
  EXPECT_EQ(texts[52], "T52");
  EXPECT_EQ(texts[60], "T60");
}

TEST_F(InterfaceTextsTest, FaultyFilesShowTheMessageAndFallBack) {
  for (std::string_view bad : {"abc", "2,0,0,0,0,0,5,\"only one\"", "2,0,0", "", "99999"}) {
    boxes.Clear();
    texts.LoadBuiltInTexts(true);
    Load(bad);
    EXPECT_TRUE(ShowsUnableToLoad()) << bad;
    EXPECT_EQ(texts[1], "Start") << bad;
  }
}

TEST_F(InterfaceTextsTest, UnknownModeIsTreatedAsModeZero) {
  Load("7");
  EXPECT_EQ(texts[1], "Start");
  EXPECT_EQ(texts[29], "Error");
  EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(InterfaceTextsTest, AccentedTextsAreConvertedToUtf8) {
  Load("2,0,0,0,0,0,1,\"D\xE9marrer\"");
  EXPECT_EQ(texts[1], "Démarrer");
}

}  // namespace
}  // namespace sl
