// The variable store: changing, toggling and reading variables, the variables list file with
// its edge cases and junk, and the paging of the status window.
#include "player/variables/variable_store.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/path_resolver.h"
#include "core/recording_message_box.h"
#include "core/variant_convert.h"
#include "player/startup/project.h"
#include "support/temp_folder.h"

namespace sl {
namespace {

class VariableStoreTest : public ::testing::Test {
 protected:
  VariableStoreTest() {
    folder.Write("Config/General", "\"Tiny\",\"\",\"Tiny\",0,\"Start\",\"1.0\",320,240\n");
    project.SetUpProject(folder.Path());
    boxes.Clear();
  }
  void WriteVariables(const std::string& text) {
    paths.NoteFileWritten(folder.Write("Config/Variables", text));
  }

  test::TempFolder folder;
  PathResolver paths;
  RecordingMessageBoxService boxes;
  Project project{paths, boxes};
  VariableStore store{project};
};

TEST_F(VariableStoreTest, ToggleFlipsBitZeroOfEverySameNamedVariable) {
  store.Variables.Add("a", 0);
  store.Variables.Add("b", 2);
  store.Variables.Add("a", 1);
  store.ChangeVariableValue("a", -1);
  store.ChangeVariableValue("b", -1);
  EXPECT_EQ(store.Variables.Item(1).Value, 1);
  EXPECT_EQ(store.Variables.Item(2).Value, 3);
  EXPECT_EQ(store.Variables.Item(3).Value, 0);
  store.ChangeVariableValue("a", 7);
  EXPECT_EQ(store.Variables.Item(1).Value, 7);
  EXPECT_EQ(store.Variables.Item(3).Value, 7);
  store.ChangeVariableValue("nobody", 1);  // changes nothing, says nothing
  EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(VariableStoreTest, GetVariableValueTakesTheFirstAndKnowsNoCaseFolding) {
  store.Variables.Add("Key", 4);
  store.Variables.Add("Key", 9);
  EXPECT_EQ(store.GetVariableValue("Key"), 4);
  EXPECT_EQ(store.GetVariableValue("key"), -32000);
  EXPECT_EQ(store.GetVariableValue(" Key"), -32000);
  EXPECT_TRUE(store.HasVariable("KEY"));
}

TEST_F(VariableStoreTest, VariantValuesAreCopiedToEverySameNamedVariable) {
  store.VariablesVariant.Add("v", Variant(std::int16_t{0}));
  store.VariablesVariant.Add("v", Variant(std::int16_t{0}));
  store.ChangeVariableVariantValue("v", Variant("hello"));
  EXPECT_EQ(ToUtf8(store.VariablesVariant.Item(2).Value), "hello");
  EXPECT_EQ(store.GetVariableValue("v"), -32000);  // variant variables are not integer ones
}

// Restoring many values at once leaves each variable as the calls one by one would: every
// member of a name takes the value listed last for it, names match exactly, others keep theirs.
TEST_F(VariableStoreTest, ValuesRestoredTogetherMatchTheCallsOneByOne) {
  std::vector<std::pair<std::string, std::int16_t>> values = {
      {"a", 3}, {"b", 4}, {"a", 5}, {"A", 9}, {"gone", 1}};
  std::vector<std::pair<std::string, Variant>> variants = {
      {"v", Variant(std::string("first"))}, {"w", Variant(2.5)}, {"v", Variant(true)}};
  VariableStore oneByOne{project};
  for (VariableStore* s : {&store, &oneByOne}) {
    s->Variables.Add("a", 0);
    s->Variables.Add("b", 0);
    s->Variables.Add("a", 1);
    s->Variables.Add("c", 7);
    s->VariablesVariant.Add("v", Variant());
    s->VariablesVariant.Add("w", Variant());
    s->VariablesVariant.Add("v", Variant(std::int16_t{1}));
  }
  store.SetVariableValues(values);
  store.SetVariantValues(variants);
  for (const auto& [name, value] : values)
    oneByOne.SetVariableValue(name, value);
  for (const auto& [name, value] : variants)
    oneByOne.ChangeVariableVariantValue(name, value);
  for (std::int32_t i = 1; i <= 4; ++i)
    EXPECT_EQ(store.Variables.Item(i).Value, oneByOne.Variables.Item(i).Value) << i;
  EXPECT_EQ(store.Variables.Item(1).Value, 5);
  EXPECT_EQ(store.Variables.Item(4).Value, 7);
  for (std::int32_t i = 1; i <= 3; ++i)
    EXPECT_EQ(ToUtf8(store.VariablesVariant.Item(i).Value),
              ToUtf8(oneByOne.VariablesVariant.Item(i).Value))
        << i;
  EXPECT_EQ(ToUtf8(store.VariablesVariant.Item(3).Value), "True");
}

TEST_F(VariableStoreTest, CollectionRemovesAndReportsBadPositions) {
  store.Variables.Add("a", 1);
  store.Variables.Add("b", 2, "kb");
  EXPECT_EQ(store.Variables.Item("kb").Name, "b");
  store.Variables.Remove(1);
  EXPECT_EQ(store.Variables.Item(1).Name, "b");
  EXPECT_THROW(store.Variables.Item(2), RuntimeError);
  EXPECT_THROW(store.Variables.Item("zz"), RuntimeError);
}

TEST_F(VariableStoreTest, LoadVariablesSplitsAtTheMarkerAndSetsEveryValueToZero) {
  WriteVariables("\"hdr\"\n\"a\"\n\"b\"\n\"***\"\n\"v\"\n\"***\"\n\"w\"\n\"\"\n");
  store.Variables.Add("old", 5);
  store.LoadVariables();
  ASSERT_EQ(store.Variables.Count(), 2);
  EXPECT_EQ(store.Variables.Item(2).Name, "b");
  EXPECT_EQ(store.Variables.Item(2).Value, 0);
  ASSERT_EQ(store.VariablesVariant.Count(), 3);  // the second marker changes nothing
  EXPECT_EQ(store.VariablesVariant.Item(3).Name, "");
  EXPECT_EQ(store.VariablesVariant.Item(1).Value.Type(), VarType::Integer);
  EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(VariableStoreTest, HeaderOnlyAndMarkerFirstFiles) {
  WriteVariables("\"hdr\"\n");
  store.LoadVariables();
  EXPECT_EQ(store.Variables.Count() + store.VariablesVariant.Count(), 0);
  WriteVariables("\"hdr\",\"***\",\"x\"\n");
  store.LoadVariables();
  EXPECT_EQ(store.Variables.Count(), 0);
  EXPECT_EQ(store.VariablesVariant.Count(), 1);
}

TEST_F(VariableStoreTest, MissingOrJunkFileKeepsWhatWasReadAndSaysSo) {
  store.LoadVariables();  // no file at all
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].title, project.Texts()[29]);
  EXPECT_EQ(boxes.Shown()[0].icon, MsgIcon::Critical);
  EXPECT_EQ(boxes.Shown()[0].text, project.Texts().ErrorLead() + " Unable to load variables list.");
  boxes.Clear();
  WriteVariables("\"hdr\",\"a\",\"b\",\"unterminated");
  store.LoadVariables();
  EXPECT_GE(store.Variables.Count(), 2);
  EXPECT_EQ(store.Variables.Item(1).Name, "a");
}

TEST_F(VariableStoreTest, StatusWindowOfThirtyIntegersHasTwoPages) {
  for (int i = 0; i < 30; ++i)
    store.Variables.Add("v" + std::to_string(i), static_cast<std::int16_t>(i));
  std::vector<std::string> lines = store.StatusLines();
  ASSERT_EQ(lines.size(), 38u);
  EXPECT_EQ(lines[5], "v0 = 0");
  EXPECT_EQ(lines[34], "v29 = 29");
  EXPECT_EQ(
      lines[3],
      "-------------------------- INTEGER VARIABLES: --------------------------             ");
  store.ViewVariablesStatus();
  ASSERT_EQ(boxes.Shown().size(), 2u);
  EXPECT_EQ(boxes.Shown()[0].title, "Variables Status");
  EXPECT_EQ(boxes.Shown()[0].icon, MsgIcon::Information);
  const std::string& second = boxes.Shown()[1].text;
  EXPECT_EQ(second.rfind(std::string(52, ' ') + "\r\nv20 = 20\r\n", 0), 0u);
  EXPECT_EQ(second.substr(second.size() - 4), "\r\n\r\n");
}

TEST_F(VariableStoreTest, StatusPagesBreakOnlyBetweenLines) {
  std::vector<std::string> lines(25, "x");
  EXPECT_EQ(VariableStore::StatusPages(lines).size(), 1u);  // 25 lines: the last is not a break
  lines.push_back("y");
  EXPECT_EQ(VariableStore::StatusPages(lines).size(), 2u);
}

TEST_F(VariableStoreTest, VariantStatusShowsEmptyAsNothing) {
  store.VariablesVariant.Add("e", Variant());
  store.VariablesVariant.Add("s", Variant("txt"));
  std::vector<std::string> lines = store.StatusLines();
  EXPECT_EQ(lines[lines.size() - 2], "e = ");
  EXPECT_EQ(lines.back(), "s = txt");
}

}  // namespace
}  // namespace sl
