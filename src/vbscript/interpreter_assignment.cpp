// Assignments: to variables, array elements, members of objects; appending to a string in place.
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

// Whether the pieces of x = x & a & b cannot change x (found at the first run, when their names
// are resolved).
bool Interpreter::PiecesPure(AssignStmt* a) {
  if (a->piecesPure == 0) {
    bool pure = true;
    for (Expr* piece : a->pieces)
      pure = pure && IsPure(piece);
    a->piecesPure = pure ? 1 : 2;
  }
  return a->piecesPure == 1;
}

// A piece of x = x & a & b as the append takes it: an object's default value, Null as nothing
// (Empty), anything else as text.
Variant Interpreter::AppendText(Variant v) {
  if (v.IsObject()) v = Dereference(v);
  if (v.IsNull()) return Variant();
  if (!v.IsString()) v = Variant(ToString(v));
  return v;
}

// x = x & a & b: appends the pieces to x's string where it lives. False when the general
// path must run instead (x is not a string, or a piece might change x).
bool Interpreter::AppendInPlace(AssignStmt* a, Frame& f) {
  auto* n = static_cast<NameExpr*>(a->target);
  Variant* slot = VariableSlot(n, f);
  if (!slot || !slot->IsString() || n->ref.readOnly) return false;
  if (!PiecesPure(a)) return false;
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
    parts[i] = AppendText(Eval(a->pieces[i], f));
    if (parts[i].IsString()) total += parts[i].AsString().size();
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
  AssignMemberOf(objectValue, m, argExprs, value, isSet, f);
}

// Member `m` of `objectValue` (an object: see RequireObject) = value: the member is looked up,
// then the arguments evaluated. `value` is the caller's, released after the object.
void Interpreter::AssignMemberOf(const Variant& objectValue, MemberExpr* m,
                                 const std::vector<Expr*>* argExprs, Variant& value, bool isSet,
                                 Frame& f) {
  Object* obj = objectValue.AsObject();
  std::uint8_t flags = isSet ? kInvokeSet : kInvokeLet;
  if (auto* inst = AsClassInstance(obj)) {
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

}  // namespace sl::vbs
