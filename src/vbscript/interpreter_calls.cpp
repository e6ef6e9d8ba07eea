// Calls: arguments by value and by reference, host members, built-in functions, the intrinsics
// (Eval, Execute, ExecuteGlobal, GetRef) and script procedures and class members.
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
    if (Variant* target = LocateLValue(e, f, out.kept)) {
      HostCallArgs::ByRef& ref = out.AddByRef();
      ref.index = out.values.size();
      ref.target = target;
      ref.passed = *target;
      out.values.push_back(*target);
    } else {
      out.values.push_back(Eval(e, f));
    }
  }
}

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

Variant Interpreter::CallBuiltin(const BuiltinInfo* info, const std::string& name,
                                 const std::vector<Expr*>& argExprs, Frame& f, std::uint8_t flags) {
  std::size_t count = argExprs.size();
  CheckBuiltinCall(info, name, count, flags);
  Variant inlineArgs[kInlineSlots];
  std::vector<Variant> heapArgs;
  Variant* args = inlineArgs;
  if (count > kInlineSlots) {
    heapArgs.resize(count);
    args = heapArgs.data();
  }
  for (std::size_t i = 0; i < count; ++i)
    args[i] = Eval(argExprs[i], f);
  return InvokeBuiltin(info, name, std::span<Variant>(args, count), flags);
}

// The errors of a built-in's call found before its arguments are evaluated: a wrong count of
// arguments (450), a function that is only a statement used for its value (13).
void Interpreter::CheckBuiltinCall(const BuiltinInfo* info, const std::string& name,
                                   std::size_t count, std::uint8_t flags) {
  if (static_cast<int>(count) < info->minArgs ||
      (info->maxArgs >= 0 && static_cast<int>(count) > info->maxArgs)) {
    throw NamedError(kErrWrongArgCount, name);
  }
  if (info->use == BuiltinUse::kStatementOnly && (flags & kInvokeGet) != 0) {
    throw NamedError(kErrTypeMismatch, name);
  }
}

// A built-in called with its argument values, once CheckBuiltinCall has passed.
Variant Interpreter::InvokeBuiltin(const BuiltinInfo* info, const std::string& name,
                                   std::span<Variant> args, std::uint8_t flags) {
  try {
    Variant result = info->function(*this, args);
    if (info->use == BuiltinUse::kValueOnly && (flags & kInvokeGet) == 0) {
      throw MakeError(kErrUnsupportedType);
    }
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
  return RunIntrinsic(id, Eval(argExprs[0], f), f);
}

// Eval, Execute, ExecuteGlobal or GetRef (`id`) with the value of its one argument.
Variant Interpreter::RunIntrinsic(int id, const Variant& value, Frame& f) {
  // The argument is text, or an object whose value is text. Eval gives any other value back
  // as it is; the others take only text.
  Variant argument = Dereference(value);
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
  const Code* code = CodeOf(proc);
  if (code) localCount = static_cast<std::size_t>(code->registerCount);
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
        if (Variant* target = LocateLValue(arg, *args.caller, kept)) {
          refs[i] = target;
          continue;
        }
      }
      if (arg->kind == ExprKind::Binary) {
        EvalBinary(static_cast<BinaryExpr*>(arg), *args.caller, locals[i]);
      } else {
        locals[i] = Eval(arg, *args.caller);
      }
    } else if (args.variables && args.variables[i]) {
      if (proc->params[i].byRef) {
        refs[i] = args.variables[i];
      } else {
        locals[i] = *args.variables[i];
      }
    } else if (args.valuesByRef && proc->params[i].byRef) {
      refs[i] = &args.values[i];
    } else if (args.moveValues) {
      locals[i] = std::move(args.values[i]);
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
  if (code) {
    RunCode(*code, f);
  } else {
    ExecBlock(proc->body, f);
  }
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
