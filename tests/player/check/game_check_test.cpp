// The game check on hostile games: broken files of every kind, names that lead out of the game's
// folder and scripts that would do harm if they ran. The check must finish, report, stay inside
// the game's folder and run nothing.
#include "player/check/game_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/recording_message_box.h"
#include "player/player.h"
#include "support/temp_folder.h"
#include "ui/fake_platform.h"

namespace sl {
namespace {

namespace fs = std::filesystem;

const std::string kDemo = STORYLOOM_SOURCE_DIR "/examples/demo";

class GameCheckTest : public ::testing::Test {
 protected:
  GameCheckTest() { fs::copy(kDemo, game_, fs::copy_options::recursive); }

  CheckResult Check() {
    boxes_.Clear();
    Player player(platform_, boxes_, game_);
    return GameCheck(player, boxes_, game_).Run();
  }
  void Write(const std::string& relative, const std::string& bytes) {
    std::ofstream(game_ + "/" + relative, std::ios::binary | std::ios::trunc) << bytes;
  }
  std::string Read(const std::string& relative) {
    std::ifstream in(game_ + "/" + relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // The data files of the game: what the check reads with the game's readers.
  std::vector<std::string> DataFiles() {
    std::vector<std::string> files = {"Config/General", "Config/Variables", "Config/Procedures"};
    for (const char* folder : {"Frames", "FramesData", "Areas"}) {
      for (const auto& entry : fs::directory_iterator(game_ + "/" + folder)) {
        std::string ext = entry.path().extension().string();
        if (ext == ".fme" || ext.starts_with(".fm") || ext == ".obj")
          files.push_back(std::string(folder) + "/" + entry.path().filename().string());
      }
    }
    return files;
  }

  test::TempFolder tmp_;
  std::string game_ = tmp_ / "game";
  ui::test::FakePlatform platform_;
  RecordingMessageBoxService boxes_;
};

TEST_F(GameCheckTest, EveryDataFileCutShortOrGarbledIsReportedNotFatal) {
  std::vector<std::string> files = DataFiles();
  ASSERT_GT(files.size(), 20u);
  int reported = 0;
  for (const std::string& file : files) {
    std::string original = Read(file);
    std::string garbled = original;
    for (std::size_t i = garbled.size() / 3; i < garbled.size(); i += 7)
      garbled[i] = static_cast<char>("\",#\x01\xff\r"[i % 6]);
    for (const std::string& bytes : {original.substr(0, original.size() / 2), garbled,
                                     std::string("\"unterminated"), std::string(100000, ',')}) {
      Write(file, bytes);
      CheckResult result;
      ASSERT_NO_THROW(result = Check()) << file;
      bool namesTheFile = false;
      for (const std::string& line : result.problems) {
        EXPECT_FALSE(line.empty());
        namesTheFile = namesTheFile || line.starts_with(file);
      }
      reported += namesTheFile ? 1 : 0;
    }
    Write(file, original);
  }
  // Most damage shows in the file itself (a cut at a place where an older file may end is valid).
  EXPECT_GT(reported, static_cast<int>(files.size()) * 2);
}

TEST_F(GameCheckTest, NamesLeadingOutOfTheGameAreMissingEvenWhenTheFileExistsThere) {
  std::string outside = tmp_.Write("outside.jpg", "not a picture");
  std::string fme = Read("Frames/Harbour.fme");
  std::size_t at = fme.find("\"HARBOUR.JPG\"");
  ASSERT_NE(at, std::string::npos);
  fme.replace(at, 13, "\"..\\..\\outside.jpg\"");
  Write("Frames/Harbour.fme", fme);
  Write("Frames/Link.fme", "1,\"" + outside +
                               "\",#FALSE#\r\n#FALSE#,\"\"\r\n#TRUE#,\"1\","
                               "\"..\\..\\Frames\\Harbour\"\r\n\"\",0\r\n");
  CheckResult result = Check();
  EXPECT_EQ(result.problems,
            (std::vector<std::string>{
                "Frames/Harbour.fme: the picture \"..\\..\\outside.jpg\" is missing",
                "Frames/Link.fme: the picture \"" + outside + "\" is missing",
                "Frames/Link.fme, frame timer: goes to the missing frame "
                "\"..\\..\\Frames\\Harbour\"",
            }));
}

TEST_F(GameCheckTest, ItemFilesAndCombinationFilesAreChecked) {
  Write("Areas/Lamp.obj", "\"Lamp.gif\"\r\n");
  Write("Areas/Key_on_Rope.drg", "0,0,1,\"Ghost\"\r\n0,0,0\r\n#TRUE#,\"If Visits Then\"\r\n");
  Write("Areas/Rope_on_Key.drg", "0,0,x\r\n");
  EXPECT_EQ(Check().problems, (std::vector<std::string>{
                                  "Areas/Lamp.obj: the picture \"Lamp.gif\" is missing",
                                  "Areas/Key_on_Rope.drg: hands over the missing item \"Ghost\"",
                                  "Areas/Key_on_Rope.drg, procedure, line 1: Expected 'If'",
                                  "Areas/Rope_on_Key.drg: does not read: Type mismatch",
                              }));
}

TEST_F(GameCheckTest, NamesThePlayerAnswersAreDeclaredAndOnlyTheOthersAreTold) {
  std::string fme = Read("Frames/Harbour.fme");
  std::size_t at = fme.find("Visits = Visits + 1");
  ASSERT_NE(at, std::string::npos);
  fme.insert(at,
             "Dim n\r\nn = Len(Name) + Value + KeyFound\r\nHotspot(1).Left = Item(1).Left\r\n"
             "Text(1).Caption = vbCrLf & Action.GetCurrentFrameName & Count\r\n"
             "PictureBox.Visible = True\r\nMoveGull\r\nScreenObject.Width = n\r\n"
             "KeyFund = 1\r\n");
  Write("Frames/Harbour.fme", fme);
  EXPECT_EQ(Check().problems,
            (std::vector<std::string>{
                "Frames/Harbour.fme, opening script, line 8: \"KeyFund\" is used but not declared"}));
}

TEST_F(GameCheckTest, ScriptsAreCompiledButNeverRun) {
  // Global code of the procedures and an endless opening script: run, they would show a box,
  // write a file and never end.
  std::string procedures = Read("Config/Procedures");
  Write("Config/Procedures", procedures + "\r\nMsgBox \"ran\"\r\nDo\r\nLoop\r\n");
  std::string fme = Read("Frames/Harbour.fme");
  std::size_t at = fme.find("Visits = Visits + 1");
  ASSERT_NE(at, std::string::npos);
  fme.insert(at, "Action.WriteINI |x.ini|, |a|, |b|, |c|\r\nDo\r\nLoop\r\n");
  Write("Frames/Harbour.fme", fme);
  CheckResult result = Check();
  EXPECT_EQ(result.problems, std::vector<std::string>{});
  EXPECT_TRUE(boxes_.Shown().empty());
  EXPECT_FALSE(fs::exists(game_ + "/x.ini"));
  EXPECT_GE(result.scripts, 3);
}

}  // namespace
}  // namespace sl
