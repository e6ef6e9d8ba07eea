// Running statements: blocks with their error handling, calls as statements, declarations.
#include "vbscript/interpreter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/memory_budget.h"
#include "core/variant_convert.h"
#include "vbscript/builtins/random.h"
#include "vbscript/interpreter_support.h"
#include "vbscript/operators.h"
#include "vbscript/parser.h"

namespace sl::vbs {

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
    if (!s->preserve) ReDimCheck(item, f);
    std::vector<VariantArray::Bound> bounds;
    for (Expr* b : item.bounds)
      bounds.push_back({0, ReDimBound(Eval(b, f))});
    ReDimItem(item, std::move(bounds), s->preserve, f);
  }
}

// ReDim without Preserve of an array declared with its size: error 10 before the bounds.
void Interpreter::ReDimCheck(const DimItem& item, Frame& f) {
  Variant* v = VariableSlot(item.name, f);
  if (v && v->IsArray() && v->AsArray()->IsFixedSize()) throw MakeError(kErrFixedArray);
}

// A new upper bound of ReDim, as the count of its dimension (error 9 below -1).
std::int32_t Interpreter::ReDimBound(const Variant& value) {
  std::int64_t upper = ToLong(Dereference(value));
  if (upper < -1) throw MakeError(kErrSubscript);
  return static_cast<std::int32_t>(upper + 1);
}

// The array of a ReDim item made anew with `bounds`, or resized keeping its elements.
void Interpreter::ReDimItem(DimItem& item, std::vector<VariantArray::Bound> bounds, bool preserve,
                            Frame& f) {
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
    v->AsArray()->Redim(std::move(bounds), preserve);
  } else {
    Store(*v, Variant(MakeRef<VariantArray>(std::move(bounds))));
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
  for (auto& [name, expr] : s->items)
    StoreConstant(name, Eval(expr, f), f);
}

// A constant of Const given its value (an object's default value).
void Interpreter::StoreConstant(NameExpr* name, const Variant& v, Frame& f) {
  Variant value = Dereference(v);
  if (Resolved(name) == NameKind::Global) {
    Store(name->ref.global->value, std::move(value));
  } else if (Variant* slot = VariableSlot(name, f)) {
    Store(*slot, std::move(value));
  }
}

void Interpreter::ExecRandomize(RandomizeStmt* s, Frame& f) {
  if (s->seed) {
    Reseed(Eval(s->seed, f));
  } else {
    Reseed(std::nullopt);
  }
}

// Randomize with its seed (an object's default value), or none.
void Interpreter::Reseed(const std::optional<Variant>& seed) {
  std::optional<Variant> value;
  if (seed) value = Dereference(*seed);
  Randomize(random_, value, *clock_);
}

}  // namespace sl::vbs
