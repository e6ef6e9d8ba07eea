// Loops and Select Case, with the way On Error Resume Next goes on after a failing head.
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
  // Counting by the general rules: the counter goes on by adding the step to whatever value
  // it holds, until it passes the end.
  auto countByRules = [&]() -> Flow {
    double end = ToDouble(to), st = ToDouble(step);
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
  };
  if (IsIntegral(from) && IsIntegral(to) && IsIntegral(step)) {
    std::int64_t cur = ToLong(from), end = ToLong(to), st = ToLong(step);
    bool wide = from.Type() == VarType::Long || step.Type() == VarType::Long;
    Store(*var, Counter(cur, wide));
    while (st >= 0 ? cur <= end : cur >= end) {
      Tick();
      Flow flow = ExecBlock(s->body, f);
      if (flow == Flow::ExitFor) break;
      if (flow != Flow::Normal) return flow;
      // The body may have changed the counter; one that no longer holds an Integer or a Long
      // (2.5, "3", a Date) steps by the general rules from then on.
      const Variant& v = *var;
      if (v.Type() == VarType::Integer) {
        cur = v.AsInteger();
      } else if (v.Type() == VarType::Long) {
        cur = v.AsLong();
        wide = true;
      } else {
        step = Counter(st, wide);
        Store(*var, Arith(Op::Add, *var, step));
        return countByRules();
      }
      cur += st;
      Store(*var, Counter(cur, wide));
    }
    return Flow::Normal;
  }
  Store(*var, from);
  return countByRules();
}

// The items of a For Each collection that is no array: error 451 for anything that is not an
// object able to list its items (an object without NewEnum gives 451 too, not 438).
Ref<Enumerator> Interpreter::EnumeratorOf(const Variant& collection, Expr* expr) {
  if (!collection.IsObject() || !collection.AsObject()) {
    throw NamedError(kErrNotCollection, DescribeObject(expr));
  }
  Ref<Enumerator> items;
  try {
    items = collection.AsObject()->NewEnum();
  } catch (RuntimeError& e) {
    if (e.Number() == kErrNoSuchMember) throw MakeError(kErrNotCollection);
    throw;
  }
  if (!items) throw MakeError(kErrNotCollection);
  return items;
}

// The variable of For Each is Empty once the loop has gone through every element (Exit For
// leaves it at the element it had).
Flow Interpreter::ExecForEach(ForEachStmt* s, Frame& f) {
  Variant collection;
  Ref<Enumerator> items;
  try {
    collection = Eval(s->collection, f);
    if (!collection.IsArray()) items = EnumeratorOf(collection, s->collection);
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

}  // namespace sl::vbs
