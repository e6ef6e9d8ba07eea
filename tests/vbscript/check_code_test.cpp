// Engine::CheckCode: compiling without running, and the names code uses that nothing declares.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/variant_convert.h"
#include "vbscript/engine.h"

namespace sl::vbs {
namespace {

// A host object whose members are visible as global names: Left and Top.
class Position final : public Object {
 public:
  std::string TypeName() const override { return "Position"; }
  DispId GetIdOfName(std::string_view name) override {
    if (NamesEqual(name, "Left")) return 1;
    if (NamesEqual(name, "Top")) return 2;
    return kDispIdUnknown;
  }
};

std::vector<std::string> Described(const std::vector<UndeclaredName>& names) {
  std::vector<std::string> out;
  for (const UndeclaredName& n : names)
    out.push_back(n.name + "@" + std::to_string(n.line) + ":" + std::to_string(n.column));
  return out;
}

TEST(CheckCodeTest, TellsEachUndeclaredNameOnceAtItsFirstUse) {
  Engine engine;
  engine.AddObject("Gull", MakeRef<Position>(), true);
  engine.AddObject("Door", MakeRef<Position>());
  std::string code =
      "Const Limit = 3\n"
      "Dim counter\n"
      "Sub Step(by)\n"
      "  Dim local\n"
      "  ReDim grid(2)\n"
      "  local = by + counter + Limit + Left + Door.Top\n"
      "  counter = Len(\"ab\") + vbCr + totl\n"
      "  For i = 1 To totl\n"
      "  Next\n"
      "  Missing local\n"
      "End Sub\n";
  EXPECT_EQ(Described(engine.CheckCode(code, "procedures")),
            (std::vector<std::string>{"totl@7:32", "i@8:7", "Missing@10:3"}));
}

TEST(CheckCodeTest, RunsNothingAndKeepsOnlyWhatItIsAskedToKeep) {
  Engine engine;
  engine.AddCode("Dim ran : ran = 0");
  EXPECT_TRUE(
      engine.CheckCode("ran = 1\nSub Helper\nEnd Sub\nDim shared", "procedures", CheckedBlock::Keep)
          .empty());
  EXPECT_EQ(ToLong(engine.Eval("ran")), 0);
  // The kept block's procedure and variable answer for later blocks; a dropped block's do not.
  EXPECT_TRUE(engine.CheckCode("Sub Run1\n Helper\n shared = 1\n Dim mine\nEnd Sub", "a").empty());
  EXPECT_EQ(Described(engine.CheckCode("Sub Run2\n mine = Run1\nEnd Sub", "b")),
            (std::vector<std::string>{"mine@2:2", "Run1@2:9"}));
  EXPECT_FALSE(engine.HasProcedure("Run1"));
}

TEST(CheckCodeTest, ASyntaxErrorComesOutWithItsLineAndLeavesNothingBehind) {
  Engine engine;
  try {
    engine.CheckCode("Sub Good\nEnd Sub\nSub Bad\n  If x Then\nEnd Sub\n", "script");
    FAIL() << "no error";
  } catch (const ScriptError& e) {
    EXPECT_TRUE(e.IsCompilation());
    EXPECT_EQ(e.Line(), 5);
    EXPECT_EQ(e.Description(), "Expected 'If'");
  }
  EXPECT_FALSE(engine.HasProcedure("Good"));
}

}  // namespace
}  // namespace sl::vbs
