// The script engine as a host uses it. A program is built from code blocks that share one global
// scope: each block's global code runs as the block is added, and each may start with Option
// Explicit. Hosts add named objects (optionally with their members visible as global names),
// run procedures by name, evaluate expressions and reset everything. Errors come out as
// ScriptError with the block, line and column where they happened.
//
// Limits keep the host alive whatever a script does: a time limit (time the host spends
// waiting for the user does not count, and long built-in functions are stopped too), a call
// depth limit (error 28 "Out of stack space"), the size caps of strings and arrays and a cap on
// the memory one call may take (error 7 "Out of memory").
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/clock.h"
#include "core/object.h"
#include "core/variant.h"
#include "vbscript/errors.h"

namespace sl::vbs {

class Interpreter;
struct RandomState;

// A name that code uses and that nothing answers: no declaration of the code or of the blocks
// before it, no host object or member of one, no built-in function or constant.
struct UndeclaredName {
  std::string name;  // as first written
  int line = 0;      // of its first use, from 1
  int column = 0;
};

// Whether CheckCode keeps the checked block for the blocks checked after it.
enum class CheckedBlock { Keep, Drop };

constexpr std::size_t kDefaultMemoryLimit = std::size_t{512} << 20;

// What the engine asks of its host. Every method has a sensible default.
class EngineHost {
 public:
  virtual ~EngineHost() = default;
  // MsgBox: shows the message and returns the answer code (OK 1 ... No 7).
  virtual int MessageBox(const std::string& prompt, int buttons, const std::string& title);
  // InputBox: the text entered, or nothing when cancelled.
  virtual std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                              const std::string& defaultText);
  // CreateObject(progId) for objects the host provides; null lets the engine's own answer.
  virtual Ref<Object> CreateObject(std::string_view progId);
};

class Engine {
 public:
  Engine();
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // The host's callbacks; null restores the defaults (no message boxes: answer OK / cancel).
  void SetHost(EngineHost* host);
  // The clock scripts read (Now, Timer, Date); by default the system clock.
  void SetClock(const Clock* clock);
  // Longest time a call into the engine may run, in milliseconds; 0 = no limit. Measured on
  // `watchdog` (the system clock when null), so a virtual clock that stands still does not
  // disable it.
  void SetTimeLimit(std::int64_t milliseconds, const Clock* watchdog = nullptr);
  // Time the host spent blocked (in a dialog of its own) during a call from a script: not
  // counted against the time limit. MsgBox and InputBox are accounted for automatically.
  void AddBlockedTime(std::int64_t milliseconds);
  // The deepest nesting of script procedure calls before error 28.
  void SetMaxCallDepth(int depth);
  // The most memory the strings, arrays and objects made during one call into the engine may
  // take, in bytes (kDefaultMemoryLimit unless set); more is error 7 "Out of memory".
  void SetMemoryLimit(std::size_t bytes);

  // Compiles a block and runs its global code. Throws ScriptError.
  void AddCode(std::string_view code, std::string blockName = "");
  // Parses and compiles a block as AddCode does, against the code added or kept so far and the
  // objects added so far, without running anything: ScriptError for a syntax error. Returns the
  // undeclared names the block uses, each once, in order of first use. A kept block's
  // declarations answer for the blocks checked after it (its code never runs).
  std::vector<UndeclaredName> CheckCode(std::string_view code, std::string blockName,
                                        CheckedBlock keep = CheckedBlock::Drop);
  // A named object; with globalMembers its members are also visible as global names. Scripts
  // pass variables (and array elements) to its members by reference: a value the member stores
  // in such an argument reaches the variable. An omitted argument (`f 1, , 3`) arrives as
  // Variant::Error(0x80020004), the "missing" value.
  void AddObject(std::string name, Ref<Object> object, bool globalMembers = false);
  // Calls a global procedure with arguments (passed by value). Throws ScriptError.
  Variant Run(std::string_view procedure, std::span<Variant> args = {});
  // Evaluates an expression in the global scope. Throws ScriptError.
  Variant Eval(std::string_view expression);
  bool HasProcedure(std::string_view name) const;
  // Drops all code, globals and objects; the host callbacks, clock and limits stay.
  void Reset();
  // Makes the code added so far the base of the program. RestartFromBase() then leaves the engine
  // as Reset() followed by adding that code again would: every global value, object and class
  // instance released (Class_Terminate runs), the code and objects added since the mark dropped,
  // the base's global code run again (ScriptError when it fails), all without parsing or
  // compiling the base again. Script objects that escaped to the host stop answering, as after
  // Reset(). Host callbacks, clock, limits and the random state stay. Neither may be called while
  // a script runs (from inside a host callback). Reset() forgets the base.
  void MarkBase();
  // Without a base, the same as Reset().
  void RestartFromBase();

  RandomState& Random();

 private:
  std::unique_ptr<Interpreter> interp_;
  EngineHost* host_ = nullptr;
  const Clock* clock_ = nullptr;
  std::int64_t timeLimit_ = 0;
  const Clock* watchdog_ = nullptr;
  int maxDepth_ = 0;
  bool hasBase_ = false;
  std::size_t memoryLimit_ = kDefaultMemoryLimit;
};

}  // namespace sl::vbs
