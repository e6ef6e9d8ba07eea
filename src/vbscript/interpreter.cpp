#include "vbscript/interpreter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_set>

#include "core/memory_budget.h"
#include "core/variant_convert.h"
#include "vbscript/builtins/random.h"
#include "vbscript/operators.h"
#include "vbscript/parser.h"

namespace sl::vbs {

namespace {

constexpr int kInlineSlots = 8;
// Stack the interpreter may use below the host's entry point before error 28.
constexpr std::uintptr_t kStackBudget = std::uintptr_t{3} << 20;
constexpr std::size_t kMaxSnippetCache = 4096;
constexpr std::size_t kMaxSubscripts = 60;

std::uintptr_t StackAddress() {
  return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
}

// Stores a value so that the old value is released only after the variable holds the new one
// (releasing an object may run its Class_Terminate, which may read the variable).
inline void Store(Variant& slot, Variant value) {
  if (!slot.IsString() && !slot.IsObject() && !slot.IsArray()) {
    slot = std::move(value);  // nothing to release
    return;
  }
  Variant old(std::move(slot));
  slot = std::move(value);
}

// The value an assignment stores: Set stores the object itself, Let the object's value (a
// Property Let of a script class receives the object as it is and decides).
inline Variant LetValue(Variant value, bool isSet) {
  if (isSet || !value.IsObject()) return value;
  return Dereference(value);
}

// Arrays are values: before writing into one that another variable shares, copy it.
void MakeUnique(Variant& v) {
  if (v.IsArray() && v.AsArray()->RefCount() > 1) v = Variant(v.AsArray()->Clone());
}

bool IsIntegral(const Variant& v) {
  VarType t = v.Type();
  return t == VarType::Integer || t == VarType::Long || t == VarType::Byte;
}

Variant Counter(std::int64_t value, bool wide) {
  if (!wide && value >= -32768 && value <= 32767) return Variant(static_cast<std::int16_t>(value));
  if (value >= INT32_MIN && value <= INT32_MAX) return Variant(static_cast<std::int32_t>(value));
  return Variant(static_cast<double>(value));
}

// Integer and Long operands of the common operators, computed without the general rules (which
// give the same results): sums and products widen as Counter does, comparisons give Booleans.
// False when the general rules must decide (division by zero, other operators).
bool FastIntegerOp(Op op, const Variant& l, const Variant& r, Variant& out) {
  VarType tl = l.Type(), tr = r.Type();
  if (!((tl == VarType::Integer || tl == VarType::Long) &&
        (tr == VarType::Integer || tr == VarType::Long))) {
    return false;
  }
  std::int64_t x = tl == VarType::Integer ? l.AsInteger() : l.AsLong();
  std::int64_t y = tr == VarType::Integer ? r.AsInteger() : r.AsLong();
  bool wide = tl == VarType::Long || tr == VarType::Long;
  switch (op) {
    case Op::Add:
      out = Counter(x + y, wide);
      return true;
    case Op::Sub:
      out = Counter(x - y, wide);
      return true;
    case Op::Mul:
      out = Counter(x * y, wide);
      return true;
    case Op::Mod:
      if (y == 0) return false;
      out = Counter(x % y, wide);
      return true;
    case Op::IntDiv:
      if (y == 0 || (x / y) > INT32_MAX) return false;
      out = Counter(x / y, wide);
      return true;
    case Op::Eq:
      out = Variant(x == y);
      return true;
    case Op::Ne:
      out = Variant(x != y);
      return true;
    case Op::Lt:
      out = Variant(x < y);
      return true;
    case Op::Gt:
      out = Variant(x > y);
      return true;
    case Op::Le:
      out = Variant(x <= y);
      return true;
    case Op::Ge:
      out = Variant(x >= y);
      return true;
    default:
      return false;
  }
}

std::string DescribeObject(const Expr* e) {
  if (e && e->kind == ExprKind::Name) return static_cast<const NameExpr*>(e)->name;
  return {};
}

std::string MemberName(const MemberExpr* m) {
  std::string object = DescribeObject(m->object);
  return object.empty() ? m->name : object + "." + m->name;
}

enum Intrinsic { kEval = 1, kExecute, kExecuteGlobal, kGetRef };

// The local variables of a call: on the stack when few (only as many as the procedure has are
// made), on the heap otherwise. They go in reverse order, as an array's elements would.
struct LocalSlots {
  explicit LocalSlots(std::size_t n) : count(n) {
    if (n > kInlineSlots) {
      heap = std::make_unique<Variant[]>(n);
      data = heap.get();
      return;
    }
    data = reinterpret_cast<Variant*>(raw);
    for (std::size_t i = 0; i < n; ++i)
      new (data + i) Variant();
  }
  ~LocalSlots() {
    if (heap) return;
    for (std::size_t i = count; i-- > 0;)
      data[i].~Variant();
  }
  LocalSlots(const LocalSlots&) = delete;
  LocalSlots& operator=(const LocalSlots&) = delete;

  alignas(Variant) unsigned char raw[kInlineSlots * sizeof(Variant)];
  std::unique_ptr<Variant[]> heap;
  Variant* data = nullptr;
  std::size_t count;
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Set-up and host entry points

Interpreter::Interpreter() : store_(MakeRef<CodeStore>()), err_(MakeRef<ErrObject>()) {
  store_->interpreter = this;
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
    slots[i].kind = saved.kind;
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

// Whether a name left for run time would be found there (Resolve without its effects).
bool Interpreter::Answers(const NameExpr& n) {
  if (globals_.Find(n.key) || FindBuiltin(n.key) || FindConstant(n.key)) return true;
  return std::any_of(globalMemberObjects_.begin(), globalMemberObjects_.end(),
                     [&n](Ref<Object>& obj) { return obj->GetIdOfName(n.name) != kDispIdUnknown; });
}

void Interpreter::RunProgram(Program& program) {
  Frame f;
  f.block = &program.blockName;
  ExecBlock(program.globalCode, f);
}

void Interpreter::AddObject(const std::string& name, Ref<Object> object, bool globalMembers) {
  std::string key = ToLowerAscii(name);
  GlobalSlot* slot = globals_.Find(key);
  if (!slot) slot = globals_.Add(name, key, GlobalSlot::HostObject);
  slot->kind = GlobalSlot::HostObject;
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

void Interpreter::EnterCall() {
  ++depth_;
  if (depth_ > maxDepth_ ||
      (stackBase_ > StackAddress() && stackBase_ - StackAddress() > kStackBudget)) {
    --depth_;
    throw MakeError(kErrOutOfStack);
  }
  Tick();
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

// ---------------------------------------------------------------------------------------------
// Names

void Interpreter::Resolve(NameExpr* n) {
  NameRef& r = n->ref;
  if (base_.marked) resolvedSinceBase_.emplace_back(n, r);
  if (GlobalSlot* g = globals_.Find(n->key)) {
    r.kind = NameKind::Global;
    r.global = g;
    r.readOnly = g->kind == GlobalSlot::Constant;
    return;
  }
  for (Ref<Object>& obj : globalMemberObjects_) {
    DispId id = obj->GetIdOfName(n->name);
    if (id != kDispIdUnknown) {
      r.kind = NameKind::HostMember;
      r.hostObject = obj.get();
      r.slot = id;
      return;
    }
  }
  if (const BuiltinInfo* b = FindBuiltin(n->key)) {
    r.kind = NameKind::Builtin;
    r.builtin = b;
    return;
  }
  if (const ConstantInfo* c = FindConstant(n->key)) {
    auto it = constantIndex_.find(n->key);
    GlobalSlot* slot;
    if (it == constantIndex_.end()) {
      constants_.emplace_back();
      slot = &constants_.back();
      slot->name = c->name;
      slot->kind = GlobalSlot::Constant;
      slot->value = c->value();
      constantIndex_[n->key] = slot;
    } else {
      slot = it->second;
    }
    r.kind = NameKind::Global;
    r.global = slot;
    r.readOnly = true;
    return;
  }
  if (r.slot >= 0) {
    r.kind = NameKind::ImplicitLocal;
    r.generation = globals_.Generation();
    return;
  }
  if (r.explicitOnly) throw NamedError(kErrUndefined, n->name);
  GlobalSlot* g = globals_.Add(n->name, n->key, GlobalSlot::Variable);
  r.kind = NameKind::Global;
  r.global = g;
}

NameKind Interpreter::Resolved(NameExpr* n) {
  NameRef& r = n->ref;
  if (r.kind == NameKind::Unresolved ||
      (r.kind == NameKind::ImplicitLocal && r.generation != globals_.Generation())) {
    Resolve(n);
  }
  return r.kind;
}

Variant* Interpreter::VariableSlot(NameExpr* n, Frame& f) {
  NameRef& r = n->ref;
  switch (Resolved(n)) {
    case NameKind::Local:
    case NameKind::ImplicitLocal:
      return &f.locals[r.slot];
    case NameKind::RefParam:
      return f.refs[r.slot];
    case NameKind::Field:
      return &f.me->Fields()[static_cast<std::size_t>(r.slot)];
    case NameKind::Global:
      if (r.global->kind == GlobalSlot::Variable || r.global->kind == GlobalSlot::Constant) {
        return &r.global->value;
      }
      return nullptr;
    default:
      return nullptr;
  }
}

// A variable or array element an argument may pass by reference; null for other expressions.
Variant* Interpreter::LocateLValue(Expr* e, Frame& f, Ref<VariantArray>* keep) {
  if (e->kind == ExprKind::Name) {
    auto* n = static_cast<NameExpr*>(e);
    Variant* v = VariableSlot(n, f);
    if (v && n->ref.readOnly) return nullptr;
    return v;
  }
  if (e->kind == ExprKind::Call) {
    auto* c = static_cast<CallExpr*>(e);
    if (c->callee->kind != ExprKind::Name || c->args.empty()) return nullptr;
    Variant* v = VariableSlot(static_cast<NameExpr*>(c->callee), f);
    if (!v || !v->IsArray()) return nullptr;
    std::int32_t subs[kMaxSubscripts];
    Subscripts(c->args, f, subs);
    if (!v->IsArray()) return nullptr;
    MakeUnique(*v);
    *keep = Ref<VariantArray>(v->AsArray());
    return &v->AsArray()->At(subs, c->args.size());
  }
  return nullptr;
}

// The element a call expression names when it indexes an array held in a variable, at any
// depth (a(i)(j)); null for anything else. The arrays on the way are made unshared and kept
// alive in `kept`, so the element stays valid while the caller writes it.
Variant* Interpreter::ElementSlot(CallExpr* c, Frame& f, std::vector<Ref<VariantArray>>& kept) {
  Variant* container = nullptr;
  if (c->callee->kind == ExprKind::Name) {
    auto* n = static_cast<NameExpr*>(c->callee);
    container = VariableSlot(n, f);
    if (container && n->ref.readOnly) return nullptr;
  } else if (c->callee->kind == ExprKind::Call) {
    container = ElementSlot(static_cast<CallExpr*>(c->callee), f, kept);
  }
  if (!container || !container->IsArray() || c->args.empty()) return nullptr;
  std::int32_t subs[kMaxSubscripts];
  std::size_t count = Subscripts(c->args, f, subs);
  if (!container->IsArray()) return nullptr;
  MakeUnique(*container);
  kept.emplace_back(container->AsArray());
  return &container->AsArray()->At(subs, count);
}

// ---------------------------------------------------------------------------------------------
// Statements

Flow Interpreter::ExecBlock(const Block& block, Frame& f) {
  for (Stmt* s : block) {
    try {
      Flow flow = Exec(s, f);
      if (flow != Flow::Normal) return flow;
    } catch (ScriptAbort&) {
      if (abortLine_ == 0) {
        abortBlock_ = f.block ? *f.block : std::string();
        abortLine_ = s->line;
        abortColumn_ = s->column;
      }
      throw;
    } catch (RuntimeError& e) {
      if (f.resumeNext && !aborting_) {
        SetErr(e);
        continue;
      }
      if (auto* se = dynamic_cast<ScriptError*>(&e); se && se->Line() > 0) throw;
      throw Positioned(e, s, f);
    }
  }
  return Flow::Normal;
}

ScriptError Interpreter::Positioned(const RuntimeError& e, const Stmt* s, const Frame& f) {
  std::string name;
  if (auto* named = dynamic_cast<const NamedError*>(&e)) name = named->Name();
  auto* se = dynamic_cast<const ScriptError*>(&e);
  if (se) name = se->Name();
  bool compilation = dynamic_cast<const CompileError*>(&e) != nullptr;  // Eval, Execute
  ScriptError out(e.Number(), e.Description(), name, compilation,
                  f.block ? *f.block : std::string(), s->line, s->column);
  if (se) {
    out.SetSource(se->Source());
    out.SetHelp(se->HelpFile(), se->HelpContext());
  }
  return out;
}

// Err takes the error's number, description and source; an error of the engine has no help
// file or topic, so those of an earlier Err.Raise go.
void Interpreter::SetErr(const RuntimeError& e) {
  if (auto* se = dynamic_cast<const ScriptError*>(&e)) {
    err_->Set(e.Number(), e.Description(), se->Source(), se->HelpFile(), se->HelpContext());
  } else {
    bool compilation = dynamic_cast<const CompileError*>(&e) != nullptr;  // Eval, Execute
    err_->Set(e.Number(), e.Description(),
              compilation ? kCompilationErrorSource : kRuntimeErrorSource);
  }
}

Flow Interpreter::Exec(Stmt* s, Frame& f) {
  switch (s->kind) {
    case StmtKind::Assign:
      ExecAssign(static_cast<AssignStmt*>(s), f);
      return Flow::Normal;
    case StmtKind::Call:
      ExecCall(static_cast<CallStmt*>(s), f);
      return Flow::Normal;
    case StmtKind::If: {
      auto* i = static_cast<IfStmt*>(s);
      for (std::size_t k = 0; k < i->conditions.size(); ++k) {
        if (Condition(i->conditions[k], f)) return ExecBlock(i->blocks[k], f);
      }
      return ExecBlock(i->elseBlock, f);
    }
    case StmtKind::For:
      return ExecFor(static_cast<ForStmt*>(s), f);
    case StmtKind::ForEach:
      return ExecForEach(static_cast<ForEachStmt*>(s), f);
    case StmtKind::Do:
      return ExecDo(static_cast<DoStmt*>(s), f);
    case StmtKind::Select:
      return ExecSelect(static_cast<SelectStmt*>(s), f);
    case StmtKind::Exit:
      switch (static_cast<ExitStmt*>(s)->what) {
        case ExitKind::Do:
          return Flow::ExitDo;
        case ExitKind::For:
          return Flow::ExitFor;
        default:
          return Flow::ExitProc;
      }
    case StmtKind::With: {
      // Under On Error Resume Next a failing With object leaves the body to run without one.
      Variant object;
      try {
        object = Eval(static_cast<WithStmt*>(s)->object, f);
      } catch (RuntimeError& e) {
        if (!f.resumeNext || aborting_) throw;
        SetErr(e);
      }
      struct Restore {
        Frame& f;
        Variant* previous;
        ~Restore() { f.with = previous; }
      } restore{f, f.with};
      f.with = &object;
      return ExecBlock(static_cast<WithStmt*>(s)->body, f);
    }
    case StmtKind::Dim:
      ExecDim(static_cast<DimStmt*>(s), f);
      return Flow::Normal;
    case StmtKind::ReDim:
      ExecReDim(static_cast<ReDimStmt*>(s), f);
      return Flow::Normal;
    case StmtKind::Erase:
      ExecErase(static_cast<EraseStmt*>(s), f);
      return Flow::Normal;
    case StmtKind::Const:
      ExecConst(static_cast<ConstStmt*>(s), f);
      return Flow::Normal;
    case StmtKind::OnError:
      f.resumeNext = static_cast<OnErrorStmt*>(s)->resumeNext;
      err_->Clear();
      return Flow::Normal;
    case StmtKind::Randomize:
      ExecRandomize(static_cast<RandomizeStmt*>(s), f);
      return Flow::Normal;
    case StmtKind::Nop:
      return Flow::Normal;
  }
  return Flow::Normal;
}

// An If or ElseIf condition. Under On Error Resume Next a failing condition counts as true:
// the classic engine goes on with the next statement, which is the first of the Then block.
bool Interpreter::Condition(Expr* e, Frame& f) {
  if (!f.resumeNext) {
    Variant temp;
    const Variant* v = &temp;
    if (e->kind == ExprKind::Binary) {
      EvalBinary(static_cast<BinaryExpr*>(e), f, temp);
    } else {
      v = &EvalRef(e, f, temp);
    }
    return v->Type() == VarType::Boolean ? v->AsBool() : IsTrue(*v);
  }
  return LoopCondition(e, f, true);
}

void Interpreter::ExecAssign(AssignStmt* a, Frame& f) {
  if (a->appendInPlace && AppendInPlace(a, f)) return;
  // The common case first: a value into a plain variable.
  if (!a->isSet && a->target->kind == ExprKind::Name) {
    NameRef& r = static_cast<NameExpr*>(a->target)->ref;
    Variant* slot = nullptr;
    switch (r.kind) {
      case NameKind::Local:
        if (!r.readOnly) slot = &f.locals[r.slot];
        break;
      case NameKind::RefParam:
        slot = f.refs[r.slot];
        break;
      case NameKind::Global:
        if (r.global->kind == GlobalSlot::Variable) slot = &r.global->value;
        break;
      default:
        break;
    }
    if (slot) {
      Variant value;
      if (a->value->kind == ExprKind::Binary) {
        EvalBinary(static_cast<BinaryExpr*>(a->value), f, value);
      } else {
        value = Eval(a->value, f);
      }
      if (value.IsObject()) value = Dereference(value);
      Store(*slot, std::move(value));
      return;
    }
  }
  Variant value = Eval(a->value, f);
  if (a->isSet && !value.IsObject()) {
    throw NamedError(kErrObjectRequired, DescribeObject(a->value));
  }
  Assign(a->target, std::move(value), a->isSet, f);
}

// Whether evaluating `e` can change a variable: only literals, variables, operators and
// built-in functions over such are known not to.
bool Interpreter::IsPure(Expr* e) {
  switch (e->kind) {
    case ExprKind::Literal:
      return true;
    case ExprKind::Name: {
      auto* n = static_cast<NameExpr*>(e);
      NameKind kind = Resolved(n);
      return kind == NameKind::Local || kind == NameKind::RefParam || kind == NameKind::Field ||
             kind == NameKind::ImplicitLocal ||
             (kind == NameKind::Global && (n->ref.global->kind == GlobalSlot::Variable ||
                                           n->ref.global->kind == GlobalSlot::Constant));
    }
    case ExprKind::Paren:
      return IsPure(static_cast<ParenExpr*>(e)->inner);
    case ExprKind::Unary:
      return IsPure(static_cast<UnaryExpr*>(e)->operand);
    case ExprKind::Binary:
      return IsPure(static_cast<BinaryExpr*>(e)->left) &&
             IsPure(static_cast<BinaryExpr*>(e)->right);
    case ExprKind::Call: {
      auto* c = static_cast<CallExpr*>(e);
      if (c->callee->kind != ExprKind::Name) return false;
      auto* n = static_cast<NameExpr*>(c->callee);
      if (n->ref.kind != NameKind::Builtin) return false;
      for (Expr* arg : c->args) {
        if (!IsPure(arg)) return false;
      }
      return true;
    }
    default:
      return false;
  }
}

// x = x & a & b: appends the pieces to x's string where it lives. False when the general
// path must run instead (x is not a string, or a piece might change x).
bool Interpreter::AppendInPlace(AssignStmt* a, Frame& f) {
  auto* n = static_cast<NameExpr*>(a->target);
  Variant* slot = VariableSlot(n, f);
  if (!slot || !slot->IsString() || n->ref.readOnly) return false;
  if (a->piecesPure == 0) {
    bool pure = true;
    for (Expr* piece : a->pieces)
      pure = pure && IsPure(piece);
    a->piecesPure = pure ? 1 : 2;
  }
  if (a->piecesPure != 1) return false;
  Variant inlineParts[kInlineSlots];
  std::vector<Variant> heapParts;
  Variant* parts = inlineParts;
  std::size_t count = a->pieces.size();
  if (count > kInlineSlots) {
    heapParts.resize(count);
    parts = heapParts.data();
  }
  std::size_t total = slot->AsString().size();
  for (std::size_t i = 0; i < count; ++i) {
    Variant v = Eval(a->pieces[i], f);
    if (v.IsObject()) v = Dereference(v);
    if (v.IsNull()) continue;
    if (!v.IsString()) v = Variant(ToString(v));
    total += v.AsString().size();
    parts[i] = std::move(v);
  }
  CheckStringLength(total);
  SharedString& text = slot->MutableString();
  for (std::size_t i = 0; i < count; ++i) {
    if (parts[i].IsString()) text.Append(parts[i].AsString().View());
  }
  return true;
}

void Interpreter::Assign(Expr* target, Variant value, bool isSet, Frame& f) {
  std::uint8_t flags = isSet ? kInvokeSet : kInvokeLet;
  switch (target->kind) {
    case ExprKind::Name: {
      auto* n = static_cast<NameExpr*>(target);
      NameKind kind = Resolved(n);
      switch (kind) {
        case NameKind::Global: {
          GlobalSlot* g = n->ref.global;
          if (g->kind == GlobalSlot::Variable) {
            Store(g->value, LetValue(std::move(value), isSet));
            return;
          }
          if (g->kind == GlobalSlot::HostObject && g->value.AsObject()) {
            // A named host object stands for its value: assigning to it sets its default.
            value = LetValue(std::move(value), isSet);
            g->value.AsObject()->Invoke(kDispIdValue, flags, std::span<Variant>(&value, 1));
            return;
          }
          throw NamedError(kErrIllegalAssignment, n->name);
        }
        case NameKind::ClassMember: {
          CallArgs args;
          args.assigned = &value;
          InvokeInstance(*f.me, n->ref.slot, flags, args);
          return;
        }
        case NameKind::HostMember:
          value = LetValue(std::move(value), isSet);
          static_cast<Object*>(n->ref.hostObject)
              ->Invoke(n->ref.slot, flags, std::span<Variant>(&value, 1));
          return;
        case NameKind::Builtin:
          throw NamedError(kErrIllegalAssignment, n->name);
        default: {
          if (n->ref.readOnly) throw NamedError(kErrIllegalAssignment, n->name);
          Variant* slot = VariableSlot(n, f);
          Store(*slot, LetValue(std::move(value), isSet));
          return;
        }
      }
    }
    case ExprKind::Call: {
      auto* c = static_cast<CallExpr*>(target);
      if (c->callee->kind == ExprKind::Member) {
        AssignMember(static_cast<MemberExpr*>(c->callee), &c->args, std::move(value), isSet, f);
        return;
      }
      if (c->callee->kind == ExprKind::Name) {
        auto* n = static_cast<NameExpr*>(c->callee);
        NameKind kind = Resolved(n);
        if (kind == NameKind::ClassMember) {
          CallArgs args;
          args.exprs = &c->args;
          args.caller = &f;
          args.assigned = &value;
          InvokeInstance(*f.me, n->ref.slot, flags, args);
          return;
        }
        if (kind == NameKind::HostMember) {
          std::vector<Variant> args = ArgValues(c->args, f);
          args.push_back(LetValue(std::move(value), isSet));
          static_cast<Object*>(n->ref.hostObject)->Invoke(n->ref.slot, flags, args);
          return;
        }
        Variant* slot = VariableSlot(n, f);
        if (!slot) {
          if (kind == NameKind::Global && n->ref.global->kind == GlobalSlot::HostObject) {
            slot = &n->ref.global->value;
          } else {
            throw NamedError(kErrIllegalAssignment, n->name);
          }
        }
        AssignIndexed(*slot, c->args, LetValue(std::move(value), isSet), flags, f, n->name);
        return;
      }
      if (c->callee->kind == ExprKind::Call) {
        // a(i)(j) = v: the element a(i) is itself the array written into.
        std::vector<Ref<VariantArray>> kept;
        Variant* element = ElementSlot(static_cast<CallExpr*>(c->callee), f, kept);
        if (element && !(element->IsObject() && element->AsObject())) {
          if (!element->IsArray()) throw MakeError(kErrTypeMismatch);
          AssignIndexed(*element, c->args, LetValue(std::move(value), isSet), flags, f, "");
          return;
        }
      }
      Variant object = Eval(c->callee, f);
      AssignIndexed(object, c->args, LetValue(std::move(value), isSet), flags, f, "");
      return;
    }
    case ExprKind::Member:
      AssignMember(static_cast<MemberExpr*>(target), nullptr, std::move(value), isSet, f);
      return;
    default:
      throw MakeError(kErrIllegalAssignment);
  }
}

// container(args) = value: an array element, or the default member of an object.
void Interpreter::AssignIndexed(Variant& container, const std::vector<Expr*>& argExprs,
                                Variant value, std::uint8_t flags, Frame& f,
                                const std::string& name) {
  if (container.IsArray()) {
    std::int32_t subs[kMaxSubscripts];
    std::size_t count = Subscripts(argExprs, f, subs);
    if (!container.IsArray()) throw NamedError(kErrTypeMismatch, name);
    MakeUnique(container);
    Store(container.AsArray()->At(subs, count), std::move(value));
    return;
  }
  if (container.IsObject()) {
    Object* obj = container.AsObject();
    if (!obj) throw NamedError(kErrObjectRequired, name);
    Ref<Object> keep(obj);
    std::vector<Variant> args = ArgValues(argExprs, f);
    args.push_back(std::move(value));
    obj->Invoke(kDispIdValue, flags, args);
    return;
  }
  throw NamedError(kErrTypeMismatch, name);
}

void Interpreter::AssignMember(MemberExpr* m, const std::vector<Expr*>* argExprs, Variant value,
                               bool isSet, Frame& f) {
  Variant objectValue = ObjectOf(m, f);
  Object* obj = objectValue.AsObject();
  std::uint8_t flags = isSet ? kInvokeSet : kInvokeLet;
  if (auto* inst = dynamic_cast<ClassInstance*>(obj)) {
    int member = FindMember(*inst, m, f);
    CallArgs args;
    args.exprs = argExprs;
    args.caller = &f;
    args.assigned = &value;
    InvokeInstance(*inst, member, flags, args);
    return;
  }
  DispId id = obj->GetIdOfName(m->name);
  if (id == kDispIdUnknown) throw NamedError(kErrNoSuchMember, MemberName(m));
  std::vector<Variant> args;
  if (argExprs) args = ArgValues(*argExprs, f);
  args.push_back(LetValue(std::move(value), isSet));
  obj->Invoke(id, flags, args);
}

void Interpreter::ExecCall(CallStmt* s, Frame& f) {
  Expr* e = s->call;
  switch (e->kind) {
    case ExprKind::Name: {
      auto* n = static_cast<NameExpr*>(e);
      switch (Resolved(n)) {
        case NameKind::Global: {
          GlobalSlot* g = n->ref.global;
          if (g->kind == GlobalSlot::Procedure) {
            CallProc(g->proc, nullptr, CallArgs{});
            return;
          }
          if (g->kind == GlobalSlot::Intrinsic) {
            static const std::vector<Expr*> kNoArgs;
            CallIntrinsic(g->intrinsic, n->name, kNoArgs, f);
            return;
          }
          if (g->value.IsObject() && g->value.AsObject()) {
            g->value.AsObject()->Invoke(kDispIdValue, kInvokeCall, {});
            return;
          }
          throw NamedError(kErrTypeMismatch, n->name);
        }
        case NameKind::ClassMember:
          InvokeInstance(*f.me, n->ref.slot, kInvokeCall, CallArgs{});
          return;
        case NameKind::Builtin: {
          static const std::vector<Expr*> kNoArgs;
          CallBuiltin(n->ref.builtin, n->name, kNoArgs, f, kInvokeCall);
          return;
        }
        case NameKind::HostMember:
          static_cast<Object*>(n->ref.hostObject)->Invoke(n->ref.slot, kInvokeCall, {});
          return;
        default: {
          Variant* v = VariableSlot(n, f);
          if (v && v->IsObject() && v->AsObject()) {
            Ref<Object> keep(v->AsObject());
            keep->Invoke(kDispIdValue, kInvokeCall, {});
            return;
          }
          throw NamedError(kErrTypeMismatch, n->name);
        }
      }
    }
    case ExprKind::Call:
      EvalCall(static_cast<CallExpr*>(e), f, kInvokeCall);
      return;
    case ExprKind::Member:
      EvalMember(static_cast<MemberExpr*>(e), f, nullptr, kInvokeCall);
      return;
    default:
      throw MakeError(kErrExpectedStatement);
  }
}

namespace {

// A bound or step of For as a number: text is read as a Double, Empty is 0, a Boolean is the
// Integer it stands for.
Variant ForNumber(Variant v) {
  switch (v.Type()) {
    case VarType::Empty:
      return Variant(static_cast<std::int16_t>(0));
    case VarType::Boolean:
      return Variant(static_cast<std::int16_t>(v.AsBool() ? -1 : 0));
    case VarType::String:
      return Variant(ToDouble(v));
    default:
      return v;
  }
}

}  // namespace

// Under On Error Resume Next an error in the head of a loop goes on with the next statement,
// which is the first of the body: the body runs once, then the loop end finds the loop not
// started (error `unstarted`, which goes on after the loop).
Flow Interpreter::HeadFailed(const RuntimeError& e, const Block& body, int unstarted, Frame& f) {
  if (!f.resumeNext || aborting_) throw;
  SetErr(e);
  Flow flow = ExecBlock(body, f);
  if (flow == Flow::ExitFor) return Flow::Normal;
  if (flow != Flow::Normal) return flow;
  throw MakeError(unstarted);
}

Flow Interpreter::ExecFor(ForStmt* s, Frame& f) {
  Variant from, to, step;
  try {
    from = ForNumber(Dereference(Eval(s->from, f)));
    to = ForNumber(Dereference(Eval(s->to, f)));
    step =
        s->step ? ForNumber(Dereference(Eval(s->step, f))) : Variant(static_cast<std::int16_t>(1));
  } catch (RuntimeError& e) {
    return HeadFailed(e, s->body, kErrForNotInitialized, f);
  }
  Variant* var = VariableSlot(s->var, f);
  if (!var || s->var->ref.readOnly) throw NamedError(kErrIllegalAssignment, s->var->name);
  if (IsIntegral(from) && IsIntegral(to) && IsIntegral(step)) {
    std::int64_t cur = ToLong(from), end = ToLong(to), st = ToLong(step);
    bool wide = from.Type() == VarType::Long || step.Type() == VarType::Long;
    Store(*var, Counter(cur, wide));
    while (st >= 0 ? cur <= end : cur >= end) {
      Tick();
      Flow flow = ExecBlock(s->body, f);
      if (flow == Flow::ExitFor) break;
      if (flow != Flow::Normal) return flow;
      // The body may have changed the counter.
      const Variant& v = *var;
      if (v.Type() == VarType::Integer) {
        cur = v.AsInteger();
      } else if (v.Type() == VarType::Long) {
        cur = v.AsLong();
        wide = true;
      } else {
        cur = static_cast<std::int64_t>(std::floor(ToDouble(v)));
      }
      cur += st;
      Store(*var, Counter(cur, wide));
    }
    return Flow::Normal;
  }
  double end = ToDouble(to), st = ToDouble(step);
  Store(*var, from);
  while (true) {
    double cur = ToDouble(*var);
    if (st >= 0 ? cur > end : cur < end) break;
    Tick();
    Flow flow = ExecBlock(s->body, f);
    if (flow == Flow::ExitFor) break;
    if (flow != Flow::Normal) return flow;
    Store(*var, Arith(Op::Add, *var, step));
  }
  return Flow::Normal;
}

// The variable of For Each is Empty once the loop has gone through every element (Exit For
// leaves it at the element it had).
Flow Interpreter::ExecForEach(ForEachStmt* s, Frame& f) {
  Variant collection;
  Ref<Enumerator> items;
  try {
    collection = Eval(s->collection, f);
    if (!collection.IsArray()) {
      if (!collection.IsObject() || !collection.AsObject()) {
        throw NamedError(kErrNotCollection, DescribeObject(s->collection));
      }
      try {
        items = collection.AsObject()->NewEnum();
      } catch (RuntimeError& e) {
        if (e.Number() == kErrNoSuchMember) throw MakeError(kErrNotCollection);
        throw;
      }
      if (!items) throw MakeError(kErrNotCollection);
    }
  } catch (RuntimeError& e) {
    return HeadFailed(e, s->body, kErrNotCollection, f);
  }
  Variant* var = VariableSlot(s->var, f);
  if (!var || s->var->ref.readOnly) throw NamedError(kErrIllegalAssignment, s->var->name);
  if (collection.IsArray()) {
    Ref<VariantArray> array(collection.AsArray());
    for (std::size_t i = 0; i < array->Size(); ++i) {
      Tick();
      Store(*var, array->Data()[i]);
      Flow flow = ExecBlock(s->body, f);
      if (flow == Flow::ExitFor) return Flow::Normal;
      if (flow != Flow::Normal) return flow;
    }
    Store(*var, Variant());
    return Flow::Normal;
  }
  Variant item;
  while (items->Next(item)) {
    Tick();
    Store(*var, std::move(item));
    item = Variant();
    Flow flow = ExecBlock(s->body, f);
    if (flow == Flow::ExitFor) return Flow::Normal;
    if (flow != Flow::Normal) return flow;
  }
  Store(*var, Variant());
  return Flow::Normal;
}

// A loop or If condition. Under On Error Resume Next a failing condition counts as `onError`:
// true before a body (the next statement is the body's first), false after a loop's body (the
// next statement follows the loop).
bool Interpreter::LoopCondition(Expr* e, Frame& f, bool onError) {
  if (!f.resumeNext) return IsTrue(Eval(e, f));
  try {
    return IsTrue(Eval(e, f));
  } catch (RuntimeError& err) {
    if (aborting_) throw;
    SetErr(err);
    return onError;
  }
}

Flow Interpreter::ExecDo(DoStmt* s, Frame& f) {
  while (true) {
    Tick();
    if (s->test == DoStmt::PreWhile && !LoopCondition(s->condition, f, true)) break;
    if (s->test == DoStmt::PreUntil && LoopCondition(s->condition, f, false)) break;
    Flow flow = ExecBlock(s->body, f);
    if (flow == Flow::ExitDo) break;
    if (flow != Flow::Normal) return flow;
    if (s->test == DoStmt::PostWhile && !LoopCondition(s->condition, f, false)) break;
    if (s->test == DoStmt::PostUntil && LoopCondition(s->condition, f, true)) break;
  }
  return Flow::Normal;
}

// Under On Error Resume Next an error in the tested value skips the whole Select; an error in
// a Case test runs that Case's statements, which come next.
Flow Interpreter::ExecSelect(SelectStmt* s, Frame& f) {
  Variant subject;
  try {
    subject = Dereference(Eval(s->subject, f));
  } catch (RuntimeError& e) {
    if (!f.resumeNext || aborting_) throw;
    SetErr(e);
    return Flow::Normal;
  }
  for (CaseClause& clause : s->clauses) {
    bool match = clause.tests.empty();
    for (CaseTest& test : clause.tests) {
      try {
        match = CaseTestMatches(test, subject, f);
      } catch (RuntimeError& e) {
        if (!f.resumeNext || aborting_) throw;
        SetErr(e);
        match = true;
      }
      if (match) break;
    }
    if (match) return ExecBlock(clause.body, f);
  }
  return Flow::Normal;
}

bool Interpreter::CaseTestMatches(const CaseTest& test, const Variant& subject, Frame& f) {
  Variant a = Dereference(Eval(test.a, f));
  bool literal = IsLiteralOperand(test.a);
  switch (test.kind) {
    case CaseTest::Value:
      return CaseMatches(Op::Eq, subject, a, literal);
    case CaseTest::Compare:
      return CaseMatches(test.op, subject, a, literal);
    case CaseTest::Range: {
      Variant b = Dereference(Eval(test.b, f));
      return CaseMatches(Op::Ge, subject, a, literal) &&
             CaseMatches(Op::Le, subject, b, IsLiteralOperand(test.b));
    }
  }
  return false;
}

void Interpreter::ExecDim(DimStmt* s, Frame& f) {
  for (DimItem& item : s->items) {
    if (!item.isArray) continue;
    Variant* v = VariableSlot(item.name, f);
    if (!v || v->IsArray()) continue;
    std::vector<VariantArray::Bound> bounds;
    for (Expr* b : item.bounds) {
      std::int32_t upper = ToLong(static_cast<LiteralExpr*>(b)->value);
      bounds.push_back({0, upper + 1});
    }
    bool fixed = !bounds.empty();
    Store(*v, Variant(fixed ? MakeRef<VariantArray>(std::move(bounds), true)
                            : MakeRef<VariantArray>()));
  }
}

// ReDim of an array declared with its size is error 10; without Preserve that is found
// before the new bounds are read, with Preserve after.
void Interpreter::ExecReDim(ReDimStmt* s, Frame& f) {
  for (DimItem& item : s->items) {
    if (!s->preserve) {
      Variant* v = VariableSlot(item.name, f);
      if (v && v->IsArray() && v->AsArray()->IsFixedSize()) throw MakeError(kErrFixedArray);
    }
    std::vector<VariantArray::Bound> bounds;
    for (Expr* b : item.bounds) {
      std::int64_t upper = ToLong(Dereference(Eval(b, f)));
      if (upper < -1) throw MakeError(kErrSubscript);
      bounds.push_back({0, static_cast<std::int32_t>(upper + 1)});
    }
    std::size_t elements = 1;
    for (const VariantArray::Bound& b : bounds) {
      elements = std::min(elements * static_cast<std::size_t>(std::max(b.count, 0)),
                          VariantArray::kMaxElements);
    }
    ChargeFor(elements * sizeof(Variant));
    Variant* v = VariableSlot(item.name, f);
    if (!v || item.name->ref.readOnly) throw NamedError(kErrIllegalAssignment, item.name->name);
    if (v->IsArray()) {
      if (v->AsArray()->IsFixedSize()) throw MakeError(kErrFixedArray);
      MakeUnique(*v);
      v->AsArray()->Redim(std::move(bounds), s->preserve);
    } else {
      Store(*v, Variant(MakeRef<VariantArray>(std::move(bounds))));
    }
  }
}

void Interpreter::ExecErase(EraseStmt* s, Frame& f) {
  Variant* v = VariableSlot(s->name, f);
  if (!v || !v->IsArray()) throw NamedError(kErrTypeMismatch, s->name->name);
  if (v->AsArray()->IsFixedSize()) {
    MakeUnique(*v);
    for (Variant& element : v->AsArray()->Data())
      Store(element, Variant());
  } else {
    Store(*v, Variant(MakeRef<VariantArray>()));
  }
}

void Interpreter::ExecConst(ConstStmt* s, Frame& f) {
  for (auto& [name, expr] : s->items) {
    Variant value = Dereference(Eval(expr, f));
    if (Resolved(name) == NameKind::Global) {
      Store(name->ref.global->value, std::move(value));
    } else if (Variant* slot = VariableSlot(name, f)) {
      Store(*slot, std::move(value));
    }
  }
}

void Interpreter::ExecRandomize(RandomizeStmt* s, Frame& f) {
  std::optional<Variant> seed;
  if (s->seed) seed = Dereference(Eval(s->seed, f));
  Randomize(random_, seed, *clock_);
}

// ---------------------------------------------------------------------------------------------
// Expressions

Variant Interpreter::Eval(Expr* e, Frame& f) {
  switch (e->kind) {
    case ExprKind::Literal:
      return static_cast<LiteralExpr*>(e)->value;
    case ExprKind::Name: {
      auto* n = static_cast<NameExpr*>(e);
      switch (n->ref.kind) {
        case NameKind::Local:
          return f.locals[n->ref.slot];
        case NameKind::RefParam:
          return *f.refs[n->ref.slot];
        case NameKind::Global:
          if (n->ref.global->kind == GlobalSlot::Variable) return n->ref.global->value;
          return EvalName(n, f);
        default:
          return EvalName(n, f);
      }
    }
    case ExprKind::Binary:
      return EvalBinaryValue(static_cast<BinaryExpr*>(e), f);
    case ExprKind::Call:
      return EvalCall(static_cast<CallExpr*>(e), f, kInvokeGet | kInvokeCall);
    case ExprKind::Member:
      return EvalMember(static_cast<MemberExpr*>(e), f, nullptr, kInvokeGet | kInvokeCall);
    case ExprKind::Unary: {
      auto* u = static_cast<UnaryExpr*>(e);
      Variant v = Eval(u->operand, f);
      return u->op == Op::Neg ? Negate(v) : Not(v);
    }
    case ExprKind::New:
      return NewInstance(static_cast<NewExpr*>(e));
    case ExprKind::Me:
      return Variant(static_cast<Object*>(f.me));
    case ExprKind::Paren:
      return Eval(static_cast<ParenExpr*>(e)->inner, f);
  }
  return Variant();
}

// The value a literal or a plain variable holds, where it is; null for any other expression.
inline const Variant* Interpreter::QuickRef(Expr* e, Frame& f) {
  if (e->kind == ExprKind::Literal) return &static_cast<LiteralExpr*>(e)->value;
  if (e->kind != ExprKind::Name) return nullptr;
  return PlainVariable(static_cast<NameExpr*>(e), f);
}

// Kept out of Eval so that Eval's own frame stays small.
[[gnu::noinline]] Variant Interpreter::EvalBinaryValue(BinaryExpr* b, Frame& f) {
  Variant result;
  EvalBinary(b, f, result);
  return result;
}

// Stores the value of `b` in `out`, which must not be one of the operands' variables.
void Interpreter::EvalBinary(BinaryExpr* b, Frame& f, Variant& out) {
  // Operands that are literals, variables or array elements are used in place. A variable on
  // the left is copied first when evaluating the right side might change it.
  Variant leftTemp, rightTemp;
  const Variant* l = QuickRef(b->left, f);
  bool leftIsVariable = l && b->left->kind == ExprKind::Name;
  if (!l) l = &EvalRef(b->left, f, leftTemp);
  const Variant* r = QuickRef(b->right, f);
  if (!r) {
    if (leftIsVariable) {
      leftTemp = *l;
      l = &leftTemp;
    }
    r = &EvalRef(b->right, f, rightTemp);
  }
  if (FastIntegerOp(b->op, *l, *r, out)) return;
  if (l->Type() == VarType::Boolean && r->Type() == VarType::Boolean &&
      (b->op == Op::And || b->op == Op::Or)) {
    out = Variant(b->op == Op::And ? l->AsBool() && r->AsBool() : l->AsBool() || r->AsBool());
    return;
  }
  switch (b->op) {
    case Op::Eq:
    case Op::Ne:
    case Op::Lt:
    case Op::Gt:
    case Op::Le:
    case Op::Ge:
      out = Compare(b->op, *l, *r, IsLiteralOperand(b->left), IsLiteralOperand(b->right));
      return;
    case Op::Is:
      out = Variant(SameObject(*l, *r));
      return;
    case Op::And:
    case Op::Or:
    case Op::Xor:
    case Op::Eqv:
    case Op::Imp:
      out = Logic(b->op, *l, *r);
      return;
    default:
      out = Arith(b->op, *l, *r);
      if (out.IsString()) ChargeFor(out.AsString().size());
      return;
  }
}

Variant Interpreter::EvalName(NameExpr* n, Frame& f) {
  switch (Resolved(n)) {
    case NameKind::Global: {
      GlobalSlot* g = n->ref.global;
      switch (g->kind) {
        case GlobalSlot::Procedure:
          return CallProc(g->proc, nullptr, CallArgs{});
        case GlobalSlot::Intrinsic: {
          static const std::vector<Expr*> kNoArgs;
          return CallIntrinsic(g->intrinsic, n->name, kNoArgs, f);
        }
        case GlobalSlot::Class:
          throw NamedError(kErrTypeMismatch, n->name);
        default:
          return g->value;
      }
    }
    case NameKind::ClassMember:
      return InvokeInstance(*f.me, n->ref.slot, kInvokeGet | kInvokeCall, CallArgs{});
    case NameKind::Builtin: {
      static const std::vector<Expr*> kNoArgs;
      return CallBuiltin(n->ref.builtin, n->name, kNoArgs, f, kInvokeGet | kInvokeCall);
    }
    case NameKind::HostMember:
      return static_cast<Object*>(n->ref.hostObject)
          ->Invoke(n->ref.slot, kInvokeGet | kInvokeCall, {});
    default:
      return *VariableSlot(n, f);
  }
}

// The value of `e`, without a copy when it is a literal or a variable; `temp` holds any other.
const Variant& Interpreter::EvalRef(Expr* e, Frame& f, Variant& temp) {
  if (e->kind == ExprKind::Literal) return static_cast<LiteralExpr*>(e)->value;
  if (e->kind == ExprKind::Binary) {
    EvalBinary(static_cast<BinaryExpr*>(e), f, temp);
    return temp;
  }
  if (e->kind == ExprKind::Name) {
    NameRef& r = static_cast<NameExpr*>(e)->ref;
    switch (r.kind) {
      case NameKind::Local:
        return f.locals[r.slot];
      case NameKind::RefParam:
        return *f.refs[r.slot];
      case NameKind::Global:
        if (r.global->kind == GlobalSlot::Variable) return r.global->value;
        break;
      default:
        break;
    }
  } else if (e->kind == ExprKind::Call) {
    // An element of an array variable, read in place: `temp` keeps the array alive, and since
    // arrays are copied before they are written while shared, the element cannot change.
    auto* c = static_cast<CallExpr*>(e);
    if (c->callee->kind == ExprKind::Name && !c->args.empty()) {
      if (const Variant* v = PlainVariable(static_cast<NameExpr*>(c->callee), f);
          v && v->IsArray()) {
        std::int32_t subs[kMaxSubscripts];
        std::size_t count = Subscripts(c->args, f, subs);
        v = PlainVariable(static_cast<NameExpr*>(c->callee), f);  // the subscripts may change it
        if (v && v->IsArray()) {
          temp = *v;
          return temp.AsArray()->At(subs, count);
        }
      }
    }
  }
  temp = Eval(e, f);
  return temp;
}

// The variable a resolved name reads, when reading it is only that (no call, no look-up).
const Variant* Interpreter::PlainVariable(const NameExpr* n, Frame& f) {
  const NameRef& r = n->ref;
  switch (r.kind) {
    case NameKind::Local:
      return &f.locals[r.slot];
    case NameKind::RefParam:
      return f.refs[r.slot];
    case NameKind::Global:
      return r.global->kind == GlobalSlot::Variable || r.global->kind == GlobalSlot::Constant
                 ? &r.global->value
                 : nullptr;
    default:
      return nullptr;
  }
}

// Array subscripts, evaluated in order and rounded to whole numbers.
std::size_t Interpreter::Subscripts(const std::vector<Expr*>& exprs, Frame& f, std::int32_t* out) {
  if (exprs.size() > kMaxSubscripts) throw MakeError(kErrSubscript);
  for (std::size_t i = 0; i < exprs.size(); ++i) {
    Variant temp;
    const Variant& v = EvalRef(exprs[i], f, temp);
    switch (v.Type()) {
      case VarType::Integer:
        out[i] = v.AsInteger();
        break;
      case VarType::Long:
        out[i] = v.AsLong();
        break;
      case VarType::Object:
        out[i] = ToLong(Dereference(v));
        break;
      default:
        out[i] = ToLong(v);
        break;
    }
  }
  return exprs.size();
}

std::vector<Variant> Interpreter::ArgValues(const std::vector<Expr*>& exprs, Frame& f) {
  std::vector<Variant> values;
  values.reserve(exprs.size() + 1);
  for (Expr* e : exprs)
    values.push_back(Eval(e, f));
  return values;
}

std::vector<Variant> Interpreter::ArgValues(const CallArgs& args) {
  if (args.exprs) return ArgValues(*args.exprs, *args.caller);
  return std::vector<Variant>(args.values.begin(), args.values.end());
}

HostCallArgs::ByRef& HostCallArgs::AddByRef() {
  if (refCount < kInline) return inlineRefs[refCount++];
  ++refCount;
  return moreRefs.emplace_back();
}

void Interpreter::CollectHostArgs(const std::vector<Expr*>& exprs, Frame& f, HostCallArgs& out) {
  out.values.reserve(exprs.size() + 1);
  for (Expr* e : exprs) {
    Ref<VariantArray> keep;
    if (Variant* target = LocateLValue(e, f, &keep)) {
      HostCallArgs::ByRef& ref = out.AddByRef();
      ref.index = out.values.size();
      ref.target = target;
      ref.passed = *target;
      ref.kept = std::move(keep);
      out.values.push_back(*target);
    } else {
      out.values.push_back(Eval(e, f));
    }
  }
}

namespace {

// Whether the callee left an argument as it was passed (the same value, not merely an equal one).
bool Untouched(const Variant& now, const Variant& passed) {
  if (now.Type() != passed.Type()) return false;
  switch (now.Type()) {
    case VarType::Empty:
    case VarType::Null:
      return true;
    case VarType::String:
      return now.AsString().View().data() == passed.AsString().View().data() &&
             now.AsString().size() == passed.AsString().size();
    case VarType::Object:
      return now.AsObject() == passed.AsObject();
    case VarType::Array:
      return now.AsArray() == passed.AsArray();
    case VarType::Currency:
      return now.AsCurrencyScaled() == passed.AsCurrencyScaled();
    case VarType::Double:
    case VarType::Date: {
      double a = now.AsDouble(), b = passed.AsDouble();
      return std::memcmp(&a, &b, sizeof a) == 0;
    }
    case VarType::Single: {
      float a = now.AsSingle(), b = passed.AsSingle();
      return std::memcmp(&a, &b, sizeof a) == 0;
    }
    default:
      return now.AsLong() == passed.AsLong();
  }
}

}  // namespace

// Only arguments the callee changed are written back, so a variable the script changed during
// the call (from a callback) keeps its new value when the callee left the argument alone.
void Interpreter::WriteBack(HostCallArgs& args) {
  for (std::size_t k = 0; k < args.refCount; ++k) {
    HostCallArgs::ByRef& ref = args.RefAt(k);
    const Variant& now = args.values[ref.index];
    if (!Untouched(now, ref.passed)) Store(*ref.target, now);
  }
}

Variant Interpreter::InvokeHost(Object* obj, DispId id, std::uint8_t flags,
                                const std::vector<Expr*>* exprs, Frame& f) {
  Ref<Object> keep(obj);
  HostCallArgs args;
  if (exprs) CollectHostArgs(*exprs, f, args);
  Variant result = obj->Invoke(id, flags, args.values);
  WriteBack(args);
  return result;
}

Variant Interpreter::EvalCall(CallExpr* c, Frame& f, std::uint8_t flags) {
  if (c->callee->kind == ExprKind::Member) {
    return EvalMember(static_cast<MemberExpr*>(c->callee), f, &c->args, flags);
  }
  if (c->callee->kind != ExprKind::Name) {
    Variant v = Eval(c->callee, f);
    return IndexValue(v, c->args, f, "", flags);
  }
  auto* n = static_cast<NameExpr*>(c->callee);
  switch (Resolved(n)) {
    case NameKind::Global: {
      GlobalSlot* g = n->ref.global;
      switch (g->kind) {
        case GlobalSlot::Procedure: {
          CallArgs args;
          args.exprs = &c->args;
          args.caller = &f;
          return CallProc(g->proc, nullptr, args);
        }
        case GlobalSlot::Intrinsic:
          return CallIntrinsic(g->intrinsic, n->name, c->args, f);
        case GlobalSlot::Class:
          throw NamedError(kErrTypeMismatch, n->name);
        default:
          return IndexValue(g->value, c->args, f, n->name, flags);
      }
    }
    case NameKind::ClassMember: {
      CallArgs args;
      args.exprs = &c->args;
      args.caller = &f;
      return InvokeInstance(*f.me, n->ref.slot, flags, args);
    }
    case NameKind::Builtin:
      return CallBuiltin(n->ref.builtin, n->name, c->args, f, flags);
    case NameKind::HostMember:
      return InvokeHost(static_cast<Object*>(n->ref.hostObject), n->ref.slot, flags, &c->args, f);
    default:
      return IndexValue(*VariableSlot(n, f), c->args, f, n->name, flags);
  }
}

// value(args): an array element, or the default member of an object called with arguments.
Variant Interpreter::IndexValue(const Variant& value, const std::vector<Expr*>& argExprs, Frame& f,
                                const std::string& name, std::uint8_t flags) {
  if (value.IsArray()) {
    if (argExprs.empty()) return value;
    std::int32_t subs[kMaxSubscripts];
    Ref<VariantArray> array(value.AsArray());  // the subscripts may change the variable
    std::size_t count = Subscripts(argExprs, f, subs);
    return array->At(subs, count);
  }
  if (value.IsObject()) {
    if (!value.AsObject()) throw NamedError(kErrObjectRequired, name);
    return InvokeHost(value.AsObject(), kDispIdValue, flags, &argExprs, f);
  }
  if (argExprs.empty() && !name.empty()) return value;
  throw NamedError(kErrTypeMismatch, name);
}

Variant Interpreter::ObjectOf(MemberExpr* m, Frame& f) {
  Variant v;
  if (m->object) {
    v = Eval(m->object, f);
  } else {
    if (!f.with) throw MakeError(kErrInvalidReference);
    v = *f.with;
  }
  if (!v.IsObject() || !v.AsObject()) {
    throw NamedError(kErrObjectRequired, DescribeObject(m->object));
  }
  return v;
}

int Interpreter::FindMember(ClassInstance& inst, MemberExpr* m, Frame& f) {
  ClassDef* cls = inst.Class();
  auto it = cls->memberIndex.find(m->key);
  if (it == cls->memberIndex.end()) throw NamedError(kErrNoSuchMember, MemberName(m));
  const ClassMember& member = cls->members[static_cast<std::size_t>(it->second)];
  // Private members are reachable only from code of the same class.
  if (!member.isPublic && !(f.me && f.me->Class() == cls)) {
    throw NamedError(kErrNoSuchMember, MemberName(m));
  }
  return it->second;
}

Variant Interpreter::EvalMember(MemberExpr* m, Frame& f, const std::vector<Expr*>* argExprs,
                                std::uint8_t flags) {
  Variant objectValue = ObjectOf(m, f);
  Object* obj = objectValue.AsObject();
  if (auto* inst = dynamic_cast<ClassInstance*>(obj)) {
    int member = FindMember(*inst, m, f);
    CallArgs args;
    args.exprs = argExprs;
    args.caller = &f;
    return InvokeInstance(*inst, member, flags, args);
  }
  DispId id = obj->GetIdOfName(m->name);
  if (id == kDispIdUnknown) throw NamedError(kErrNoSuchMember, MemberName(m));
  HostCallArgs args;
  if (argExprs) CollectHostArgs(*argExprs, f, args);
  if (args.values.empty()) return obj->Invoke(id, flags, {});
  Variant result;
  try {
    result = obj->Invoke(id, flags, args.values);
  } catch (RuntimeError& e) {
    // A member without parameters given arguments: the arguments index its value, as
    // standard dispatch does (`m.SubMatches(0)`).
    if (e.Number() != kErrWrongArgCount) throw;
    Variant value = obj->Invoke(id, kInvokeGet, {});
    if (!value.IsArray() && !value.IsObject()) throw;
    return ApplyArgs(value, args.values, flags);
  }
  WriteBack(args);
  return result;
}

// value(args) for values already evaluated: an array element or a default member.
Variant Interpreter::ApplyArgs(const Variant& value, std::vector<Variant>& args,
                               std::uint8_t flags) {
  if (value.IsArray()) {
    std::int32_t subs[kMaxSubscripts];
    if (args.size() > kMaxSubscripts) throw MakeError(kErrSubscript);
    for (std::size_t i = 0; i < args.size(); ++i)
      subs[i] = ToLong(args[i]);
    return value.AsArray()->At(subs, args.size());
  }
  if (value.IsObject() && value.AsObject()) {
    Ref<Object> obj(value.AsObject());
    return obj->Invoke(kDispIdValue, flags, args);
  }
  throw MakeError(kErrTypeMismatch);
}

Variant Interpreter::CallBuiltin(const BuiltinInfo* info, const std::string& name,
                                 const std::vector<Expr*>& argExprs, Frame& f, std::uint8_t flags) {
  std::size_t count = argExprs.size();
  if (static_cast<int>(count) < info->minArgs ||
      (info->maxArgs >= 0 && static_cast<int>(count) > info->maxArgs)) {
    throw NamedError(kErrWrongArgCount, name);
  }
  bool forValue = (flags & kInvokeGet) != 0;
  if (info->use == BuiltinUse::kStatementOnly && forValue) {
    throw NamedError(kErrTypeMismatch, name);
  }
  Variant inlineArgs[kInlineSlots];
  std::vector<Variant> heapArgs;
  Variant* args = inlineArgs;
  if (count > kInlineSlots) {
    heapArgs.resize(count);
    args = heapArgs.data();
  }
  for (std::size_t i = 0; i < count; ++i)
    args[i] = Eval(argExprs[i], f);
  try {
    Variant result = info->function(*this, std::span<Variant>(args, count));
    if (info->use == BuiltinUse::kValueOnly && !forValue) throw MakeError(kErrUnsupportedType);
    if (result.IsString()) {
      ChargeFor(result.AsString().size());
    } else if (result.IsArray()) {
      ChargeFor(result.AsArray()->Size() * sizeof(Variant));
    }
    return result;
  } catch (ScriptError&) {
    throw;
  } catch (NamedError&) {
    throw;
  } catch (RuntimeError& e) {
    // The classic engine names the function in the message of its own errors.
    if (e.Description() == ErrorDescription(e.Number())) throw NamedError(e, name);
    throw;
  }
}

Variant Interpreter::CallIntrinsic(int id, const std::string& name,
                                   const std::vector<Expr*>& argExprs, Frame& f) {
  if (argExprs.size() != 1) throw NamedError(kErrWrongArgCount, name);
  // The argument is text, or an object whose value is text. Eval gives any other value back
  // as it is; the others take only text.
  Variant argument = Dereference(Eval(argExprs[0], f));
  if (!argument.IsString()) {
    if (id == kEval) return argument;
    throw MakeError(kErrTypeMismatch);
  }
  std::string text = ToUtf8(argument);
  switch (id) {
    case kEval: {
      Expr* expr = nullptr;
      CompileSnippet(text, f.proc, true, &expr);
      return Eval(expr, f);
    }
    case kExecute: {
      Program* program = CompileSnippet(text, f.proc, false, nullptr);
      Frame sub = f;
      sub.resumeNext = false;
      ExecBlock(program->globalCode, sub);
      return Variant();
    }
    case kExecuteGlobal: {
      auto owned = ParseProgram(text, f.block ? *f.block : std::string());
      Program* program = owned.get();
      store_->programs.push_back(std::move(owned));
      CompileProgram(*program, globals_, nullptr);
      RunProgram(*program);
      return Variant();
    }
    case kGetRef: {
      GlobalSlot* slot = globals_.Find(ToLowerAscii(text));
      if (!slot || slot->kind != GlobalSlot::Procedure) throw MakeError(kErrInvalidCall);
      return Variant(MakeRef<ProcRef>(store_, slot->proc));
    }
    default:
      throw MakeError(kErrTypeMismatch);
  }
}

Variant Interpreter::NewInstance(NewExpr* e) {
  // New RegExp is always the built-in object, even when the script has a class of that name.
  if (e->key == "regexp") {
    if (const BuiltinInfo* create = FindBuiltin("createobject")) {
      Variant progId("VBScript.RegExp");
      return create->function(*this, std::span<Variant>(&progId, 1));
    }
  }
  GlobalSlot* slot = globals_.Find(e->key);
  // Under Option Explicit the name is looked up as a variable first.
  if (!slot && e->explicitOnly) throw NamedError(kErrUndefined, e->className);
  if (!slot || slot->kind != GlobalSlot::Class) throw NamedError(kErrClassNotDefined, e->className);
  Ref<ClassInstance> instance = MakeRef<ClassInstance>(store_, slot->cls);
  if (slot->cls->initialize) CallProc(slot->cls->initialize, instance.get(), CallArgs{});
  return Variant(instance);
}

// ---------------------------------------------------------------------------------------------
// Calls

Variant Interpreter::CallProc(const ProcDef* proc, ClassInstance* me, const CallArgs& args) {
  const std::size_t paramCount = proc->params.size();
  if (!proc->ready) throw MakeError(kErrSyntax);
  if (args.Count() != paramCount) throw NamedError(kErrWrongArgCount, proc->name);
  EnterCall();
  struct Leave {
    Interpreter* self;
    ~Leave() { self->LeaveCall(); }
  } leave{this};

  std::size_t localCount =
      std::max<std::size_t>(static_cast<std::size_t>(proc->localCount), paramCount);
  LocalSlots localSlots(localCount);
  Variant* locals = localSlots.data;
  Variant* inlineRefs[kInlineSlots];
  std::unique_ptr<Variant*[]> heapRefs;
  Variant** refs = inlineRefs;
  if (paramCount > kInlineSlots) {
    heapRefs = std::make_unique<Variant*[]>(paramCount);
    refs = heapRefs.get();
  }
  std::vector<Ref<VariantArray>> kept;  // arrays whose elements are passed by reference
  Ref<Object> keepMe(me);

  std::size_t exprCount = args.exprs ? args.exprs->size() : args.values.size();
  for (std::size_t i = 0; i < paramCount; ++i) {
    refs[i] = &locals[i];
    if (i >= exprCount) {
      locals[i] = *args.assigned;
    } else if (args.exprs) {
      Expr* arg = (*args.exprs)[i];
      if (proc->params[i].byRef && (arg->kind == ExprKind::Name || arg->kind == ExprKind::Call)) {
        Ref<VariantArray> keep;
        if (Variant* target = LocateLValue(arg, *args.caller, &keep)) {
          refs[i] = target;
          if (keep) kept.push_back(std::move(keep));
          continue;
        }
      }
      if (arg->kind == ExprKind::Binary) {
        EvalBinary(static_cast<BinaryExpr*>(arg), *args.caller, locals[i]);
      } else {
        locals[i] = Eval(arg, *args.caller);
      }
    } else if (args.valuesByRef && proc->params[i].byRef) {
      refs[i] = &args.values[i];
    } else {
      locals[i] = args.values[i];
    }
  }

  Frame f;
  f.locals = locals;
  f.refs = refs;
  f.proc = proc;
  f.me = me;
  f.block = &proc->block;
  ExecBlock(proc->body, f);
  if (proc->resultSlot >= 0) return std::move(locals[proc->resultSlot]);
  return Variant();
}

Variant Interpreter::InvokeInstance(ClassInstance& obj, int memberIndex, std::uint8_t flags,
                                    const CallArgs& args) {
  ClassDef* cls = obj.Class();
  if (memberIndex < 0 || static_cast<std::size_t>(memberIndex) >= cls->members.size()) {
    throw MakeError(kErrNoSuchMember);
  }
  const ClassMember& m = cls->members[static_cast<std::size_t>(memberIndex)];
  Ref<Object> keep(&obj);
  if (m.field >= 0) {
    Variant& field = obj.Fields()[static_cast<std::size_t>(m.field)];
    std::vector<Variant> index = ArgValues(args);
    if (flags & (kInvokeLet | kInvokeSet)) {
      if (!args.assigned) throw MakeError(kErrWrongArgCount);
      Variant assigned = LetValue(*args.assigned, (flags & kInvokeSet) != 0);
      if (index.empty()) {
        Store(field, std::move(assigned));
        return Variant();
      }
      if (field.IsArray()) {
        std::vector<std::int32_t> subs;
        for (Variant& v : index)
          subs.push_back(ToLong(v));
        MakeUnique(field);
        Store(field.AsArray()->At(subs.data(), subs.size()), std::move(assigned));
        return Variant();
      }
      throw NamedError(kErrNoSuchMember, m.name);  // a field that is not an array has no index
    }
    if (index.empty()) return field;
    if (field.IsArray()) {
      std::vector<std::int32_t> subs;
      for (Variant& v : index)
        subs.push_back(ToLong(v));
      return field.AsArray()->At(subs.data(), subs.size());
    }
    if (field.IsObject() && field.AsObject()) {
      return field.AsObject()->Invoke(kDispIdValue, flags, index);
    }
    throw NamedError(kErrNoSuchMember, m.name);
  }
  // A getter without parameters given arguments: they index the value it returns.
  const ProcDef* getter =
      m.method ? (m.method->kind == ProcKind::Function ? m.method : nullptr) : m.get;
  if (getter && getter->params.empty() && args.Count() > 0 && (flags & kInvokeGet) &&
      !(flags & (kInvokeLet | kInvokeSet))) {
    std::vector<Variant> index = ArgValues(args);
    Variant value = CallProc(getter, &obj, CallArgs{});
    return ApplyArgs(value, index, flags);
  }
  if (m.method) return CallProc(m.method, &obj, args);
  if (flags & kInvokeSet) {  // Set needs a Property Set: a Property Let does not do
    if (m.set) return CallProc(m.set, &obj, args);
    throw NamedError(kErrNoSuchMember, m.name);
  }
  if (flags & kInvokeLet) {
    if (m.let) return CallProc(m.let, &obj, args);
    throw NamedError(kErrNoSuchMember, m.name);
  }
  if (m.get) return CallProc(m.get, &obj, args);
  throw NamedError(kErrNoSuchMember, m.name);
}

void Interpreter::RunTerminate(ClassInstance& ghost) {
  if (aborting_ || !ghost.Class()->terminate) return;
  try {
    CallProc(ghost.Class()->terminate, &ghost, CallArgs{});
  } catch (RuntimeError&) {
    // Errors in Class_Terminate are dropped, as the classic engine drops them.
  } catch (ScriptAbort&) {
    aborting_ = true;
  }
}

}  // namespace sl::vbs
