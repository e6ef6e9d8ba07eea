#include "app/command_line.h"

#include <gtest/gtest.h>

#include "core/path_resolver.h"

namespace sl {
namespace {

CommandLineResult Parse(std::vector<std::string> args) {
  return ParseCommandLine(args);
}

TEST(CommandLineTest, AllOptions) {
  CommandLineResult r =
      Parse({"--headless", "--events",    "walk.txt",    "--trace=-", "--settings",
             "s.ini",      "--screen",    "1024x768",    "--clock",   "2010-02-28T23:59:58",
             "--seed=-5",  "--mute",      "--soundfont", "gm.sf2",    "--cd",
             "/mnt/cd1",   "--cd=f=cd 2", "--cd",        "cd3",       "games/crypt"});
  ASSERT_EQ(r.error, "");
  const CommandLineOptions& o = r.options;
  EXPECT_TRUE(o.headless);
  EXPECT_EQ(o.eventsFile, "walk.txt");
  EXPECT_EQ(o.traceFile, "-");
  EXPECT_EQ(o.settingsFile, "s.ini");
  ASSERT_TRUE(o.screen);
  EXPECT_EQ(o.screen->width, 1024);
  EXPECT_EQ(o.screen->height, 768);
  ASSERT_TRUE(o.clock);
  EXPECT_EQ(*o.clock, (CivilTime{2010, 2, 28, 23, 59, 58, 0}));
  EXPECT_EQ(o.seed, -5);
  EXPECT_TRUE(o.mute);
  EXPECT_EQ(o.soundFont, "gm.sf2");
  ASSERT_EQ(o.cdDrives.size(), 3u);  // every --cd adds one, in order
  EXPECT_EQ(o.cdDrives[0].letter, 0);
  EXPECT_EQ(o.cdDrives[0].folder, "/mnt/cd1");
  EXPECT_EQ(o.cdDrives[1].letter, 'F');
  EXPECT_EQ(o.cdDrives[1].folder, "cd 2");
  EXPECT_EQ(o.cdDrives[2].folder, "cd3");
  EXPECT_EQ(o.projectDir, "games/crypt");
  EXPECT_FALSE(o.help || o.version);
}

TEST(CommandLineTest, DefaultsAndFlags) {
  CommandLineResult r = Parse({});
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(r.options.projectDir, "");
  EXPECT_FALSE(r.options.headless);
  EXPECT_FALSE(r.options.clock);
  EXPECT_FALSE(r.options.mute);
  EXPECT_FALSE(r.options.soundFont);
  EXPECT_TRUE(Parse({"--help"}).options.help);
  EXPECT_TRUE(Parse({"-h"}).options.help);
  EXPECT_TRUE(Parse({"--version"}).options.version);
  EXPECT_EQ(Parse({"--events", "e.txt"}).error, "");  // also without --headless
  EXPECT_EQ(Parse({"--", "-odd name"}).options.projectDir, "-odd name");
}

TEST(CommandLineTest, BadCommandLinesNameTheProblem) {
  struct Case {
    std::vector<std::string> args;
    std::string error;
  };
  const std::vector<Case> cases = {
      {{"--bogus"}, "unknown option --bogus"},
      {{"--trace"}, "option --trace needs a value"},
      {{"--events="}, "option --events needs a value"},
      {{"--screen", "1024"}, "--screen wants WIDTHxHEIGHT, e.g. 1024x768"},
      {{"--screen", "0x768"}, "--screen wants WIDTHxHEIGHT, e.g. 1024x768"},
      {{"--screen", "800x600x2"}, "--screen wants WIDTHxHEIGHT, e.g. 1024x768"},
      {{"--headless", "--clock", "2004-02-30T12:00:00"}, "--clock wants YYYY-MM-DDTHH:MM:SS"},
      {{"--headless", "--clock", "2004-03-07 12:00:00"}, "--clock wants YYYY-MM-DDTHH:MM:SS"},
      {{"--clock", "2004-03-07T12:00:00"}, "--clock needs --headless"},
      {{"--seed", "x"}, "--seed wants a whole number"},
      {{"--seed", "99999999999"}, "--seed wants a whole number"},
      {{"--headless=yes"}, "option --headless takes no value"},
      {{"--mute=no"}, "option --mute takes no value"},
      {{"--soundfont"}, "option --soundfont needs a value"},
      {{"--cd"}, "option --cd needs a value"},
      {{"--cd", "Z=/mnt/cd"}, "--cd wants DIR or LETTER=DIR, LETTER from A to V"},
      {{"a", "b"}, "only one project folder may be given (extra: b)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Parse(c.args).error, c.error) << c.args[0];
  }
}

TEST(CommandLineTest, DesktopChoices) {
  CommandLineResult r = Parse({"--fullscreen", "--scale", "smooth"});
  ASSERT_EQ(r.error, "");
  EXPECT_EQ(r.options.fullscreen, true);
  EXPECT_EQ(r.options.scale, ui::ScaleMode::Smooth);
  r = Parse({"--fullscreen", "--windowed", "--scale=pixel-perfect"});  // the last one counts
  ASSERT_EQ(r.error, "");
  EXPECT_EQ(r.options.fullscreen, false);
  EXPECT_EQ(r.options.scale, ui::ScaleMode::PixelPerfect);
  r = Parse({});
  EXPECT_FALSE(r.options.fullscreen);
  EXPECT_FALSE(r.options.scale);
  EXPECT_EQ(Parse({"--scale", "blurry"}).error, "--scale wants auto, pixel-perfect or smooth");
  EXPECT_EQ(Parse({"--scale"}).error, "option --scale needs a value");
  EXPECT_EQ(Parse({"--windowed=1"}).error, "option --windowed takes no value");
}

TEST(CommandLineTest, UsageNamesEveryOption) {
  std::string usage = Usage();
  for (const char* option :
       {"--headless", "--events", "--trace",     "--settings", "--screen",     "--clock",
        "--seed",     "--mute",   "--soundfont", "--cd",       "--fullscreen", "--windowed",
        "--scale",    "--help",   "--version",   "Ctrl+M",     "F11",          "Alt+Enter",
        "F12",        "Ctrl+S",   "Ctrl+L",      "Ctrl+Q",     "Esc",          "PROJECT_DIR"}) {
    EXPECT_NE(usage.find(option), std::string::npos) << option;
  }
  EXPECT_EQ(DefaultHeadlessClock(), (CivilTime{2004, 3, 7, 12, 0, 0, 0}));
}

// The manual page is written by hand: every option of --help must be in it (as roff writes
// a dash), and so must every exit status.
TEST(CommandLineTest, TheManualPageHasEveryOptionOfTheHelp) {
  std::string page = PathResolver(STORYLOOM_SOURCE_DIR).ReadFile("dist/storyloom.6");
  ASSERT_FALSE(page.empty());
  std::string usage = Usage();
  int options = 0;
  for (std::size_t at = usage.find("  --"); at != std::string::npos;
       at = usage.find("  --", at + 1), ++options) {
    std::size_t end = usage.find_first_of(" ,\n", at + 2);
    std::string option = usage.substr(at + 2, end - at - 2);
    std::string roff = "\\-\\-" + option.substr(2);
    bool listed = page.find("\n.B " + roff + "\n") != std::string::npos ||
                  page.find("\n.BI " + roff + " ") != std::string::npos;
    EXPECT_TRUE(listed) << option;
  }
  EXPECT_GE(options, 9);
  for (const char* status : {".B 0\n", ".B 1\n", ".B 2\n"})
    EXPECT_NE(page.find(status), std::string::npos) << status;
}

}  // namespace
}  // namespace sl
