// The host API of the script engine: code blocks, named host objects with global members and
// default properties, indexed members, running procedures, script objects held by the host,
// reset, and the limits (time, recursion) that keep the host alive.
#include "vbscript/engine.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/variant_convert.h"
#include "vbscript/builtins/builtin.h"
#include "vbscript/builtins/random.h"

namespace sl::vbs {
namespace {

// A host object with named properties held in a map and a default property "Value".
class PropertyBag final : public Object {
 public:
  std::string TypeName() const override { return "PropertyBag"; }
  DispId GetIdOfName(std::string_view name) override {
    for (std::size_t i = 0; i < names_.size(); ++i) {
      if (NamesEqual(names_[i], name)) return static_cast<DispId>(i + 1);
    }
    return kDispIdUnknown;
  }
  Variant Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) override {
    std::string name = id == kDispIdValue ? "Value" : names_.at(static_cast<std::size_t>(id - 1));
    if (name == "Record") {
      std::string line;
      for (Variant& a : args)
        line += ToUtf8(a) + ";";
      calls.push_back(line);
      return Variant();
    }
    if (flags & (kInvokeLet | kInvokeSet)) {
      values[name] = args.back();
      return Variant();
    }
    return values[name];
  }
  std::vector<std::string> names_ = {"Value", "Left", "Record"};
  std::map<std::string, Variant> values;
  std::vector<std::string> calls;
};

// A control array: its default member takes an index and returns the element.
class ControlArray final : public Object {
 public:
  ControlArray() {
    for (int i = 0; i < 5; ++i)
      items.push_back(MakeRef<PropertyBag>());
  }
  std::string TypeName() const override { return "Object"; }
  DispId GetIdOfName(std::string_view name) override {
    return NamesEqual(name, "Count") ? 1 : kDispIdUnknown;
  }
  Variant Invoke(DispId id, std::uint8_t, std::span<Variant> args) override {
    if (id == 1) return Variant(static_cast<std::int32_t>(items.size()));
    if (args.size() != 1) throw RuntimeError(450);
    return Variant(items.at(static_cast<std::size_t>(ToLong(args[0]))));
  }
  Ref<Enumerator> NewEnum() override {
    struct Items final : Enumerator {
      explicit Items(Ref<ControlArray> a) : array(std::move(a)) {}
      bool Next(Variant& out) override {
        if (i >= array->items.size()) return false;
        out = Variant(array->items[i++]);
        return true;
      }
      Ref<ControlArray> array;
      std::size_t i = 0;
    };
    return Ref<Enumerator>(new Items(Ref<ControlArray>(this)));
  }
  std::vector<Ref<PropertyBag>> items;
};

// A clock that moves one millisecond each time it is read.
class TickingClock final : public Clock {
 public:
  std::int64_t MonotonicMs() const override { return ++now; }
  CivilTime Now() const override { return CivilTime{2004, 3, 7, 12, 0, 0, 0}; }
  mutable std::int64_t now = 0;
};

std::string Text(const Variant& v) {
  return ToUtf8(v);
}

TEST(EngineTest, BlocksShareGlobalsAndRunProcedures) {
  Engine engine;
  engine.AddCode(
      "Dim counter: counter = 10\nFunction Add(a, b): Add = a + b + counter: End Function", "one");
  engine.AddCode("counter = counter + 1", "two");
  Variant args[] = {Variant(std::int16_t{1}), Variant(std::int16_t{2})};
  EXPECT_EQ(Text(engine.Run("add", args)), "14");
  EXPECT_TRUE(engine.HasProcedure("ADD"));
  EXPECT_FALSE(engine.HasProcedure("counter"));
  EXPECT_EQ(Text(engine.Eval("counter * 2")), "22");
}

TEST(EngineTest, ErrorsCarryBlockLineColumnAndName) {
  Engine engine;
  try {
    engine.AddCode("x = 1\n  y = (2", "block.vbs");
    FAIL() << "no compilation error";
  } catch (const ScriptError& e) {
    EXPECT_TRUE(e.IsCompilation());
    EXPECT_EQ(e.Number(), 1006);
    EXPECT_EQ(e.Block(), "block.vbs");
    EXPECT_EQ(e.Line(), 2);
    EXPECT_EQ(e.Column(), 9);
  }
  try {
    engine.AddCode("Option Explicit\nDim a\n   a = b", "b2");
    FAIL() << "no run-time error";
  } catch (const ScriptError& e) {
    EXPECT_FALSE(e.IsCompilation());
    EXPECT_EQ(e.Number(), 500);
    EXPECT_EQ(e.Line(), 3);
    EXPECT_EQ(e.Column(), 4);
    EXPECT_EQ(e.FullDescription(), "Variable is undefined: 'b'");
  }
  // A failed block leaves the engine usable.
  engine.AddCode("Dim ok: ok = 1", "b3");
  EXPECT_EQ(Text(engine.Eval("ok")), "1");
}

TEST(EngineTest, NamedObjectsStandForTheirDefaultProperty) {
  Engine engine;
  auto score = MakeRef<PropertyBag>();
  score->values["Value"] = Variant(std::int16_t{5});
  engine.AddObject("Score", score, true);
  engine.AddCode("Score = Score + 10\nLeft = \"L\"\nRecord \"a\", 2");
  EXPECT_EQ(Text(score->values["Value"]), "15");
  EXPECT_EQ(Text(score->values["Left"]), "L");
  ASSERT_EQ(score->calls.size(), 1u);
  EXPECT_EQ(score->calls[0], "a;2;");
  // Set keeps the object itself.
  engine.AddCode("Dim o: Set o = Score: o.Left = \"via o\"");
  EXPECT_EQ(Text(score->values["Left"]), "via o");
}

TEST(EngineTest, ObjectsAddedAfterTheCodeAreFoundAtEveryUse) {
  Engine engine;
  engine.AddCode("Sub Twice\n Bag.Record 1\n Bag.Record 2\n n = 3\n Bag.Record n\nEnd Sub");
  auto bag = MakeRef<PropertyBag>();
  engine.AddObject("Bag", bag, false);
  engine.Run("Twice");
  EXPECT_EQ(bag->calls, (std::vector<std::string>{"1;", "2;", "3;"}));
}

TEST(EngineTest, IndexedMembersAndEnumeration) {
  Engine engine;
  auto hotspots = MakeRef<ControlArray>();
  engine.AddObject("Hotspot", hotspots, false);
  engine.AddCode(
      "Hotspot(3).Left = 120\n"
      "Dim h, n: For Each h In Hotspot: n = n + 1: Next\n"
      "Dim c: c = Hotspot.Count");
  EXPECT_EQ(Text(hotspots->items[3]->values["Left"]), "120");
  EXPECT_EQ(Text(engine.Eval("n")), "5");
  EXPECT_EQ(Text(engine.Eval("c")), "5");
  EXPECT_EQ(Text(engine.Eval("Hotspot(3).Left + 1")), "121");
}

TEST(EngineTest, ScriptObjectsAreObjectsForTheHost) {
  Engine engine;
  engine.AddCode(
      "Class Pt\n Public X\n Public Default Function Sum(): Sum = X * 2: End Function\n"
      " Public Property Let Y(v): X = v: End Property\nEnd Class\n"
      "Dim p: Set p = New Pt: p.X = 4");
  Variant p = engine.Eval("p");
  ASSERT_TRUE(p.IsObject());
  Object* obj = p.AsObject();
  EXPECT_EQ(obj->TypeName(), "Pt");
  EXPECT_EQ(Text(obj->GetProperty("x")), "4");
  obj->LetProperty("Y", Variant(std::int16_t{7}));
  EXPECT_EQ(Text(obj->Invoke(kDispIdValue, kInvokeGet, {})), "14");
  EXPECT_EQ(obj->GetIdOfName("nothing here"), kDispIdUnknown);
  // GetRef gives a callable object.
  engine.AddCode(
      "Function Hello(n): Hello = \"hi \" & n: End Function\nDim f: Set f = GetRef(\"Hello\")");
  Variant f = engine.Eval("f");
  Variant arg("you");
  EXPECT_EQ(Text(f.AsObject()->Invoke(kDispIdValue, kInvokeCall, std::span<Variant>(&arg, 1))),
            "hi you");
  // After a reset the objects the host kept fail cleanly.
  engine.Reset();
  EXPECT_FALSE(engine.HasProcedure("Hello"));
  EXPECT_THROW(obj->GetProperty("x"), RuntimeError);
}

TEST(EngineTest, RestartFromBaseBeginsEachRunFromAFreshGlobalState) {
  Engine engine;
  auto log = MakeRef<PropertyBag>();
  engine.AddCode(
      "Dim counter: counter = 10\n"
      "Const Greeting = \"hi\"\n"
      "Class T\n Public Tag\n Private Sub Class_Terminate: Log.Record \"bye \" & Tag: End Sub\n"
      "End Class\n"
      "Function FirstLetter(s): FirstLetter = Left(s, 1): End Function\n",
      "procedures");
  engine.MarkBase();
  for (int run = 1; run <= 3; ++run) {
    SCOPED_TRACE(run);
    engine.RestartFromBase();
    EXPECT_FALSE(engine.HasProcedure("StartupProcedure"));
    EXPECT_EQ(Text(engine.Eval("counter & TypeName(kept) & Greeting")), "10Emptyhi");
    engine.AddCode(
        "Sub StartupProcedure\n counter = counter + 1\n Set kept = New T\n"
        " kept.Tag = counter\nEnd Sub\nDim kept\n");
    engine.AddObject("Log", log, false);
    // On odd runs a host object whose members are global hides the built-in Left.
    auto bag = MakeRef<PropertyBag>();
    bag->values["Left"] = Variant("host");
    if (run % 2 == 1) engine.AddObject("Bag", bag, true);
    engine.Run("StartupProcedure");
    EXPECT_EQ(Text(engine.Eval("counter")), "11");
    EXPECT_EQ(Text(engine.Eval("FirstLetter(\"abc\")")), run % 2 == 1 ? "host" : "a");
  }
  // What a run kept is released (Class_Terminate runs) when the next one starts.
  Variant escaped = engine.Eval("kept");
  engine.RestartFromBase();
  EXPECT_EQ(log->calls, (std::vector<std::string>{"bye 11;", "bye 11;"}));
  EXPECT_THROW(escaped.AsObject()->GetProperty("Tag"), RuntimeError);
  escaped = Variant();
  EXPECT_EQ(log->calls.size(), 2u);  // a dead object's Class_Terminate no longer runs
  // Host objects added before the mark belong to the base; its global code runs on every restart.
  engine.Reset();
  EXPECT_FALSE(engine.HasProcedure("FirstLetter"));
  auto limit = MakeRef<PropertyBag>();
  limit->values["Value"] = Variant(std::int16_t{1});
  engine.AddObject("Limit", limit, false);
  engine.AddCode("If Limit > 1 Then Err.Raise 5");
  engine.MarkBase();
  engine.RestartFromBase();
  limit->values["Value"] = Variant(std::int16_t{2});
  try {
    engine.RestartFromBase();
    FAIL() << "no error";
  } catch (const ScriptError& e) {
    EXPECT_EQ(e.Number(), 5);
  }
}

// Compiled procedures read and write global variables directly once they have found them; the
// host giving a variable's name to an object, and a restart forgetting the names added since the
// base or restoring a name's earlier meaning, must reach them at their next run. Each procedure
// loops so that its second pass uses what the first found.
TEST(EngineTest, CompiledCodeSeesGlobalNamesTheHostChanges) {
  Engine engine;
  engine.AddCode(
      "Dim thing, v, counter: thing = 1: v = 2\n"
      "Sub SetThing(x): Dim i: For i = 1 To 2: thing = x: Next: End Sub\n"
      "Function GetThing: Dim i: For i = 1 To 2: GetThing = thing: Next: End Function\n"
      "Sub Count: For counter = 1 To 2: Next: End Sub\n"
      "Function GetW: Dim i: For i = 1 To 2: GetW = w: Next: End Function\n"
      "Function GetV: Dim i: For i = 1 To 2: GetV = v + 1: Next: End Function\n");
  Variant five(std::int16_t{5});
  engine.Run("SetThing", std::span<Variant>(&five, 1));
  EXPECT_EQ(Text(engine.Run("GetThing")), "5");
  engine.Run("Count");
  // Objects take the variables' names: assignments go to the default property, and a For
  // counter that is an object is an illegal assignment.
  auto bag = MakeRef<PropertyBag>();
  engine.AddObject("thing", bag, false);
  engine.AddObject("counter", MakeRef<PropertyBag>(), false);
  Variant seven(std::int16_t{7});
  engine.Run("SetThing", std::span<Variant>(&seven, 1));
  EXPECT_EQ(Text(bag->values["Value"]), "7");
  EXPECT_EQ(Text(engine.Eval("TypeName(thing)")), "PropertyBag");
  EXPECT_EQ(Text(engine.Run("GetThing")), "7");
  try {
    engine.Run("Count");
    ADD_FAILURE() << "no error";
  } catch (const ScriptError& e) {
    EXPECT_EQ(e.Number(), kErrIllegalAssignment);
  }
  EXPECT_EQ(Text(engine.Eval("TypeName(counter)")), "PropertyBag");

  engine.MarkBase();
  engine.AddCode("Dim w: w = 9");
  EXPECT_EQ(Text(engine.Run("GetW")), "9");
  EXPECT_EQ(Text(engine.Run("GetV")), "3");
  engine.AddCode("Function v: v = 40: End Function");
  EXPECT_EQ(Text(engine.Run("GetV")), "41");
  // The restart forgets w (GetW's w is its own undeclared local again), even when another
  // name takes its place, and makes v the base's variable again.
  engine.RestartFromBase();
  engine.AddCode("Dim other: other = 5");
  EXPECT_EQ(Text(engine.Run("GetW")), "");
  EXPECT_EQ(Text(engine.Run("GetV")), "3");
  engine.AddCode("Dim w: w = 11");
  EXPECT_EQ(Text(engine.Run("GetW")), "11");
}

TEST(EngineTest, TimeLimitStopsRunawayScriptsButNotDialogTime) {
  class SlowHost final : public EngineHost {
   public:
    explicit SlowHost(TickingClock& c) : clock(c) {}
    int MessageBox(const std::string&, int, const std::string&) override {
      clock.now += 100000;  // the user took a long time to answer
      return 1;
    }
    TickingClock& clock;
  };
  TickingClock clock;
  SlowHost host(clock);
  Engine engine;
  engine.SetHost(&host);
  engine.SetTimeLimit(500, &clock);
  if (FindBuiltin("MsgBox")) {
    engine.AddCode("MsgBox \"wait\"\nDim i: For i = 1 To 10: Next");
  }
  try {
    engine.AddCode("On Error Resume Next\nDo\nLoop", "loop.vbs");
    FAIL() << "no time-out";
  } catch (const ScriptError& e) {
    EXPECT_EQ(e.Number(), kErrTimeout);
    EXPECT_EQ(e.Line(), 2);
  }
  // The engine works again afterwards.
  engine.AddCode("Dim after: after = 3");
  EXPECT_EQ(Text(engine.Eval("after")), "3");
}

TEST(EngineTest, RecursionEndsWithOutOfStackSpace) {
  Engine engine;
  engine.SetMaxCallDepth(200);
  engine.AddCode("Function R(n): R = R(n + 1): End Function");
  Variant arg(std::int16_t{0});
  try {
    engine.Run("R", std::span<Variant>(&arg, 1));
    FAIL() << "no error";
  } catch (const ScriptError& e) {
    EXPECT_EQ(e.Number(), 28);
  }
  // Deep nesting in the source is a compilation error, not a crash.
  std::string nested = "x = " + std::string(5000, '(') + "1" + std::string(5000, ')');
  EXPECT_THROW(engine.AddCode(nested), ScriptError);
  std::string chain = "x = 1";
  for (int i = 0; i < 20000; ++i)
    chain += " + 1";
  EXPECT_THROW(engine.AddCode(chain), ScriptError);
}

// The limit counts calls however they nest: the deepest call that runs is the same whether
// compiled calls run in one dispatch loop or each in its own, and the depth is back to zero
// after an error 28 has gone through every frame.
TEST(EngineTest, RecursionLimitCountsEveryCall) {
  Engine engine;
  engine.SetMaxCallDepth(200);
  engine.AddCode(
      "Dim deepest, before\n"
      "Function R(n)\n deepest = n\n R = R(n + 1)\nEnd Function\n"
      "Function Guarded(n)\n On Error Resume Next\n deepest = n\n Guarded = Guarded(n + 1)\n"
      "End Function\n"
      "Function Top(start)\n On Error Resume Next\n Top = R(start)\n Top = Err.Number\n"
      "End Function\n"
      "Function Chain(n)\n If n > 0 Then Chain = Chain(n - 1) Else Chain = Top(1)\n"
      "End Function");
  Variant one(std::int16_t{1});
  // Top is the first call, R(1) the second: R(199) is the 200th.
  EXPECT_EQ(Text(engine.Run("Top", std::span<Variant>(&one, 1))), "28");
  EXPECT_EQ(Text(engine.Eval("deepest")), "199");
  EXPECT_EQ(Text(engine.Run("Guarded", std::span<Variant>(&one, 1))), "");
  EXPECT_EQ(Text(engine.Eval("deepest")), "200");
  // Ten frames of Chain below Top leave ten calls fewer for R.
  Variant ten(std::int16_t{10});
  EXPECT_EQ(Text(engine.Run("Chain", std::span<Variant>(&ten, 1))), "28");
  EXPECT_EQ(Text(engine.Eval("deepest")), "188");
  // Nothing of the failed calls is left counted.
  EXPECT_EQ(Text(engine.Run("Top", std::span<Variant>(&one, 1))), "28");
  EXPECT_EQ(Text(engine.Eval("deepest")), "199");
}

TEST(EngineTest, ClassTerminateRunsWhenTheLastReferenceGoes) {
  Engine engine;
  auto log = MakeRef<PropertyBag>();
  engine.AddObject("Log", log, false);
  engine.AddCode(
      "Class T\n Private Sub Class_Terminate: Log.Record \"bye\": End Sub\nEnd Class\n"
      "Dim obj: Set obj = New T\nSet obj = Nothing\n"
      "Class Node: Public NextNode: End Class\n"
      "Dim head, n, i: Set head = Nothing: For i = 1 To 200000: Set n = New Node: Set n.NextNode = "
      "head: Set head = n: Next\n"
      "Set n = Nothing: Set head = Nothing");
  ASSERT_EQ(log->calls.size(), 1u);
  EXPECT_EQ(log->calls[0], "bye;");
}

// With the memory cap reached, an object whose Class_Terminate would need a stand-in goes
// without its handler; the script goes on, and handlers run again once memory is back.
TEST(EngineTest, ClassTerminateIsSkippedWhileMemoryIsFull) {
  Engine engine;
  engine.SetMemoryLimit(8 << 20);
  auto log = MakeRef<PropertyBag>();
  engine.AddObject("Log", log, false);
  engine.AddCode(
      "Class T\n Public Tag\n Private Sub Class_Terminate: Log.Record Tag: End Sub\nEnd Class\n"
      "Dim first, second, chunks(), n, size, fullAt\n"
      "Set first = New T: first.Tag = \"first\"\n"
      "ReDim chunks(1000): n = 0: size = 1000000\n"
      "On Error Resume Next\n"
      // Strings ever smaller, until not even one character fits.
      "Do While size >= 1 And n <= 1000\n"
      " Err.Clear: chunks(n) = Space(size)\n"
      " If Err.Number = 0 Then n = n + 1 Else size = size \\ 2\n"
      "Loop\n"
      "fullAt = n\n"
      "Set first = Nothing\n"
      "On Error GoTo 0\n"
      "Erase chunks\n"
      "Set second = New T: second.Tag = \"second\": Set second = Nothing");
  EXPECT_GT(ToLong(engine.Eval("fullAt")), 5);
  EXPECT_EQ(log->calls, std::vector<std::string>{"second;"});
}

TEST(EngineTest, DeeplyNestedArraysAreReleasedWithoutRecursion) {
  Engine engine;
  engine.AddCode(
      "Dim a, i: a = Array(1)\nFor i = 1 To 300000: a = Array(a): Next\na = Empty\n"
      "Dim done: done = True");
  EXPECT_EQ(Text(engine.Eval("done")), "True");
}

TEST(EngineTest, DeeplyNestedDictionariesAreReleasedWithoutRecursion) {
  Engine engine;
  auto log = MakeRef<PropertyBag>();
  engine.AddObject("Log", log, false);
  engine.AddCode(
      "Function NewDict: Set NewDict = CreateObject(\"Scripting.Dictionary\"): End Function\n"
      "Class T\n Public Tag\n Private Sub Class_Terminate: Log.Record Tag: End Sub\nEnd Class\n"
      "Class Holder: Public Inner: End Class\n"
      "Dim d, n, i, o\n"
      // A dictionary in a dictionary in ..., the last one also holding objects with
      // Class_Terminate that must still run, in order.
      "Set d = NewDict\n"
      "For i = 1 To 3: Set o = New T: o.Tag = i: d.Add i, o: Next: Set o = Nothing\n"
      "For i = 1 To 300000: Set n = NewDict: n.Add \"in\", d: Set d = n: Next\n"
      "Set n = Nothing: Set d = Nothing\n"
      // Dictionaries in arrays in dictionaries, and dictionaries as keys.
      "d = Array(1)\n"
      "For i = 1 To 100000: Set n = NewDict: n.Add \"in\", d: d = Array(n): Next\n"
      "Set n = Nothing: d = Empty\n"
      "Set d = NewDict\n"
      "For i = 1 To 100000: Set n = NewDict: n.Add d, i: Set d = n: Next\n"
      "Set n = Nothing: Set d = Nothing\n"
      // Script objects and dictionaries taking turns.
      "Set d = NewDict\n"
      "For i = 1 To 100000: Set n = New Holder: Set n.Inner = d: Set d = NewDict: d.Add 1, n: "
      "Next\n"
      "Set n = Nothing: Set d = Nothing\n"
      "Dim done: done = True");
  EXPECT_EQ(Text(engine.Eval("done")), "True");
  ASSERT_EQ(log->calls.size(), 3u);
  EXPECT_EQ(log->calls[0] + log->calls[1] + log->calls[2], "1;2;3;");
}

TEST(EngineTest, RandomizeStatementSeedsTheGeneratorRndReads) {
  // What the statement does is what the generator's own Randomize does, on the state Rnd uses.
  TickingClock clock;
  RandomState expected;
  Randomize(expected, Variant(std::int16_t{5}), clock);
  float first = NextRandom(expected);

  auto run = [&clock](const char* code) {
    Engine engine;
    engine.SetClock(&clock);
    engine.AddCode(code);
    return engine.Eval("x");
  };
  Variant x = run("Randomize 5: x = Rnd");
  ASSERT_EQ(x.Type(), VarType::Single);
  EXPECT_EQ(x.AsSingle(), first);
  EXPECT_EQ(run("Randomize 5: x = Rnd").AsSingle(), first);
  EXPECT_NE(run("Randomize 6: x = Rnd").AsSingle(), first);
  // Within one run a sequence repeats after Rnd with a negative number.
  EXPECT_EQ(Text(run("Rnd -1: Randomize 5: a = Rnd: Rnd -1: Randomize 5: x = (a = Rnd)")), "True");
  // Without a number the seed comes from the clock's time of day: the same time, the same seed.
  RandomState fromClock;
  Randomize(fromClock, std::nullopt, clock);
  EXPECT_EQ(run("Randomize: x = Rnd").AsSingle(), NextRandom(fromClock));
}

}  // namespace
}  // namespace sl::vbs
