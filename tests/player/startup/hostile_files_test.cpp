// Broken project files: random bytes, truncated files and huge strings must end in the
// operation's own message or a run-time error, never in a crash or a hang.
#include <gtest/gtest.h>

#include <random>

#include "core/data_file_reader.h"
#include "core/data_file_writer.h"
#include "core/ini_file.h"
#include "core/path_resolver.h"
#include "core/recording_message_box.h"
#include "core/runtime_error.h"
#include "player/startup/project.h"
#include "support/random_input.h"
#include "support/temp_folder.h"
#include "support/typed_read.h"

namespace sl {
namespace {

std::string RandomBytes(std::mt19937& rng, std::size_t size) {
  // Biased towards the characters the notation gives meaning to.
  static constexpr char kSpecial[] = "\",\r\n# []=;\\|-";
  std::string s(size, '\0');
  for (char& c : s) {
    unsigned r = rng();
    c = (r & 3) == 0 ? kSpecial[(r >> 8) % (sizeof kSpecial - 1)] : static_cast<char>(r >> 16);
  }
  return s;
}

std::string ValidGeneral() {
  DataFileWriter w;
  w.String("G").String("").String("T").Integer(0).String("F").String("1").Integer(640);
  w.Integer(480).String("a").String("b").String("c").EndLine().Integer(1).EndLine();
  w.Integer(0).Integer(0).Integer(0).String("s").EndLine();
  w.Integer(0).Integer(0).Integer(0).Boolean(false).Boolean(false).Integer(0).EndLine();
  return w.Bytes();
}

class HostileFilesTest : public ::testing::Test {
 protected:
  // Runs set-up on a project whose file `name` holds `bytes`; at most one message per file.
  void SetUpWith(std::string_view name, std::string_view bytes) {
    test::TempFolder dir;
    dir.Write("Config/General", name == "General" ? bytes : std::string_view(ValidGeneral()));
    if (name != "General") dir.Write("Config/" + std::string(name), bytes);
    PathResolver paths;
    RecordingMessageBoxService boxes;
    Project project(paths, boxes);
    EXPECT_EQ(project.SetUpProject(dir.Path()), SetUpResult::Continue);
    EXPECT_LE(boxes.Shown().size(), 3u);
    for (const auto& box : boxes.Shown()) {
      bool known = box.text == "Unable to load text." ||
                   box.text.ends_with(" Error loading project information.") ||
                   box.text.starts_with("The frame picture size of this game, ");
      EXPECT_TRUE(known) << box.text;
    }
  }
};

TEST_F(HostileFilesTest, RandomGeneralAndTextsFiles) {
  unsigned seed = test::RandomSeed(20040307);
  std::mt19937 rng(seed);
  for (int i = 0; i < 150; ++i) {
    std::string bytes = RandomBytes(rng, rng() % 600);
    test::RandomCase kept("general-and-texts", seed, i, bytes);
    SetUpWith("General", bytes);
    SetUpWith("Texts", bytes);
  }
}

TEST_F(HostileFilesTest, TruncatedFiles) {
  std::string general = ValidGeneral();
  for (std::size_t n = 0; n < general.size(); n += 3)
    SetUpWith("General", general.substr(0, n));
  std::string texts = "2,0,0,0,0,0,3,\"one\",\"two\",\"three\"\r\n";
  for (std::size_t n = 0; n < texts.size(); ++n)
    SetUpWith("Texts", texts.substr(0, n));
}

TEST_F(HostileFilesTest, SixtyMegabyteStrings) {
  std::string huge(60u << 20, 'x');  // just below the size a data file may have
  SetUpWith("General", "\"" + huge + "\",\"" + huge.substr(0, 1000) + "\"");
  SetUpWith("Texts", "2,0,0,0,0,0,1,\"" + huge);  // unterminated quote
  test::TempFolder dir;
  PathResolver paths(dir.Path());
  dir.Write("More", "[General]\r\nProcEncr=" + huge);
  EXPECT_EQ(ReadProfileString(paths, "more", "general", "procencr").size(), huge.size());
  // A larger file is not read at all.
  dir.Write("More", "[General]\r\nProcEncr=" + huge + huge);
  EXPECT_EQ(ReadProfileString(paths, "more", "general", "procencr", "none"), "none");
  SetUpWith("General", "\"" + huge + huge + "\"");
}

TEST_F(HostileFilesTest, RandomIniFilesAndDataReads) {
  unsigned seed = test::RandomSeed(7);
  std::mt19937 rng(seed);
  for (int i = 0; i < 300; ++i) {
    std::string bytes = RandomBytes(rng, rng() % 400);
    test::RandomCase kept("ini-and-data", seed, i, bytes);
    IniDocument doc(bytes);
    doc.Get("General", "ProcEncr");
    doc.Set("General", "ProcEncr", "1");
    EXPECT_EQ(IniDocument(doc.Text()).Get("general", "procencr"), "1");
    // Every typed read either gives a value or a run-time error.
    DataFileReader r(bytes);
    for (int k = 0; !r.Eof() && k < 1000; ++k) {
      try {
        test::ReadOfKind(r, static_cast<unsigned>(k % 6));
      } catch (const RuntimeError& e) {
        EXPECT_TRUE(e.Number() == 6 || e.Number() == 13 || e.Number() == 94) << e.Number();
      }
    }
  }
}

}  // namespace
}  // namespace sl
