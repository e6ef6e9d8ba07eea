// Whole headless runs of a game whose sounds lie on CDs: the Frames folder of the CD found by
// the file's name, the index naming another CD, the insert-CD dialog asked again after a wrong
// folder, and cancelled.
#include <gtest/gtest.h>

#include <filesystem>

#include "player/cd/drive_map.h"
#include "support/headless_run.h"

namespace sl {
namespace {

namespace fs = std::filesystem;
using test::Has;
using test::Records;

class RunFromCdTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy(STORYLOOM_TEST_PROJECTS "/sound_game", game_, fs::copy_options::recursive);
    fs::rename(game_ + "/Areas/bell.wav", dir_ / "bell.wav");
    dir_.Write("game/RunFromCD.dat", "");
    dir_.Write("game/Config/CDContents",
               "\"FixtureSound\",\"1.0\",\"\",2,\"\",0\r\n"
               "\"bell.wav\",2,2\r\n");
  }
  // A CD folder of the game holding `file` (below Data/FixtureSound), the bell's bytes in it.
  std::string Cd(const std::string& name, const std::string& file) {
    std::string bytes = dir_.Read("bell.wav");
    dir_.Write(name + "/Data/FixtureSound/" + file, file.empty() ? "" : bytes);
    return dir_ / name;
  }
  // The entry of the dialog's drive list for a letter and its folder.
  static std::string Entry(char letter, const std::string& folder) {
    return std::string(1, letter) + ":\\ " + DriveKindDescription(KindOfFolder(folder)) + " " +
           folder;
  }
  test::HeadlessRun Run(const std::string& events, const std::string& options) {
    return test::RunHeadless(dir_, game_, events, options);
  }
  // The records of one kind that hold `part`.
  static std::vector<std::string> With(const std::vector<std::string>& trace, const std::string& ev,
                                       const std::string& part) {
    std::vector<std::string> found;
    for (const std::string& line : Records(trace, ev)) {
      if (Has(line, part)) found.push_back(line);
    }
    return found;
  }
  std::vector<std::string> DialogShown(const std::vector<std::string>& trace) {
    std::vector<std::string> shown;
    for (const std::string& line : Records(trace, "window")) {
      if (Has(line, "frmRunFromCD")) shown.push_back(line.substr(line.find(",\"ev\"")));
    }
    return shown;
  }

  test::TempFolder dir_;
  std::string game_ = dir_ / "game";
};

TEST_F(RunFromCdTest, AFileInTheCdsFramesFolderIsFoundByItsNameOnTheDetectedDrive) {
  std::string cd = Cd("cd", "FRAMES/Bell.WAV");
  test::HeadlessRun run = Run("click 25 25\nwait 100\n", "--cd '" + cd + "'");
  ASSERT_EQ(run.status, 0);
  EXPECT_TRUE(DialogShown(run.trace).empty());
  std::vector<std::string> settings = With(run.trace, "setting", "DriveLetter");
  ASSERT_EQ(settings.size(), 1u);
  EXPECT_TRUE(Has(settings[0], R"("section":"FixtureSound","key":"DriveLetter","value":"D")"))
      << settings[0];
  std::vector<std::string> sounds = With(run.trace, "sound", R"("op":"play")");
  ASSERT_FALSE(sounds.empty());
  EXPECT_TRUE(
      Has(sounds[0], R"("op":"play","file":")" + cd + "/Data/FixtureSound/FRAMES/Bell.WAV\""))
      << sounds[0];
}

TEST_F(RunFromCdTest, TheDialogAsksForTheIndexedCdUntilItsFolderHoldsTheFile) {
  std::string cd1 = Cd("cd1", "Frames/other.jpg");
  std::string wrong = Cd("wrong", "");
  std::string cd2 = Cd("cd2", "areas/BELL.wav");
  dir_.Write("settings.ini", "[FixtureSound]\nDriveLetter=D\n");
  test::HeadlessRun run =
      Run("click 25 25\n"
          "select Combo1 " +
              Entry('F', wrong) +
              "\n"
              "control Command3\n"
              "select Combo1 " +
              Entry('E', cd2) +
              "\n"
              "control Command3\n"
              "wait 100\n",
          "--cd '" + cd1 + "' --cd 'F=" + wrong + "' --cd 'e=" + cd2 + "'");
  ASSERT_EQ(run.status, 0);
  EXPECT_EQ(DialogShown(run.trace),
            (std::vector<std::string>{R"(,"ev":"window","name":"frmRunFromCD","shown":true})",
                                      R"(,"ev":"window","name":"frmRunFromCD","shown":false})",
                                      R"(,"ev":"window","name":"frmRunFromCD","shown":true})",
                                      R"(,"ev":"window","name":"frmRunFromCD","shown":false})"}));
  std::vector<std::string> boxes = Records(run.trace, "msgbox");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(Has(boxes[0], R"("title":"FixtureSound","text":"File Not Found:\r\n\r\n)" + wrong +
                                R"(/Data/FixtureSound/Areas/bell.010\r\n\r\nThe file may be )"
                                R"(missing, or you may have inserted the wrong CD.","icon":)"
                                R"("exclamation")"))
      << boxes[0];
  std::vector<std::string> settings = With(run.trace, "setting", "DriveLetter");
  ASSERT_EQ(settings.size(), 2u);
  EXPECT_TRUE(Has(settings[0], R"("key":"DriveLetter","value":"F")")) << settings[0];
  EXPECT_TRUE(Has(settings[1], R"("key":"DriveLetter","value":"E")")) << settings[1];
  // The game goes on with the sound from the second CD.
  std::vector<std::string> sounds = With(run.trace, "sound", R"("op":"play")");
  ASSERT_FALSE(sounds.empty());
  EXPECT_TRUE(
      Has(sounds[0], R"("op":"play","file":")" + cd2 + "/Data/FixtureSound/areas/BELL.wav\""))
      << sounds[0];
}

TEST_F(RunFromCdTest, CancellingTheDialogStopsTheGameAndShowsTheMenus) {
  std::string cd1 = Cd("cd1", "Frames/other.jpg");
  test::HeadlessRun run =
      Run("click 25 25\ncontrol Command4\nwait 100\ndump\n", "--cd '" + cd1 + "'");
  ASSERT_EQ(run.status, 0);
  EXPECT_EQ(DialogShown(run.trace).size(), 2u);
  // The game stopped: no missing-file warning, the menus shown, the dialog gone.
  EXPECT_TRUE(Records(run.trace, "msgbox").empty());
  std::vector<std::string> states = Records(run.trace, "state");
  ASSERT_EQ(states.size(), 1u);
  EXPECT_TRUE(Has(states[0], R"("menus":true)")) << states[0];
  EXPECT_TRUE(Has(states[0], R"("windows":["Game"])")) << states[0];
}

TEST_F(RunFromCdTest, TheSettingsNameTheDrivesAndTheNumberedNameComesFirst) {
  std::string cd2 = Cd("cd2", "Areas/bell.010");
  Cd("cd2", "Areas/bell.wav");
  dir_.Write("settings.ini", "[Drives]\nE=" + cd2 + "\n[FixtureSound]\nDriveLetter=E\n");
  test::HeadlessRun run = Run("click 25 25\nwait 100\n", "");
  ASSERT_EQ(run.status, 0);
  EXPECT_TRUE(DialogShown(run.trace).empty());
  std::vector<std::string> sounds = With(run.trace, "sound", R"("op":"play")");
  ASSERT_EQ(sounds.size(), 1u);
  EXPECT_TRUE(Has(sounds[0], R"("file":")" + cd2 + "/Data/FixtureSound/Areas/bell.010\""))
      << sounds[0];
}

TEST_F(RunFromCdTest, TheRunEndingWhileTheDialogAsksEndsTheLookup) {
  std::string cd1 = Cd("cd1", "Frames/other.jpg");
  test::HeadlessRun run = Run("click 25 25\n", "--cd '" + cd1 + "'");
  ASSERT_EQ(run.status, 0);
  EXPECT_EQ(DialogShown(run.trace).size(), 2u);
  EXPECT_TRUE(Records(run.trace, "msgbox").empty());
  ASSERT_FALSE(run.trace.empty());
  EXPECT_TRUE(Has(run.trace.back(), R"("ev":"exit","code":0)")) << run.trace.back();
}

TEST_F(RunFromCdTest, WithoutTheMarkerFileTheCdsAreNotLookedAt) {
  std::string cd = Cd("cd", "Frames/bell.wav");
  fs::remove(game_ + "/RunFromCD.dat");
  test::HeadlessRun run = Run("click 25 25\nwait 100\n", "--cd '" + cd + "'");
  ASSERT_EQ(run.status, 0);
  std::vector<std::string> boxes = Records(run.trace, "msgbox");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(Has(boxes[0], "missing")) << boxes[0];
  EXPECT_TRUE(With(run.trace, "setting", "DriveLetter").empty());
}

}  // namespace
}  // namespace sl
