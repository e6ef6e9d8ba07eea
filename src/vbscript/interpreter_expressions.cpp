// Evaluating expressions: operators, names, array elements, members and New.
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
  ApplyBinary(b->op, *l, *r, IsLiteralOperand(b->left), IsLiteralOperand(b->right), out);
}

// The operator's result for operands already evaluated (literal: written as a literal, which
// comparisons treat apart).
void Interpreter::ApplyBinary(Op op, const Variant& l, const Variant& r, bool leftLiteral,
                              bool rightLiteral, Variant& out) {
  if (FastIntegerOp(op, l, r, out)) return;
  if (l.Type() == VarType::Boolean && r.Type() == VarType::Boolean &&
      (op == Op::And || op == Op::Or)) {
    out = Variant(op == Op::And ? l.AsBool() && r.AsBool() : l.AsBool() || r.AsBool());
    return;
  }
  switch (op) {
    case Op::Eq:
    case Op::Ne:
    case Op::Lt:
    case Op::Gt:
    case Op::Le:
    case Op::Ge:
      out = Compare(op, l, r, leftLiteral, rightLiteral);
      return;
    case Op::Is:
      out = Variant(SameObject(l, r));
      return;
    case Op::And:
    case Op::Or:
    case Op::Xor:
    case Op::Eqv:
    case Op::Imp:
      out = Logic(op, l, r);
      return;
    default:
      out = Arith(op, l, r);
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
    out[i] = SubscriptValue(EvalRef(exprs[i], f, temp));
  }
  return exprs.size();
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
  RequireObject(v, m);
  return v;
}

// Error 424 unless `v`, the object of member `m`, is an object.
void Interpreter::RequireObject(const Variant& v, const MemberExpr* m) {
  if (!v.IsObject() || !v.AsObject()) {
    throw NamedError(kErrObjectRequired, DescribeObject(m->object));
  }
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
  return MemberOf(objectValue, m, f, argExprs, flags);
}

// Member `m` of `objectValue` (an object: see RequireObject) called or read: the member is
// looked up, then the arguments evaluated.
Variant Interpreter::MemberOf(const Variant& objectValue, MemberExpr* m, Frame& f,
                              const std::vector<Expr*>* argExprs, std::uint8_t flags) {
  Object* obj = objectValue.AsObject();
  if (auto* inst = AsClassInstance(obj)) {
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
  bool indexed = false;
  Variant result = InvokeOrIndex(*obj, id, flags, args.values, indexed);
  if (!indexed) WriteBack(args);
  return result;
}

// The part of InvokeOrIndex (interpreter.h) after host member `id` failed with `e`: a member
// without parameters given arguments (error 450) has its value indexed by them instead, as
// standard dispatch does (`m.SubMatches(0)`); `indexed` then says so (no member received the
// arguments, so none is written back). Any other error goes on (called in its handler).
Variant Interpreter::IndexInstead(const RuntimeError& e, Object& obj, DispId id, std::uint8_t flags,
                                  std::span<Variant> args, bool& indexed) {
  if (e.Number() != kErrWrongArgCount) throw;
  Variant value = obj.Invoke(id, kInvokeGet, {});
  if (!value.IsArray() && !value.IsObject()) throw;
  indexed = true;
  std::vector<Variant> index(args.begin(), args.end());
  return ApplyArgs(value, index, flags);
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

}  // namespace sl::vbs
