// The contract between the interpreter and the built-in functions of the language. Each built-in
// is a plain function over already evaluated arguments; the few services that need the running
// engine (random numbers, the clock, message boxes, object creation) come through
// BuiltinContext, which the interpreter implements. Eval, Execute, ExecuteGlobal, GetRef and the
// Err object belong to the interpreter itself and are not in this table.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/clock.h"
#include "core/object.h"
#include "core/variant.h"

namespace sl::vbs {

// State of Rnd/Randomize: a 24-bit linear congruential generator whose seed starts at &H50000.
struct RandomState {
  std::uint32_t seed = 0x50000;
  float last = 0;  // the previous result, for Rnd(0)
};

class BuiltinContext {
 public:
  virtual ~BuiltinContext() = default;
  virtual const Clock& GetClock() = 0;
  virtual RandomState& Random() = 0;
  // MsgBox: returns the answer code (OK 1, Cancel 2, Abort 3, Retry 4, Ignore 5, Yes 6, No 7).
  virtual int MessageBox(const std::string& prompt, int buttons, const std::string& title) = 0;
  // InputBox: the text entered, or nothing when cancelled.
  virtual std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                              const std::string& defaultText) = 0;
  // An object a host offers for CreateObject(progId), or null to let the built-in objects
  // (Scripting.Dictionary, ...) answer.
  virtual Ref<Object> CreateHostObject(std::string_view progId) = 0;
  // Work a built-in does in a long loop, in characters or bytes: lets the engine enforce its
  // time limit inside the call (it may end the script with ScriptAbort).
  virtual void Charge(std::size_t /*units*/) {}
};

// A built-in function. `args` holds the evaluated arguments (missing optional arguments are not
// present: args.size() is the number given). Errors are thrown as RuntimeError.
// An argument left out before others (`FormatNumber(x, 2, , True)`) is passed as
// Variant::Error(kMissingArgument); the functions then use its default.
constexpr std::int32_t kMissingArgument = static_cast<std::int32_t>(0x80020004u);

using BuiltinFunction = Variant (*)(BuiltinContext& context, std::span<Variant> args);

// How a built-in may be called. The conversion functions are values only: called as a
// statement they convert and then fail with error 458. Randomize is a statement only: used for
// a value it is a type mismatch.
enum class BuiltinUse : std::uint8_t { kAny, kValueOnly, kStatementOnly };

struct BuiltinInfo {
  const char* name;  // as authors write it, e.g. "Mid"; looked up without regard to case
  BuiltinFunction function;
  std::int8_t minArgs;
  std::int8_t maxArgs;  // -1: any number
  BuiltinUse use = BuiltinUse::kAny;
};

struct ConstantInfo {
  const char* name;  // e.g. "vbCrLf"
  Variant (*value)();
};

// Every built-in function and constant of the language.
std::span<const BuiltinInfo> AllBuiltins();
std::span<const ConstantInfo> AllConstants();

// Finds a built-in by name (any letter case); null when there is none.
const BuiltinInfo* FindBuiltin(std::string_view name);
const ConstantInfo* FindConstant(std::string_view name);

}  // namespace sl::vbs
