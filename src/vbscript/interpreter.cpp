// The interpreter's set-up, the entry points a host calls, the time and depth limits and the
// host services the built-ins use.
#include "vbscript/interpreter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <unordered_set>

#include "core/memory_budget.h"
#include "core/variant_convert.h"
#include "vbscript/builtins/random.h"
#include "vbscript/interpreter_support.h"
#include "vbscript/operators.h"
#include "vbscript/parser.h"

namespace sl::vbs {

namespace {

// Stack the interpreter may use below the host's entry point before error 28.
constexpr std::uintptr_t kStackBudget = std::uintptr_t{3} << 20;
constexpr std::size_t kMaxSnippetCache = 4096;

std::uintptr_t StackAddress() {
  return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Set-up and host entry points

Interpreter::Interpreter() : store_(MakeRef<CodeStore>()), err_(MakeRef<ErrObject>()) {
  store_->interpreter = this;
  if (const char* core = std::getenv("STORYLOOM_VBS_CORE"))
    useBytecode_ = std::string(core) != "tree";
  struct {
    const char* name;
    Intrinsic id;
  } intrinsics[] = {{"Eval", kEval},
                    {"Execute", kExecute},
                    {"ExecuteGlobal", kExecuteGlobal},
                    {"GetRef", kGetRef}};
  for (auto& i : intrinsics) {
    GlobalSlot* slot = globals_.Add(i.name, ToLowerAscii(i.name), GlobalSlot::Intrinsic);
    slot->intrinsic = i.id;
  }
  GlobalSlot* err = globals_.Add("Err", "err", GlobalSlot::Constant);
  err->value = Variant(Ref<Object>(err_));
}

Interpreter::~Interpreter() {
  Shutdown();
}

void Interpreter::Shutdown() {
  if (shuttingDown_) return;
  shuttingDown_ = true;
  ReleaseGlobals();
  globalMemberObjects_.clear();
  store_->interpreter = nullptr;
}

// Globals are released in order so that Class_Terminate runs while the program still exists.
void Interpreter::ReleaseGlobals() {
  for (GlobalSlot& slot : globals_.Slots()) {
    Variant old(std::move(slot.value));
  }
}

void Interpreter::MarkBase() {
  base_.marked = true;
  base_.programs = store_->programs.size();
  base_.blocks = blocks_.size();
  base_.globals.clear();
  for (const GlobalSlot& slot : globals_.Slots()) {
    GlobalSlot saved;
    saved.kind = slot.kind;
    saved.proc = slot.proc;
    saved.cls = slot.cls;
    saved.intrinsic = slot.intrinsic;
    if (slot.kind == GlobalSlot::Constant || slot.kind == GlobalSlot::HostObject) {
      saved.value = slot.value;
    }
    base_.globals.push_back(std::move(saved));
  }
  resolvedSinceBase_.clear();
}

void Interpreter::RestartFromBase() {
  // Values go first, while every class they may need for Class_Terminate still exists.
  ReleaseGlobals();
  globalMemberObjects_.clear();
  for (auto it = resolvedSinceBase_.rbegin(); it != resolvedSinceBase_.rend(); ++it)
    it->first->ref = it->second;
  resolvedSinceBase_.clear();
  globals_.TruncateTo(base_.globals.size());
  ReleaseGlobals();  // whatever a Class_Terminate stored meanwhile
  std::deque<GlobalSlot>& slots = globals_.Slots();
  for (std::size_t i = 0; i < base_.globals.size(); ++i) {
    const GlobalSlot& saved = base_.globals[i];
    globals_.SetKind(slots[i], saved.kind);
    slots[i].proc = saved.proc;
    slots[i].cls = saved.cls;
    slots[i].intrinsic = saved.intrinsic;
    slots[i].value = saved.value;
  }
  // The base programs move to a new store; objects that escaped keep the old one, which no longer
  // answers (as after Reset), together with the programs added since the mark.
  Ref<CodeStore> fresh = MakeRef<CodeStore>();
  fresh->programs.assign(store_->programs.begin(),
                         store_->programs.begin() + static_cast<std::ptrdiff_t>(base_.programs));
  fresh->interpreter = this;
  store_->interpreter = nullptr;
  store_ = fresh;
  std::unordered_set<const Program*> kept;
  for (const auto& program : store_->programs)
    kept.insert(program.get());
  std::erase_if(snippetExprs_, [&](const auto& entry) { return !kept.count(entry.first); });
  std::erase_if(snippetCache_, [&](const auto& entry) { return !kept.count(entry.second); });
  blocks_.resize(base_.blocks);
  err_->Clear();
  Enter([&] {
    for (Program* block : blocks_)
      RunProgram(*block);
  });
}

void Interpreter::SetTimeLimit(std::int64_t ms, const Clock* watchdog) {
  timeLimitMs_ = ms;
  watchdog_ = watchdog ? watchdog : &systemClock_;
}

template <class F>
auto Interpreter::Enter(F&& body) -> decltype(body()) {
  bool outer = entryDepth_ == 0;
  if (outer) {
    startMs_ = watchdog_->MonotonicMs();
    blockedMs_ = 0;
    ticks_ = 1;
    stackBase_ = StackAddress();
    aborting_ = false;
    abortLine_ = 0;
  }
  ++entryDepth_;
  std::optional<MemoryBudget> budget;
  if (outer) budget.emplace(memoryLimit_);
  struct Leave {
    Interpreter* self;
    bool outer;
    ~Leave() {
      --self->entryDepth_;
      if (outer) self->aborting_ = false;
    }
  } leave{this, outer};
  try {
    return body();
  } catch (ScriptAbort& abort) {
    if (abort.IsTimeout() && outer) {
      throw ScriptError(kErrTimeout, std::string(ErrorDescription(kErrTimeout)), "", false,
                        abortBlock_, abortLine_, abortColumn_);
    }
    throw;
  } catch (ScriptError&) {
    throw;
  } catch (NamedError& e) {
    throw ScriptError(e.Number(), e.Description(), e.Name(), false, "", 0, 0);
  } catch (RuntimeError& e) {
    throw ScriptError(e.Number(), e.Description(), "", false, "", 0, 0);
  }
}

void Interpreter::AddCode(std::string_view code, const std::string& blockName) {
  Enter([&] {
    auto owned = std::make_unique<Program>();
    Program* program = nullptr;
    try {
      owned = ParseProgram(code, blockName);
      program = owned.get();
      store_->programs.push_back(std::move(owned));
      CompileProgram(*program, globals_, nullptr);
    } catch (CompileError& e) {
      throw ScriptError(e.Number(), e.Description(), "", true, blockName, e.Line(), e.Column());
    }
    blocks_.push_back(program);
    RunProgram(*program);
  });
}

std::vector<UndeclaredName> Interpreter::CheckCode(std::string_view code,
                                                   const std::string& blockName,
                                                   CheckedBlock keep) {
  std::size_t globalsBefore = globals_.Slots().size();
  std::unique_ptr<Program> program;
  std::vector<const NameExpr*> uses;
  try {
    program = ParseProgram(code, blockName);
    CompileProgram(*program, globals_, nullptr, &uses);
  } catch (CompileError& e) {
    globals_.TruncateTo(globalsBefore);
    throw ScriptError(e.Number(), e.Description(), "", true, blockName, e.Line(), e.Column());
  }
  std::vector<UndeclaredName> undeclared;
  std::unordered_set<std::string> seen;
  for (const NameExpr* n : uses) {
    if (Answers(*n) || !seen.insert(n->key).second) continue;
    undeclared.push_back({n->name, n->line, n->column});
  }
  if (keep == CheckedBlock::Keep) {
    store_->programs.push_back(std::move(program));
  } else {
    globals_.TruncateTo(globalsBefore);
  }
  return undeclared;
}

void Interpreter::RunProgram(Program& program) {
  Frame f;
  f.block = &program.blockName;
  if (const Code* code = CodeOf(program)) {
    LocalSlots registers(static_cast<std::size_t>(code->registerCount));
    f.locals = registers.data;
    RunCode(*code, f);
    return;
  }
  ExecBlock(program.globalCode, f);
}

void Interpreter::AddObject(const std::string& name, Ref<Object> object, bool globalMembers) {
  std::string key = ToLowerAscii(name);
  GlobalSlot* slot = globals_.Find(key);
  if (!slot) slot = globals_.Add(name, key, GlobalSlot::HostObject);
  globals_.SetKind(*slot, GlobalSlot::HostObject);
  slot->proc = nullptr;
  slot->cls = nullptr;
  Store(slot->value, Variant(object));
  if (globalMembers && object) globalMemberObjects_.push_back(object);
}

Variant Interpreter::Run(std::string_view name, std::span<Variant> args) {
  return Enter([&] {
    GlobalSlot* slot = globals_.Find(ToLowerAscii(name));
    if (!slot || slot->kind != GlobalSlot::Procedure) {
      throw NamedError(kErrTypeMismatch, std::string(name));
    }
    CallArgs callArgs;
    callArgs.values = args;
    return CallProc(slot->proc, nullptr, callArgs);
  });
}

Variant Interpreter::EvalText(std::string_view expression) {
  return Enter([&] {
    Expr* expr = nullptr;
    try {
      CompileSnippet(expression, nullptr, true, &expr);
    } catch (CompileError& e) {
      throw ScriptError(e.Number(), e.Description(), "", true, "", e.Line(), e.Column());
    }
    Frame f;
    static const std::string kEvalBlock;
    f.block = &kEvalBlock;
    return Eval(expr, f);
  });
}

bool Interpreter::HasProcedure(std::string_view name) {
  GlobalSlot* slot = globals_.Find(ToLowerAscii(name));
  return slot && slot->kind == GlobalSlot::Procedure;
}

Program* Interpreter::CompileSnippet(std::string_view code, const ProcDef* scope, bool expression,
                                     Expr** expr) {
  std::string key;
  key.reserve(code.size() + 24);
  key += expression ? 'E' : 'X';
  key += std::to_string(reinterpret_cast<std::uintptr_t>(scope));
  key += ':';
  key += code;
  auto it = snippetCache_.find(key);
  if (it != snippetCache_.end()) {
    if (expr) *expr = snippetExprs_[it->second];
    return it->second;
  }
  std::unique_ptr<Program> owned;
  Expr* result = nullptr;
  if (expression) {
    owned = ParseExpression(code, "", result);
  } else {
    owned = ParseProgram(code, "");
  }
  Program* program = owned.get();
  store_->programs.push_back(std::move(owned));
  if (expression) {
    CompileExpression(*program, result, scope);
    snippetExprs_[program] = result;
    if (expr) *expr = result;
  } else {
    CompileProgram(*program, globals_, scope);
  }
  if (snippetCache_.size() < kMaxSnippetCache) snippetCache_.emplace(std::move(key), program);
  return program;
}

// ---------------------------------------------------------------------------------------------
// Limits

void Interpreter::CheckTime() {
  ticks_ = 1024;
  if (timeLimitMs_ <= 0 || entryDepth_ == 0) return;
  std::int64_t elapsed = watchdog_->MonotonicMs() - startMs_ - blockedMs_;
  if (elapsed > timeLimitMs_) {
    aborting_ = true;
    throw ScriptAbort(0, true);
  }
}

// A call refused for depth counts against the time limit too: under On Error Resume Next a
// recursion can make endless refused calls without ever running one.
void Interpreter::EnterCall() {
  Tick();
  ++depth_;
  if (depth_ > maxDepth_ || CStackSpent()) {
    --depth_;
    throw MakeError(kErrOutOfStack);
  }
}

bool Interpreter::CStackSpent() const {
  return stackBase_ > StackAddress() && stackBase_ - StackAddress() > kStackBudget;
}

// Whether a call made now would fail for the depth (error 28, before its arguments are
// evaluated): the code then leaves the call to the tree walker, which gives that error first.
bool Interpreter::CallFails() const {
  return depth_ + 1 > maxDepth_ || CStackSpent();
}

// ---------------------------------------------------------------------------------------------
// Host services for the built-ins

int Interpreter::MessageBox(const std::string& prompt, int buttons, const std::string& title) {
  std::int64_t start = watchdog_->MonotonicMs();
  int answer = Host().MessageBox(prompt, buttons, title);
  blockedMs_ += watchdog_->MonotonicMs() - start;
  return answer;
}

std::optional<std::string> Interpreter::InputBox(const std::string& prompt,
                                                 const std::string& title,
                                                 const std::string& defaultText) {
  std::int64_t start = watchdog_->MonotonicMs();
  auto answer = Host().InputBox(prompt, title, defaultText);
  blockedMs_ += watchdog_->MonotonicMs() - start;
  return answer;
}

Ref<Object> Interpreter::CreateHostObject(std::string_view progId) {
  return Host().CreateObject(progId);
}

}  // namespace sl::vbs
