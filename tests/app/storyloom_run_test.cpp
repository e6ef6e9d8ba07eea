// The storyloom program run headless on fixture projects with event scripts: exit statuses and
// the trace it writes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ui/draw/png_io.h"

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

class StoryloomRun : public ::testing::Test {
 protected:
  void SetUp() override {
    // The process id keeps runs of the tests in other build folders at the same time apart.
    dir_ = fs::temp_directory_path() /
           ("storyloom_app_test_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
            std::to_string(getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the program with `args` (each quoted) after `prefix` (e.g. an env command); returns
  // its exit status.
  int Run(const std::vector<std::string>& args, const std::string& prefix = "") {
    std::string command = prefix + "'" STORYLOOM_BINARY_DIR "/src/app/storyloom'";
    for (const std::string& a : args)
      command += " '" + a + "'";
    command += " >'" + (dir_ / "stdout").string() + "' 2>'" + (dir_ / "stderr").string() + "'";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  fs::path Script(const std::string& text) {
    std::ofstream(dir_ / "events.txt") << text;
    return dir_ / "events.txt";
  }
  std::vector<std::string> Trace() const { return Lines(ReadText(dir_ / "trace.jsonl")); }
  std::string Stderr() const { return ReadText(dir_ / "stderr"); }
  std::string Stdout() const { return ReadText(dir_ / "stdout"); }
  std::vector<std::string> Common() const {
    return {"--headless", "--settings", (dir_ / "settings.ini").string(), "--trace",
            (dir_ / "trace.jsonl").string()};
  }

  // The start-up records where the project lives.
  std::string PathSetting() const {
    return R"({"t":0,"ev":"setting","section":"Tiny","key":"Path","value":")" +
           fs::weakly_canonical(tiny_).string() + R"(/"})";
  }

  fs::path dir_;
  const std::string tiny_ = STORYLOOM_TEST_PROJECTS "/tiny";
};

TEST_F(StoryloomRun, PlaysAScriptAndWritesTheTrace) {
  auto args = Common();
  fs::path shot = dir_ / "title.png";
  args.insert(args.end(), {"--events",
                           Script("# the title window\nwait 1000\ndump\nscreenshot " +
                                  shot.string() + "\nwait 500\n")
                               .string(),
                           tiny_});
  ASSERT_EQ(Run(args), 0) << Stderr();
  EXPECT_EQ(Trace(), (std::vector<std::string>{
                         PathSetting(), R"({"t":0,"ev":"window","name":"frmWelcome","shown":true})",
                         R"({"t":1000,"ev":"state","frame":"","history":[],"variables":[],)"
                         R"("variants":[],"inventory":[],"disappeared":[],"hotspots":[],)"
                         R"("texts":[],"message":null,"menus":false,"frame_timer":)"
                         R"({"enabled":false,"interval":0,"target":""},"timed_events":[],)"
                         R"("windows":["frmWelcome"]})",
                         R"({"t":1500,"ev":"window","name":"frmWelcome","shown":false})",
                         R"({"t":1500,"ev":"exit","code":0})"}));
  sl::draw::Surface picture = sl::draw::LoadPng(shot);
  EXPECT_GT(picture.Width(), 0);
  EXPECT_GT(picture.Height(), 0);
  EXPECT_TRUE(Stderr().empty()) << Stderr();
}

TEST_F(StoryloomRun, AScreenSizeGivenIsTheTracesFirstRecord) {
  auto args = Common();
  args.insert(args.end(), {"--screen", "800x600", "--events", Script("wait 10\n").string(), tiny_});
  ASSERT_EQ(Run(args), 0) << Stderr();
  auto trace = Trace();
  ASSERT_GE(trace.size(), 2u);
  EXPECT_EQ(trace[0], R"({"t":0,"ev":"display","width":800,"height":600})");
  EXPECT_EQ(trace[1], PathSetting());
}

TEST_F(StoryloomRun, AMalformedScriptIsRefusedBeforeAnythingRuns) {
  auto args = Common();
  args.insert(args.end(), {"--events", Script("wait 10\nclik 1 2\n").string(), tiny_});
  EXPECT_EQ(Run(args), 2);
  EXPECT_NE(Stderr().find("events.txt:2: unknown command 'clik'"), std::string::npos) << Stderr();
  EXPECT_FALSE(fs::exists(dir_ / "trace.jsonl"));
}

// A command that names no control, menu entry or list entry is as broken as a typing error:
// the run ends there, the message names the line, the status is 2.
TEST_F(StoryloomRun, ANamedCommandThatFindsNothingEndsTheRunWithItsLine) {
  for (const char* command : {"control cmdNoSuch", "menu mnuNoSuch", "select lstNoSuch an entry"}) {
    SCOPED_TRACE(command);
    auto args = Common();
    args.insert(
        args.end(),
        {"--events", Script(std::string("wait 10\n") + command + "\nwait 500\ndump\n").string(),
         tiny_});
    EXPECT_EQ(Run(args), 2);
    EXPECT_NE(Stderr().find("events.txt:2: no "), std::string::npos) << Stderr();
    auto trace = Trace();
    ASSERT_FALSE(trace.empty());
    EXPECT_EQ(trace.back(), R"({"t":10,"ev":"exit","code":2})");
  }
}

TEST_F(StoryloomRun, AFolderThatIsNotAGameShowsTheMessageThenSaysSoOnStandardError) {
  fs::create_directories(dir_ / "empty" / "Config");
  auto args = Common();
  args.push_back((dir_ / "empty").string());
  EXPECT_EQ(Run(args), 1);
  auto trace = Trace();
  ASSERT_EQ(trace.size(), 2u);
  EXPECT_EQ(trace[0], R"({"t":0,"ev":"msgbox","title":"Error","text":"The following file is )"
                      R"(missing: )" +
                          (dir_ / "empty").string() +
                          R"(/Config/General","icon":"exclamation","buttons":"ok",)"
                          R"("answer":"default","button":"ok"})");
  EXPECT_EQ(trace[1], R"({"t":0,"ev":"exit","code":1})");
  EXPECT_EQ(Stderr(), "storyloom: " + (dir_ / "empty").string() +
                          " is not a Storyloom game: it has no Config/General (see 'storyloom "
                          "--help' for usage)\n");
  EXPECT_EQ(Stdout(), "");

  args.back() = (dir_ / "no such folder").string();
  EXPECT_EQ(Run(args), 1);
  EXPECT_EQ(Stderr(), "storyloom: no such folder: " + (dir_ / "no such folder").string() +
                          " (see 'storyloom --help' for usage)\n");
  EXPECT_EQ(Trace().back(), R"({"t":0,"ev":"exit","code":1})");
}

TEST_F(StoryloomRun, WithoutAFolderTheLastGamePlayedOpens) {
  auto args = Common();
  args.insert(args.end(), {"--events", Script("wait 10\n").string()});
  // Nothing played yet, and no game beside the program: the usage, status 2.
  EXPECT_EQ(Run(args), 2);
  EXPECT_EQ(Stderr().rfind("storyloom: no game folder given, and none was played before\n\n"
                           "Usage: storyloom [OPTIONS] [PROJECT_DIR]\n",
                           0),
            0u)
      << Stderr();
  EXPECT_NE(Stderr().find("Exit status:"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir_ / "trace.jsonl"));

  args.push_back(tiny_);
  ASSERT_EQ(Run(args), 0) << Stderr();
  args.pop_back();
  ASSERT_EQ(Run(args), 0) << Stderr();
  auto trace = Trace();
  ASSERT_FALSE(trace.empty());
  EXPECT_EQ(trace[0], PathSetting());

  // The last game's folder went away: the usage again.
  fs::copy(tiny_, dir_ / "copy", fs::copy_options::recursive);
  args.push_back((dir_ / "copy").string());
  ASSERT_EQ(Run(args), 0) << Stderr();
  args.pop_back();
  fs::remove_all(dir_ / "copy");
  EXPECT_EQ(Run(args), 2);
  EXPECT_NE(Stderr().find("the last game played (" + (dir_ / "copy").string() + ") is gone"),
            std::string::npos)
      << Stderr();
}

TEST_F(StoryloomRun, ABadCommandLineIsExitStatusTwo) {
  EXPECT_EQ(Run({"--no-such-option"}), 2);
  EXPECT_FALSE(Stderr().empty());
}

TEST_F(StoryloomRun, WithoutHeadlessAndWithoutADisplayItSaysHowToRunHeadless) {
  std::vector<std::string> args{"--settings", (dir_ / "settings.ini").string(), tiny_};
  ASSERT_EQ(Run(args, "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "), 1);
  EXPECT_NE(Stderr().find("cannot open a window"), std::string::npos) << Stderr();
  EXPECT_NE(Stderr().find("storyloom --headless"), std::string::npos) << Stderr();
  EXPECT_EQ(Stdout(), "");
  EXPECT_FALSE(fs::exists(dir_ / "settings.ini"));  // nothing ran
}

TEST_F(StoryloomRun, AnUnwritableTraceIsFatal) {
  std::vector<std::string> args{"--headless", "--trace", (dir_ / "no" / "such" / "t").string(),
                                tiny_};
  EXPECT_EQ(Run(args), 1);
  EXPECT_NE(Stderr().find("trace"), std::string::npos);
}

}  // namespace
