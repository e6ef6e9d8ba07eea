// Runs bytecode: one dispatch loop (threaded with computed goto under GCC and Clang, a switch
// elsewhere) over the frame's registers. Integer operands take fast paths; everything else goes
// through the same operator rules as the tree walker, which also runs the statements and
// expressions the code leaves to it. A compiled procedure called from compiled code runs in the
// caller's loop (a chain of call records, no C++ recursion), and returns to it there. An error
// leaves with the position of the statement whose code was running, and goes on from frame to
// frame as an error of each caller's call.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>
#include <new>
#include <utility>

#include "core/variant_convert.h"
#include "vbscript/bytecode.h"
#include "vbscript/interpreter.h"
#include "vbscript/interpreter_support.h"
#include "vbscript/operators.h"

#if defined(__GNUC__) || defined(__clang__)
#define SL_VBS_THREADED 1
// Taking the address of a label is an extension of GCC and Clang.
#pragma GCC diagnostic ignored "-Wpedantic"
#endif

namespace sl::vbs {

namespace {

// A script member's index goes into a register as an Integer (see MemberBegins).
constexpr int kMaxScriptMember = 32767;

bool IsSmallInteger(VarType t) {
  return t == VarType::Integer || t == VarType::Long;
}

std::int64_t SmallInteger(const Variant& v) {
  return v.Type() == VarType::Integer ? v.AsInteger() : v.AsLong();
}

bool Wide(const Variant& a, const Variant& b) {
  return a.Type() == VarType::Long || b.Type() == VarType::Long;
}

// Per comparison operator (Eq to Ge, in that order), three bits: whether it holds when the left
// side is less than, equal to or greater than the right one.
constexpr unsigned kComparisonOutcomes =
    0b010u | 0b101u << 3 | 0b001u << 6 | 0b100u << 9 | 0b011u << 12 | 0b110u << 15;
static_assert(static_cast<int>(Op::Ne) == static_cast<int>(Op::Eq) + 1 &&
              static_cast<int>(Op::Lt) == static_cast<int>(Op::Eq) + 2 &&
              static_cast<int>(Op::Gt) == static_cast<int>(Op::Eq) + 3 &&
              static_cast<int>(Op::Le) == static_cast<int>(Op::Eq) + 4 &&
              static_cast<int>(Op::Ge) == static_cast<int>(Op::Eq) + 5);

// A comparison of two integers, without a branch on the operator.
bool IntegerCompare(Op op, std::int64_t x, std::int64_t y) {
  auto outcome = static_cast<unsigned>((x > y) - (x < y) + 1);  // 0 less, 1 equal, 2 greater
  unsigned row = (static_cast<unsigned>(op) - static_cast<unsigned>(Op::Eq)) * 3;
  return ((kComparisonOutcomes >> (row + outcome)) & 1u) != 0;
}

// Moves `from` into `to` (which keeps the new value before the old one is released); `from` is
// left holding nothing to release.
[[gnu::always_inline]] inline void MoveInto(Variant& to, Variant& from) {
  if (!EitherIsReference(to, from)) {
    std::memcpy(static_cast<void*>(&to), static_cast<const void*>(&from), sizeof(Variant));
  } else {
    Store(to, std::move(from));
  }
}

// Copies `from` over `to`. When neither holds a string, object or array, their bits are the
// whole value and nothing is counted or released; otherwise the copy is an assignment (the old
// value released once the new one is in).
[[gnu::always_inline]] inline void CopyValue(Variant& to, const Variant& from) {
  if (!EitherIsReference(to, from)) {
    std::memcpy(static_cast<void*>(&to), static_cast<const void*>(&from), sizeof(Variant));
  } else {
    to = from;
  }
}

// The result of an operator on two Integers into a register that holds no string, object or
// array: an Integer, or a Long past the Integer range.
inline void PutInteger(Variant& dst, std::int32_t value) {
  if (value >= -32768 && value <= 32767) {
    Overwrite(dst, static_cast<std::int16_t>(value));
  } else {
    Overwrite(dst, value);
  }
}

// The result of an operator on Integers and Longs, at least one a Long, into such a register:
// a Long, or a Double past the Long range.
inline void PutLong(Variant& dst, std::int64_t value) {
  if (value >= INT32_MIN && value <= INT32_MAX) {
    Overwrite(dst, static_cast<std::int32_t>(value));
  } else {
    Overwrite(dst, static_cast<double>(value));
  }
}

bool Truth(const Variant& v) {
  return v.Type() == VarType::Boolean ? v.AsBool() : IsTrue(v);
}

// Binds name `index` of `code` to the global variable its reference names, when it names one
// that may be written: later reads and writes go there directly (see Code::directs).
[[gnu::always_inline]] inline Variant* BindGlobal(const Code& code, std::uint16_t index,
                                                  const NameRef& r) {
  if (r.kind == NameKind::Global && r.global->kind == GlobalSlot::Variable && !r.readOnly) {
    code.directs[index] = &r.global->value;
    return &r.global->value;
  }
  return nullptr;
}

// The global variable (bound on the way) or global constant that name `index` of `code` stands
// for; null when it stands for neither.
[[gnu::always_inline]] inline const Variant* GlobalValue(const Code& code, std::uint16_t index,
                                                         const NameRef& r) {
  if (const Variant* v = BindGlobal(code, index, r)) return v;
  if (r.kind == NameKind::Global && r.global->kind == GlobalSlot::Constant) return &r.global->value;
  return nullptr;
}

const Stmt* StatementAt(const Code& code, std::uint32_t pc) {
  auto it = std::upper_bound(code.lines.begin(), code.lines.end(), pc,
                             [](std::uint32_t at, const LineEntry& e) { return at < e.pc; });
  return it == code.lines.begin() ? nullptr : std::prev(it)->stmt;
}

// The innermost range that covers `pc`: ranges are listed inner ones first.
const ResumeRange* ResumeRangeAt(const Code& code, std::uint32_t pc) {
  for (const ResumeRange& range : code.resumeRanges) {
    if (pc >= range.from && pc < range.to) return &range;
  }
  return nullptr;
}

}  // namespace

const Code* Interpreter::CodeOf(const ProcDef* proc) {
  if (!useBytecode_) return nullptr;
  auto* p = const_cast<ProcDef*>(proc);
  if (!p->codeTried) {
    p->codeTried = true;
    int locals = std::max(p->localCount, static_cast<int>(p->params.size()));
    p->code = CompileCode(p->body, locals, globals_);
    if (p->code) {
      p->code->paramCount = p->params.size();
      globals_.Track(p->code);
    }
  }
  return p->code.get();
}

const Code* Interpreter::CodeOf(Program& program) {
  if (!useBytecode_) return nullptr;
  if (!program.globalBytecodeTried) {
    program.globalBytecodeTried = true;
    program.globalBytecode = CompileCode(program.globalCode, 0, globals_);
    if (program.globalBytecode) globals_.Track(program.globalBytecode);
  }
  return program.globalBytecode.get();
}

// The value a name operand reads when it was not yet known as a global variable: a variable
// or constant in place (once its name is resolved), anything else as the tree walker evaluates
// the name (which may call a procedure), held in `scratch` until the statement's end.
const Variant& Interpreter::NameValue(NameExpr* n, Frame& f, Variant& scratch) {
  switch (Resolved(n)) {
    case NameKind::Global:
      if (n->ref.global->kind == GlobalSlot::Procedure ||
          n->ref.global->kind == GlobalSlot::Intrinsic ||
          n->ref.global->kind == GlobalSlot::Class) {
        break;
      }
      return n->ref.global->value;
    case NameKind::ClassMember:
    case NameKind::Builtin:
    case NameKind::HostMember:
      break;
    default:
      return *VariableSlot(n, f);
  }
  scratch = EvalName(n, f);
  return scratch;
}

// The value a name operand reads when the name is bound to no global variable (yet).
const Variant& Interpreter::UnboundNameValue(const Code& code, Operand o, Frame& f,
                                             Variant& scratch) {
  NameExpr* n = code.names[IndexOf(o)];
  if (const Variant* v = GlobalValue(code, IndexOf(o), n->ref)) return *v;
  return NameValue(n, f, scratch);
}

// The value an operand reads, in place where it can: registers first, then global variables
// bound to the code, without the jump table.
[[gnu::always_inline]] inline const Variant& Interpreter::OperandValue(const Code& code, Operand o,
                                                                       Frame& f, Variant& scratch) {
  if (KindOf(o) == OperandKind::Register) return f.locals[o];
  if (KindOf(o) == OperandKind::Name) {
    if (const Variant* bound = code.directs[IndexOf(o)]) return *bound;
    return UnboundNameValue(code, o, f, scratch);
  }
  if (KindOf(o) == OperandKind::Constant) return code.constants[IndexOf(o)];
  return *f.refs[IndexOf(o)];
}

// The value an operand reads when reading it runs nothing (a register, a constant, a parameter,
// a global variable or constant); null when the name must be looked up or evaluated.
[[gnu::always_inline]] inline const Variant* Interpreter::PlainOperand(const Code& code, Operand o,
                                                                       Frame& f) {
  switch (KindOf(o)) {
    case OperandKind::Register:
      return &f.locals[IndexOf(o)];
    case OperandKind::Constant:
      return &code.constants[IndexOf(o)];
    case OperandKind::RefParam:
      return f.refs[IndexOf(o)];
    default: {
      if (Variant* bound = code.directs[IndexOf(o)]) return bound;
      return GlobalValue(code, IndexOf(o), code.names[IndexOf(o)]->ref);
    }
  }
}

namespace {

// The element of a one-dimensional array `container` holds at the Integer or Long `subscript`
// (plus `offset`);
// null when either is anything else, or the subscript is out of range (the general way then
// decides, with its errors).
inline Variant* FindElement(const Variant* container, const Variant* subscript,
                            std::int64_t offset = 0) {
  if (!container || !container->IsArray() || !subscript || !IsSmallInteger(subscript->Type())) {
    return nullptr;
  }
  VariantArray* array = container->AsArray();
  const std::vector<VariantArray::Bound>& bounds = array->Bounds();
  if (bounds.size() != 1) return nullptr;
  std::int64_t rel = SmallInteger(*subscript) + offset - bounds[0].lower;
  return rel >= 0 && rel < bounds[0].count ? &array->Data()[static_cast<std::size_t>(rel)]
                                           : nullptr;
}

}  // namespace

// The variable an operand names, constants included (for reading an element); null when it
// is no variable.
Variant* Interpreter::OperandSlot(const Code& code, Operand o, Frame& f) {
  switch (KindOf(o)) {
    case OperandKind::Register:
      return &f.locals[IndexOf(o)];
    case OperandKind::RefParam:
      return f.refs[IndexOf(o)];
    case OperandKind::Name: {
      if (Variant* bound = code.directs[IndexOf(o)]) return bound;
      NameExpr* n = code.names[IndexOf(o)];
      if (Variant* v = BindGlobal(code, IndexOf(o), n->ref)) return v;
      if (n->ref.kind == NameKind::Global && n->ref.global->kind == GlobalSlot::Variable) {
        return &n->ref.global->value;
      }
      return VariableSlot(n, f);
    }
    default:
      return nullptr;
  }
}

// The variable an operand names when it is a local, a parameter or a global variable that may
// be written (a For counter, an array being read or written); null for anything that needs the
// general look-up.
[[gnu::always_inline]] inline Variant* Interpreter::DirectVariable(const Code& code, Operand o,
                                                                   Frame& f) {
  switch (KindOf(o)) {
    case OperandKind::Register:
      return &f.locals[IndexOf(o)];
    case OperandKind::RefParam:
      return f.refs[IndexOf(o)];
    case OperandKind::Name:
      if (Variant* bound = code.directs[IndexOf(o)]) return bound;
      return BindGlobal(code, IndexOf(o), code.names[IndexOf(o)]->ref);
    default:
      return nullptr;
  }
}

// The variable an operand names, for writing; null when it is no variable or a constant.
Variant* Interpreter::OperandVariable(const Code& code, Operand o, Frame& f) {
  Variant* v = OperandSlot(code, o, f);
  if (v && KindOf(o) == OperandKind::Name && code.names[IndexOf(o)]->ref.readOnly) return nullptr;
  return v;
}

// container(subscripts) = value: an array element, or the default member of an object; a name
// that is no longer a variable is assigned by the tree walker's rules.
void Interpreter::ElementStore(const Code& code, const Instr& in, const Variant* subscripts,
                               std::size_t count, Frame& f) {
  Variant* regs = f.locals;
  Variant* container = OperandVariable(code, in.b, f);
  auto* target = static_cast<CallExpr*>(code.exprs[in.d]);
  const std::string& name = static_cast<NameExpr*>(target->callee)->name;
  bool isSet = in.op == Opcode::ElemSet && (in.flags & kSetElement) != 0;
  if (!container) {
    Assign(target, regs[in.a], isSet, f);
    return;
  }
  if (container->IsArray()) {
    std::int32_t subs[kMaxSubscripts];
    for (std::size_t k = 0; k < count; ++k)
      subs[k] = SubscriptValue(subscripts[k]);
    MakeUnique(*container);
    Store(container->AsArray()->At(subs, count), regs[in.a]);
    return;
  }
  if (container->IsObject()) {
    Object* obj = container->AsObject();
    if (!obj) throw NamedError(kErrObjectRequired, name);
    Ref<Object> keep(obj);
    std::vector<Variant> args(subscripts, subscripts + count);
    args.push_back(regs[in.a]);
    obj->Invoke(kDispIdValue, isSet ? kInvokeSet : kInvokeLet, args);
    return;
  }
  throw NamedError(kErrTypeMismatch, name);
}

// The arguments of a compiled call into the callee's registers `locals`, and where each
// parameter is (the refs of the innermost call record): values computed for the call are
// moved, variables passed by reference are used in place, other variables and constants are
// copied.
void Interpreter::ArgumentsInto(const Code& code, const CallSite& site, const ProcDef& proc,
                                Frame& f, Variant* locals) {
  Variant** refs = calls_[callTop_ - 1]->refs;
  for (std::size_t i = 0; i < site.args.size(); ++i) {
    Operand o = site.args[i];
    refs[i] = &locals[i];
    if (Variant* element = ElementArgument(site, i, f)) {
      refs[i] = element;
    } else if (o == MakeOperand(OperandKind::Register, site.firstValue + i) ||
               (((site.captured >> i) & 1) != 0 && !proc.params[i].byRef)) {
      // (the register is Empty: the value is moved in without a release)
      ::new (static_cast<void*>(&locals[i])) Variant(std::move(f.locals[site.firstValue + i]));
    } else if (Variant* variable = OperandVariable(code, o, f)) {
      if (proc.params[i].byRef) {
        refs[i] = variable;
      } else {
        locals[i] = *variable;
      }
    } else if ((site.captured >> i) & 1) {
      // (a name that is no variable, its value taken in its turn)
      ::new (static_cast<void*>(&locals[i])) Variant(std::move(f.locals[site.firstValue + i]));
    } else {
      Variant value;  // a name that is no variable (a constant): its value
      locals[i] = OperandValue(code, o, f, value);
    }
  }
}

// Starts the call of a call site whose procedure runs as bytecode and takes as many arguments
// as given, for the dispatch loop to run in place of the caller: the callee's registers are laid on
// the register stack, the arguments go straight into them (values computed for the call are moved,
// variables passed by reference are used in place), then the depth is counted. Null when the call
// takes the general way.
[[gnu::always_inline]] inline Interpreter::CompiledCall* Interpreter::EnterCompiled(
    const Code& code, const CallSite& site, Frame& f, const Instr* ip, Variant* callerScratch) {
  const ProcDef* proc;
  if (site.kept) {
    proc = KeptProcedure(f.locals[site.firstValue - 1]);
    if (!proc) return nullptr;
  } else {
    NameExpr* n = site.callee;
    if (n->ref.kind != NameKind::Global || n->ref.global->kind != GlobalSlot::Procedure) {
      return nullptr;
    }
    proc = n->ref.global->proc;
  }
  // A procedure with code is ready (its body compiled); the code keeps its count of parameters.
  const Code* callee = proc->code.get();
  if (!callee || callee->paramCount != site.args.size()) {
    if (!proc->ready || site.args.size() != proc->params.size()) return nullptr;
    callee = proc->code ? proc->code.get() : CodeOf(proc);
    if (!callee) return nullptr;
  }
  if (callTop_ == calls_.size()) calls_.push_back(std::make_unique<CompiledCall>());
  // The record is taken before anything runs that may call procedures itself (an argument that
  // is a function's name), which then take the records after it.
  CompiledCall& call = *calls_[callTop_++];
  auto count = static_cast<std::size_t>(callee->registerCount);
  call.mark = registers_.Top();
  Variant* locals;
  try {
    locals = registers_.Push(count);
  } catch (...) {
    --callTop_;
    throw;
  }
  try {
    if (site.allValues) {
      // (the registers are Empty: the values are moved in without a release)
      Variant* values = f.locals + site.firstValue;
      for (std::size_t i = 0; i < site.args.size(); ++i) {
        std::memcpy(static_cast<void*>(&locals[i]), static_cast<const void*>(&values[i]),
                    sizeof(Variant));
        ::new (static_cast<void*>(&values[i])) Variant();
        call.refs[i] = &locals[i];
      }
    } else {
      ArgumentsInto(code, site, *proc, f, locals);
    }
    // The depth counted as EnterCall counts it; the C stack does not grow with a call the
    // dispatch loop runs, so only the count limits it (error 28 past it).
    Tick();
    if (++depth_ > maxDepth_) {
      --depth_;
      throw MakeError(kErrOutOfStack);
    }
  } catch (...) {
    registers_.Pop(locals, count, call.mark);
    --callTop_;
    throw;
  }
  call.callerCode = &code;
  call.callerFrame = &f;
  call.callerIp = ip;
  call.callerScratch = callerScratch;
  call.code = callee;
  call.count = count;
  call.frame.locals = locals;
  call.frame.refs = call.refs;
  call.frame.proc = proc;
  call.frame.me = nullptr;
  call.frame.with = nullptr;
  call.frame.block = &proc->block;
  call.frame.resumeNext = false;
  return &call;
}

// Ends the innermost compiled call: the callee's scratch values are released, the depth
// counted down, its registers given back (what they hold released, last first). The record
// stays valid until the next call.
[[gnu::always_inline]] inline const Interpreter::CompiledCall&
Interpreter::LeaveCompiled() noexcept {
  CompiledCall& call = *calls_[callTop_ - 1];
  // (the record stays taken while releases run, which may call procedures)
  if (IsReference(call.scratch[1])) call.scratch[1].Clear();
  if (IsReference(call.scratch[0])) call.scratch[0].Clear();
  LeaveCall();
  registers_.Pop(call.frame.locals, call.count, call.mark);
  --callTop_;
  return call;
}

// The arguments of a compiled call of a script procedure as CallProc takes them: a variable goes
// by reference (its place in `variables`, which holds one per argument), any other value is in
// its temporary firstValue + its index (a name that is no variable, such as a constant, is
// copied there first), from where the callee's parameters take it over.
CallArgs Interpreter::CompiledCallArgs(const Code& code, const std::vector<Operand>& operands,
                                       std::uint16_t firstValue, std::uint8_t captured,
                                       std::uint8_t elements, const ProcDef& proc, Frame& f,
                                       Variant** variables) {
  std::size_t count = operands.size();
  for (std::size_t i = 0; i < count; ++i) {
    Operand o = operands[i];
    if (Variant* element = ElementArgument(firstValue, count, elements, i, f)) {
      variables[i] = element;
      continue;
    }
    if (o == MakeOperand(OperandKind::Register, firstValue + i) ||
        (((captured >> i) & 1) != 0 && (i >= proc.params.size() || !proc.params[i].byRef))) {
      variables[i] = nullptr;
      continue;
    }
    variables[i] = OperandVariable(code, o, f);
    if (!variables[i] && ((captured >> i) & 1) == 0) {
      Variant scratch;
      f.locals[firstValue + i] = OperandValue(code, o, f, scratch);
    }
  }
  CallArgs args;
  args.values = std::span<Variant>(f.locals + firstValue, count);
  args.variables = variables;
  args.moveValues = true;
  return args;
}

// Calls the procedure of a call site: variables go by reference where the parameter is, the
// values computed in temporaries are moved in.
Variant Interpreter::CallSiteProc(const Code& code, const CallSite& site, Frame& f) {
  NameExpr* n = site.callee;
  if (n->ref.kind == NameKind::Builtin) return CallSiteBuiltin(code, site, f);
  const ProcDef* proc = nullptr;
  if (site.kept) {
    proc = KeptProcedure(f.locals[site.firstValue - 1]);
    if (!proc) return CallSiteIntrinsic(code, site, f);  // (what else CallBeginsKept lets on)
  } else if (n->ref.kind == NameKind::Global && n->ref.global->kind == GlobalSlot::Intrinsic) {
    return CallSiteIntrinsic(code, site, f);
  } else if (n->ref.kind == NameKind::Global && n->ref.global->kind == GlobalSlot::Procedure) {
    proc = n->ref.global->proc;
  } else {
    // (simple arguments, which may be evaluated again: redefined while they were evaluated)
    if (site.statement) {
      ExecCall(site.statement, f);
      return Variant();
    }
    return EvalCall(site.call, f, kInvokeGet | kInvokeCall);
  }
  Variant* variables[kMaxCompiledArguments];
  return CallProc(proc, nullptr,
                  CompiledCallArgs(code, site.args, site.firstValue, site.captured, site.elements,
                                   *proc, f, variables));
}

// Eval, Execute, ExecuteGlobal or GetRef called with the value of its one argument (a variable's
// in place, or its temporary's, released once the call is done).
Variant Interpreter::CallSiteIntrinsic(const Code& code, const CallSite& site, Frame& f) {
  Variant& slot = f.locals[site.firstValue];
  struct Release {
    Variant& slot;
    ~Release() {
      if (IsReference(slot)) slot.Clear();
    }
  } release{slot};
  Operand o = site.args[0];
  if (o == MakeOperand(OperandKind::Register, site.firstValue) || (site.captured & 1)) {
    return RunIntrinsic(site.callee->ref.global->intrinsic, slot, f);
  }
  Variant scratch;
  Variant value = OperandValue(code, o, f, scratch);
  return RunIntrinsic(site.callee->ref.global->intrinsic, value, f);
}

// The call of built-in function `site.callee` with its arguments: each a value (a variable's is
// copied into its temporary), as the tree walker evaluates them. The values are released once
// the built-in returns or fails, as the tree walker releases its argument values.
Variant Interpreter::CallSiteBuiltin(const Code& code, const CallSite& site, Frame& f) {
  const NameExpr* n = site.callee;
  std::size_t count = site.args.size();
  Variant* values = f.locals + site.firstValue;
  for (std::size_t i = 0; i < count; ++i) {
    Operand o = site.args[i];
    if (o == MakeOperand(OperandKind::Register, site.firstValue + i)) continue;
    if ((site.captured >> i) & 1) continue;  // (its value taken in its turn)
    Variant scratch;
    values[i] = OperandValue(code, o, f, scratch);
  }
  struct Release {
    Variant* values;
    std::size_t count;
    ~Release() {
      for (std::size_t i = 0; i < count; ++i)
        values[i].Clear();
    }
  } release{values, count};
  std::uint8_t flags = site.statement ? kInvokeCall : kInvokeGet | kInvokeCall;
  return InvokeBuiltin(n->ref.builtin, n->name, std::span<Variant>(values, count), flags);
}

// For head: from, to and step in state[0..3) become the loop's state; false when the loop does
// not start. Integer bounds and step count in integers (state: wide flag, end, step), others
// in Doubles (state: Empty, end, step).
bool Interpreter::ForInit(const Code& code, const Instr& in, Frame& f) {
  Variant* state = f.locals + in.a;
  Variant from, to, step;
  try {
    from = ForNumber(state[0]);
    to = ForNumber(state[1]);
    step = ForNumber(state[2]);
  } catch (RuntimeError& e) {
    // Bounds that are no numbers are a failing head: under On Error Resume Next the body
    // runs once, then the loop's end fails as a loop not started.
    if (!f.resumeNext || aborting_) throw;
    SetErr(e);
    state[0] = Variant::Error(kErrForNotInitialized);
    return true;
  }
  Variant* var = OperandVariable(code, in.b, f);
  if (!var) {
    const NameExpr* n = KindOf(in.b) == OperandKind::Name ? code.names[IndexOf(in.b)] : nullptr;
    throw NamedError(kErrIllegalAssignment, n ? n->name : std::string());
  }
  auto integral = [](const Variant& v) {
    return IsSmallInteger(v.Type()) || v.Type() == VarType::Byte;
  };
  if (integral(from) && integral(to) && integral(step)) {
    std::int64_t cur = ToLong(from), end = ToLong(to), st = ToLong(step);
    bool wide = from.Type() == VarType::Long || step.Type() == VarType::Long;
    Store(*var, Counter(cur, wide));
    Store(state[0], Variant(wide));
    Store(state[1], Variant(static_cast<std::int32_t>(end)));
    Store(state[2], Variant(static_cast<std::int32_t>(st)));
    return st >= 0 ? cur <= end : cur >= end;
  }
  double end = ToDouble(to), st = ToDouble(step);
  Store(*var, from);
  Store(state[0], Variant());
  Store(state[1], Variant(end));
  Store(state[2], std::move(step));
  double cur = ToDouble(*var);
  return st >= 0 ? cur <= end : cur >= end;
}

// For end: the next value of the counter (which the body may have changed); false when the
// loop is done.
bool Interpreter::ForNext(const Code& code, const Instr& in, Frame& f) {
  Tick();
  Variant* state = f.locals + in.a;
  if (state[0].Type() == VarType::Error) throw MakeError(state[0].AsError());  // head failed
  Variant* var = OperandVariable(code, in.b, f);
  if (!var) throw MakeError(kErrIllegalAssignment);
  if (state[0].Type() == VarType::Boolean) {
    bool wide = state[0].AsBool();
    std::int64_t end = state[1].AsLong(), st = state[2].AsLong();
    std::int64_t cur;
    const Variant& v = *var;
    if (v.Type() == VarType::Integer) {
      cur = v.AsInteger();
    } else if (v.Type() == VarType::Long) {
      cur = v.AsLong();
      if (!wide) {
        wide = true;
        state[0] = Variant(true);
      }
    } else {
      // A counter that no longer holds an Integer or a Long (2.5, "3", a Date) steps by the
      // general rules from then on: the loop's state becomes the Double form.
      Store(state[0], Variant());
      Store(state[1], Variant(static_cast<double>(end)));
      Store(state[2], Counter(st, wide));
      return ForNextByRules(*var, state);
    }
    cur += st;
    Store(*var, Counter(cur, wide));
    return st >= 0 ? cur <= end : cur >= end;
  }
  return ForNextByRules(*var, state);
}

bool Interpreter::ForNextByRules(Variant& var, Variant* state) {
  Store(var, Arith(Op::Add, var, state[2]));
  double end = state[1].AsDouble(), st = ToDouble(state[2]);
  double cur = ToDouble(var);
  return st >= 0 ? cur <= end : cur >= end;
}

// The slow paths of the instructions, kept out of the dispatch loop (where no value with a
// destructor may live across a jump).

void Interpreter::BinaryInto(const Instr& in, const Variant& l, const Variant& r, Variant& dst) {
  Variant out;
  ApplyBinary(static_cast<Op>(in.flags & kOpMask), l, r, (in.flags & kLeftLiteral) != 0,
              (in.flags & kRightLiteral) != 0, out);
  Store(dst, std::move(out));
}

bool Interpreter::ComparisonHolds(const Instr& in, const Variant& l, const Variant& r) {
  Variant out;
  ApplyBinary(static_cast<Op>(in.flags & kOpMask), l, r, (in.flags & kLeftLiteral) != 0,
              (in.flags & kRightLiteral) != 0, out);
  return Truth(out);
}

// The slow way of Binary and the integer operators into r[a], which with kRelease then release
// the temporaries among their operands, the right one first (also when the operator fails). The
// Integer literal of an instruction that holds one in c is no operand.
void Interpreter::BinaryIntoReleasing(const Code& code, const Instr& in, const Variant& l,
                                      const Variant& r, Frame& f) {
  bool literal = HasIntegerLiteral(in.op);
  try {
    BinaryInto(in, l, r, f.locals[in.a]);
  } catch (RuntimeError&) {
    if (!literal) ReleaseTemporary(code, in.c, f);
    ReleaseTemporary(code, in.b, f);
    throw;
  }
  if (!literal) ReleaseTemporary(code, in.c, f);
  ReleaseTemporary(code, in.b, f);
}

// The slow ways of the instructions with an Integer literal on the right (held in c).
void Interpreter::BinaryIntoK(const Instr& in, const Variant& l, Variant& dst) {
  BinaryInto(in, l, Variant(static_cast<std::int16_t>(in.c)), dst);
}

bool Interpreter::ComparisonHoldsK(const Instr& in, const Variant& l) {
  return ComparisonHolds(in, l, Variant(static_cast<std::int16_t>(in.c)));
}

// The slow ways of JumpUnless and JumpUnlessK, which with kRelease then release the temporaries
// among their operands, the right one first (also when the comparison fails).
bool Interpreter::ComparisonHoldsReleasing(const Code& code, const Instr& in, const Variant& l,
                                           const Variant& r, Frame& f) {
  if (!(in.flags & kRelease)) return ComparisonHolds(in, l, r);
  bool holds;
  try {
    holds = ComparisonHolds(in, l, r);
  } catch (RuntimeError&) {
    ReleaseTemporary(code, in.c, f);
    ReleaseTemporary(code, in.b, f);
    throw;
  }
  ReleaseTemporary(code, in.c, f);
  ReleaseTemporary(code, in.b, f);
  return holds;
}

bool Interpreter::ComparisonHoldsKReleasing(const Code& code, const Instr& in, const Variant& l,
                                            Frame& f) {
  if (!(in.flags & kRelease)) return ComparisonHoldsK(in, l);
  bool holds;
  try {
    holds = ComparisonHoldsK(in, l);
  } catch (RuntimeError&) {
    ReleaseTemporary(code, in.b, f);
    throw;
  }
  ReleaseTemporary(code, in.b, f);
  return holds;
}

// Whether a JumpWhen jumps on comparing l with r: when the comparison is True, or with
// kNotJump when `Not` of it is not true (False and Null).
bool Interpreter::ComparisonJumps(const Instr& in, const Variant& l, const Variant& r) {
  Variant out;
  ApplyBinary(static_cast<Op>(in.flags & kOpMask), l, r, (in.flags & kLeftLiteral) != 0,
              (in.flags & kRightLiteral) != 0, out);
  return (in.flags & kNotJump) ? !Truth(Not(out)) : Truth(out);
}

bool Interpreter::ComparisonJumpsK(const Instr& in, const Variant& l) {
  return ComparisonJumps(in, l, Variant(static_cast<std::int16_t>(in.c)));
}

// Whether `left` Or / And (`logic`) the comparison of l with r is true; `left` is read once the
// comparison is made.
bool Interpreter::LogicHolds(Op logic, const Instr& in, const Variant& left, const Variant& l,
                             const Variant& r) {
  Variant compared, out;
  ApplyBinary(static_cast<Op>(in.flags & kOpMask), l, r, (in.flags & kLeftLiteral) != 0,
              (in.flags & kRightLiteral) != 0, compared);
  ApplyBinary(logic, left, compared, false, false, out);
  return Truth(out);
}

bool Interpreter::LogicHoldsK(Op logic, const Instr& in, const Variant& left, const Variant& l) {
  return LogicHolds(logic, in, left, l, Variant(static_cast<std::int16_t>(in.c)));
}

bool Interpreter::CaseHolds(const Instr& in, const Variant& subject, const Variant& value) {
  Variant test = value.IsObject() ? Dereference(value) : value;
  bool match = CaseMatches(static_cast<Op>(in.flags & kOpMask), subject, test,
                           (in.flags & kRightLiteral) != 0);
  return (in.flags & kNegate) ? !match : match;
}

void Interpreter::MoveValue(const Variant& v, Variant& dst) {
  if (v.IsObject()) {
    Store(dst, Dereference(v));
  } else {
    dst = v;  // (copying releases the old value after the new one is in)
  }
}

void Interpreter::StoreToName(NameExpr* n, const Variant& v, Frame& f) {
  const NameRef& r = n->ref;
  if (r.kind == NameKind::Global && r.global->kind == GlobalSlot::Variable) {
    MoveValue(v, r.global->value);
  } else {
    Assign(n, v, false, f);
  }
}

void Interpreter::ElementLoad(const Code& code, const Instr& in, Frame& f) {
  std::int32_t subs[kMaxSubscripts];
  for (std::size_t k = 0; k < in.flags; ++k)
    subs[k] = SubscriptValue(f.locals[in.c + k]);
  const Variant* container = OperandSlot(code, in.b, f);  // the subscripts may change it
  if (container && container->IsArray()) {
    Ref<VariantArray> array(container->AsArray());
    Store(f.locals[in.a], array->At(subs, in.flags));
  } else {
    Store(f.locals[in.a], Eval(code.exprs[in.d], f));
  }
}

// The subscript `v + k` or `v - k` of an ElemGetK or ElemSetK, by the operator's rules: v is
// operand c, the operator and k come from the subscript's expression.
Variant Interpreter::OffsetSubscriptValue(const Code& code, const Instr& in, Frame& f) {
  auto* b = static_cast<const BinaryExpr*>(
      WithoutParens(static_cast<CallExpr*>(code.exprs[in.d])->args[0]));
  const Expr* right = WithoutParens(b->right);
  Variant scratch, out;
  ApplyBinary(b->op, OperandValue(code, in.c, f, scratch),
              static_cast<const LiteralExpr*>(right)->value, false, false, out);
  return out;
}

// r[a] = b(subscript) when the fast way in the loop did not apply, in the order of the general
// instructions: the container is checked (no array: the tree walker evaluates the whole
// expression), the subscript computed (operand c, or `v + k` when `offset`), the container looked
// up again, since computing the subscript may change it.
void Interpreter::ElementLoadSingle(const Code& code, const Instr& in, Frame& f, bool offset) {
  const Variant* container = OperandSlot(code, in.b, f);
  if (container && container->IsArray()) {
    std::int32_t sub;
    if (offset) {
      sub = SubscriptValue(OffsetSubscriptValue(code, in, f));
    } else {
      Variant scratch;
      sub = SubscriptValue(OperandValue(code, in.c, f, scratch));
    }
    container = OperandSlot(code, in.b, f);
    if (container && container->IsArray()) {
      Ref<VariantArray> array(container->AsArray());
      Store(f.locals[in.a], array->At(&sub, 1));
      return;
    }
  } else if (Object* obj = container && container->IsObject() ? container->AsObject() : nullptr;
             obj && !AsClassInstance(obj)) {
    Store(f.locals[in.a], DefaultMemberValue(code, in, f, *obj, offset));
    return;
  }
  Store(f.locals[in.a], Eval(code.exprs[in.d], f));
}

// The default member of host object `obj` (the container of an ElemGet1 or ElemGetK) called
// with the subscript, as the tree walker calls it: a variable goes by reference (written back
// when the member changed it), `v + k` by value.
Variant Interpreter::DefaultMemberValue(const Code& code, const Instr& in, Frame& f, Object& obj,
                                        bool offset) {
  Ref<Object> keep(&obj);
  Variant* target = offset ? nullptr : OperandVariable(code, in.c, f);
  Variant argument;
  Variant passed;  // (released before the argument, as the tree walker releases them)
  if (offset) {
    argument = OffsetSubscriptValue(code, in, f);
  } else if (target) {
    passed = *target;
    argument = *target;
  } else {
    Variant scratch;
    argument = OperandValue(code, in.c, f, scratch);
  }
  Variant result =
      obj.Invoke(kDispIdValue, kInvokeGet | kInvokeCall, std::span<Variant>(&argument, 1));
  if (target && !Untouched(argument, passed)) Store(*target, argument);
  return result;
}

// ElemSetK and ElemSet1 the general way: an object value gives its default value first (before
// the subscript is computed, as the value was computed first), and the value's register is
// released once stored.
void Interpreter::ElementStoreK(const Code& code, const Instr& in, Frame& f) {
  Variant& value = f.locals[in.a];
  if (value.IsObject()) Store(value, Dereference(value));
  Variant subscript = OffsetSubscriptValue(code, in, f);
  ElementStore(code, in, &subscript, 1, f);
  if (IsReference(value)) value.Clear();
}

void Interpreter::ElementStore1(const Code& code, const Instr& in, Frame& f) {
  Variant& value = f.locals[in.a];
  if (value.IsObject()) Store(value, Dereference(value));
  Variant scratch;
  Variant subscript = OperandValue(code, in.c, f, scratch);
  ElementStore(code, in, &subscript, 1, f);
  if (IsReference(value)) value.Clear();
}

// Releases what operand `o` holds when it is a temporary (a register past the locals): the
// instruction that read it last is done with it.
void Interpreter::ReleaseTemporary(const Code& code, Operand o, Frame& f) {
  if (KindOf(o) != OperandKind::Register || IndexOf(o) < code.firstTemp) return;
  if (IsReference(f.locals[IndexOf(o)])) f.locals[IndexOf(o)].Clear();
}

// Whether the array element read of `in` goes on in the code: false when the container is no
// array variable, and the tree walker has evaluated the whole expression into r[a].
bool Interpreter::ElementBegins(const Code& code, const Instr& in, Frame& f) {
  const Variant* container = OperandSlot(code, in.b, f);
  if (container && container->IsArray()) return true;
  if (in.flags & kElemToMember) return false;
  Store(f.locals[in.a], Eval(code.exprs[in.d], f));
  return false;
}

// Whether the call of `in` goes on in the code: the name is a procedure that the tree walker
// would call before evaluating the arguments (it is ready, takes as many arguments as given, and
// the call would not fail for the depth), whose failures are raised here, before the arguments,
// as the tree walker raises them (CheckProcCall). Otherwise the tree walker evaluates the whole
// call into r[a] (a call statement: runs it), and the code goes on after CallProc.
bool Interpreter::CallBegins(const Code& code, const Instr& in, Frame& f) {
  NameExpr* n = code.names[in.b];
  NameKind kind = Resolved(n);
  if (kind == NameKind::Global && n->ref.global->kind == GlobalSlot::Procedure) {
    CheckProcCall(*n->ref.global->proc, in.flags & kArgumentCountMask);
    return true;
  } else if (kind == NameKind::Global && n->ref.global->kind == GlobalSlot::Intrinsic) {
    // (Eval, Execute, ExecuteGlobal, GetRef: called in CallSiteProc)
    if ((in.flags & kArgumentCountMask) == 1) return true;
    throw NamedError(kErrWrongArgCount, n->name);
  } else if (kind == NameKind::Global && n->ref.global->kind == GlobalSlot::Class) {
    throw NamedError(kErrTypeMismatch, n->name);  // (a class is no value to call)
  } else if (kind == NameKind::Builtin) {
    // A built-in function: its count (450) and use (13) are checked before the arguments, as
    // the tree walker checks them; it is called with the values in CallSiteBuiltin.
    CheckBuiltinCall(n->ref.builtin, n->name, in.flags & kArgumentCountMask,
                     (in.flags & kCallStatement) ? kInvokeCall : kInvokeGet | kInvokeCall);
    return true;
  }
  bool bare = (in.flags & kCallStatement) &&
              static_cast<CallStmt*>(code.stmts[in.d])->call->kind == ExprKind::Name;
  RaiseCallOnNothing(n, kind, in.flags & kArgumentCountMask, bare, f);
  if (in.flags & kCallStatement) {
    ExecCall(static_cast<CallStmt*>(code.stmts[in.d]), f);
  } else {
    Store(f.locals[in.a], Eval(code.exprs[in.d], f));
  }
  return false;
}

// A variable called that holds nothing to call: the tree walker's error, before the arguments.
// Its bare name as a statement (`x`, `Call x`) calls an object's default member (13 for anything
// else); with arguments, an array or an object answers (13 otherwise, 424 for Nothing); with
// empty parentheses any value is its own.
void Interpreter::RaiseCallOnNothing(NameExpr* n, NameKind kind, std::size_t count, bool bare,
                                     Frame& f) {
  const Variant* value = nullptr;
  if (kind == NameKind::Local || kind == NameKind::ImplicitLocal || kind == NameKind::RefParam ||
      kind == NameKind::Field) {
    value = VariableSlot(n, f);
  } else if (kind == NameKind::Global && (n->ref.global->kind == GlobalSlot::Variable ||
                                          n->ref.global->kind == GlobalSlot::Constant ||
                                          n->ref.global->kind == GlobalSlot::HostObject)) {
    value = &n->ref.global->value;
  }
  if (!value || (value->IsObject() && value->AsObject())) return;
  if (count == 0) {
    if (bare) throw NamedError(kErrTypeMismatch, n->name);
    return;
  }
  if (value->IsArray()) return;
  throw NamedError(value->IsObject() ? kErrObjectRequired : kErrTypeMismatch, n->name);
}

// The errors a call of `proc` with `count` arguments gives before its arguments are evaluated,
// in CallProc's order: a procedure whose block failed to compile, a wrong count (450), a call
// past the depth limit (28, counted against the time limit as a call).
void Interpreter::CheckProcCall(const ProcDef& proc, std::size_t count) {
  if (!proc.ready) throw MakeError(kErrSyntax);
  if (proc.params.size() != count) throw NamedError(kErrWrongArgCount, proc.name);
  if (CallFails()) {
    EnterCall();  // (raises error 28)
    LeaveCall();
  }
}

// The procedure a call site's arguments may not change (CallSite::kept) is kept in a register as
// its address, in a value no script sees (the register lies under the arguments').
Variant Interpreter::KeptHandle(const ProcDef* proc) {
  return Variant::Currency(static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(proc)));
}
const ProcDef* Interpreter::KeptProcedure(const Variant& kept) {
  if (kept.Type() != VarType::Currency) return nullptr;  // (a built-in function)
  return reinterpret_cast<const ProcDef*>(static_cast<std::intptr_t>(kept.AsCurrencyScaled()));
}

// CallBegins for a call site that keeps the procedure found (CallBeginK).
bool Interpreter::CallBeginsKept(const Code& code, const Instr& in, Frame& f) {
  if (!CallBegins(code, in, f)) return false;
  const NameRef& r = code.names[in.b]->ref;
  bool procedure = r.kind == NameKind::Global && r.global->kind == GlobalSlot::Procedure;
  Store(f.locals[in.a], procedure ? KeptHandle(r.global->proc) : Variant());
  return true;
}

// The element argument i of a call passes by reference (see CallSite::elements): its place in
// the array kept for it; null when the argument is a value in its temporary.
Variant* Interpreter::ElementArgument(std::uint16_t firstValue, std::size_t count,
                                      std::uint8_t elements, std::size_t i, Frame& f) {
  if (((elements >> i) & 1) == 0) return nullptr;
  const Variant& kept = f.locals[KeptArray(firstValue, count, elements, i)];
  if (!kept.IsArray()) return nullptr;
  return &kept.AsArray()->Data()[static_cast<std::size_t>(f.locals[firstValue + i].AsLong())];
}
Variant* Interpreter::ElementArgument(const CallSite& site, std::size_t i, Frame& f) {
  return ElementArgument(site.firstValue, site.args.size(), site.elements, i, f);
}

// Whether argument `k` of the call begun at r[begin] (a member site's, or a call site's) goes to
// a parameter that takes a variable by reference, as the tree walker decides where it passes
// variables and array elements: a host member's, a script procedure's declared so (not a
// built-in function's).
bool Interpreter::ArgumentByReference(const MemberSite* site, std::uint16_t begin, std::size_t k,
                                      Frame& f) {
  const ProcDef* proc = nullptr;
  if (site) {
    const Variant& number = f.locals[begin + 1];
    // (a host member: see MemberBegins; an assignment passes it values)
    if (number.Type() != VarType::Integer) return !site->assign;
    auto* inst = static_cast<ClassInstance*>(f.locals[begin].AsObject());
    const ClassMember& m = inst->Class()->members[static_cast<std::size_t>(number.AsInteger())];
    proc = SiteMemberProc(*site, m);
  } else {
    proc = KeptProcedure(f.locals[begin]);
  }
  return proc && k < proc->params.size() && proc->params[k].byRef;
}

// The argument of an ArgRefBegin or ArgRefLocate, and where its call keeps its arguments.
struct Interpreter::ElementSite {
  CallExpr* arg;
  std::uint16_t firstValue;
  std::size_t count;
  std::uint8_t elements;
  std::size_t k;
  bool member;
  int Kept() const { return KeptArray(firstValue, count, elements, k); }
};
Interpreter::ElementSite Interpreter::ElementSiteOf(const Code& code, const Instr& in) {
  ElementSite e{};
  e.member = (in.flags & kMemberSite) != 0;
  e.k = in.flags & kArgumentIndexMask;
  if (e.member) {
    const MemberSite& site = code.members[in.d];
    e.arg = static_cast<CallExpr*>(static_cast<CallExpr*>(site.expr)->args[e.k]);
    e.firstValue = site.firstValue;
    e.count = site.args.size();
    e.elements = site.elements;
  } else {
    const CallSite& site = code.calls[in.d];
    e.arg = static_cast<CallExpr*>(site.call->args[e.k]);
    e.firstValue = site.firstValue;
    e.count = site.args.size();
    e.elements = site.elements;
  }
  return e;
}

// NestLocate: the inner element of a(i)(j) = value located as the tree walker locates it (the
// array made unshared and kept while the outer subscripts are evaluated); false when the
// variable holds no array after the subscripts or the element holds an object, which the
// statement then evaluates as a value. An element holding anything else fails before the outer
// subscripts; the value stored is read for its default value after the element is located.
bool Interpreter::NestedElementLocate(const Code& code, const Instr& in, Frame& f) {
  Variant* regs = f.locals;
  std::size_t count = in.flags & ~kSetElement;
  std::int32_t subs[kMaxSubscripts];
  for (std::size_t k = 0; k < count; ++k)
    subs[k] = SubscriptValue(regs[in.a + 3 + k]);
  Variant* container = OperandVariable(code, in.b, f);
  if (!container || !container->IsArray()) return false;
  MakeUnique(*container);
  Store(regs[in.a + 1], *container);
  Variant& element = container->AsArray()->At(subs, count);
  if (element.IsObject() && element.AsObject()) {
    regs[in.a + 1].Clear();
    return false;
  }
  if (!element.IsArray()) throw MakeError(kErrTypeMismatch);
  auto index = static_cast<std::int32_t>(&element - container->AsArray()->Data().data());
  Store(regs[in.a + 2], Variant(index));
  regs[in.a] = LetValue(std::move(regs[in.a]), (in.flags & kSetElement) != 0);
  return true;
}

// NestStore: the element located by NestLocate written at the outer subscripts in r[c ...]; the
// array kept is let go of after.
void Interpreter::NestedElementStore(const Instr& in, Frame& f) {
  Variant* regs = f.locals;
  std::size_t count = in.flags & ~kSetElement;
  std::int32_t subs[kMaxSubscripts];
  for (std::size_t k = 0; k < count; ++k)
    subs[k] = SubscriptValue(regs[in.c + k]);
  VariantArray* kept = regs[in.a + 1].AsArray();
  Variant& element = kept->Data()[static_cast<std::size_t>(regs[in.a + 2].AsLong())];
  if (!element.IsArray()) throw MakeError(kErrTypeMismatch);
  MakeUnique(element);
  Store(element.AsArray()->At(subs, count), std::move(regs[in.a]));
  regs[in.a + 1].Clear();
}

// NestValue: a(i)(j) = value where a(i) was evaluated as a value: the value read for its default
// value, then the checks the tree walker makes before the outer subscripts.
void Interpreter::NestedValueCheck(const Instr& in, Frame& f) {
  Variant* regs = f.locals;
  regs[in.a] = LetValue(std::move(regs[in.a]), (in.flags & kSetElement) != 0);
  const Variant& object = regs[IndexOf(in.b)];
  if (object.IsArray()) return;
  if (!object.IsObject()) throw MakeError(kErrTypeMismatch);
  if (!object.AsObject()) throw MakeError(kErrObjectRequired);
}

// NestValueSet: the element of that value written (an array's is a copy's: only its errors
// remain), or its default member assigned with the outer subscripts as arguments.
void Interpreter::NestedValueStore(const Instr& in, Frame& f) {
  Variant* regs = f.locals;
  std::size_t count = in.flags & ~kSetElement;
  Variant& object = regs[IndexOf(in.b)];
  if (object.IsArray()) {
    std::int32_t subs[kMaxSubscripts];
    for (std::size_t k = 0; k < count; ++k)
      subs[k] = SubscriptValue(regs[in.c + k]);
    MakeUnique(object);
    Store(object.AsArray()->At(subs, count), std::move(regs[in.a]));
    return;
  }
  Ref<Object> keep(object.AsObject());
  std::vector<Variant> args(regs + in.c, regs + in.c + count);
  args.push_back(std::move(regs[in.a]));
  keep->Invoke(kDispIdValue, (in.flags & kSetElement) ? kInvokeSet : kInvokeLet, args);
}

// ArgRefBegin: whether element argument k goes by reference and array variable b holds an
// array, so that ArgRefLocate locates it; otherwise its value is computed (the array kept for
// it is emptied first).
bool Interpreter::ArgRefBegins(const Code& code, const Instr& in, Frame& f) {
  ElementSite e = ElementSiteOf(code, in);
  Variant& kept = f.locals[e.Kept()];
  if (IsReference(kept)) kept.Clear();
  if (!ArgumentByReference(e.member ? &code.members[in.d] : nullptr, in.a, e.k, f)) return false;
  const Variant* array = OperandSlot(code, in.b, f);
  return array && array->IsArray();
}

// ArgRefLocate: element argument k at the subscripts in r[a ...], located in array variable b
// as the tree walker locates it: the array made unshared and kept, the element's index into the
// argument's temporary. The arrays the call keeps for its other element arguments are its own
// references, no sharing: every element it passes of one array lies in that array. Should the
// subscripts have made the variable no array, the argument is evaluated as the tree walker
// evaluates it then (its value).
void Interpreter::ArgRefLocate(const Code& code, const Instr& in, Frame& f) {
  ElementSite e = ElementSiteOf(code, in);
  std::int32_t subs[kMaxSubscripts];
  std::size_t count = e.arg->args.size();
  for (std::size_t i = 0; i < count; ++i)
    subs[i] = SubscriptValue(f.locals[in.a + i]);
  Variant& slot = f.locals[e.firstValue + e.k];
  Variant* array = OperandSlot(code, in.b, f);
  if (!array || !array->IsArray()) {
    Store(slot, Eval(e.arg, f));
    return;
  }
  std::int32_t held = 0;
  for (std::size_t j = 0; j < e.count; ++j) {
    if (j == e.k || ((e.elements >> j) & 1) == 0) continue;
    const Variant& other = f.locals[KeptArray(e.firstValue, e.count, e.elements, j)];
    held += other.IsArray() && other.AsArray() == array->AsArray();
  }
  MakeUnique(*array, held);
  Variant& element = array->AsArray()->At(subs, count);
  auto index = static_cast<std::int32_t>(&element - array->AsArray()->Data().data());
  Store(f.locals[e.Kept()], *array);
  Store(slot, Variant(index));
}

// ArgCapture: the value of variable argument in.c of the call begun at r[a] is taken now into
// its temporary, as the tree walker takes it in its turn, unless it goes by reference to a
// parameter of the script procedure or method called (which receives the variable itself).
void Interpreter::CaptureArgument(const Code& code, const Instr& in, Frame& f) {
  std::size_t k = in.c;
  const ProcDef* proc = nullptr;
  std::uint16_t firstValue;
  if (in.flags & 1) {
    const MemberSite& site = code.members[in.d];
    firstValue = site.firstValue;
    const Variant& number = f.locals[in.a + 1];
    if (number.Type() == VarType::Integer) {  // (a script member: see MemberBegins)
      auto* inst = static_cast<ClassInstance*>(f.locals[in.a].AsObject());
      const ClassMember& m = inst->Class()->members[static_cast<std::size_t>(number.AsInteger())];
      proc = SiteMemberProc(site, m);
    }
  } else {
    const CallSite& site = code.calls[in.d];
    firstValue = site.firstValue;
    proc = KeptProcedure(f.locals[in.a]);
  }
  // (a name that turns out to be no variable, such as a host's global member, is a value)
  if (proc && k < proc->params.size() && proc->params[k].byRef && OperandVariable(code, in.b, f)) {
    return;
  }
  Variant scratch;
  Store(f.locals[firstValue + k], OperandValue(code, in.b, f, scratch));
}

// The object operand of a member call, read, or assignment, when reading it runs nothing: a
// register (the object the code computed, or a variable), a parameter, a global variable, an
// object the host added by name, a field of the script object running. Null for a name that
// must be evaluated.
[[gnu::always_inline]] inline const Variant* Interpreter::MemberObject(const Code& code, Operand o,
                                                                       Frame& f) {
  if (const Variant* v = PlainOperand(code, o, f)) return v;
  return NamedMemberObject(code, o, f);
}

// MemberObject for a name that is no variable bound to the code.
const Variant* Interpreter::NamedMemberObject(const Code& code, Operand o, Frame& f) {
  if (KindOf(o) != OperandKind::Name) return nullptr;
  NameExpr* n = code.names[IndexOf(o)];
  NameKind kind = Resolved(n);
  if (kind == NameKind::Global && n->ref.global->kind == GlobalSlot::HostObject) {
    return &n->ref.global->value;
  }
  if (kind == NameKind::Field) return VariableSlot(n, f);
  return nullptr;
}

// The procedure a member call or read of script object `inst` runs in the code (a method, or a
// Property Get), when the tree walker would call it before evaluating the arguments: it is
// ready, takes as many arguments as given, and the call would not fail for the depth; a
// getter without parameters given arguments (which index its value) and fields take the tree
// walker's way. Null otherwise.
const ProcDef* Interpreter::CompiledMember(const ClassInstance& inst, int member,
                                           const MemberSite& site) {
  const ClassMember& m = inst.Class()->members[static_cast<std::size_t>(member)];
  if (m.field >= 0) return nullptr;
  const ProcDef* proc = SiteMemberProc(site, m);
  std::size_t count = site.args.size() + (site.assign ? 1 : 0);
  if (!proc || !proc->ready || proc->params.size() != count) return nullptr;
  // (a getter without parameters has no arguments here: the count differs)
  if (member > kMaxScriptMember || CallFails()) return nullptr;
  return proc;
}

// The error the call of script member `member` of `inst` for `site` is sure to give before its
// arguments are evaluated, raised here in InvokeInstance's order: no procedure for that use
// (438), one whose block failed to compile, a wrong count (450), a call past the depth limit
// (28). `object`, the register holding the object (or null), is let go of before the error goes
// on, as the tree walker lets go of it. Returns when the call may run: a field, a getter without
// parameters given arguments (which index its value), a member past kMaxScriptMember, which the
// tree walker then calls.
void Interpreter::RaiseMemberFailure(const ClassInstance& inst, int member, const MemberSite& site,
                                     Variant* object) {
  const ClassMember& m = inst.Class()->members[static_cast<std::size_t>(member)];
  if (m.field >= 0) return;
  const ProcDef* proc = SiteMemberProc(site, m);
  std::size_t count = site.args.size() + (site.assign ? 1 : 0);
  if (proc) {
    const ProcDef* getter =
        m.method ? (m.method->kind == ProcKind::Function ? m.method : nullptr) : m.get;
    if (getter && getter->params.empty() && !site.args.empty() && !site.assign &&
        (site.flags & kInvokeGet) && !(site.flags & (kInvokeLet | kInvokeSet))) {
      return;
    }
    if (proc->ready && proc->params.size() == count && !CallFails()) return;
  }
  try {
    if (!proc) throw NamedError(kErrNoSuchMember, m.name);
    CheckProcCall(*proc, count);
  } catch (...) {
    if (object) Variant gone(std::move(*object));
    throw;
  }
}

// The procedure a script member runs for a member site, as InvokeInstance chooses it: a method,
// else the Property Get (a call or read), Set or Let (an assignment).
const ProcDef* Interpreter::SiteMemberProc(const MemberSite& site, const ClassMember& m) {
  if (m.method) return m.method;
  if (!site.assign) return m.get;
  return site.flags & kInvokeSet ? m.set : m.let;
}

// Whether the member call or read of `in` goes on in the code: the object (read once) holds a
// host object with the member named, or a script object whose member runs as CompiledMember
// says (then r[a] holds the object, r[a+1] the member: a host member's number as a Long, a
// script member's index as an Integer). For anything else (no object, an unknown member, a
// field) the tree walker evaluates the rest of the expression with the object read, into r[a]
// unless it is a statement, and the code goes on after MemberCall. An object the code computed
// into r[a] is moved out of it, so that it is released once the member is done, as the tree
// walker releases it.
// MemberBegins once the object `v` is read.
[[gnu::always_inline]] inline bool Interpreter::MemberBeginsOn(const Code& code, const Instr& in,
                                                               Frame& f, const Variant* v) {
  const MemberSite& site = code.members[in.d];
  bool computed = in.b == MakeOperand(OperandKind::Register, in.a);
  if (site.classMember >= 0) return ClassMemberBegins(code, in, f);
  if (!site.member) return DefaultMemberBegins(code, in, f, v);
  {
    Object* obj = v->IsObject() ? v->AsObject() : nullptr;
    // (an object with a member table is no script object)
    const void* table = obj ? obj->MemberTable() : nullptr;
    ClassInstance* inst = table ? nullptr : AsClassInstance(obj);
    if (obj && !inst) {
      DispId id;
      if (table && table == site.table) {
        id = site.id;
      } else {
        id = obj->GetIdOfName(site.member->name);
        if (table && id != kDispIdUnknown) {
          site.table = table;
          site.id = id;
        }
      }
      if (id != kDispIdUnknown) {
        if (!computed) Store(f.locals[in.a], *v);
        Variant& number = f.locals[in.a + 1];
        if (IsReference(number)) number.Clear();
        Overwrite(number, static_cast<std::int32_t>(id));
        return true;
      }
      // An unknown member: error 438 before the arguments, the object let go of.
      NamedError error(kErrNoSuchMember, MemberName(site.member));
      if (computed) Variant gone(std::move(f.locals[in.a]));
      throw error;
    } else if (inst) {
      int member = FindMember(*inst, site.member, f);  // (error 438 before the arguments)
      const ClassMember& m = inst->Class()->members[static_cast<std::size_t>(member)];
      if (m.field >= 0 && site.args.empty() && !site.assign) {
        // A field read: its value (the object released first, as the tree walker releases it).
        Variant value;
        {
          Variant object = computed ? std::move(f.locals[in.a]) : Variant();
          value = inst->Fields()[static_cast<std::size_t>(m.field)];
        }
        if (!site.statement) Store(f.locals[in.a], std::move(value));
        return false;
      }
      // (a field read with arguments, `o.items(i)`: its value indexed by their values)
      bool indexedField =
          m.field >= 0 && !site.args.empty() && !site.assign && member <= kMaxScriptMember;
      if (indexedField || CompiledMember(*inst, member, site)) {
        if (!computed) Store(f.locals[in.a], *v);
        Variant& number = f.locals[in.a + 1];
        if (IsReference(number)) number.Clear();
        Overwrite(number, static_cast<std::int16_t>(member));
        return true;
      }
      if (!indexedField)
        RaiseMemberFailure(*inst, member, site, computed ? &f.locals[in.a] : nullptr);
    }
  }
  Variant object = computed ? std::move(f.locals[in.a]) : *v;
  RequireObject(object, site.member);
  if (site.assign) {
    Variant value(std::move(f.locals[site.value]));
    AssignMemberOf(object, site.member, &static_cast<CallExpr*>(site.expr)->args, value,
                   (site.flags & kInvokeSet) != 0, f);
    return false;
  }
  Variant result = MemberOf(
      object, site.member, f,
      site.expr->kind == ExprKind::Call ? &static_cast<CallExpr*>(site.expr)->args : nullptr,
      site.flags);
  if (!site.statement) Store(f.locals[in.a], std::move(result));
  return false;
}

// MemberBeginsOn for the default member of a variable, a value computed or an object the host
// added by name (null: a name that is no variable): an object (a script object too, whose
// default member is then invoked through the object interface, as the tree walker invokes it)
// goes on in the code with the default member's number; anything else is indexed by the general
// rules.
bool Interpreter::DefaultMemberBegins(const Code& code, const Instr& in, Frame& f,
                                      const Variant* v) {
  const MemberSite& site = code.members[in.d];
  bool computed = in.b == MakeOperand(OperandKind::Register, in.a);
  Object* obj = v && v->IsObject() ? v->AsObject() : nullptr;
  if (obj) {
    if (!computed) Store(f.locals[in.a], *v);
    Variant& number = f.locals[in.a + 1];
    if (IsReference(number)) number.Clear();
    Overwrite(number, static_cast<std::int32_t>(kDispIdValue));
    return true;
  }
  auto* c = static_cast<CallExpr*>(site.expr);
  if (v && !v->IsArray() && !c->args.empty() && c->callee->kind == ExprKind::Name) {
    // A variable holding neither an array nor an object called with arguments: error 13 (424
    // for Nothing) before them, as IndexValue gives it.
    auto* n = static_cast<NameExpr*>(c->callee);
    NameKind kind = Resolved(n);
    bool variable =
        kind == NameKind::Local || kind == NameKind::ImplicitLocal || kind == NameKind::RefParam ||
        kind == NameKind::Field ||
        (kind == NameKind::Global && n->ref.global->kind != GlobalSlot::Procedure &&
         n->ref.global->kind != GlobalSlot::Intrinsic && n->ref.global->kind != GlobalSlot::Class);
    if (variable) throw NamedError(v->IsObject() ? kErrObjectRequired : kErrTypeMismatch, n->name);
  }
  Variant result;
  if (c->callee->kind == ExprKind::Name) {
    result = EvalCall(c, f, site.flags);
  } else {
    // A value computed (a(i)(j)): indexed as the tree walker indexes it, then released.
    Variant value = computed ? std::move(f.locals[in.a]) : *v;
    result = IndexValue(value, c->args, f, std::string(), site.flags);
  }
  if (!site.statement) Store(f.locals[in.a], std::move(result));
  return false;
}

// MemberBeginsOn for a member of the code's class called by its bare name, with the object
// running in r[a]: it goes on in the code as CompiledMember says; anything else is called as the
// tree walker calls it (the object released first).
bool Interpreter::ClassMemberBegins(const Code& code, const Instr& in, Frame& f) {
  const MemberSite& site = code.members[in.d];
  if (f.me && CompiledMember(*f.me, site.classMember, site)) {
    Variant& number = f.locals[in.a + 1];
    if (IsReference(number)) number.Clear();
    Overwrite(number, static_cast<std::int16_t>(site.classMember));
    return true;
  }
  { Variant object(std::move(f.locals[in.a])); }
  if (f.me && !site.assign) RaiseMemberFailure(*f.me, site.classMember, site, nullptr);
  Variant result;
  if (site.expr->kind == ExprKind::Call) {
    result = EvalCall(static_cast<CallExpr*>(site.expr), f, site.flags);
  } else {
    result = InvokeInstance(*f.me, site.classMember, site.flags, CallArgs{});
  }
  if (!site.statement) Store(f.locals[in.a], std::move(result));
  return false;
}

bool Interpreter::MemberBegins(const Code& code, const Instr& in, Frame& f) {
  if (const Variant* v = MemberObject(code, in.b, f)) return MemberBeginsOn(code, in, f, v);
  // (a default member's name that is no variable is not evaluated here: a procedure's would be
  // called)
  if (!code.members[in.d].member) return DefaultMemberBegins(code, in, f, nullptr);
  Variant scratch;  // a name evaluated (a function's value, a property of the script object)
  Variant named(OperandValue(code, in.b, f, scratch));
  return MemberBeginsOn(code, in, f, &named);
}

// The script member of a MemberCall called as the tree walker calls it: variables go by
// reference where the parameter is, the values computed for the call are moved in. The object
// (moved out of r[a]) is released once the call is done.
Variant Interpreter::ScriptMemberResult(const Code& code, const Instr& in, Frame& f) {
  const MemberSite& site = code.members[in.d];
  Variant object(std::move(f.locals[in.a]));
  auto* inst = static_cast<ClassInstance*>(object.AsObject());
  int member = f.locals[in.a + 1].AsInteger();
  const ClassMember& m = inst->Class()->members[static_cast<std::size_t>(member)];
  if (m.field >= 0) {
    // A field read with arguments: indexed by their values as InvokeInstance indexes it.
    std::vector<Variant> values = SiteArgumentValues(code, site, f, 0);
    CallArgs args;
    args.values = std::span<Variant>(values);
    return InvokeInstance(*inst, member, site.flags, args);
  }
  const ProcDef* proc = SiteMemberProc(site, m);
  Variant* variables[kMaxCompiledArguments];
  if (site.assign) {
    CallArgs args = CompiledCallArgs(code, site.args, site.firstValue, site.captured, site.elements,
                                     *proc, f, variables);
    args.assigned = &f.locals[site.value];
    return CallProc(proc, inst, args);
  }
  return CallProc(proc, inst,
                  CompiledCallArgs(code, site.args, site.firstValue, site.captured, site.elements,
                                   *proc, f, variables));
}

namespace {

// The arguments of a host member call, as the tree walker collects them: the values in order,
// and for each variable passed by reference the variable and the value it had.
struct HostArguments {
  struct ByRef {
    std::size_t index;
    Variant* target;
    Variant passed;
  };
  alignas(Variant) unsigned char valueBytes[kMaxCompiledArguments * sizeof(Variant)];
  alignas(ByRef) unsigned char refBytes[kMaxCompiledArguments * sizeof(ByRef)];
  std::size_t count = 0;
  std::size_t refCount = 0;

  Variant* Values() { return std::launder(reinterpret_cast<Variant*>(valueBytes)); }
  ByRef* Refs() { return std::launder(reinterpret_cast<ByRef*>(refBytes)); }
  HostArguments() = default;
  HostArguments(const HostArguments&) = delete;
  HostArguments& operator=(const HostArguments&) = delete;
  // Released in the tree walker's order: the values passed by reference last first, then the
  // arguments first to last.
  ~HostArguments() {
    for (std::size_t k = refCount; k-- > 0;)
      Refs()[k].~ByRef();
    for (std::size_t k = 0; k < count; ++k)
      Values()[k].~Variant();
  }
};

}  // namespace

// The host member of a MemberCall invoked as the tree walker invokes it: arguments that are
// variables go by reference (written back when the member changed them), the values computed
// for the call are moved in; a member without parameters given arguments has its value indexed
// by them. The object (moved out of r[a]) and the arguments are released before the result is
// stored, the arguments first, as the tree walker releases them.
Variant Interpreter::MemberResult(const Code& code, const Instr& in, Frame& f) {
  const MemberSite& site = code.members[in.d];
  Variant object(std::move(f.locals[in.a]));
  auto id = static_cast<DispId>(f.locals[in.a + 1].AsLong());
  Object* obj = object.AsObject();
  std::size_t count = site.args.size();
  if (site.assign) return HostMemberAssign(code, site, *obj, id, f);
  if (count == 0) return obj->Invoke(id, site.flags, {});
  HostArguments args;
  Variant* values = args.Values();
  for (std::size_t i = 0; i < count; ++i) {
    Operand o = site.args[i];
    if (Variant* element = ElementArgument(site.firstValue, count, site.elements, i, f)) {
      ::new (static_cast<void*>(&args.Refs()[args.refCount]))
          HostArguments::ByRef{i, element, *element};
      ++args.refCount;
      ::new (static_cast<void*>(&values[i])) Variant(*element);
    } else if (o == MakeOperand(OperandKind::Register, site.firstValue + i)) {
      ::new (static_cast<void*>(&values[i])) Variant(std::move(f.locals[site.firstValue + i]));
    } else if ((site.captured >> i) & 1) {
      // (its value taken in its turn, which the member receives and is compared with)
      Variant& taken = f.locals[site.firstValue + i];
      if (Variant* variable = OperandVariable(code, o, f)) {
        ::new (static_cast<void*>(&args.Refs()[args.refCount]))
            HostArguments::ByRef{i, variable, taken};
        ++args.refCount;
      }
      ::new (static_cast<void*>(&values[i])) Variant(std::move(taken));
    } else if (Variant* variable = OperandVariable(code, o, f)) {
      ::new (static_cast<void*>(&args.Refs()[args.refCount]))
          HostArguments::ByRef{i, variable, *variable};
      ++args.refCount;
      ::new (static_cast<void*>(&values[i])) Variant(*variable);
    } else {
      Variant scratch;  // a name that is no variable (a constant): its value
      ::new (static_cast<void*>(&values[i])) Variant(OperandValue(code, o, f, scratch));
    }
    args.count = i + 1;
  }
  bool indexed = false;
  // (a default member called is not indexed instead, as the tree walker invokes it)
  Variant result =
      site.member ? InvokeOrIndex(*obj, id, site.flags, std::span<Variant>(values, count), indexed)
                  : obj->Invoke(id, site.flags, std::span<Variant>(values, count));
  if (indexed) return result;
  for (std::size_t k = 0; k < args.refCount; ++k) {
    HostArguments::ByRef& ref = args.Refs()[k];
    if (!Untouched(values[ref.index], ref.passed)) Store(*ref.target, values[ref.index]);
  }
  return result;
}

// The values of a member site's arguments: a value computed for the call or taken in its turn
// is moved out of its temporary, a variable's value is copied as it is now. Room is left for
// `spare` more values.
std::vector<Variant> Interpreter::SiteArgumentValues(const Code& code, const MemberSite& site,
                                                     Frame& f, std::size_t spare) {
  std::vector<Variant> values;
  values.reserve(site.args.size() + spare);
  for (std::size_t i = 0; i < site.args.size(); ++i) {
    Operand o = site.args[i];
    if (o == MakeOperand(OperandKind::Register, site.firstValue + i) ||
        ((site.captured >> i) & 1)) {
      values.push_back(std::move(f.locals[site.firstValue + i]));
    } else {
      Variant scratch;
      values.push_back(OperandValue(code, o, f, scratch));
    }
  }
  return values;
}

// A host member assigned with arguments (`o.Item(k) = v`) as the tree walker assigns it: the
// arguments by value (a variable's as it is now, or as taken in its turn), then the value.
Variant Interpreter::HostMemberAssign(const Code& code, const MemberSite& site, Object& obj,
                                      DispId id, Frame& f) {
  std::vector<Variant> values = SiteArgumentValues(code, site, f, 1);
  bool isSet = (site.flags & kInvokeSet) != 0;
  values.push_back(LetValue(std::move(f.locals[site.value]), isSet));
  return obj.Invoke(id, site.flags, values);
}

// member(object b) = r[a] (Set with kSetFlag): the value was computed first (and, for Set, found
// to be an object), then the object; the member is looked up and assigned as the tree walker
// assigns it. An object the code computed into a temporary is released first, then the value.
void Interpreter::MemberStore(const Code& code, const Instr& in, Frame& f) {
  auto* m = static_cast<MemberExpr*>(code.exprs[in.d]);
  Variant value(std::move(f.locals[in.a]));
  Variant object;
  if (const Variant* v = MemberObject(code, in.b, f)) {
    object = (in.flags & kComputed) ? std::move(f.locals[IndexOf(in.b)]) : *v;
  } else {
    Variant scratch;
    object = OperandValue(code, in.b, f, scratch);
  }
  RequireObject(object, m);
  AssignMemberOf(object, m, nullptr, value, (in.flags & kSetFlag) != 0, f);
}

// ElemSetCheck: the container of an element assigned holds an array or an object (not
// Nothing), else the error the tree walker finds before the subscripts. A name that is no
// variable is left to ElementStore's general way.
void Interpreter::ElementTargetCheck(const Code& code, const Instr& in, Frame& f) {
  const Variant* container = OperandVariable(code, in.b, f);
  if (!container || container->IsArray()) return;
  auto* target = static_cast<CallExpr*>(code.exprs[in.d]);
  const std::string& name = static_cast<NameExpr*>(target->callee)->name;
  if (!container->IsObject()) throw NamedError(kErrTypeMismatch, name);
  if (!container->AsObject()) throw NamedError(kErrObjectRequired, name);
}

// ReDimItem: the item's array made with the counts of its dimensions in r[a ...].
void Interpreter::ReDimFromCounts(const Code& code, const Instr& in, Frame& f) {
  auto* s = static_cast<ReDimStmt*>(code.stmts[in.d]);
  std::size_t count = in.flags & 0x7F;
  std::vector<VariantArray::Bound> bounds;
  bounds.reserve(count);
  for (std::size_t j = 0; j < count; ++j)
    bounds.push_back({0, f.locals[in.a + j].AsLong()});
  ReDimItem(s->items[in.c], std::move(bounds), (in.flags & 0x80) != 0, f);
}

// AppendBegin: whether x = x & a & b (statement d) appends in place, as the tree walker decides:
// variable b holds a string and the pieces cannot change it.
bool Interpreter::AppendBegins(const Code& code, const Instr& in, Frame& f) {
  const Variant* slot = OperandVariable(code, in.b, f);
  return slot && slot->IsString() && PiecesPure(static_cast<AssignStmt*>(code.stmts[in.d]));
}

// AppendPart: piece b made text into r[a] in its turn (a temporary it was computed in released).
void Interpreter::AppendPart(const Code& code, const Instr& in, Frame& f) {
  Variant scratch;
  Variant text = AppendText(OperandValue(code, in.b, f, scratch));
  ReleaseTemporary(code, in.b, f);
  Store(f.locals[in.a], std::move(text));
}

// AppendJoin: the texts r[a .. a+flags) appended to variable b's string where it lives, then
// released. (Should the conversions have changed the variable, it is joined by the & operator.)
void Interpreter::AppendJoin(const Code& code, const Instr& in, Frame& f) {
  Variant* parts = f.locals + in.a;
  std::size_t count = in.flags;
  struct Release {
    Variant* parts;
    std::size_t count;
    ~Release() {
      for (std::size_t i = 0; i < count; ++i)
        parts[i].Clear();
    }
  } release{parts, count};
  Variant* slot = OperandVariable(code, in.b, f);
  if (!slot) throw MakeError(kErrIllegalAssignment);
  if (!slot->IsString()) {
    Variant joined = *slot;
    for (std::size_t i = 0; i < count; ++i) {
      Variant next;
      ApplyBinary(Op::Concat, joined, parts[i], false, false, next);
      joined = std::move(next);
    }
    Store(*slot, std::move(joined));
    return;
  }
  std::size_t total = slot->AsString().size();
  for (std::size_t i = 0; i < count; ++i) {
    if (parts[i].IsString()) total += parts[i].AsString().size();
  }
  CheckStringLength(total);
  SharedString& text = slot->MutableString();
  for (std::size_t i = 0; i < count; ++i) {
    if (parts[i].IsString()) text.Append(parts[i].AsString().View());
  }
}

// Target expression d = r[a] (Set with flags 1; the value found to be an object), assigned by
// the tree walker's rules for a target that is a name.
void Interpreter::AssignToTarget(const Code& code, const Instr& in, Frame& f) {
  Variant value(std::move(f.locals[in.a]));
  Assign(code.exprs[in.d], std::move(value), in.flags != 0, f);
}

namespace {

// The enumerator of a For Each loop over a collection, held in a register of the loop.
class LoopEnumerator final : public Object {
 public:
  explicit LoopEnumerator(Ref<Enumerator> e) : items(std::move(e)) {}
  std::string TypeName() const override { return "Object"; }
  Ref<Enumerator> items;
};

}  // namespace

// For Each head: the collection in r[a] (as it is) is an array (r[a+1] = 0, the next index) or
// an object with an enumerator (r[a+1] holds it); error 451 for anything else, as the tree
// walker finds it.
void Interpreter::ForEachBegins(const Code& code, const Instr& in, Frame& f) {
  const Variant& collection = f.locals[in.a];
  Variant& state = f.locals[in.a + 1];
  if (collection.IsArray()) {
    Store(state, Variant(static_cast<std::int32_t>(0)));
    return;
  }
  Ref<Enumerator> items =
      EnumeratorOf(collection, static_cast<ForEachStmt*>(code.stmts[in.d])->collection);
  Store(state, Variant(Ref<Object>(MakeRef<LoopEnumerator>(std::move(items)))));
}

// For Each end (and start): the next item into the variable, true while there is one; once the
// items run out the variable is Empty. A loop whose head failed (under On Error Resume Next,
// after its body ran once) fails here with 451; a variable that cannot be assigned gives 501.
bool Interpreter::ForEachStep(const Code& code, const Instr& in, Frame& f) {
  Variant& state = f.locals[in.a + 1];
  if (state.Type() == VarType::Error) throw MakeError(kErrNotCollection);
  Variant* var = OperandVariable(code, in.b, f);
  if (!var) {
    // (only a name may stand for no variable)
    throw NamedError(kErrIllegalAssignment, KindOf(in.b) == OperandKind::Name
                                                ? code.names[IndexOf(in.b)]->name
                                                : std::string());
  }
  if (state.IsObject()) {
    Variant item;
    if (static_cast<LoopEnumerator*>(state.AsObject())->items->Next(item)) {
      Tick();
      Store(*var, std::move(item));
      return true;
    }
  } else {
    const Variant& collection = f.locals[in.a];
    std::int32_t next = state.AsLong();
    if (static_cast<std::size_t>(next) < collection.AsArray()->Size()) {
      Overwrite(state, next + 1);
      Tick();
      Ref<VariantArray> array(collection.AsArray());  // (the store may run a Class_Terminate)
      Store(*var, array->Data()[static_cast<std::size_t>(next)]);
      return true;
    }
  }
  Store(*var, Variant());
  return false;
}

void Interpreter::MemberInvoke(const Code& code, const Instr& in, Frame& f) {
  Variant result = f.locals[in.a + 1].Type() == VarType::Integer ? ScriptMemberResult(code, in, f)
                                                                 : MemberResult(code, in, f);
  if (!code.members[in.d].statement) Store(f.locals[in.a], std::move(result));
}

void Interpreter::SetCounter(Variant& dst, std::int64_t value, bool wide) {
  Store(dst, Counter(value, wide));
}

// clang-format off (the dispatch macros open and close blocks it cannot follow)
Flow Interpreter::RunCode(const Code& entryCode, Frame& entryFrame) {
  // The code and frame running: the entry's, or those of a compiled procedure called from
  // compiled code, which runs in this same loop (calls_ from `base` on hold the callers to go
  // back to, innermost last).
  const Code* code = &entryCode;
  Frame* f = &entryFrame;
  const Instr* ip = code->instrs.data();
  // The instruction at `pc` of the code running (read from the code, which frees a register).
  auto at = [&](std::uint32_t pc) { return code->instrs.data() + pc; };
  // The values of name operands that are no variables (a call's result), held until the
  // statement's end: the entry's, or the called procedure's own.
  Variant entryScratch[2];
  Variant* scratch = entryScratch;
  Flow flow = Flow::Normal;
  const std::size_t base = callTop_;
  // An error that left a called procedure, to be raised again at the caller's call.
  std::exception_ptr pending;
  // Whatever leaves the loop leaves the procedures it called too (their registers released).
  struct Unwind {
    Interpreter* self;
    std::size_t base;
    ~Unwind() {
      while (self->callTop_ > base)
        self->LeaveCompiled();
    }
  } unwind{this, base};
  // Goes on in the caller of the innermost compiled call, at its call instruction.
  auto backToCaller = [&](const CompiledCall& call) {
    code = call.callerCode;
    f = call.callerFrame;
    ip = call.callerIp;
    scratch = call.callerScratch;
  };

  auto src = [&](Operand o, Variant& held) -> const Variant& {
    return OperandValue(*code, o, *f, held);
  };
  // The global variable a name operand is bound to, else the general way's variable (which
  // binds it when it is one).
  auto namedVariable = [&](Operand o) -> Variant* {
    if (Variant* bound = code->directs[IndexOf(o)]) return bound;
    return DirectVariable(*code, o, *f);
  };
  // A name operand: the global variable bound to it in place, else the general way.
  auto named = [&](Operand o, Variant& held) -> const Variant& {
    if (const Variant* bound = code->directs[IndexOf(o)]) return *bound;
    return UnboundNameValue(*code, o, *f, held);
  };

  // Under On Error Resume Next a caught error goes on at its range's resume point.
  for (;;) {
    try {
      if (pending) std::rethrow_exception(std::exchange(pending, nullptr));
#ifdef SL_VBS_THREADED
      static void* const kLabels[] = {
#define SL_VBS_LABEL(name) &&op_##name,
          SL_VBS_OPCODES(SL_VBS_LABEL)
#undef SL_VBS_LABEL
      };
#define OP(name) op_##name:
#define NEXT goto* kLabels[static_cast<std::size_t>(ip->op)]
      NEXT;
#else
#define OP(name) case Opcode::name:
#define NEXT continue
      for (;;) {
        switch (ip->op) {
#endif

// An instruction that a function of the interpreter carries out, then the next.
#define SL_VBS_STEP(name, function) \
  OP(name) {                        \
    function(*code, *ip, *f);       \
    ++ip;                           \
    NEXT;                           \
  }
// An instruction whose function tells whether the code goes on with the next instruction or
// takes the general way at c.
#define SL_VBS_BEGIN(name, function)                    \
  OP(name) {                                            \
    ip = function(*code, *ip, *f) ? ip + 1 : at(ip->c); \
    NEXT;                                               \
  }

// r[a] = the value of b, read by `fetch`; flags 1: a temporary b is released.
#define SL_VBS_MOVE(name, fetch)                         \
  OP(name) {                                             \
    const Variant& v = fetch;                            \
    if (!EitherIsReference(v, f->locals[ip->a])) {       \
      CopyValue(f->locals[ip->a], v);                    \
    } else {                                             \
      MoveValue(v, f->locals[ip->a]);                    \
      if (ip->flags) ReleaseTemporary(*code, ip->b, *f); \
    }                                                    \
    ++ip;                                                \
    NEXT;                                                \
  }
      SL_VBS_MOVE(Move, src(ip->b, scratch[0]))
      SL_VBS_MOVE(MoveN, named(ip->b, scratch[0]))
      SL_VBS_MOVE(MoveP, *f->refs[IndexOf(ip->b)])
#undef SL_VBS_MOVE
      OP(Copy) {
        CopyValue(f->locals[ip->a], src(ip->b, scratch[0]));
        ++ip;
        NEXT;
      }
      OP(Clear) {
        // Only what a statement's temporaries hold that must be released: every temporary
        // is written before it is read, so numbers may stay.
        if (AnyReference(f->locals + ip->a, ip->b)) {
          for (std::uint16_t k = 0; k < ip->b; ++k) {
            if (IsReference(f->locals[ip->a + k])) f->locals[ip->a + k].Clear();
          }
        }
        if (ip->flags) {  // a name operand may have kept a call's result
          if (IsReference(scratch[0])) scratch[0].Clear();
          if (IsReference(scratch[1])) scratch[1].Clear();
        }
        ++ip;
        NEXT;
      }
      OP(Binary) {
        if (ip->flags & kRelease) {
          BinaryIntoReleasing(*code, *ip, src(ip->b, scratch[0]), src(ip->c, scratch[1]), *f);
          ++ip;
          NEXT;
        }
        BinaryInto(*ip, src(ip->b, scratch[0]), src(ip->c, scratch[1]), f->locals[ip->a]);
        ++ip;
        NEXT;
      }
// Two Integers compute in 32 bits (no sum, difference, product or remainder of two Integers
// leaves that range) and give an Integer, or a Long past the Integer range; with a Long they
// compute in 64 bits and give a Long, or a Double past the Long range. A register that holds
// no string, object or array takes the result without a release check.
#define SL_VBS_INTEGER_OP(name, expr, guard, fetch)                              \
  OP(name) {                                                                     \
    const Variant& l = fetch;                                                    \
    const Variant& r = src(ip->c, scratch[1]);                                   \
    Variant& dst = f->locals[ip->a];                                             \
    VarType tl = l.Type(), tr = r.Type();                                        \
    if (tl == VarType::Integer && tr == VarType::Integer && !IsReference(dst)) { \
      std::int32_t x = l.AsInteger(), y = r.AsInteger();                         \
      if (guard) {                                                               \
        PutInteger(dst, expr);                                                   \
        ++ip;                                                                    \
        NEXT;                                                                    \
      }                                                                          \
    } else if (IsSmallInteger(tl) && IsSmallInteger(tr)) {                       \
      std::int64_t x = SmallInteger(l), y = SmallInteger(r);                     \
      if (guard) {                                                               \
        if (!IsReference(dst)) {                                                 \
          PutLong(dst, expr);                                                    \
        } else {                                                                 \
          SetCounter(dst, expr, Wide(l, r));                                     \
        }                                                                        \
        ++ip;                                                                    \
        NEXT;                                                                    \
      }                                                                          \
    }                                                                            \
    if (ip->flags & kRelease) {                                                  \
      BinaryIntoReleasing(*code, *ip, l, r, *f);                                 \
    } else {                                                                     \
      BinaryInto(*ip, l, r, dst);                                                \
    }                                                                            \
    ++ip;                                                                        \
    NEXT;                                                                        \
  }
      SL_VBS_INTEGER_OP(AddInt, x + y, true, src(ip->b, scratch[0]))
      SL_VBS_INTEGER_OP(SubInt, x - y, true, src(ip->b, scratch[0]))
      SL_VBS_INTEGER_OP(MulInt, x * y, true, src(ip->b, scratch[0]))
      SL_VBS_INTEGER_OP(ModInt, x % y, y != 0, src(ip->b, scratch[0]))
      SL_VBS_INTEGER_OP(AddIntN, x + y, true, named(ip->b, scratch[0]))
      SL_VBS_INTEGER_OP(SubIntN, x - y, true, named(ip->b, scratch[0]))
      SL_VBS_INTEGER_OP(MulIntN, x * y, true, named(ip->b, scratch[0]))
      SL_VBS_INTEGER_OP(ModIntN, x % y, y != 0, named(ip->b, scratch[0]))
#undef SL_VBS_INTEGER_OP
// The same with an Integer literal on the right, held in the instruction.
#define SL_VBS_INTEGER_OP_K(name, expr, guard, fetch)                                    \
  OP(name) {                                                                             \
    const Variant& l = fetch;                                                            \
    Variant& dst = f->locals[ip->a];                                                     \
    std::int32_t y = static_cast<std::int16_t>(ip->c);                                   \
    if (l.Type() == VarType::Integer && !IsReference(dst)) {                             \
      std::int32_t x = l.AsInteger();                                                    \
      if (guard) {                                                                       \
        PutInteger(dst, expr);                                                           \
        ++ip;                                                                            \
        NEXT;                                                                            \
      }                                                                                  \
    } else if (l.Type() == VarType::Long && !IsReference(dst)) {                         \
      std::int64_t x = l.AsLong();                                                       \
      if (guard) {                                                                       \
        PutLong(dst, expr);                                                              \
        ++ip;                                                                            \
        NEXT;                                                                            \
      }                                                                                  \
    }                                                                                    \
    if (ip->flags & kRelease) {                                                          \
      BinaryIntoReleasing(*code, *ip, l, Variant(static_cast<std::int16_t>(ip->c)), *f); \
    } else {                                                                             \
      BinaryIntoK(*ip, l, dst);                                                          \
    }                                                                                    \
    ++ip;                                                                                \
    NEXT;                                                                                \
  }
      SL_VBS_INTEGER_OP_K(AddIntK, x + y, true, src(ip->b, scratch[0]))
      SL_VBS_INTEGER_OP_K(SubIntK, x - y, true, src(ip->b, scratch[0]))
      SL_VBS_INTEGER_OP_K(MulIntK, x * y, true, src(ip->b, scratch[0]))
      SL_VBS_INTEGER_OP_K(ModIntK, x % y, y != 0, src(ip->b, scratch[0]))
      SL_VBS_INTEGER_OP_K(AddIntKN, x + y, true, named(ip->b, scratch[0]))
      SL_VBS_INTEGER_OP_K(SubIntKN, x - y, true, named(ip->b, scratch[0]))
      SL_VBS_INTEGER_OP_K(MulIntKN, x * y, true, named(ip->b, scratch[0]))
      SL_VBS_INTEGER_OP_K(ModIntKN, x % y, y != 0, named(ip->b, scratch[0]))
      SL_VBS_INTEGER_OP_K(AddIntKP, x + y, true, *f->refs[IndexOf(ip->b)])
      SL_VBS_INTEGER_OP_K(SubIntKP, x - y, true, *f->refs[IndexOf(ip->b)])
      SL_VBS_INTEGER_OP_K(MulIntKP, x * y, true, *f->refs[IndexOf(ip->b)])
      SL_VBS_INTEGER_OP_K(ModIntKP, x % y, y != 0, *f->refs[IndexOf(ip->b)])
#undef SL_VBS_INTEGER_OP_K
      OP(CompareK) {
        const Variant& l = src(ip->b, scratch[0]);
        if (IsSmallInteger(l.Type()) && !IsReference(f->locals[ip->a])) {
          Overwrite(f->locals[ip->a],
                    IntegerCompare(static_cast<Op>(ip->flags & kOpMask), SmallInteger(l),
                                   static_cast<std::int16_t>(ip->c)));
        } else {
          BinaryIntoK(*ip, l, f->locals[ip->a]);
        }
        ++ip;
        NEXT;
      }
      OP(AndOp) {
        const Variant& l = src(ip->b, scratch[0]);
        const Variant& r = src(ip->c, scratch[1]);
        if (l.Type() == VarType::Boolean && r.Type() == VarType::Boolean &&
            !IsReference(f->locals[ip->a])) {
          Overwrite(f->locals[ip->a], l.AsBool() && r.AsBool());
        } else {
          BinaryInto(*ip, l, r, f->locals[ip->a]);
        }
        ++ip;
        NEXT;
      }
      OP(OrOp) {
        const Variant& l = src(ip->b, scratch[0]);
        const Variant& r = src(ip->c, scratch[1]);
        if (l.Type() == VarType::Boolean && r.Type() == VarType::Boolean &&
            !IsReference(f->locals[ip->a])) {
          Overwrite(f->locals[ip->a], l.AsBool() || r.AsBool());
        } else {
          BinaryInto(*ip, l, r, f->locals[ip->a]);
        }
        ++ip;
        NEXT;
      }
      OP(Compare) {
        const Variant& l = src(ip->b, scratch[0]);
        const Variant& r = src(ip->c, scratch[1]);
        if (IsSmallInteger(l.Type()) && IsSmallInteger(r.Type())) {
          bool holds = IntegerCompare(static_cast<Op>(ip->flags & kOpMask), SmallInteger(l),
                                      SmallInteger(r));
          if (!IsReference(f->locals[ip->a])) {
            Overwrite(f->locals[ip->a], holds);
          } else {
            Store(f->locals[ip->a], Variant(holds));
          }
        } else {
          BinaryInto(*ip, l, r, f->locals[ip->a]);
        }
        ++ip;
        NEXT;
      }
      OP(Unary) {
        Store(f->locals[ip->a], static_cast<Op>(ip->flags) == Op::Neg
                                    ? Negate(src(ip->b, scratch[0]))
                                    : Not(src(ip->b, scratch[0])));
        ++ip;
        NEXT;
      }
      OP(Jump) {
        ip = at(ip->d);
        NEXT;
      }
      OP(Loop) {
        Tick();
        ip = at(ip->d);
        NEXT;
      }
      OP(JumpIfFalse) {
        ip = Truth(src(ip->b, scratch[0])) ? ip + 1 : at(ip->d);
        NEXT;
      }
      OP(JumpIfTrue) {
        ip = Truth(src(ip->b, scratch[0])) ? at(ip->d) : ip + 1;
        NEXT;
      }
      OP(JumpUnless) {
        const Variant& l = src(ip->b, scratch[0]);
        const Variant& r = src(ip->c, scratch[1]);
        bool holds = IsSmallInteger(l.Type()) && IsSmallInteger(r.Type())
                         ? IntegerCompare(static_cast<Op>(ip->flags & kOpMask), SmallInteger(l),
                                          SmallInteger(r))
                         : ComparisonHoldsReleasing(*code, *ip, l, r, *f);
        ip = holds ? ip + 1 : at(ip->d);
        NEXT;
      }
// A comparison with an Integer literal (c) that jumps, b read by `fetch`.
#define SL_VBS_JUMP_UNLESS_K(name, fetch)                                                    \
  OP(name) {                                                                                 \
    const Variant& l = fetch;                                                                \
    bool holds = IsSmallInteger(l.Type())                                                    \
                     ? IntegerCompare(static_cast<Op>(ip->flags & kOpMask), SmallInteger(l), \
                                      static_cast<std::int16_t>(ip->c))                      \
                     : ComparisonHoldsKReleasing(*code, *ip, l, *f);                         \
    ip = holds ? ip + 1 : at(ip->d);                                                         \
    NEXT;                                                                                    \
  }
      SL_VBS_JUMP_UNLESS_K(JumpUnlessK, src(ip->b, scratch[0]))
      SL_VBS_JUMP_UNLESS_K(JumpUnlessKN, named(ip->b, scratch[0]))
      SL_VBS_JUMP_UNLESS_K(JumpUnlessKP, *f->refs[IndexOf(ip->b)])
#undef SL_VBS_JUMP_UNLESS_K
      OP(JumpWhen) {
        const Variant& l = src(ip->b, scratch[0]);
        const Variant& r = src(ip->c, scratch[1]);
        bool jumps = IsSmallInteger(l.Type()) && IsSmallInteger(r.Type())
                         ? IntegerCompare(static_cast<Op>(ip->flags & kOpMask), SmallInteger(l),
                                          SmallInteger(r))
                         : ComparisonJumps(*ip, l, r);
        ip = jumps ? at(ip->d) : ip + 1;
        NEXT;
      }
#define SL_VBS_JUMP_WHEN_K(name, fetch)                                                      \
  OP(name) {                                                                                 \
    const Variant& l = fetch;                                                                \
    bool jumps = IsSmallInteger(l.Type())                                                    \
                     ? IntegerCompare(static_cast<Op>(ip->flags & kOpMask), SmallInteger(l), \
                                      static_cast<std::int16_t>(ip->c))                      \
                     : ComparisonJumpsK(*ip, l);                                             \
    ip = jumps ? at(ip->d) : ip + 1;                                                         \
    NEXT;                                                                                    \
  }
      SL_VBS_JUMP_WHEN_K(JumpWhenK, src(ip->b, scratch[0]))
      SL_VBS_JUMP_WHEN_K(JumpWhenKN, named(ip->b, scratch[0]))
      SL_VBS_JUMP_WHEN_K(JumpWhenKP, *f->refs[IndexOf(ip->b)])
#undef SL_VBS_JUMP_WHEN_K
// r[a] Or / And a comparison, for a jump: the comparison first, then r[a] is read (as the
// operator reads its left side after computing its right); a Boolean and an integer comparison
// combine here, everything else by the operator's rules.
#define SL_VBS_LOGIC_JUMP(name, combine, rightIsInteger, rightInteger, slow)                   \
  OP(name) {                                                                                   \
    const Variant& l = src(ip->b, scratch[0]);                                                 \
    const Variant& r = src(ip->c, scratch[1]);                                                 \
    if (IsSmallInteger(l.Type()) && (rightIsInteger)) {                                        \
      bool holds =                                                                             \
          IntegerCompare(static_cast<Op>(ip->flags & kOpMask), SmallInteger(l), rightInteger); \
      if (f->locals[ip->a].Type() == VarType::Boolean) {                                       \
        ip = (f->locals[ip->a].AsBool() combine holds) ? ip + 1 : at(ip->d);                   \
        NEXT;                                                                                  \
      }                                                                                        \
    }                                                                                          \
    ip = (slow) ? ip + 1 : at(ip->d);                                                          \
    NEXT;                                                                                      \
  }
      SL_VBS_LOGIC_JUMP(OrUnless, ||, IsSmallInteger(r.Type()), SmallInteger(r),
                        LogicHolds(Op::Or, *ip, f->locals[ip->a], l, r))
      SL_VBS_LOGIC_JUMP(AndUnless, &&, IsSmallInteger(r.Type()), SmallInteger(r),
                        LogicHolds(Op::And, *ip, f->locals[ip->a], l, r))
#undef SL_VBS_LOGIC_JUMP
// The same with an Integer literal on the right of the comparison, held in c.
#define SL_VBS_LOGIC_JUMP_K(name, logic, combine)                                        \
  OP(name) {                                                                             \
    const Variant& l = src(ip->b, scratch[0]);                                           \
    if (IsSmallInteger(l.Type()) && f->locals[ip->a].Type() == VarType::Boolean) {       \
      bool holds = IntegerCompare(static_cast<Op>(ip->flags & kOpMask), SmallInteger(l), \
                                  static_cast<std::int16_t>(ip->c));                     \
      ip = (f->locals[ip->a].AsBool() combine holds) ? ip + 1 : at(ip->d);               \
      NEXT;                                                                              \
    }                                                                                    \
    ip = LogicHoldsK(logic, *ip, f->locals[ip->a], l) ? ip + 1 : at(ip->d);              \
    NEXT;                                                                                \
  }
      SL_VBS_LOGIC_JUMP_K(OrUnlessK, Op::Or, ||)
      SL_VBS_LOGIC_JUMP_K(AndUnlessK, Op::And, &&)
#undef SL_VBS_LOGIC_JUMP_K
#undef SL_VBS_LOGIC_JUMP
      OP(CaseJump) {
        ip = CaseHolds(*ip, f->locals[ip->a], src(ip->b, scratch[0])) ? at(ip->d) : ip + 1;
        NEXT;
      }
      OP(StoreName) {
        // A number or Boolean into a global variable that holds none of string, object or
        // array is a plain copy; the rest goes the general way.
        const Variant& v = src(ip->b, scratch[0]);
        Variant* bound = code->directs[ip->c];
        if (!bound) bound = BindGlobal(*code, ip->c, code->names[ip->c]->ref);
        if (bound && !EitherIsReference(v, *bound)) {
          CopyValue(*bound, v);
          ++ip;
          NEXT;
        }
        StoreToName(code->names[ip->c], v, *f);
        if (ip->flags) ReleaseTemporary(*code, ip->b, *f);
        ++ip;
        NEXT;
      }
      OP(StoreRef) {
        MoveValue(src(ip->b, scratch[0]), *f->refs[ip->c]);
        if (ip->flags) ReleaseTemporary(*code, ip->b, *f);
        ++ip;
        NEXT;
      }
      // An element of a one-dimensional array held in a local, parameter or global variable,
      // at an Integer or Long subscript in range, is read and written here; everything else
      // (and every error) takes the general way.
      OP(ElemBegin) {
        const Variant* container = DirectVariable(*code, ip->b, *f);
        if (container && container->IsArray()) {
          ++ip;
          NEXT;
        }
        ip = ElementBegins(*code, *ip, *f) ? ip + 1 : at(ip->c);
        NEXT;
      }
      OP(ElemGet) {
        if (ip->flags == 1) {
          if (const Variant* e = FindElement(DirectVariable(*code, ip->b, *f), &f->locals[ip->c])) {
            CopyValue(f->locals[ip->a], *e);
            ++ip;
            NEXT;
          }
        }
        ElementLoad(*code, *ip, *f);
        ++ip;
        NEXT;
      }
#define SL_VBS_ELEMGET1(name, variableB)                                             \
  OP(name) {                                                                         \
    if (const Variant* e = FindElement(variableB, PlainOperand(*code, ip->c, *f))) { \
      CopyValue(f->locals[ip->a], *e);                                               \
      ++ip;                                                                          \
      NEXT;                                                                          \
    }                                                                                \
    ElementLoadSingle(*code, *ip, *f, false);                                        \
    ++ip;                                                                            \
    NEXT;                                                                            \
  }
      SL_VBS_ELEMGET1(ElemGet1, DirectVariable(*code, ip->b, *f))
      SL_VBS_ELEMGET1(ElemGet1N, namedVariable(ip->b))
#undef SL_VBS_ELEMGET1
#define SL_VBS_ELEMGETK(name, variableB)                                          \
  OP(name) {                                                                      \
    if (const Variant* e = FindElement(variableB, PlainOperand(*code, ip->c, *f), \
                                       static_cast<std::int8_t>(ip->flags))) {    \
      CopyValue(f->locals[ip->a], *e);                                            \
      ++ip;                                                                       \
      NEXT;                                                                       \
    }                                                                             \
    ElementLoadSingle(*code, *ip, *f, true);                                      \
    ++ip;                                                                         \
    NEXT;                                                                         \
  }
      SL_VBS_ELEMGETK(ElemGetK, DirectVariable(*code, ip->b, *f))
      SL_VBS_ELEMGETK(ElemGetKN, namedVariable(ip->b))
#undef SL_VBS_ELEMGETK
#define SL_VBS_ELEMSETK(name, variableB)                                              \
  OP(name) {                                                                          \
    Variant* container = variableB;                                                   \
    if (container && container->IsArray() && container->AsArray()->RefCount() == 1 && \
        !f->locals[ip->a].IsObject()) {                                               \
      if (Variant* e = FindElement(container, PlainOperand(*code, ip->c, *f),         \
                                   static_cast<std::int8_t>(ip->flags))) {            \
        MoveInto(*e, f->locals[ip->a]);                                               \
        ++ip;                                                                         \
        NEXT;                                                                         \
      }                                                                               \
    }                                                                                 \
    ElementStoreK(*code, *ip, *f);                                                    \
    ++ip;                                                                             \
    NEXT;                                                                             \
  }
      SL_VBS_ELEMSETK(ElemSetK, DirectVariable(*code, ip->b, *f))
      SL_VBS_ELEMSETK(ElemSetKN, namedVariable(ip->b))
#undef SL_VBS_ELEMSETK
      OP(ElemSet) {
        if (ip->flags == 1) {
          Variant* container = DirectVariable(*code, ip->b, *f);
          if (container && container->IsArray() && container->AsArray()->RefCount() == 1) {
            if (Variant* e = FindElement(container, &f->locals[ip->c])) {
              CopyValue(*e, f->locals[ip->a]);
              ++ip;
              NEXT;
            }
          }
        }
        ElementStore(*code, *ip, f->locals + ip->c, ip->flags & ~kSetElement, *f);
        ++ip;
        NEXT;
      }
#define SL_VBS_ELEMSET1(name, variableB)                                              \
  OP(name) {                                                                          \
    Variant* container = variableB;                                                   \
    if (container && container->IsArray() && container->AsArray()->RefCount() == 1 && \
        !f->locals[ip->a].IsObject()) {                                               \
      if (Variant* e = FindElement(container, PlainOperand(*code, ip->c, *f))) {      \
        MoveInto(*e, f->locals[ip->a]);                                               \
        ++ip;                                                                         \
        NEXT;                                                                         \
      }                                                                               \
    }                                                                                 \
    ElementStore1(*code, *ip, *f);                                                    \
    ++ip;                                                                             \
    NEXT;                                                                             \
  }
      SL_VBS_ELEMSET1(ElemSet1, DirectVariable(*code, ip->b, *f))
      SL_VBS_ELEMSET1(ElemSet1N, namedVariable(ip->b))
#undef SL_VBS_ELEMSET1
      OP(CallBegin) {
        // A procedure with code for as many arguments as given, while calls do not fail for
        // the depth; anything else is decided in CallBegins.
        const NameRef& r = code->names[ip->b]->ref;
        if (r.kind == NameKind::Global && r.global->kind == GlobalSlot::Procedure &&
            r.global->proc->code &&
            r.global->proc->code->paramCount == (ip->flags & kArgumentCountMask) &&
            depth_ < maxDepth_) {
          ++ip;
          NEXT;
        }
        ip = CallBegins(*code, *ip, *f) ? ip + 1 : at(ip->c);
        NEXT;
      }
      SL_VBS_BEGIN(CallBeginK, CallBeginsKept)
      OP(NestBegin) {
        {
          const Variant* container = OperandVariable(*code, ip->b, *f);
          ip = container && container->IsArray() ? ip + 1 : at(ip->c);
        }
        NEXT;
      }
      SL_VBS_BEGIN(NestLocate, NestedElementLocate)
      OP(NestStore) {
        NestedElementStore(*ip, *f);
        ++ip;
        NEXT;
      }
      OP(NestValue) {
        NestedValueCheck(*ip, *f);
        ++ip;
        NEXT;
      }
      OP(NestValueSet) {
        NestedValueStore(*ip, *f);
        ++ip;
        NEXT;
      }
      SL_VBS_BEGIN(ArgRefBegin, ArgRefBegins)
      SL_VBS_STEP(ArgRefLocate, ArgRefLocate)
      SL_VBS_STEP(ArgCapture, CaptureArgument)
      OP(CallProc) {
        const CallSite& site = code->calls[ip->d];
        if (CompiledCall* call = EnterCompiled(*code, site, *f, ip, scratch)) {
          code = call->code;
          f = &call->frame;
          scratch = call->scratch;
          ip = code->instrs.data();
          NEXT;
        }
        Store(f->locals[ip->a], CallSiteProc(*code, site, *f));
        ++ip;
        NEXT;
      }
      SL_VBS_BEGIN(MemberBegin, MemberBegins)
      SL_VBS_STEP(MemberCall, MemberInvoke)
      SL_VBS_STEP(MemberSet, MemberStore)
      OP(SetCheck) {
        if (!f->locals[ip->a].IsObject()) {
          throw NamedError(kErrObjectRequired, DescribeObject(code->exprs[ip->d]));
        }
        ++ip;
        NEXT;
      }
      SL_VBS_BEGIN(AppendBegin, AppendBegins)
      SL_VBS_STEP(AppendPart, AppendPart)
      SL_VBS_STEP(AppendJoin, AppendJoin)
      OP(DeclareArrays) {
        ExecDim(static_cast<DimStmt*>(code->stmts[ip->d]), *f);
        ++ip;
        NEXT;
      }
      OP(EraseArray) {
        ExecErase(static_cast<EraseStmt*>(code->stmts[ip->d]), *f);
        ++ip;
        NEXT;
      }
      OP(ConstStore) {
        {
          Variant held;
          StoreConstant(code->names[ip->d], OperandValue(*code, ip->b, *f, held), *f);
        }
        ReleaseTemporary(*code, ip->b, *f);
        ++ip;
        NEXT;
      }
      OP(Reseed) {
        if (ip->flags) {
          {
            Variant held;
            Reseed(OperandValue(*code, ip->b, *f, held));
          }
          ReleaseTemporary(*code, ip->b, *f);
        } else {
          Reseed(std::nullopt);
        }
        ++ip;
        NEXT;
      }
      OP(ReDimCheck) {
        ReDimCheck(static_cast<ReDimStmt*>(code->stmts[ip->d])->items[ip->c], *f);
        ++ip;
        NEXT;
      }
      OP(ReDimBound) {
        {
          Variant held;
          std::int32_t count = ReDimBound(OperandValue(*code, ip->b, *f, held));
          Store(f->locals[ip->a], Variant(count));
        }
        ReleaseTemporary(*code, ip->b, *f);
        ++ip;
        NEXT;
      }
      SL_VBS_STEP(ReDimItem, ReDimFromCounts)
      OP(IndexBegin) {
        ip = f->locals[IndexOf(ip->b)].IsArray() ? ip + 1 : at(ip->c);
        NEXT;
      }
      SL_VBS_STEP(ElemSetCheck, ElementTargetCheck)
      SL_VBS_STEP(AssignTo, AssignToTarget)
      OP(LoadMe) {
        Store(f->locals[ip->a], Variant(static_cast<Object*>(f->me)));
        ++ip;
        NEXT;
      }
      OP(NewObject) {
        Store(f->locals[ip->a], NewInstance(static_cast<NewExpr*>(code->exprs[ip->d])));
        ++ip;
        NEXT;
      }
      OP(WithSet) {
        f->with = ip->a == kNoTarget ? nullptr : &f->locals[ip->a];
        ++ip;
        NEXT;
      }
      OP(WithFail) {
        Store(f->locals[ip->a], Variant());
        ip = at(ip->d);
        NEXT;
      }
      OP(ForEachInit) {
        ForEachBegins(*code, *ip, *f);
        ip = at(ip->c);
        NEXT;
      }
      OP(ForEachNext) {
        ip = ForEachStep(*code, *ip, *f) ? at(ip->d) : ip + 1;
        NEXT;
      }
      OP(ForEachFail) {
        Store(f->locals[ip->a + 1], Variant::Error(kErrNotCollection));
        ip = at(ip->d);
        NEXT;
      }
      OP(EvalTree) {
        Store(f->locals[ip->a], Eval(code->exprs[ip->d], *f));
        ++ip;
        NEXT;
      }
      OP(ExecTree) {
        flow = Exec(code->stmts[ip->d], *f);
        if (flow == Flow::Normal) {
          ++ip;
        } else if (flow == Flow::ExitDo && ip->a != kNoTarget) {
          ip = at(ip->a);
        } else if (flow == Flow::ExitFor && ip->b != kNoTarget) {
          ip = at(ip->b);
        } else if (callTop_ == base) {
          return flow;
        } else {
          goto returned;  // (a called procedure ends however its statement left it)
        }
        NEXT;
      }
      OP(ForInit) {
        ip = ForInit(*code, *ip, *f) ? ip + 1 : at(ip->d);
        NEXT;
      }
// An integer loop whose counter still holds an Integer or Long, while no time check
// is due, steps here; everything else (and every error) takes ForNext's way.
#define SL_VBS_FORNEXT(name, variableB)                                                            \
  OP(name) {                                                                                       \
    Variant* state = f->locals + ip->a;                                                            \
    Variant* var = variableB;                                                                      \
    if (state[0].Type() == VarType::Boolean && ticks_ > 1 && var && IsSmallInteger(var->Type())) { \
      --ticks_;                                                                                    \
      bool wide = state[0].AsBool();                                                               \
      if (var->Type() == VarType::Long && !wide) {                                                 \
        wide = true;                                                                               \
        state[0] = Variant(true);                                                                  \
      }                                                                                            \
      std::int64_t end = state[1].AsLong(), st = state[2].AsLong();                                \
      std::int64_t cur = SmallInteger(*var) + st;                                                  \
      *var = Counter(cur, wide); /* (an Integer or Long holds nothing to release) */               \
      ip = (st >= 0 ? cur <= end : cur >= end) ? at(ip->d) : ip + 1;                               \
      NEXT;                                                                                        \
    }                                                                                              \
    ip = ForNext(*code, *ip, *f) ? at(ip->d) : ip + 1;                                             \
    NEXT;                                                                                          \
  }
      SL_VBS_FORNEXT(ForNext, DirectVariable(*code, ip->b, *f))
      SL_VBS_FORNEXT(ForNextN, namedVariable(ip->b))
#undef SL_VBS_FORNEXT
      OP(OnError) {
        f->resumeNext = ip->flags != 0;
        err_->Clear();
        ++ip;
        NEXT;
      }
      OP(ForFail) {
        f->locals[ip->a] = Variant::Error(kErrForNotInitialized);
        ip = at(ip->d);
        NEXT;
      }
      OP(Return) {
        if (callTop_ == base) return ip->flags ? Flow::ExitProc : Flow::Normal;
        goto returned;
      }
    // A compiled procedure called from this loop returns: its result goes into the register
    // of the caller's call instruction once the callee's registers are given back.
    returned : {
      {
        Variant result;  // (gone before the next dispatch, which may not leave its scope)
        if (f->proc->resultSlot >= 0) MoveInto(result, f->locals[f->proc->resultSlot]);
        backToCaller(LeaveCompiled());
        MoveInto(f->locals[ip->a], result);
      }
      ++ip;
      NEXT;
    }

#ifndef SL_VBS_THREADED
    }
  }
#endif
#undef SL_VBS_STEP
#undef SL_VBS_BEGIN
#undef OP
#undef NEXT
}
catch (ScriptAbort&) {
  if (abortLine_ == 0) {
    if (const Stmt* s = StatementAt(*code, static_cast<std::uint32_t>(ip - code->instrs.data()))) {
      abortBlock_ = f->block ? *f->block : std::string();
      abortLine_ = s->line;
      abortColumn_ = s->column;
    }
  }
  throw;
}
catch (RuntimeError& e) {
  auto pc = static_cast<std::uint32_t>(ip - code->instrs.data());
  if (f->resumeNext && !aborting_) {
    if (const ResumeRange* range = ResumeRangeAt(*code, pc)) {
      SetErr(e);
      ip = at(range->resume);
      continue;
    }
  }
  auto* se = dynamic_cast<ScriptError*>(&e);
  const Stmt* s = se && se->Line() > 0 ? nullptr : StatementAt(*code, pc);
  if (callTop_ > base) {
    // The error leaves a called procedure, with the position of its statement, and is raised
    // again at the caller's call (once the callee's registers are given back).
    pending = s ? std::make_exception_ptr(Positioned(e, s, *f)) : std::current_exception();
    backToCaller(LeaveCompiled());
    continue;
  }
  if (!s) throw;
  throw Positioned(e, s, *f);
}
}
}
// clang-format on

}  // namespace sl::vbs
