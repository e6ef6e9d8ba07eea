// The interpreter: runs compiled blocks by walking their resolved syntax trees. One Interpreter
// is one program (global scope, classes, procedures, host objects); the Engine class is its
// public face. Values flow as Variants; run-time errors are RuntimeError exceptions that On
// Error Resume Next catches per statement, and that otherwise leave the engine as ScriptError
// with the position of the statement where they arose.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/clock.h"
#include "vbscript/ast.h"
#include "vbscript/builtins/builtin.h"
#include "vbscript/bytecode.h"
#include "vbscript/compiler.h"
#include "vbscript/engine.h"
#include "vbscript/register_stack.h"
#include "vbscript/script_objects.h"

namespace sl::vbs {

// One activation of a procedure (or of global code).
struct Frame {
  Variant* locals = nullptr;
  Variant** refs = nullptr;       // parameters, by reference or to their own local copy
  const ProcDef* proc = nullptr;  // null for global code
  ClassInstance* me = nullptr;
  Variant* with = nullptr;             // the innermost With object
  const std::string* block = nullptr;  // name of the code block, for error positions
  bool resumeNext = false;
};

// How a statement ended.
enum class Flow : std::uint8_t { Normal, ExitDo, ExitFor, ExitProc };

// The arguments of a call: expressions of the caller (which may pass variables by reference)
// or values from a host, plus the assigned value of a Property Let/Set.
struct CallArgs {
  const std::vector<Expr*>* exprs = nullptr;
  Frame* caller = nullptr;
  std::span<Variant> values;
  // The values are the host's own variables: by-reference parameters use them in place, so
  // what the procedure assigns reaches the host (calls through the object interface).
  bool valuesByRef = false;
  // Per argument (with values): a variable a parameter by reference uses in place, or null.
  Variant* const* variables = nullptr;
  const Variant* assigned = nullptr;
  // The values are the caller's temporaries, computed for the call: moved into the parameters
  // that take them by value, as the tree walker evaluates an argument straight into its
  // parameter (nothing of the caller keeps them).
  bool moveValues = false;
  std::size_t Count() const { return (exprs ? exprs->size() : values.size()) + (assigned ? 1 : 0); }
};

// The arguments of a call to a host object's member. Those that are variables or array elements
// go by reference, as standard dispatch passes them: whatever the member stores in such an
// argument is written back to the variable when the call returns.
struct HostCallArgs {
  struct ByRef {
    std::size_t index = 0;      // of the argument
    Variant* target = nullptr;  // the variable
    Variant passed;             // the value it had when passed
  };
  static constexpr std::size_t kInline = 4;

  std::vector<Variant> values;
  ByRef inlineRefs[kInline];
  std::vector<ByRef> moreRefs;
  std::size_t refCount = 0;
  std::vector<Ref<VariantArray>> kept;  // arrays whose elements are passed by reference

  ByRef& AddByRef();
  ByRef& RefAt(std::size_t k) { return k < kInline ? inlineRefs[k] : moreRefs[k - kInline]; }
};

class Interpreter final : public BuiltinContext {
 public:
  Interpreter();
  ~Interpreter() override;

  // ---- For Engine ----
  void SetHost(EngineHost* host) { host_ = host; }
  void SetClock(const Clock* clock) { clock_ = clock; }
  void SetTimeLimit(std::int64_t ms, const Clock* watchdog);
  void AddBlockedTime(std::int64_t ms) { blockedMs_ += ms; }
  void SetMaxCallDepth(int depth) { maxDepth_ = depth; }
  void SetMemoryLimit(std::size_t bytes) { memoryLimit_ = bytes; }
  void AddCode(std::string_view code, const std::string& blockName);
  void AddObject(const std::string& name, Ref<Object> object, bool globalMembers);
  std::vector<UndeclaredName> CheckCode(std::string_view code, const std::string& blockName,
                                        CheckedBlock keep);
  Variant Run(std::string_view name, std::span<Variant> args);
  Variant EvalText(std::string_view expression);
  bool HasProcedure(std::string_view name);
  // Releases every global (running Class_Terminate where due) before the program goes.
  void Shutdown();
  // The code added so far becomes the base that RestartFromBase returns to (see Engine).
  void MarkBase();
  void RestartFromBase();

  // ---- For script objects ----
  Variant InvokeInstance(ClassInstance& obj, int member, std::uint8_t flags, const CallArgs& args);
  Variant CallProc(const ProcDef* proc, ClassInstance* me, const CallArgs& args);
  void RunTerminate(ClassInstance& ghost);
  bool Aborting() const noexcept { return aborting_; }

  // ---- BuiltinContext ----
  const Clock& GetClock() override { return *clock_; }
  RandomState& Random() override { return random_; }
  int MessageBox(const std::string& prompt, int buttons, const std::string& title) override;
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override;
  Ref<Object> CreateHostObject(std::string_view progId) override;
  void Charge(std::size_t units) override { ChargeFor(units); }

 private:
  // Entry from a host: sets up the time limit and turns errors into ScriptError.
  template <class F>
  auto Enter(F&& body) -> decltype(body());

  void RunProgram(Program& program);
  void ReleaseGlobals();
  Program* CompileSnippet(std::string_view code, const ProcDef* scope, bool expression,
                          Expr** expr);
  void Tick() {
    if (--ticks_ <= 0) CheckTime();
  }
  // Work on large values (a long string built, a big array made) counts as many ticks, so the
  // time limit is checked as often in a loop that copies megabytes as in any other.
  void ChargeFor(std::size_t units) {
    work_ += units;
    if (work_ < kChargeUnit) return;
    ticks_ -= static_cast<int>(std::min<std::size_t>(work_ / kChargeUnit, 1 << 20));
    work_ %= kChargeUnit;
    if (ticks_ <= 0) CheckTime();
  }
  static constexpr std::size_t kChargeUnit = 4096;
  void CheckTime();
  void EnterCall();
  bool CStackSpent() const;
  void LeaveCall() { --depth_; }
  EngineHost& Host() { return host_ ? *host_ : defaultHost_; }

  // Names
  void Resolve(NameExpr* n);
  bool Answers(const NameExpr& n);
  NameKind Resolved(NameExpr* n);
  Variant* VariableSlot(NameExpr* n, Frame& f);
  Variant* LocateLValue(Expr* e, Frame& f, std::vector<Ref<VariantArray>>& kept);
  Variant* ElementSlot(CallExpr* c, Frame& f, std::vector<Ref<VariantArray>>& kept);

  // Statements
  Flow ExecBlock(const Block& block, Frame& f);
  Flow Exec(Stmt* s, Frame& f);
  ScriptError Positioned(const RuntimeError& e, const Stmt* s, const Frame& f);
  void SetErr(const RuntimeError& e);
  bool Condition(Expr* e, Frame& f);
  void ExecAssign(AssignStmt* a, Frame& f);
  bool IsPure(Expr* e);
  bool AppendInPlace(AssignStmt* a, Frame& f);
  bool PiecesPure(AssignStmt* a);
  Variant AppendText(Variant v);
  bool AppendBegins(const Code& code, const Instr& in, Frame& f);
  void AppendPart(const Code& code, const Instr& in, Frame& f);
  void AppendJoin(const Code& code, const Instr& in, Frame& f);
  void Assign(Expr* target, Variant value, bool isSet, Frame& f);
  void AssignIndexed(Variant& container, const std::vector<Expr*>& argExprs, Variant value,
                     std::uint8_t flags, Frame& f, const std::string& name);
  void AssignMember(MemberExpr* m, const std::vector<Expr*>* argExprs, Variant value, bool isSet,
                    Frame& f);
  void AssignMemberOf(const Variant& objectValue, MemberExpr* m, const std::vector<Expr*>* argExprs,
                      Variant& value, bool isSet, Frame& f);
  void ExecCall(CallStmt* s, Frame& f);
  Flow ExecFor(ForStmt* s, Frame& f);
  Flow ExecForEach(ForEachStmt* s, Frame& f);
  Flow ExecDo(DoStmt* s, Frame& f);
  Flow ExecSelect(SelectStmt* s, Frame& f);
  bool CaseTestMatches(const CaseTest& test, const Variant& subject, Frame& f);
  Flow HeadFailed(const RuntimeError& e, const Block& body, int unstarted, Frame& f);
  bool LoopCondition(Expr* e, Frame& f, bool onError);
  void ExecDim(DimStmt* s, Frame& f);
  void ExecReDim(ReDimStmt* s, Frame& f);
  void ExecErase(EraseStmt* s, Frame& f);
  void ExecConst(ConstStmt* s, Frame& f);
  void ExecRandomize(RandomizeStmt* s, Frame& f);
  void ReDimCheck(const DimItem& item, Frame& f);
  static std::int32_t ReDimBound(const Variant& value);
  void ReDimItem(DimItem& item, std::vector<VariantArray::Bound> bounds, bool preserve, Frame& f);
  void StoreConstant(NameExpr* name, const Variant& v, Frame& f);
  void Reseed(const std::optional<Variant>& seed);
  void ReDimFromCounts(const Code& code, const Instr& in, Frame& f);
  void ElementTargetCheck(const Code& code, const Instr& in, Frame& f);

  // Bytecode
  const Code* CodeOf(const ProcDef* proc);
  const Code* CodeOf(Program& program);
  Flow RunCode(const Code& entryCode, Frame& entryFrame);
  const Variant& NameValue(NameExpr* n, Frame& f, Variant& scratch);
  const Variant& OperandValue(const Code& code, Operand o, Frame& f, Variant& scratch);
  const Variant& UnboundNameValue(const Code& code, Operand o, Frame& f, Variant& scratch);
  Variant CallSiteProc(const Code& code, const CallSite& site, Frame& f);
  // A compiled procedure called from compiled code, which the caller's dispatch loop runs:
  // where to go back to, and the callee's frame.
  struct CompiledCall {
    const Code* callerCode = nullptr;
    Frame* callerFrame = nullptr;
    const Instr* callerIp = nullptr;  // the call's instruction
    const Code* code = nullptr;
    Frame frame;
    Variant* refs[kMaxCompiledArguments] = {};
    RegisterStack::Mark mark;  // the register stack before the callee's registers
    std::size_t count = 0;     // of the callee's registers
    Variant* callerScratch = nullptr;
    Variant scratch[2];  // the callee's values of name operands, held to its statement's end
  };
  CompiledCall* EnterCompiled(const Code& code, const CallSite& site, Frame& f, const Instr* ip,
                              Variant* callerScratch);
  const CompiledCall& LeaveCompiled() noexcept;
  void ArgumentsInto(const Code& code, const CallSite& site, const ProcDef& proc, Frame& f,
                     Variant* locals);
  Variant* OperandVariable(const Code& code, Operand o, Frame& f);
  Variant* OperandSlot(const Code& code, Operand o, Frame& f);
  Variant* DirectVariable(const Code& code, Operand o, Frame& f);
  const Variant* PlainOperand(const Code& code, Operand o, Frame& f);
  void ElementStore(const Code& code, const Instr& in, const Variant* subscripts, std::size_t count,
                    Frame& f);
  void ElementStore1(const Code& code, const Instr& in, Frame& f);
  bool NestedElementLocate(const Code& code, const Instr& in, Frame& f);
  void NestedElementStore(const Instr& in, Frame& f);
  void NestedValueCheck(const Instr& in, Frame& f);
  void NestedValueStore(const Instr& in, Frame& f);
  Variant OffsetSubscriptValue(const Code& code, const Instr& in, Frame& f);
  void ElementLoadSingle(const Code& code, const Instr& in, Frame& f, bool offset);
  Variant DefaultMemberValue(const Code& code, const Instr& in, Frame& f, Object& obj, bool offset);
  void ElementStoreK(const Code& code, const Instr& in, Frame& f);
  void BinaryInto(const Instr& in, const Variant& l, const Variant& r, Variant& dst);
  void BinaryIntoReleasing(const Code& code, const Instr& in, const Variant& l, const Variant& r,
                           Frame& f);
  bool ComparisonHolds(const Instr& in, const Variant& l, const Variant& r);
  void BinaryIntoK(const Instr& in, const Variant& l, Variant& dst);
  bool ComparisonHoldsK(const Instr& in, const Variant& l);
  bool ComparisonHoldsReleasing(const Code& code, const Instr& in, const Variant& l,
                                const Variant& r, Frame& f);
  bool ComparisonHoldsKReleasing(const Code& code, const Instr& in, const Variant& l, Frame& f);
  void ReleaseTemporary(const Code& code, Operand o, Frame& f);
  bool ComparisonJumps(const Instr& in, const Variant& l, const Variant& r);
  bool ComparisonJumpsK(const Instr& in, const Variant& l);
  bool LogicHolds(Op logic, const Instr& in, const Variant& left, const Variant& l,
                  const Variant& r);
  bool LogicHoldsK(Op logic, const Instr& in, const Variant& left, const Variant& l);
  bool CaseHolds(const Instr& in, const Variant& subject, const Variant& value);
  void MoveValue(const Variant& v, Variant& dst);
  void StoreToName(NameExpr* n, const Variant& v, Frame& f);
  void ElementLoad(const Code& code, const Instr& in, Frame& f);
  bool ElementBegins(const Code& code, const Instr& in, Frame& f);
  bool CallBegins(const Code& code, const Instr& in, Frame& f);
  bool MemberBegins(const Code& code, const Instr& in, Frame& f);
  void MemberInvoke(const Code& code, const Instr& in, Frame& f);
  Variant MemberResult(const Code& code, const Instr& in, Frame& f);
  Variant ScriptMemberResult(const Code& code, const Instr& in, Frame& f);
  CallArgs CompiledCallArgs(const Code& code, const std::vector<Operand>& operands,
                            std::uint16_t firstValue, std::uint8_t captured, std::uint8_t elements,
                            const ProcDef& proc, Frame& f, Variant** variables);
  static Variant KeptHandle(const ProcDef* proc);
  static const ProcDef* KeptProcedure(const Variant& kept);
  bool CallBeginsKept(const Code& code, const Instr& in, Frame& f);
  static Variant* ElementArgument(std::uint16_t firstValue, std::size_t count,
                                  std::uint8_t elements, std::size_t i, Frame& f);
  static Variant* ElementArgument(const CallSite& site, std::size_t i, Frame& f);
  static bool ArgumentByReference(const MemberSite* site, std::uint16_t begin, std::size_t k,
                                  Frame& f);
  static const ProcDef* SiteMemberProc(const MemberSite& site, const ClassMember& m);
  std::vector<Variant> SiteArgumentValues(const Code& code, const MemberSite& site, Frame& f,
                                          std::size_t spare);
  Variant HostMemberAssign(const Code& code, const MemberSite& site, Object& obj, DispId id,
                           Frame& f);
  struct ElementSite;
  static ElementSite ElementSiteOf(const Code& code, const Instr& in);
  bool ArgRefBegins(const Code& code, const Instr& in, Frame& f);
  void ArgRefLocate(const Code& code, const Instr& in, Frame& f);
  void CaptureArgument(const Code& code, const Instr& in, Frame& f);
  const Variant* MemberObject(const Code& code, Operand o, Frame& f);
  const Variant* NamedMemberObject(const Code& code, Operand o, Frame& f);
  bool MemberBeginsOn(const Code& code, const Instr& in, Frame& f, const Variant* v);
  bool DefaultMemberBegins(const Code& code, const Instr& in, Frame& f, const Variant* v);
  bool ClassMemberBegins(const Code& code, const Instr& in, Frame& f);
  const ProcDef* CompiledMember(const ClassInstance& inst, int member, const MemberSite& site);
  bool CallFails() const;
  void CheckProcCall(const ProcDef& proc, std::size_t count);
  void RaiseCallOnNothing(NameExpr* n, NameKind kind, std::size_t count, bool bare, Frame& f);
  void RaiseMemberFailure(const ClassInstance& inst, int member, const MemberSite& site,
                          Variant* object);
  void MemberStore(const Code& code, const Instr& in, Frame& f);
  void AssignToTarget(const Code& code, const Instr& in, Frame& f);
  void ForEachBegins(const Code& code, const Instr& in, Frame& f);
  bool ForEachStep(const Code& code, const Instr& in, Frame& f);
  static void SetCounter(Variant& dst, std::int64_t value, bool wide);
  bool ForInit(const Code& code, const Instr& in, Frame& f);
  bool ForNext(const Code& code, const Instr& in, Frame& f);
  bool ForNextByRules(Variant& var, Variant* state);

  // Expressions
  Variant Eval(Expr* e, Frame& f);
  void ApplyBinary(Op op, const Variant& l, const Variant& r, bool leftLiteral, bool rightLiteral,
                   Variant& out);
  const Variant& EvalRef(Expr* e, Frame& f, Variant& temp);
  static const Variant* PlainVariable(const NameExpr* n, Frame& f);
  const Variant* QuickRef(Expr* e, Frame& f);
  void EvalBinary(BinaryExpr* b, Frame& f, Variant& out);
  Variant EvalBinaryValue(BinaryExpr* b, Frame& f);
  std::size_t Subscripts(const std::vector<Expr*>& exprs, Frame& f, std::int32_t* out);
  Variant EvalName(NameExpr* n, Frame& f);
  Variant EvalCall(CallExpr* c, Frame& f, std::uint8_t flags);
  Variant EvalMember(MemberExpr* m, Frame& f, const std::vector<Expr*>* argExprs,
                     std::uint8_t flags);
  Variant IndexValue(const Variant& value, const std::vector<Expr*>& argExprs, Frame& f,
                     const std::string& name, std::uint8_t flags);
  Variant ObjectOf(MemberExpr* m, Frame& f);
  Ref<Enumerator> EnumeratorOf(const Variant& collection, Expr* expr);
  static void RequireObject(const Variant& v, const MemberExpr* m);
  Variant MemberOf(const Variant& objectValue, MemberExpr* m, Frame& f,
                   const std::vector<Expr*>* argExprs, std::uint8_t flags);
  Variant ApplyArgs(const Variant& value, std::vector<Variant>& args, std::uint8_t flags);
  Variant InvokeOrIndex(Object& obj, DispId id, std::uint8_t flags, std::span<Variant> args,
                        bool& indexed);
  Variant IndexInstead(const RuntimeError& e, Object& obj, DispId id, std::uint8_t flags,
                       std::span<Variant> args, bool& indexed);
  int FindMember(ClassInstance& inst, MemberExpr* m, Frame& f);
  std::vector<Variant> ArgValues(const std::vector<Expr*>& exprs, Frame& f);
  std::vector<Variant> ArgValues(const CallArgs& args);
  void CollectHostArgs(const std::vector<Expr*>& exprs, Frame& f, HostCallArgs& out);
  void WriteBack(HostCallArgs& args);
  Variant InvokeHost(Object* obj, DispId id, std::uint8_t flags, const std::vector<Expr*>* exprs,
                     Frame& f);
  Variant CallBuiltin(const BuiltinInfo* info, const std::string& name,
                      const std::vector<Expr*>& argExprs, Frame& f, std::uint8_t flags);
  void CheckBuiltinCall(const BuiltinInfo* info, const std::string& name, std::size_t count,
                        std::uint8_t flags);
  Variant InvokeBuiltin(const BuiltinInfo* info, const std::string& name, std::span<Variant> args,
                        std::uint8_t flags);
  Variant CallSiteBuiltin(const Code& code, const CallSite& site, Frame& f);
  Variant CallSiteIntrinsic(const Code& code, const CallSite& site, Frame& f);
  Variant CallIntrinsic(int id, const std::string& name, const std::vector<Expr*>& argExprs,
                        Frame& f);
  Variant RunIntrinsic(int id, const Variant& value, Frame& f);
  Variant NewInstance(NewExpr* e);

  Ref<CodeStore> store_;
  GlobalScope globals_;
  std::deque<GlobalSlot> constants_;  // built-in constants met so far
  std::unordered_map<std::string, GlobalSlot*> constantIndex_;
  Ref<ErrObject> err_;
  std::vector<Ref<Object>> globalMemberObjects_;
  std::unordered_map<std::string, Program*> snippetCache_;
  std::unordered_map<Program*, Expr*> snippetExprs_;
  // The blocks added with AddCode, in order.
  std::vector<Program*> blocks_;
  // What RestartFromBase returns to: the counts of programs, blocks and globals at MarkBase and
  // the globals' meaning then (values only for constants and host objects).
  struct Base {
    bool marked = false;
    std::size_t programs = 0;
    std::size_t blocks = 0;
    std::vector<GlobalSlot> globals;
  };
  Base base_;
  // Names resolved at run time since MarkBase, with what they held before: undone on restart,
  // newest first, so that no resolution outlives the globals and objects it points to.
  std::vector<std::pair<NameExpr*, NameRef>> resolvedSinceBase_;
  EngineHost* host_ = nullptr;
  EngineHost defaultHost_;
  SystemClock systemClock_;
  const Clock* clock_ = &systemClock_;
  const Clock* watchdog_ = &systemClock_;
  RandomState random_;
  std::int64_t timeLimitMs_ = 0;
  std::int64_t startMs_ = 0;
  std::int64_t blockedMs_ = 0;
  int ticks_ = 1;
  std::size_t work_ = 0;  // charged work not yet counted as ticks
  std::size_t memoryLimit_ = kDefaultMemoryLimit;
  int depth_ = 0;
  RegisterStack registers_;  // of compiled calls
  // The compiled calls the dispatch loops run, innermost last: calls_[0 .. callTop_) are in
  // use, the rest kept for the next calls (each stays where it is while in use).
  std::vector<std::unique_ptr<CompiledCall>> calls_;
  std::size_t callTop_ = 0;
  int entryDepth_ = 0;
  int maxDepth_ = 1500;
  std::uintptr_t stackBase_ = 0;
  bool aborting_ = false;
  bool shuttingDown_ = false;
  // Bodies run as bytecode (the tree walker runs those it cannot express); STORYLOOM_VBS_CORE=tree
  // in the environment keeps to the tree walker, to compare the two.
  bool useBytecode_ = true;
  // Where a time-out struck, for its message.
  std::string abortBlock_;
  int abortLine_ = 0;
  int abortColumn_ = 0;
};

// Invokes host member `id` with `args`; see IndexInstead for a member without parameters given
// arguments. (Inline: both executors call it for every host member call with arguments.)
inline Variant Interpreter::InvokeOrIndex(Object& obj, DispId id, std::uint8_t flags,
                                          std::span<Variant> args, bool& indexed) {
  try {
    return obj.Invoke(id, flags, args);
  } catch (RuntimeError& e) {
    return IndexInstead(e, obj, id, flags, args, indexed);
  }
}

}  // namespace sl::vbs
