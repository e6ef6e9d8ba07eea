// Scripts written to stall or exhaust the player: searches built to be slow, built-in functions
// given huge inputs, and scripts that hoard memory. Each must end quickly, within the engine's
// limits, with the result or with the error the limit gives.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <string>

#include "core/variant_convert.h"
#include "vbscript/engine.h"

namespace sl::vbs {
namespace {

// A clock that moves one millisecond each time it is read.
class TickingClock final : public Clock {
 public:
  std::int64_t MonotonicMs() const override { return ++now; }
  CivilTime Now() const override { return CivilTime{2004, 3, 7, 12, 0, 0, 0}; }
  mutable std::int64_t now = 0;
};

int ErrorOf(Engine& engine, const std::string& code) {
  try {
    engine.AddCode(code);
    return 0;
  } catch (const ScriptError& e) {
    return e.Number();
  }
}

long PeakResidentKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// A needle of 64 K units that almost matches everywhere in a haystack of 1 M units: a search
// that compares the needle afresh at every position does 64 billion steps.
TEST(HostileScriptsTest, SearchesForNearMissesFinishWithinTheTimeLimit) {
  Engine engine;
  engine.AddCode(
      "Dim hay, needle, reversed, list\n"
      "hay = String(1048576, \"a\")\n"
      "needle = String(65536, \"a\") & \"b\"\n"
      "reversed = \"b\" & String(65536, \"a\")\n"
      "list = Array(hay, hay, hay)");
  engine.SetTimeLimit(1000);
  const char* searches[][2] = {
      {"InStr(hay, needle)", "0"},
      {"InStr(1, hay, needle, vbTextCompare)", "0"},
      {"InStrRev(hay, reversed)", "0"},
      {"InStrRev(hay, reversed, -1, vbTextCompare)", "0"},
      {"Len(Replace(hay, needle, \"x\"))", "1048576"},
      {"Len(Replace(hay, needle, \"x\", 1, -1, vbTextCompare))", "1048576"},
      {"UBound(Split(hay, needle))", "0"},
      {"UBound(Filter(list, needle))", "-1"},
  };
  for (auto& [expression, expected] : searches) {
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ToUtf8(engine.Eval(expression)), expected) << expression;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << expression;
  }
}

// The time limit is checked inside long built-in functions, not only between statements.
TEST(HostileScriptsTest, TimeLimitStopsLongBuiltinFunctions) {
  TickingClock clock;
  Engine engine;
  engine.AddCode("Dim text, parts: text = String(4000000, \",\"): parts = Split(text, \",\")");
  engine.SetTimeLimit(5, &clock);
  const char* calls[] = {
      "Replace(text, \",\", Space(100))",
      "Split(text, \",\")",
      "Join(parts, \"--\")",
      "Filter(parts, \"x\")",
  };
  for (const char* call : calls) {
    try {
      engine.Eval(call);
      ADD_FAILURE() << call << " ran past the time limit";
    } catch (const ScriptError& e) {
      EXPECT_EQ(e.Number(), kErrTimeout) << call;
    }
  }
}

// Split counts its parts before making them: a text of twenty million delimiters is refused at
// once instead of first taking hundreds of megabytes for parts it cannot keep.
TEST(HostileScriptsTest, SplitRefusesTooManyPartsBeforeMakingThem) {
  Engine engine;
  engine.AddCode("Dim commas: commas = String(20000000, \",\")");
  long before = PeakResidentKilobytes();
  EXPECT_EQ(ErrorOf(engine, "Dim parts: parts = Split(commas, \",\")"), kErrOutOfMemory);
  EXPECT_LT(PeakResidentKilobytes() - before, 100 * 1024);
  // A count keeps the array small enough.
  engine.AddCode("parts = Split(commas, \",\", 3)");
  EXPECT_EQ(ToUtf8(engine.Eval("UBound(parts) & Len(parts(2))")), "219999998");
}

// The memory one call may take is capped as a whole, however it is spread over strings,
// arrays, dictionaries and objects; the engine stays usable after the error.
TEST(HostileScriptsTest, MemoryCapStopsScriptsThatHoardMemory) {
  Engine engine;
  engine.SetMemoryLimit(64 << 20);
  EXPECT_EQ(ErrorOf(engine,
                    "Dim strings(99), i\n"
                    "For i = 0 To 99: strings(i) = Space(1000000): Next"),
            kErrOutOfMemory);
  EXPECT_EQ(ErrorOf(engine, "ReDim big(8000000)"), kErrOutOfMemory);
  EXPECT_EQ(ErrorOf(engine,
                    "Set d = CreateObject(\"Scripting.Dictionary\")\n"
                    "For i = 1 To 5000000: d.Add i, i: Next"),
            kErrOutOfMemory);
  EXPECT_EQ(ErrorOf(engine,
                    "Class Node: Public nextNode, a, b, c: End Class\n"
                    "Dim head: Set head = Nothing: For i = 1 To 5000000: Set n = New Node: Set "
                    "n.nextNode = head: "
                    "Set head = n: Next"),
            kErrOutOfMemory);
  // Under On Error Resume Next the script sees error 7 and goes on.
  engine.AddCode(
      "On Error Resume Next\nDim hoard: hoard = Space(40000000)\nDim seen: seen = Err.Number");
  EXPECT_EQ(ToUtf8(engine.Eval("seen")), "7");
  engine.AddCode("Dim fine: fine = Len(Space(1000000))");
  EXPECT_EQ(ToUtf8(engine.Eval("fine")), "1000000");
}

// The registers of deep calls count against the memory cap: a recursion whose frames are large
// stops with error 7 instead of taking hundreds of megabytes, and calls work again afterwards.
TEST(HostileScriptsTest, MemoryCapCountsTheRegistersOfDeepCalls) {
  Engine engine;
  engine.SetMemoryLimit(32 << 20);
  std::string locals = "Dim v0";
  for (int i = 1; i < 10000; ++i)
    locals.append(", v").append(std::to_string(i));
  engine.AddCode("Function Big(n)\n" + locals +
                 "\nv9999 = n\nIf n > 0 Then Big = Big(n - 1) + 1 Else Big = 0\nEnd Function\n");
  long before = PeakResidentKilobytes();
  EXPECT_EQ(ErrorOf(engine, "Dim depth: depth = Big(1000)"), kErrOutOfMemory);
  EXPECT_LT(PeakResidentKilobytes() - before, 100 * 1024);
  engine.AddCode("Dim fine: fine = Big(50)");
  EXPECT_EQ(ToUtf8(engine.Eval("fine")), "50");
}

// Calls refused at the depth limit and swallowed by On Error Resume Next count against the time
// limit as calls that run do: a recursion that fans out at the limit (thirty calls a level)
// must not run on for the age of the universe between two looks at the clock.
TEST(HostileScriptsTest, CallsRefusedAtTheDepthLimitCountAgainstTheTimeLimit) {
  TickingClock clock;
  Engine engine;
  engine.SetClock(&clock);
  engine.SetTimeLimit(40, &clock);
  engine.SetMaxCallDepth(100);
  std::string fanOut = "Sub Fan\n  On Error Resume Next\n";
  for (int i = 0; i < 30; ++i)
    fanOut += "  Fan\n";
  fanOut += "End Sub\nFan\n";
  auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(ErrorOf(engine, fanOut), kErrTimeout);
  // The ticks below are the measure; wall time is bounded loosely, since under the sanitizers
  // each refused call's error costs more the deeper the stack, and a loaded machine adds more.
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
  EXPECT_LT(clock.now, 200);
}

}  // namespace
}  // namespace sl::vbs
