// The project's procedures: reading "Config\Procedures" after its three header lines, plain or
// scrambled, and the unscrambling of a line.
#include "player/scripting/procedures.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/file_io.h"
#include "core/path_resolver.h"
#include "core/recording_message_box.h"
#include "player/scripting/script_fixture.h"
#include "player/startup/project.h"
#include "support/procedures_writer.h"
#include "support/temp_folder.h"

namespace sl {
namespace {

struct FixtureCopy : test::FixtureCopy {
  std::string Load(RecordingMessageBoxService& boxes) {
    PathResolver paths;
    Project project(paths, boxes);
    EXPECT_EQ(project.SetUpProject(dir.Path()), SetUpResult::Continue);
    return LoadProcedures(project);
  }
};

TEST(ProceduresTest, UnscramblingReadsBackwardsWithTheKeyAndTheProjectOffset) {
  // Worked by hand: the first character carries the line's offset (33 - 32 = 1); 'y' is shifted
  // by (0 + 1) * K[0] = 75 and 'x' by (1 + 1) * K[1] = 130, then the project offset on top.
  EXPECT_EQ(UnscrambleLine("!xy", 0), ".T");
  EXPECT_EQ(UnscrambleLine("!xy", 5), ")O");
  EXPECT_EQ(UnscrambleLine("K", 1234), "");
  EXPECT_EQ(UnscrambleLine("", 1234), "");
  // Tabs and accented letters keep their code, in reversed position.
  std::string plain = "\tCaf\xE9 = 1";
  std::int32_t offset = ProjectOffset("FixtureScripts");
  std::string stored = test::ScrambleLine(plain, offset);
  EXPECT_EQ(stored[stored.size() - 1], '\t');
  EXPECT_EQ(UnscrambleLine(stored, offset), plain);
}

TEST(ProceduresTest, TheOffsetIsTheSumOfTheNamesCharacterCodes) {
  EXPECT_EQ(ProjectOffset(""), 0);
  EXPECT_EQ(ProjectOffset("AB"), 65 + 66);
  EXPECT_EQ(ProjectOffset("\xC3\xA9"), 0xE9);  // "é", counted as its Windows-1252 code
  // Names with the same sum read a stored line alike; other sums differently.
  std::string stored = test::ScrambleLine("MsgBox Twice(2)", ProjectOffset("AB"));
  EXPECT_EQ(UnscrambleLine(stored, ProjectOffset("BA")), "MsgBox Twice(2)");
  EXPECT_NE(UnscrambleLine(stored, ProjectOffset("AC")), "MsgBox Twice(2)");
}

TEST(ProceduresTest, PlainScrambledMissingAndEmptyFiles) {
  FixtureCopy game;
  RecordingMessageBoxService boxes;
  game.dir.Write("Config/Procedures", test::ProceduresFile({"Sub A", "End Sub"}));
  EXPECT_EQ(game.Load(boxes), "Sub A\r\nEnd Sub");
  // Scrambled with ProcEncr=1; any other value means plain lines.
  std::int32_t offset = ProjectOffset("FixtureScripts");
  game.dir.Write("Config/Procedures", test::ProceduresFile({"Sub B", "", "End Sub"}, offset));
  game.dir.Write("Config/More", "[General]\r\nProcEncr=1\r\n");
  EXPECT_EQ(game.Load(boxes), "Sub B\r\n\r\nEnd Sub");
  game.dir.Write("Config/More", "[General]\r\nProcEncr=2\r\n");
  EXPECT_NE(game.Load(boxes), "Sub B\r\n\r\nEnd Sub");
  // The header lines alone hold no procedures; no file, none either.
  game.dir.Write("Config/Procedures", test::ProceduresFile({}));
  EXPECT_EQ(game.Load(boxes), "");
  std::filesystem::remove(game.dir / "Config/Procedures");
  EXPECT_EQ(game.Load(boxes), "");
  EXPECT_TRUE(boxes.Shown().empty());
}

TEST(ProceduresTest, AnUnreadableFileIsReported) {
  FixtureCopy game;
  RecordingMessageBoxService boxes;
  std::filesystem::remove(game.dir / "Config/Procedures");
  // Larger than any data file of a game may be (sparse: it takes no room).
  game.dir.Write("Config/Procedures", "");
  std::filesystem::resize_file(game.dir / "Config/Procedures", kMaxDataFileBytes + 1);
  EXPECT_EQ(game.Load(boxes), "");
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].title, "Error");
  EXPECT_EQ(boxes.Shown()[0].text, "Error loading projet procedures.");
  EXPECT_EQ(boxes.Shown()[0].icon, MsgIcon::Critical);
}

TEST(ProceduresTest, AGameWithScrambledProceduresPlaysThem) {
  FixtureCopy game;
  std::int32_t offset = ProjectOffset("FixtureScripts");
  game.dir.Write("Config/Procedures", test::ProceduresFile({"Option Explicit", "Function Thrice(n)",
                                                            "  Thrice = n * 3", "End Function"},
                                                           offset));
  game.dir.Write("Config/More", "[General]\r\nProcEncr=1\r\n");
  test::ScriptRun run(game.dir.Path());
  EXPECT_FALSE(run.Run("Counter = Thrice(4)"));
  EXPECT_EQ(run.Integer("Counter"), 12);
  // Option Explicit at the top of the procedures holds for the code run after them too.
  EXPECT_TRUE(run.Run("undeclared = 1"));
  EXPECT_EQ(run.LastBox(), test::ScriptErrorText("Variable is undefined: 'undeclared'"));
  EXPECT_FALSE(run.Run("Dim declared: declared = 1: Counter = declared"));
}

TEST(ProceduresTest, ProceduresThatDoNotCompileFailEveryScript) {
  FixtureCopy game;
  game.dir.Write("Config/Procedures", test::ProceduresFile({"Sub Broken(", "End Sub"}));
  test::ScriptRun run(game.dir.Path());
  std::size_t opening = run.boxes.Shown().size();  // the frame's opening script failed too
  EXPECT_EQ(opening, 1u);
  EXPECT_TRUE(run.Run("Flag = 1"));
  EXPECT_TRUE(run.Run("Flag = 2"));
  EXPECT_EQ(run.Integer("Flag"), 0);
  EXPECT_EQ(run.boxes.Shown().size(), opening + 2);
}

}  // namespace
}  // namespace sl
