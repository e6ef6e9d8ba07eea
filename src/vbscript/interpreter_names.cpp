// Names at run time: resolving a name at its first use and finding the variable it stands for.
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

// Whether a name left for run time would be found there (Resolve without its effects).
bool Interpreter::Answers(const NameExpr& n) {
  if (globals_.Find(n.key) || FindBuiltin(n.key) || FindConstant(n.key)) return true;
  return std::any_of(globalMemberObjects_.begin(), globalMemberObjects_.end(),
                     [&n](Ref<Object>& obj) { return obj->GetIdOfName(n.name) != kDispIdUnknown; });
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
// An element's array is kept in `kept` (the call's) while the call runs. The call's own
// references are no sharing: its array made unshared once, every element it passes lies in the
// same array, so that writes through each parameter reach the variable.
Variant* Interpreter::LocateLValue(Expr* e, Frame& f, std::vector<Ref<VariantArray>>& kept) {
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
    VariantArray* array = v->AsArray();
    auto held = std::count_if(kept.begin(), kept.end(),
                              [array](const Ref<VariantArray>& k) { return k.get() == array; });
    MakeUnique(*v, static_cast<std::int32_t>(held));
    kept.emplace_back(v->AsArray());
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

}  // namespace sl::vbs
