// Arguments between scripts and host objects: variables passed to a host method go by
// reference (what the host stores in them reaches the script), expressions go by value, an
// omitted argument arrives as the "missing" value, and script procedures called through the
// object interface write their by-reference parameters back into the host's arguments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/error_numbers.h"
#include "core/runtime_error.h"
#include "core/variant_convert.h"
#include "vbscript/builtins/builtin.h"
#include "vbscript/engine.h"

namespace sl::vbs {
namespace {

// Members: Twice(x) doubles its argument in place; Split(text, left, right) stores the halves
// of `text` in its second and third arguments; Peek(x) leaves it alone but first runs the
// script's procedure "Meddle"; Kinds(...) records which arguments were missing.
class Tools final : public Object {
 public:
  explicit Tools(Engine* engine) : engine_(engine) {}
  std::string TypeName() const override { return "Tools"; }
  DispId GetIdOfName(std::string_view name) override {
    const char* const kNames[] = {"Twice", "Split", "Peek", "Kinds"};
    for (DispId i = 0; i < 4; ++i) {
      if (NamesEqual(name, kNames[i])) return i + 1;
    }
    return kDispIdUnknown;
  }
  Variant Invoke(DispId id, std::uint8_t, std::span<Variant> args) override {
    switch (id) {
      case 1:
        args[0] = Variant(ToDouble(args[0]) * 2);
        return Variant(true);
      case 2: {
        std::string text = ToUtf8(args[0]);
        args[1] = Variant(text.substr(0, text.size() / 2));
        args[2] = Variant(text.substr(text.size() / 2));
        return Variant();
      }
      case 3:
        engine_->Run("Meddle");
        return args[0];
      default:
        kinds.clear();
        for (Variant& a : args) {
          kinds += a.Type() == VarType::Error && a.AsError() == kMissingArgument ? 'm' : 'v';
        }
        return Variant();
    }
  }
  std::string kinds;

 private:
  Engine* engine_;
};

// Item(x), also the default member, doubles its argument in place and returns it.
class Doubling final : public Object {
 public:
  std::string TypeName() const override { return "Doubling"; }
  DispId GetIdOfName(std::string_view name) override {
    return NamesEqual(name, "Item") ? kDispIdValue : kDispIdUnknown;
  }
  Variant Invoke(DispId, std::uint8_t, std::span<Variant> args) override {
    if (args.size() != 1) throw RuntimeError(kErrWrongArgCount);
    args[0] = Variant(ToDouble(args[0]) * 2);
    return args[0];
  }
};

class HostArgumentsTest : public ::testing::Test {
 protected:
  HostArgumentsTest() : tools_(MakeRef<Tools>(&engine_)) {
    engine_.AddObject("Tools", tools_, false);
    engine_.AddObject("Global", MakeRef<Tools>(&engine_), true);
  }
  std::string Eval(const std::string& expression) { return ToUtf8(engine_.Eval(expression)); }

  Engine engine_;
  Ref<Tools> tools_;
};

TEST_F(HostArgumentsTest, VariablesAndArrayElementsComeBackChanged) {
  engine_.AddCode(
      "Dim x, a(2), l, r: x = 4: a(1) = 10\n"
      "Tools.Twice x\n"
      "Call Tools.Twice(a(1))\n"
      "Tools.Split \"abcdef\", l, r\n"
      "Twice x\n"  // a global member of a host object
      "Sub Local: Dim y: y = 3: Tools.Twice y: Global.Twice y: Twice y: result = y: End Sub\n"
      "Dim result: Local\n");
  EXPECT_EQ(Eval("x"), "16");
  EXPECT_EQ(Eval("a(1)"), "20");
  EXPECT_EQ(Eval("l & \"|\" & r"), "abc|def");
  EXPECT_EQ(Eval("result"), "24");
}

// Two elements of one array passed together: each receives what the host stored in it.
TEST_F(HostArgumentsTest, ElementsOfOneArrayComeBackChangedTogether) {
  engine_.AddCode(
      "Dim a(2), m(1, 1), r\n"
      "Tools.Split \"abcdef\", a(0), a(2)\n"
      "Call Tools.Split(\"wxyz\", m(0, 1), m(1, 0))\n"
      "Sub P: ReDim d(3): Tools.Split \"1234\", d(3), d(1): r = Join(d, \"|\"): End Sub\n"
      "P\n");
  EXPECT_EQ(Eval("Join(a, \"|\")"), "abc||def");
  EXPECT_EQ(Eval("m(0, 1) & \"|\" & m(1, 0)"), "wx|yz");
  EXPECT_EQ(Eval("r"), "|34||12");
}

TEST_F(HostArgumentsTest, VariablesGivenToADefaultMemberComeBackChanged) {
  engine_.AddObject("Doubling", MakeRef<Doubling>(), false);
  engine_.AddCode(
      "Dim o, x, y, z, w, i: Set o = Doubling: x = 3: i = 1\n"
      "y = o(x)\n"      // the variable by reference
      "z = o(x + 1)\n"  // a value
      "w = o(i + 1) + o.Item(i)\n"
      "Sub P: Dim a, d: Set d = Doubling: a = 5: r = d(a) & \",\" & a: End Sub\n"
      "Dim r: P\n");
  EXPECT_EQ(Eval("x & \",\" & y & \",\" & z"), "6,6,14");
  EXPECT_EQ(Eval("i & \",\" & w"), "2,6");
  EXPECT_EQ(Eval("r"), "10,10");
}

TEST_F(HostArgumentsTest, ArgumentsThatRunCodeKeepTheirOrder) {
  engine_.AddObject("Doubling", MakeRef<Doubling>(), false);
  engine_.AddCode(
      "Dim x, y, z, a(1), r, u\n"
      "Function Change(v): x = 100: Change = v: End Function\n"
      // a variable passed before an argument that changes it: its value then, written back
      "x = 4: Tools.Twice x, Change(1)\n"
      "r = x\n"
      "Sub P\n"
      "  Dim v: v = 3\n"
      "  y = Doubling(v) & \",\" & v\n"              // the default member of a named object
      "  z = Doubling(Change(2) + v) & \",\" & x\n"  // an argument that runs code
      "  a(1) = 5: Doubling a(1)\n"                  // an element, by reference
      "  Dim o: Set o = Doubling: a(0) = 7\n"
      "  u = o(a(0)) & \",\" & a(0) & \",\" & o(CInt(v)) & \",\" & v\n"  // in a variable
      "  On Error Resume Next\n"
      "  r = r & \",\" & Doubling(1, Change(3))\n"
      "  r = r & \",\" & Err.Number\n"
      "End Sub\n"
      "P\n");
  EXPECT_EQ(Eval("r"), "8,450");
  EXPECT_EQ(Eval("y"), "6,6");
  EXPECT_EQ(Eval("z"), "16,100");
  EXPECT_EQ(Eval("a(1)"), "10");
  EXPECT_EQ(Eval("u"), "14,14,12,6");

  // An object the host added by name is passed as its value, never by reference.
  engine_.AddCode(
      "Sub Drop(o): Set o = Nothing: End Sub\n"
      "Sub Q: Drop Doubling: r = TypeName(Doubling) & \",\" & Doubling(2): End Sub\n"
      "Q\n");
  EXPECT_EQ(Eval("r"), "Doubling,4");
}

TEST_F(HostArgumentsTest, ExpressionsAndConstantsStayAsTheyWere) {
  engine_.AddCode(
      "Const k = 5\nDim x, b: x = 4\n"
      "Tools.Twice (x)\n"  // parentheses pass a copy
      "Tools.Twice x + 0\n"
      "Tools.Twice k\n"
      "b = Tools.Twice(x * 1)\n");
  EXPECT_EQ(Eval("x"), "4");
  EXPECT_EQ(Eval("k"), "5");
  EXPECT_EQ(Eval("b"), "True");
}

TEST_F(HostArgumentsTest, AnUntouchedArgumentDoesNotUndoTheScriptsOwnChange) {
  engine_.AddCode(
      "Dim x, seen: x = 1\n"
      "Sub Meddle: x = 99: End Sub\n"
      "seen = Tools.Peek(x)\n");
  EXPECT_EQ(Eval("x"), "99");
  EXPECT_EQ(Eval("seen"), "1");
}

TEST_F(HostArgumentsTest, OmittedArgumentsArriveAsMissing) {
  engine_.AddCode("Tools.Kinds 1, , 3");
  EXPECT_EQ(tools_->kinds, "vmv");
  engine_.AddCode("Tools.Kinds , 2");
  EXPECT_EQ(tools_->kinds, "mv");
  engine_.AddCode("x = Tools.Kinds(, , 3, )");
  EXPECT_EQ(tools_->kinds, "mmvm");
}

TEST_F(HostArgumentsTest, ScriptProceduresWriteByRefParametersBackToTheHost) {
  engine_.AddCode(
      "Class Counter\n"
      " Public Default Function Bump(ByRef n, ByVal m): n = n + 1: m = m + 1: Bump = n: End "
      "Function\n"
      "End Class\n"
      "Dim c: Set c = New Counter\n"
      "Dim a, b: a = 1: b = 1\n"
      "c a, b\n"  // through the default member, as a host would call it
      "Call c.Bump(a, b)\n"
      "Function Inc(v): v = v + 10: End Function\n");
  EXPECT_EQ(Eval("a & \",\" & b"), "3,1");

  Variant counter = engine_.Eval("c");
  ASSERT_TRUE(counter.IsObject());
  Variant args[] = {Variant(std::int16_t{5}), Variant(std::int16_t{5})};
  counter.AsObject()->Invoke(kDispIdValue, kInvokeCall, args);
  EXPECT_EQ(ToLong(args[0]), 6);
  EXPECT_EQ(ToLong(args[1]), 5);

  // Engine::Run passes its arguments by value.
  Variant runArgs[] = {Variant(std::int16_t{1})};
  engine_.Run("Inc", runArgs);
  EXPECT_EQ(ToLong(runArgs[0]), 1);
  // A procedure reference called through the interface writes back.
  Variant ref = engine_.Eval("GetRef(\"Inc\")");
  ref.AsObject()->Invoke(kDispIdValue, kInvokeCall, runArgs);
  EXPECT_EQ(ToLong(runArgs[0]), 11);
}

}  // namespace
}  // namespace sl::vbs
