// The saved-game file byte for byte, values of every variant subtype through a write and a
// read, the three short forms, and damaged files.
#include <gtest/gtest.h>

#include <string>

#include "core/runtime_error.h"
#include "core/variant_convert.h"
#include "player/savegame/saved_game_file.h"
#include "support/error_number.h"
#include "support/temp_folder.h"

namespace sl {
namespace {

const SavedGameInformation kInformation{"FixtureSaves", "Fixture Saves", {2004, 3, 7, 12, 0, 0, 0}};

SavedGame ExampleGame() {
  SavedGame g;
  g.frame = "Hall";
  g.variables = {{"Lamp", 1}, {"Door", 0}};
  g.inventory = {"Key"};
  g.history = {"Hall", "Garden"};
  return g;
}

const char* const kExampleFile =
    "\"Hall\"\r\n2\r\n\"Lamp\"\r\n1\r\n\"Door\"\r\n0\r\n0\r\n1\r\n\"Key\"\r\n2\r\n\"Hall\"\r\n"
    "\"Garden\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"FixtureSaves\"\r\n\"Fixture Saves\"\r\n"
    "\"03/07/2004\"\r\n\"Version 3.3.1\"\r\n0\r\n";

// Subtype and value, as one text.
std::string Describe(const Variant& v) {
  return std::to_string(static_cast<int>(v.Type())) + ":" +
         (v.IsEmpty() || v.IsNull() ? std::string() : ToUtf8(v));
}

TEST(SavedGameFile, WritesTheTwentyLinesOfTheExample) {
  EXPECT_EQ(WriteSavedGame(ExampleGame(), kInformation), kExampleFile);
}

TEST(SavedGameFile, ReadsEverySectionBack) {
  SavedGame g = ExampleGame();
  g.disappeared = {{"Hall", 1}, {"Garden", 12}};
  g.variables.emplace_back("Negative", -1);
  g.variants = {{"Score", Variant(std::int16_t{3})}, {"Note", Variant("a, b")}};
  SavedGame back = ReadSavedGame(WriteSavedGame(g, kInformation));
  EXPECT_EQ(back.sections, SavedGameSections::All);
  EXPECT_EQ(back.frame, "Hall");
  EXPECT_EQ(back.variables, g.variables);
  EXPECT_EQ(back.disappeared, g.disappeared);
  EXPECT_EQ(back.inventory, g.inventory);
  EXPECT_EQ(back.history, g.history);
  ASSERT_EQ(back.variants.size(), 2u);
  EXPECT_EQ(back.variants[1].first, "Note");
  EXPECT_EQ(Describe(back.variants[1].second), "8:a, b");
}

TEST(SavedGameFile, EveryVariantSubtypeComesBackAsTheNotationAllows) {
  struct Case {
    Variant value;
    std::string line;      // as written
    std::string readBack;  // subtype:value as read
  };
  const double date = 38053.5;  // 2004-03-07 12:00:00
  const Case cases[] = {
      {Variant(), "", "0:"},
      {Variant::Null(), "#NULL#", "1:"},
      {Variant(true), "#TRUE#", "11:True"},
      {Variant(false), "#FALSE#", "11:False"},
      {Variant(std::int16_t{-7}), "-7", "2:-7"},
      {Variant(std::int32_t{100000}), "100000", "3:100000"},
      {Variant(std::uint8_t{200}), "200", "2:200"},  // no Byte notation: an Integer
      {Variant(1.5f), "1.5", "5:1.5"},               // no Single notation: a Double
      {Variant(0.1 + 0.2), "0.30000000000000004", "5:0.3"},
      {Variant(2.5), "2.5", "5:2.5"},
      {Variant(1e20), "1E+20", "5:1E+20"},
      {Variant::Currency(12345), "1.2345", "5:1.2345"},
      {Variant::Date(38053), "#2004-03-07#", "7:" + ToUtf8(Variant::Date(38053))},
      {Variant::Date(date), "#2004-03-07 12:00:00#", "7:" + ToUtf8(Variant::Date(date))},
      {Variant::Error(2000), "#ERROR 2000#", "10:" + ToUtf8(Variant::Error(2000))},
      {Variant("two\r\nlines, one comma"), "\"two\r\nlines, one comma\"",
       "8:two\r\nlines, one comma"},
      {Variant("a \"quoted\" word"), "\"a 'quoted' word\"", "8:a 'quoted' word"},
      {Variant(""), "\"\"", "8:"},
  };
  for (const Case& c : cases) {
    SavedGame g;
    g.frame = "F";
    g.variants = {{"V", c.value}, {"After", Variant(std::int16_t{1})}};
    std::string bytes = WriteSavedGame(g, kInformation);
    std::string tail = "\"V\"\r\n" + c.line + "\r\n\"After\"\r\n1\r\n";
    EXPECT_TRUE(bytes.ends_with(tail)) << c.line;
    SavedGame back = ReadSavedGame(bytes);
    ASSERT_EQ(back.variants.size(), 2u) << c.line;
    EXPECT_EQ(Describe(back.variants[0].second), c.readBack) << c.line;
    EXPECT_EQ(Describe(back.variants[1].second), "2:1") << c.line;
  }
  // A Double that needs all its digits comes back as the same number.
  SavedGame g;
  g.variants = {{"V", Variant(0.1 + 0.2)}};
  EXPECT_EQ(ReadSavedGame(WriteSavedGame(g, kInformation)).variants[0].second.AsDouble(),
            0.1 + 0.2);
}

TEST(SavedGameFile, AnObjectOrAnArrayCannotBeWritten) {
  SavedGame g;
  g.variants = {{"V", Variant::Nothing()}};
  EXPECT_EQ(test::ErrorNumberOf([&] { WriteSavedGame(g, kInformation); }), 91);
  g.variants = {{"V", Variant(Ref<VariantArray>(new VariantArray({{0, 2}})))}};
  EXPECT_EQ(test::ErrorNumberOf([&] { WriteSavedGame(g, kInformation); }), 13);
}

TEST(SavedGameFile, FilesEndingAfterTheInventoryTheHistoryOrTheInformationAreWhole) {
  std::string full = kExampleFile;
  auto cut = [&](int lines) {
    std::size_t at = 0;
    for (int i = 0; i < lines; ++i)
      at = full.find("\r\n", at) + 2;
    return full.substr(0, at);
  };
  SavedGame afterInventory = ReadSavedGame(cut(9));
  EXPECT_EQ(afterInventory.sections, SavedGameSections::UpToInventory);
  EXPECT_EQ(afterInventory.inventory, (std::vector<std::string>{"Key"}));
  EXPECT_TRUE(afterInventory.history.empty());
  SavedGame afterHistory = ReadSavedGame(cut(12));
  EXPECT_EQ(afterHistory.sections, SavedGameSections::UpToHistory);
  EXPECT_EQ(afterHistory.history, (std::vector<std::string>{"Hall", "Garden"}));
  EXPECT_EQ(ReadSavedGame(cut(19)).sections, SavedGameSections::UpToInformation);
  EXPECT_EQ(ReadSavedGame(cut(20)).sections, SavedGameSections::All);
  // A file without its last line end reads the same.
  EXPECT_EQ(ReadSavedGame(full.substr(0, full.size() - 2)).sections, SavedGameSections::All);
}

TEST(SavedGameFile, DamagedFilesAreErrors) {
  std::string full = kExampleFile;
  struct Case {
    std::string bytes;
    int error;
  };
  const Case cases[] = {
      {"", 62},                                               // nothing at all
      {full.substr(0, 30), 62},                               // ends inside the variables
      {"\"Hall\"\r\n40000\r\n", 6},                           // too many integer variables
      {"\"Hall\"\r\n1\r\n\"Lamp\"\r\nlit\r\n", 13},           // a value that is no number
      {"\"Hall\"\r\n0\r\nmany\r\n", 13},                      // a count that is no number
      {"\"Hall\"\r\n0\r\n0\r\n99999999\r\n\"Key\"\r\n", 62},  // a count far too big
      {full.substr(0, full.find("\"FixtureSaves\"")), 62},    // ends inside the information
  };
  for (const Case& c : cases)
    EXPECT_EQ(test::ErrorNumberOf([&] { ReadSavedGame(c.bytes); }), c.error) << c.bytes;
}

TEST(SavedGameFile, ReadsAsTheSequentialReaderDoes) {
  // Fields may end at commas, bare words are strings, negative counts mean empty lists.
  SavedGame g = ReadSavedGame("Hall,1,Lamp,-1,-3,1,Key\r\n");
  EXPECT_EQ(g.frame, "Hall");
  EXPECT_EQ(g.variables, (std::vector<std::pair<std::string, std::int16_t>>{{"Lamp", -1}}));
  EXPECT_TRUE(g.disappeared.empty());
  EXPECT_EQ(g.inventory, (std::vector<std::string>{"Key"}));
  EXPECT_EQ(g.sections, SavedGameSections::UpToInventory);
}

}  // namespace
}  // namespace sl
