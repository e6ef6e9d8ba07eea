// `storyloom --check` on the demo game and on a copy of it broken in one place for each kind of
// problem: the exact lines, the summary and the exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

const std::string kDemo = STORYLOOM_SOURCE_DIR "/examples/demo";

struct CheckRun {
  int status = -1;
  std::vector<std::string> out;
  std::string err;
};

std::string ReadText(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class GameCheckRun : public ::testing::Test {
 protected:
  CheckRun Check(const std::string& game) {
    std::string command = "'" STORYLOOM_BINARY_DIR "/src/app/storyloom' --check '" + game + "' >'" +
                          (tmp_ / "stdout") + "' 2>'" + (tmp_ / "stderr") + "'";
    int status = std::system(command.c_str());
    CheckRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::istringstream lines(ReadText(tmp_ / "stdout"));
    for (std::string line; std::getline(lines, line);)
      run.out.push_back(line);
    run.err = ReadText(tmp_ / "stderr");
    return run;
  }

  // A copy of the demo game to break.
  std::string CopyOfDemo() {
    std::string copy = tmp_ / "game";
    fs::copy(kDemo, copy, fs::copy_options::recursive);
    return copy;
  }

  sl::test::TempFolder tmp_;
};

TEST_F(GameCheckRun, TheDemoIsClean) {
  CheckRun run = Check(kDemo);
  EXPECT_EQ(run.status, 0);
  ASSERT_EQ(run.out.size(), 1u) << run.out.front();
  EXPECT_TRUE(run.out[0].starts_with(kDemo + ": no problems found (")) << run.out[0];
  EXPECT_EQ(run.err, "");
}

// One frame of the copy has each kind of problem: its frame file (fields up to the opening
// script), a hotspot file whose second record does not read and an action file.
TEST_F(GameCheckRun, TellsEachProblemWithItsFileAndRecord) {
  std::string game = CopyOfDemo();
  tmp_.Write("game/Frames/Broken.fme",
             "1,\"Missing.jpg\",#FALSE#\r\n#FALSE#,\"Missing.mid\"\r\n#TRUE#,\"2\",\"Nowhere\"\r\n"
             "\"Missing.avi\",0\r\n#FALSE#,#FALSE#,\"Missing.wav\"\r\n0,0,0\r\n"
             "#FALSE#,#FALSE#,0,0,0,0\r\n#TRUE#\r\n#FALSE#,0\r\n0\r\n"
             "#TRUE#,\"Visits = 1\r\nIf Visits > 1 Then\r\nVisits = 0\"\r\n");
  tmp_.Write("game/FramesData/Broken.fm2",
             "\"Spot\",0,0,0,0,0,0,0,0,0\r\n0,0,600,600\r\n0,#TRUE#,\"Missing.gif\",0,"
             "\"Missing.cur\"\r\n0,0,0\r\n\"----- SEPARATOR -----\"\r\n"
             "\"Bad\",\"x\",0,0,0,0,0,0,0,0\r\n\"----- SEPARATOR -----\"\r\n");
  tmp_.Write("game/FramesData/Broken.fm3",
             "\"Action 1\",0,0,0,0,0,0,0,0,0\r\n0,\"\",0,0,0\r\n0,\"\",0,\"\"\r\n0,0\r\n"
             "1,\"Nowhere\"\r\n0,0,0,\"\",#FALSE#,#FALSE#,0,0,0,0\r\n0,0,\"\",0,\"\"\r\n"
             "0,0,0,0\r\n0,0,0,#TRUE#\r\n0,0,0,0\r\n0\r\n0\r\n0\r\n#TRUE#\r\n0,0\r\n"
             "#TRUE#,\"Action.Message |Hello|\r\nVists = Vists + 1\"\r\n"
             "\"----- SEPARATOR -----\"\r\n");
  CheckRun run = Check(game);
  EXPECT_EQ(run.status, 1);
  std::vector<std::string> expected = {
      "Frames/Broken.fme: the picture \"Missing.jpg\" is missing",
      "Frames/Broken.fme: the music \"Missing.mid\" is missing",
      "Frames/Broken.fme: the video \"Missing.avi\" is missing",
      "Frames/Broken.fme: the sound \"Missing.wav\" is missing",
      "Frames/Broken.fme, frame timer: goes to the missing frame \"Nowhere\"",
      "Frames/Broken.fme, opening script, line 3: Expected 'If'",
      "FramesData/Broken.fm2, hotspot 1: the picture \"Missing.gif\" is missing",
      "FramesData/Broken.fm2, hotspot 1: the cursor \"Missing.cur\" is missing",
      "FramesData/Broken.fm2, hotspot 2: does not read: Type mismatch",
      "FramesData/Broken.fm3, hotspot 1: goes to the missing frame \"Nowhere\"",
      "FramesData/Broken.fm3, hotspot 1, procedure, line 2: \"Vists\" is used but not declared",
  };
  ASSERT_EQ(run.out.size(), expected.size() + 1) << ReadText(tmp_ / "stdout");
  for (std::size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(run.out[i], expected[i]);
  EXPECT_TRUE(run.out.back().starts_with(game + ": 11 problems found (")) << run.out.back();
}

TEST_F(GameCheckRun, TellsASyntaxErrorOfTheProceduresWithTheLineOfTheFile) {
  std::string game = CopyOfDemo();
  std::string procedures = ReadText(game + "/Config/Procedures");
  std::size_t lines = 0;
  for (char c : procedures)
    lines += c == '\n' ? 1 : 0;
  if (!procedures.ends_with('\n')) ++lines;
  std::ofstream(game + "/Config/Procedures", std::ios::app)
      << (procedures.ends_with('\n') ? "" : "\r\n") << "Sub Broken\r\n  x = (1 +\r\nEnd Sub\r\n";
  CheckRun run = Check(game);
  EXPECT_EQ(run.status, 1);
  ASSERT_EQ(run.out.size(), 2u) << ReadText(tmp_ / "stdout");
  EXPECT_EQ(run.out[0],
            "Config/Procedures, line " + std::to_string(lines + 2) + ": Expected expression");
}

TEST_F(GameCheckRun, AFolderThatIsNotAGameIsTold) {
  CheckRun run = Check(tmp_.Path());
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.out.empty());
  EXPECT_EQ(run.err, "storyloom: " + tmp_.Path() +
                         " is not a Storyloom game: it has no Config/General (see 'storyloom "
                         "--help' for usage)\n");
}

}  // namespace
