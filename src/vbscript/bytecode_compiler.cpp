// Compiles a resolved body to bytecode. Values of expressions go to temporaries taken and
// given back in stack order; names the compiler resolved (locals, parameters) become direct
// operands, other names are looked up by the code at their first use as the tree walker does.
// What the bytecode does not express itself (declarations, With, For Each, calls of built-in
// functions, calls whose arguments it cannot evaluate before the callee is known) is left to the
// tree walker one statement or expression at a time.
#include <algorithm>
#include <cassert>
#include <optional>
#include <utility>

#include "core/object.h"
#include "vbscript/builtins/builtin.h"
#include "vbscript/bytecode.h"
#include "vbscript/compiler.h"

namespace sl::vbs {

namespace {

// Thrown while compiling when the body cannot be expressed; the tree walker runs it then.
struct NotCompiled {};

constexpr std::uint32_t kMaxInstructions = 0xFFFE;

bool UsesOnError(const Block& block);

bool UsesOnError(const Stmt* s) {
  switch (s->kind) {
    case StmtKind::OnError:
      return true;
    case StmtKind::If: {
      auto* i = static_cast<const IfStmt*>(s);
      for (const Block& b : i->blocks) {
        if (UsesOnError(b)) return true;
      }
      return UsesOnError(i->elseBlock);
    }
    case StmtKind::Select:
      for (const CaseClause& c : static_cast<const SelectStmt*>(s)->clauses) {
        if (UsesOnError(c.body)) return true;
      }
      return false;
    case StmtKind::For:
      return UsesOnError(static_cast<const ForStmt*>(s)->body);
    case StmtKind::ForEach:
      return UsesOnError(static_cast<const ForEachStmt*>(s)->body);
    case StmtKind::Do:
      return UsesOnError(static_cast<const DoStmt*>(s)->body);
    case StmtKind::With:
      return UsesOnError(static_cast<const WithStmt*>(s)->body);
    default:
      return false;
  }
}

bool UsesOnError(const Block& block) {
  for (const Stmt* s : block) {
    if (UsesOnError(s)) return true;
  }
  return false;
}

bool IsComparison(Op op) {
  return op == Op::Eq || op == Op::Ne || op == Op::Lt || op == Op::Gt || op == Op::Le ||
         op == Op::Ge;
}

class CodeCompiler {
 public:
  CodeCompiler(Code& code, int locals, const GlobalScope& globals, bool resumable)
      : code_(code), globals_(globals), top_(locals), resumable_(resumable) {
    code_.firstTemp = locals;
    code_.registerCount = locals;
  }

  void Body(const Block& body) {
    Statements(body);
    Emit({Opcode::Return});
    // A jump to a return returns.
    for (Instr& i : code_.instrs) {
      if (i.op == Opcode::Jump && code_.instrs[i.d].op == Opcode::Return) i = code_.instrs[i.d];
    }
  }

 private:
  // Where an instruction takes the end of a loop: a jump's target, or the Exit Do / Exit For
  // target of a statement left to the tree walker.
  enum class ExitField : std::uint8_t { Jump, ExitDo, ExitFor };
  struct Loop {
    bool isFor = false;
    std::vector<std::pair<std::size_t, ExitField>> exits;
    bool withInside = false;  // a With is compiled inside the loop
  };
  // What a statement's temporaries and name operands may hold when it ends: whether any may hold
  // an object, whether a name operand may be a call, the temporaries MayHoldObject marked
  // ([low, high)).
  static constexpr int kNoneHeld = 1 << 30;
  struct Held {
    bool object = false;
    bool byName = false;
    int low = kNoneHeld;
    int high = 0;
    void Merge(const Held& other) {
      object = object || other.object;
      byName = byName || other.byName;
      low = std::min(low, other.low);
      high = std::max(high, other.high);
    }
  };

  // ---- Emitting ----
  std::size_t Emit(Instr instr) {
    if (code_.instrs.size() >= kMaxInstructions) throw NotCompiled();
    code_.instrs.push_back(instr);
    return code_.instrs.size() - 1;
  }
  std::uint32_t Here() const { return static_cast<std::uint32_t>(code_.instrs.size()); }
  void PatchD(std::size_t at) { code_.instrs[at].d = Here(); }

  int NewTemp() {
    int r = top_++;
    if (top_ > static_cast<int>(kMaxOperandIndex)) throw NotCompiled();
    if (top_ > code_.registerCount) code_.registerCount = top_;
    if (top_ > highWater_) highWater_ = top_;
    return r;
  }
  static Operand Reg(int r) {
    return MakeOperand(OperandKind::Register, static_cast<std::uint32_t>(r));
  }
  static std::uint16_t U16(int v) { return static_cast<std::uint16_t>(v); }

  template <class T>
  std::uint32_t Add(std::vector<T>& table, T item) {
    if (table.size() >= kMaxOperandIndex) throw NotCompiled();
    table.push_back(item);
    return static_cast<std::uint32_t>(table.size() - 1);
  }

  // The code from here on belongs to `s` (for the position of errors).
  void At(const Stmt* s) {
    if (!code_.lines.empty() && code_.lines.back().stmt == s) return;
    if (!code_.lines.empty() && code_.lines.back().pc == Here()) {
      code_.lines.back().stmt = s;
      return;
    }
    code_.lines.push_back({Here(), s});
  }

  // Temporary `reg` was written with a value that may be an object or array (a copy of a
  // variable, the result of a call or of an element): the statement empties the temporaries
  // so marked when it ends.
  void MayHoldObject(int reg) {
    held_.object = true;
    held_.low = std::min(held_.low, reg);
    held_.high = std::max(held_.high, reg + 1);
  }
  // A name operand of the statement may be a call, whose result the code keeps in a scratch
  // value until the statement ends.
  void MayCallByName() {
    held_.object = true;
    held_.byName = true;
  }

  // ---- Operands ----
  Operand NameOperand(NameExpr* n) {
    switch (n->ref.kind) {
      case NameKind::Local:
        return Reg(n->ref.slot);
      case NameKind::RefParam:
        return MakeOperand(OperandKind::RefParam, static_cast<std::uint32_t>(n->ref.slot));
      default:
        // A name that may be a call keeps its result until the statement ends.
        if (!PlainName(n)) MayCallByName();
        return MakeOperand(OperandKind::Name, Add(code_.names, n));
    }
  }

  // Whether reading `n` is only reading a variable: a local, a parameter, or a name that can
  // only resolve to a global variable or constant (globals are looked up first).
  bool PlainName(const NameExpr* n) const {
    if (n->ref.kind == NameKind::Local || n->ref.kind == NameKind::RefParam) return true;
    if (n->ref.kind != NameKind::Unresolved && n->ref.kind != NameKind::Global) return false;
    const GlobalSlot* g = const_cast<GlobalScope&>(globals_).Find(n->key);
    return g && (g->kind == GlobalSlot::Variable || g->kind == GlobalSlot::Constant);
  }

  // Whether `n` can only stand for an object the host added by name (reading it runs nothing).
  bool HostObjectName(const NameExpr* n) const {
    if (n->ref.kind != NameKind::Unresolved && n->ref.kind != NameKind::Global) return false;
    const GlobalSlot* g = const_cast<GlobalScope&>(globals_).Find(n->key);
    return g && g->kind == GlobalSlot::HostObject;
  }

  // Compiles `e`; its value is the operand returned (a temporary when code computes it).
  Operand Value(Expr* e) {
    switch (e->kind) {
      case ExprKind::Literal:
        return MakeOperand(OperandKind::Constant,
                           Add(code_.constants, static_cast<LiteralExpr*>(e)->value));
      case ExprKind::Name:
        return NameOperand(static_cast<NameExpr*>(e));
      case ExprKind::Paren:
        return Value(static_cast<ParenExpr*>(e)->inner);
      case ExprKind::Binary:
        return BinaryValue(static_cast<BinaryExpr*>(e));
      case ExprKind::Unary: {
        auto* u = static_cast<UnaryExpr*>(e);
        int mark = top_;
        Operand v = Value(u->operand);
        top_ = mark;
        int dst = NewTemp();
        Emit({Opcode::Unary, static_cast<std::uint8_t>(u->op), U16(dst), v});
        return Reg(dst);
      }
      case ExprKind::Member:
        return MemberCompilable(e) ? MemberValue(e, false) : TreeValue(e);
      case ExprKind::Me: {
        int dst = NewTemp();
        MayHoldObject(dst);
        Emit({Opcode::LoadMe, 0, U16(dst)});
        return Reg(dst);
      }
      case ExprKind::New:
        return ResultOf(Opcode::NewObject, e);
      case ExprKind::Call: {
        auto* c = static_cast<CallExpr*>(e);
        if (MemberCompilable(e)) return MemberValue(e, false);
        if (ClassMemberName(c->callee) && ArgumentsCompilable(c->args)) {
          return ClassMemberCall(c, static_cast<NameExpr*>(c->callee), c->args, false);
        }
        if (c->callee->kind == ExprKind::Name && !c->args.empty() && c->args.size() <= 60) {
          auto* n = static_cast<NameExpr*>(c->callee);
          if (HostObjectName(n) && ArgumentsCompilable(c->args)) return DefaultMemberValue(c);
          if (!PlainName(n) && CanBeProcedure(n) && ArgumentsCompilable(c->args)) {
            return CallValue(c);
          }
          return ElementValue(c);
        }
        if (c->callee->kind == ExprKind::Name && c->args.empty()) {
          auto* n = static_cast<NameExpr*>(c->callee);
          if (!PlainName(n) && CanBeProcedure(n)) return CallValue(c);  // (`Now()`, `F()`)
        }
        if (c->callee->kind != ExprKind::Name && c->callee->kind != ExprKind::Member &&
            !c->args.empty() && c->args.size() <= 60 && ArgumentsCompilable(c->args)) {
          return IndexedValue(c);
        }
        return TreeValue(e);
      }
      default:
        return TreeValue(e);
    }
  }

  Operand TreeValue(Expr* e) { return ResultOf(Opcode::EvalTree, e); }

  // A new temporary, which may hold an object, given the value of expression `e` by one
  // instruction `op` (r[a] = what op makes of exprs[d]).
  Operand ResultOf(Opcode op, Expr* e) {
    int dst = NewTemp();
    MayHoldObject(dst);
    Instr i{op, 0, U16(dst)};
    i.d = Add(code_.exprs, e);
    Emit(i);
    return Reg(dst);
  }

  // The value of `e` in a register of the statement, as it is (an object not read for its
  // default value): the temporary an instruction computed it into, or one it is moved to.
  int ValueRegister(Expr* e) {
    int mark = top_;
    Operand v = Value(e);
    if (KindOf(v) == OperandKind::Register && static_cast<int>(IndexOf(v)) >= mark) {
      top_ = IndexOf(v) + 1;
      MayHoldObject(IndexOf(v));
      return IndexOf(v);
    }
    top_ = mark;
    int dst = NewTemp();
    MayHoldObject(dst);
    Emit({Opcode::Move, 0, U16(dst), v});
    return dst;
  }

  // When the statement is the instruction just emitted and it may release the temporaries
  // among `operands` once it has read them (flags bit 1, Move, StoreName, StoreRef): it does so
  // when those are all the temporaries the statement holds, which then need no emptying.
  void ReleasesAtTheEnd(std::initializer_list<Operand> operands) {
    if (ReleasedAtTheEnd(operands)) code_.instrs.back().flags |= 1;
  }

  // Whether the temporaries the statement holds (or the part of it since `before`) are all
  // among `operands`, which the last instruction emitted releases once it has read them, as the
  // tree walker lets go of a value once used. Then the statement need not empty them and forgets
  // them, except under On Error, where an error goes on after the statement with the
  // temporaries as they were.
  bool ReleasedAtTheEnd(std::initializer_list<Operand> operands) {
    return ReleasedAtTheEnd(operands, Held());
  }
  bool ReleasedAtTheEnd(std::initializer_list<Operand> operands, const Held& before) {
    if (before.object || !held_.object || held_.byName) return false;
    for (int r = held_.low; r < held_.high; ++r) {
      bool released = std::any_of(operands.begin(), operands.end(), [&](Operand o) {
        return KindOf(o) == OperandKind::Register && IndexOf(o) >= code_.firstTemp &&
               static_cast<int>(IndexOf(o)) == r;
      });
      if (!released) return false;
    }
    if (!resumable_) held_ = before;
    return true;
  }

  // The value of `e` as it is (an object not read for its default value) in the temporary at
  // the top: the one an instruction computed it into, or one it is copied to.
  int RawValueRegister(Expr* e) {
    int mark = top_;
    Operand v = Value(e);
    top_ = mark;
    int dst = NewTemp();
    MayHoldObject(dst);
    if (v != Reg(dst)) Emit({Opcode::Copy, 0, U16(dst), v});
    return dst;
  }

  // Moves the value of `e` into register `dst` (objects give their default value).
  void ValueInto(Expr* e, int dst) {
    MayHoldObject(dst);
    int mark = top_;
    Operand v = Value(e);
    top_ = mark;
    Emit({Opcode::Move, 0, U16(dst), v});
  }

  // Array subscripts (or arguments of a default member) into consecutive temporaries.
  int Subscripts(const std::vector<Expr*>& args) {
    int base = top_;
    for (std::size_t k = 0; k < args.size(); ++k)
      NewTemp();
    for (std::size_t k = 0; k < args.size(); ++k) {
      int mark = top_;
      Operand v = Value(args[k]);
      top_ = mark;
      if (v != Reg(base + static_cast<int>(k))) {
        Emit({Opcode::Copy, 0, U16(base + static_cast<int>(k)), v});
        MayHoldObject(base + static_cast<int>(k));
      }
    }
    return base;
  }

  // Whether the value of `e` is an operand the code reads without computing anything (a
  // literal or a name), so that reading it may wait until the instruction that uses it.
  static bool DirectOperand(const Expr* e) {
    e = WithoutParens(e);
    return e->kind == ExprKind::Literal || e->kind == ExprKind::Name;
  }

  // A subscript `v + k` or `v - k` with a literal or name v and an Integer literal k small
  // enough for an instruction's flags: v's expression and the signed offset.
  static std::optional<std::pair<Expr*, std::int8_t>> OffsetSubscript(const Expr* e) {
    e = WithoutParens(e);
    if (e->kind != ExprKind::Binary) return std::nullopt;
    auto* b = static_cast<const BinaryExpr*>(e);
    if ((b->op != Op::Add && b->op != Op::Sub) || !DirectOperand(b->left)) return std::nullopt;
    const Expr* right = WithoutParens(b->right);
    if (right->kind != ExprKind::Literal) return std::nullopt;
    const Variant& k = static_cast<const LiteralExpr*>(right)->value;
    if (k.Type() != VarType::Integer || k.AsInteger() < -127 || k.AsInteger() > 127) {
      return std::nullopt;
    }
    int offset = b->op == Op::Add ? k.AsInteger() : -k.AsInteger();
    return std::make_pair(b->left, static_cast<std::int8_t>(offset));
  }

  // An element at one subscript that the bytecode reads itself: a literal or a name (`direct`)
  // or such an operand plus or minus a small Integer literal (`offset`, the amount in the
  // flags). Emits the instruction on register `reg` and says whether it could.
  bool SingleSubscriptElement(CallExpr* c, Opcode direct, Opcode offset, int reg,
                              Operand container) {
    if (c->args.size() != 1) return false;
    Instr i{direct, 0, U16(reg), container};
    if (DirectOperand(c->args[0])) {
      i.c = Value(c->args[0]);
    } else if (auto amount = OffsetSubscript(c->args[0])) {
      i.op = offset;
      i.flags = static_cast<std::uint8_t>(amount->second);
      i.c = Value(amount->first);
    } else {
      return false;
    }
    i.d = Add(code_.exprs, static_cast<Expr*>(c));
    Emit(i);
    return true;
  }

  // A call statement (`statement`: `Call ref(6, 7)`) calls the default member without asking
  // for its value.
  Operand ElementValue(CallExpr* c, bool statement = false) {
    auto* n = static_cast<NameExpr*>(c->callee);
    int dst = NewTemp();
    MayHoldObject(dst);
    Operand container = NameOperand(n);
    if (!statement &&
        SingleSubscriptElement(c, Opcode::ElemGet1, Opcode::ElemGetK, dst, container)) {
      top_ = dst + 1;
      return Reg(dst);
    }
    // Anything but an array: the default member of a host object called in the code
    // (`d(CStr(k))`), when it may evaluate the arguments, else the tree walker's way.
    bool member = ArgumentsCompilable(c->args);
    Instr begin{Opcode::ElemBegin, static_cast<std::uint8_t>(member ? kElemToMember : 0), U16(dst),
                container};
    begin.d = Add(code_.exprs, static_cast<Expr*>(c));
    std::size_t at = Emit(begin);
    int base = Subscripts(c->args);
    Emit({Opcode::ElemGet, static_cast<std::uint8_t>(c->args.size()), U16(dst), container,
          U16(base)});
    if (member) {
      std::size_t done = Emit({Opcode::Jump});
      code_.instrs[at].c = U16(static_cast<int>(Here()));
      top_ = dst;
      InvokeSite(c, nullptr, container, dst, c->args, statement);
      PatchD(done);
    } else {
      code_.instrs[at].c = U16(static_cast<int>(Here()));
    }
    top_ = dst + 1;
    return Reg(dst);
  }

  // A value computed and indexed (`a(i)(j)`, `F()(1)`): the value, then for an array its
  // element at the subscripts, for anything else its default member called with them (see
  // DefaultMemberBegins), the result copied into the temporary before the value's.
  Operand IndexedValue(CallExpr* c) {
    int dst = NewTemp();
    MayHoldObject(dst);
    int object = RawValueRegister(c->callee);
    Instr begin{Opcode::IndexBegin, 0, U16(dst), Reg(object)};
    begin.d = Add(code_.exprs, static_cast<Expr*>(c));
    std::size_t at = Emit(begin);
    int base = Subscripts(c->args);
    Instr get{Opcode::ElemGet, static_cast<std::uint8_t>(c->args.size()), U16(dst), Reg(object),
              U16(base)};
    get.d = begin.d;
    Emit(get);
    std::size_t done = Emit({Opcode::Jump});
    code_.instrs[at].c = U16(static_cast<int>(Here()));
    top_ = object + 1;
    InvokeSite(c, nullptr, Reg(object), object, c->args, false);
    Emit({Opcode::Copy, 0, U16(dst), Reg(object)});
    PatchD(done);
    top_ = dst + 1;
    return Reg(dst);
  }

  // Whether a name may stand for a global procedure or a built-in function once looked up.
  static bool CanBeProcedure(const NameExpr* n) {
    return n->ref.kind == NameKind::Unresolved || n->ref.kind == NameKind::Global ||
           n->ref.kind == NameKind::Builtin;
  }

  // Whether evaluating an argument runs nothing but operators over literals and variables, so
  // that it may be evaluated once the callee is known without changing what happens.
  bool Simple(const Expr* e) const {
    switch (e->kind) {
      case ExprKind::Literal:
        return true;
      case ExprKind::Name:
        return PlainName(static_cast<const NameExpr*>(e));
      case ExprKind::Paren:
        return Simple(static_cast<const ParenExpr*>(e)->inner);
      case ExprKind::Unary:
        return Simple(static_cast<const UnaryExpr*>(e)->operand);
      case ExprKind::Binary:
        return Simple(static_cast<const BinaryExpr*>(e)->left) &&
               Simple(static_cast<const BinaryExpr*>(e)->right);
      default:
        return false;
    }
  }

  // A call of what may be a procedure: once the callee is found to be one, the arguments are
  // evaluated here (a variable is passed as itself, for a parameter by reference); otherwise
  // the tree walker evaluates the whole call.
  // A call statement (`statement`) drops the result; when the name is no procedure, the tree
  // walker runs the whole statement.
  Operand CallValue(CallExpr* c, CallStmt* statement = nullptr) {
    return ProcedureCall(static_cast<NameExpr*>(c->callee), c->args, c, statement);
  }

  // The call of procedure `n` with `args`: the CallExpr `c` of a value or a statement, or a
  // call statement of a bare name (c null).
  Operand ProcedureCall(NameExpr* n, const std::vector<Expr*>& args, CallExpr* c,
                        CallStmt* statement) {
    CallSite site;
    site.callee = n;
    site.call = c;
    site.statement = statement;
    site.kept = !std::all_of(args.begin(), args.end(), [&](Expr* a) { return Simple(a); });
    // The result goes into the register of the first argument, which the call has emptied (or
    // into the one that kept the procedure, before it).
    int dst = top_;
    if (args.empty() || site.kept) NewTemp();
    MayHoldObject(dst);
    Instr begin{site.kept ? Opcode::CallBeginK : Opcode::CallBegin,
                static_cast<std::uint8_t>(args.size() | (statement ? kCallStatement : 0)), U16(dst),
                static_cast<Operand>(Add(code_.names, n))};
    begin.d = statement ? Add(code_.stmts, static_cast<Stmt*>(statement))
                        : Add(code_.exprs, static_cast<Expr*>(c));
    std::size_t at = Emit(begin);
    // The values go to consecutive temporaries, which the callee's parameters copy.
    int base = top_;
    std::vector<std::size_t> captures;
    Arguments(args, site.args, dst, site.captured, site.elements, captures, false, BuiltinName(n));
    site.firstValue = U16(base);
    site.allValues = site.elements == 0;
    for (std::size_t k = 0; k < site.args.size(); ++k)
      site.allValues = site.allValues && site.args[k] == Reg(base + static_cast<int>(k));
    Instr call{Opcode::CallProc, 0, U16(dst)};
    call.d = Add(code_.calls, std::move(site));
    for (std::size_t capture : captures)
      code_.instrs[capture].d = call.d;
    Emit(call);
    code_.instrs[at].c = U16(static_cast<int>(Here()));
    top_ = dst + 1;
    return Reg(dst);
  }

  // The arguments of a call into consecutive temporaries from top_ on, each an operand of
  // `out`: a variable goes as itself (in parentheses, or a constant, by value), any other value
  // is computed into its temporary. A variable before an argument that may run code has its
  // value taken in its turn too (ArgCapture, on the call begun at register `begin`: its bit in
  // `captured`, its instruction in `captures` for the call site's number).
  // Element arguments (`Foo a(i)`) are located by ArgRefBegin and ArgRefLocate in their turn
  // (their bit in `elements`; none for a built-in function, `byValue`); the arrays they keep lie
  // in registers after the arguments'.
  void Arguments(const std::vector<Expr*>& args, std::vector<Operand>& out, int begin,
                 std::uint8_t& captured, std::uint8_t& elements,
                 std::vector<std::size_t>& sitePatches, bool member, bool byValue = false) {
    int base = top_;
    for (std::size_t k = 0; k < args.size(); ++k)
      NewTemp();
    std::size_t runsCode = 0;  // past the last argument that may run code
    for (std::size_t k = 0; k < args.size(); ++k) {
      if (!Simple(args[k])) runsCode = k + 1;
      if (!byValue && args[k]->kind == ExprKind::Call &&
          MayBeElement(static_cast<CallExpr*>(args[k]))) {
        elements = static_cast<std::uint8_t>(elements | (1u << k));
        MayHoldObject(NewTemp());  // (the array kept)
      }
    }
    // With element arguments the values are computed above the registers of the arrays kept.
    int computed = top_;
    for (std::size_t k = 0; k < args.size(); ++k) {
      Expr* arg = args[k];
      // (a built-in constant, a built-in function called without parentheses, or an object the
      // host added by name, is a value)
      if (arg->kind == ExprKind::Name && !static_cast<NameExpr*>(arg)->ref.readOnly &&
          !BuiltinConstantName(static_cast<NameExpr*>(arg)) &&
          !BuiltinName(static_cast<NameExpr*>(arg)) &&
          !HostObjectName(static_cast<NameExpr*>(arg))) {
        out.push_back(NameOperand(static_cast<NameExpr*>(arg)));
        if (k + 1 < runsCode) {
          captured = static_cast<std::uint8_t>(captured | (1u << k));
          MayHoldObject(base + static_cast<int>(k));
          sitePatches.push_back(Emit({Opcode::ArgCapture, static_cast<std::uint8_t>(member ? 1 : 0),
                                      U16(begin), out.back(), U16(static_cast<int>(k))}));
        }
        continue;
      }
      std::size_t elementEnd = 0;
      if ((elements >> k) & 1) {
        // By reference: the element located; else its value, computed below.
        auto* c = static_cast<CallExpr*>(arg);
        auto flags = static_cast<std::uint8_t>(k | (member ? kMemberSite : 0));
        Operand array = NameOperand(static_cast<NameExpr*>(c->callee));
        std::size_t start = Emit({Opcode::ArgRefBegin, flags, U16(begin), array});
        sitePatches.push_back(start);
        int mark = top_;
        top_ = computed;
        int subscripts = Subscripts(c->args);
        top_ = mark;
        sitePatches.push_back(Emit({Opcode::ArgRefLocate, flags, U16(subscripts), array}));
        MayHoldObject(base + static_cast<int>(k));
        elementEnd = Emit({Opcode::Jump});
        code_.instrs[start].c = U16(static_cast<int>(Here()));
      }
      // The value is computed into its slot where an operator computes it (the temporaries it
      // needs on the way lie on the slots of the arguments after it, not written yet).
      int mark = top_;
      top_ = elements ? computed : base + static_cast<int>(k);
      Operand v = Value(arg);
      top_ = mark;
      Operand slot = Reg(base + static_cast<int>(k));
      if (v != slot) {
        Emit({Opcode::Copy, 0, U16(base + static_cast<int>(k)), v});
        // (a literal is no object: the general call leaves it where it was)
        if (KindOf(v) != OperandKind::Constant) MayHoldObject(base + static_cast<int>(k));
      }
      if (elementEnd) PatchD(elementEnd);
      out.push_back(slot);
    }
  }

  // The member of `e` when it is a member read (`d.Count`) or called (`d.Exists(k)`), with its
  // arguments; else null.
  static MemberExpr* MemberOf(Expr* e, const std::vector<Expr*>*& args) {
    static const std::vector<Expr*> kNoArgs;
    if (e->kind == ExprKind::Member) {
      args = &kNoArgs;
      return static_cast<MemberExpr*>(e);
    }
    if (e->kind != ExprKind::Call) return nullptr;
    auto* c = static_cast<CallExpr*>(e);
    if (c->callee->kind != ExprKind::Member) return nullptr;
    args = &c->args;
    return static_cast<MemberExpr*>(c->callee);
  }

  // Whether member `m` has an object the code knows: its own, or that of a With the code runs.
  bool HasObject(const MemberExpr* m) const { return m->object || !withs_.empty(); }

  // Whether the code evaluates a member call or read `e` itself: it has an object the code
  // knows, and arguments it evaluates (once the member is known; when the code hands the rest
  // of the expression to the tree walker, it evaluates them instead).
  bool MemberCompilable(Expr* e) const {
    const std::vector<Expr*>* args = nullptr;
    const MemberExpr* m = MemberOf(e, args);
    if (!m || !HasObject(m)) return false;
    return ArgumentsCompilable(*args);
  }

  // Whether the code evaluates the arguments of a call in their order as the tree walker does
  // (see Arguments). A name that may be no variable (a call) is left to the tree walker with the
  // whole call, as is an element with more subscripts than an element takes.
  bool ArgumentsCompilable(const std::vector<Expr*>& args) const {
    if (args.size() > kMaxCompiledArguments) return false;
    return std::all_of(args.begin(), args.end(), [&](const Expr* arg) {
      if (arg->kind == ExprKind::Name) {
        auto* n = static_cast<const NameExpr*>(arg);
        return n->ref.readOnly || PlainName(n) || n->ref.kind == NameKind::Field ||
               BuiltinConstantName(n) || BuiltinName(n) || HostObjectName(n) || UnknownName(n);
      }
      return arg->kind != ExprKind::Call || static_cast<const CallExpr*>(arg)->args.size() <= 60;
    });
  }

  // Whether `n` stands for a built-in constant (`vbCrLf`): no global takes its name. (A host
  // member of that name would come first, which is no variable either: an argument that is one
  // is a value, taken in its turn.)
  bool BuiltinConstantName(const NameExpr* n) const {
    return n->ref.kind == NameKind::Unresolved &&
           !const_cast<GlobalScope&>(globals_).Find(n->key) && FindConstant(n->key);
  }

  // Whether nothing answers to `n` yet (no global, built-in function or constant): at its first
  // use it becomes a global variable, or stands for a member the host made global. As an
  // argument it is passed as a name (a variable by reference, anything else its value, taken
  // in its turn when an argument after it may run code).
  // (Under Option Explicit such a name fails when it is read: it is left to the tree walker.)
  bool UnknownName(const NameExpr* n) const {
    return n->ref.kind == NameKind::Unresolved && !n->ref.explicitOnly &&
           !const_cast<GlobalScope&>(globals_).Find(n->key) && !FindBuiltin(n->key) &&
           !FindConstant(n->key);
  }

  // Whether `n` can only be a built-in function (no global takes its name).
  bool BuiltinName(const NameExpr* n) const {
    if (n->ref.kind == NameKind::Builtin) return true;
    return n->ref.kind == NameKind::Unresolved &&
           !const_cast<GlobalScope&>(globals_).Find(n->key) && FindBuiltin(n->key);
  }

  // Whether `c` may read an element of an array variable (the name may stand for a variable).
  bool MayBeElement(const CallExpr* c) const {
    if (c->callee->kind != ExprKind::Name || c->args.empty()) return false;
    auto* n = static_cast<const NameExpr*>(c->callee);
    switch (n->ref.kind) {
      case NameKind::Local:
      case NameKind::ImplicitLocal:
      case NameKind::RefParam:
      case NameKind::Field:
        return true;
      case NameKind::Unresolved:
      case NameKind::Global: {
        // (a name no global takes may still be a built-in function, found after the globals)
        const GlobalSlot* g = const_cast<GlobalScope&>(globals_).Find(n->key);
        if (!g) return FindBuiltin(n->key) == nullptr;
        return g->kind == GlobalSlot::Variable || g->kind == GlobalSlot::Constant;
      }
      default:
        return false;
    }
  }

  // Whether the object of a member is a variable the code reads in place when the member is
  // called, since reading it runs nothing: a local, a parameter, a global variable, a field of
  // the script object running, an object the host added by name. Any other object is computed
  // into a register first.
  bool ObjectReadInPlace(const Expr* object) const {
    if (!object || object->kind != ExprKind::Name) return false;
    auto* n = static_cast<const NameExpr*>(object);
    return PlainName(n) || n->ref.kind == NameKind::Field || HostObjectName(n);
  }

  // The object of member `m` as MemberBegin and MemberSet read it: the variable, the register
  // of the innermost With's object, or the temporary at the top it is computed into (as it is).
  Operand ObjectOperand(MemberExpr* m) {
    if (!m->object) return Reg(withs_.back());
    if (ObjectReadInPlace(m->object)) return NameOperand(static_cast<NameExpr*>(m->object));
    return Reg(RawValueRegister(m->object));
  }

  // A member called or read (`e`: the call, or the member without arguments): the object goes
  // into the result's register and the member's number into the next one (MemberBegin), then
  // the arguments are evaluated and the member invoked (MemberCall). For anything but a host
  // object with such a member the tree walker evaluates the whole expression in MemberBegin.
  // A statement's call drops the result.
  Operand MemberValue(Expr* e, bool statement) {
    const std::vector<Expr*>* args = nullptr;
    MemberExpr* m = MemberOf(e, args);
    if (!m || !HasObject(m)) throw NotCompiled();  // (MemberCompilable said it is neither)
    // (an object computed into a register is computed into the result's)
    int mark = top_;
    Operand object = ObjectOperand(m);
    return InvokeSite(e, m, object, mark, *args, statement);
  }

  // The default member of an object the host added by name, called with arguments
  // (`Hotspot(5)`): a member site without a member (see MemberSite).
  Operand DefaultMemberValue(CallExpr* c) {
    int mark = top_;
    Operand object = NameOperand(static_cast<NameExpr*>(c->callee));
    return InvokeSite(c, nullptr, object, mark, c->args, false);
  }

  // The member site of MemberValue and DefaultMemberValue once the object's operand is known
  // (computed into the temporary at `mark`, or read in place).
  // `assigned`: the site assigns the value in that register (flags kInvokeLet or kInvokeSet).
  // `classMember`: the site calls that member of the object running (see MemberSite).
  Operand InvokeSite(Expr* e, MemberExpr* m, Operand object, int mark,
                     const std::vector<Expr*>& args, bool statement, int assigned = -1,
                     std::uint8_t assignFlags = 0, std::int32_t classMember = -1) {
    int dst = top_ > mark ? mark : NewTemp();
    NewTemp();  // the member's number
    MayHoldObject(dst);
    MayHoldObject(dst + 1);
    MemberSite site;
    site.expr = e;
    site.member = m;
    site.flags = static_cast<std::uint8_t>(statement ? kInvokeCall : kInvokeGet | kInvokeCall);
    site.statement = statement;
    if (assigned >= 0) {
      site.assign = true;
      site.value = U16(assigned);
      site.flags = assignFlags;
    }
    site.classMember = classMember;
    std::size_t at = Emit({Opcode::MemberBegin, 0, U16(dst), object});
    site.firstValue = U16(top_);
    std::vector<std::size_t> captures;
    Arguments(args, site.args, dst, site.captured, site.elements, captures, true);
    std::uint32_t index = Add(code_.members, std::move(site));
    code_.instrs[at].d = index;
    for (std::size_t capture : captures)
      code_.instrs[capture].d = index;
    Instr call{Opcode::MemberCall, 0, U16(dst)};
    call.d = index;
    Emit(call);
    code_.instrs[at].c = U16(static_cast<int>(Here()));
    top_ = dst + 1;
    return Reg(dst);
  }

  // A call statement: a member call or a procedure call (`Foo a, b`, `Foo`) the code evaluates
  // itself, else the tree walker's.
  void CallStatement(CallStmt* s) {
    if (MemberCompilable(s->call)) {
      MemberValue(s->call, true);
      return;
    }
    if (s->call->kind == ExprKind::Call) {
      auto* c = static_cast<CallExpr*>(s->call);
      if (ClassMemberName(c->callee) && ArgumentsCompilable(c->args)) {
        ClassMemberCall(c, static_cast<NameExpr*>(c->callee), c->args, true);
        return;
      }
      if (c->callee->kind == ExprKind::Name) {
        auto* n = static_cast<NameExpr*>(c->callee);
        if (!PlainName(n) && CanBeProcedure(n) && ArgumentsCompilable(c->args)) {
          CallValue(c, s);
          return;
        }
        if (PlainName(n) && !c->args.empty() && c->args.size() <= 60 &&
            ArgumentsCompilable(c->args)) {
          ElementValue(c, true);  // a variable's default member (or element) as a statement
          return;
        }
      }
    } else if (ClassMemberName(s->call)) {
      static const std::vector<Expr*> kNoArgs;
      ClassMemberCall(s->call, static_cast<NameExpr*>(s->call), kNoArgs, true);
      return;
    } else if (s->call->kind == ExprKind::Name) {
      auto* n = static_cast<NameExpr*>(s->call);
      if (!PlainName(n) && CanBeProcedure(n)) {
        static const std::vector<Expr*> kNoArgs;
        ProcedureCall(n, kNoArgs, nullptr, s);
        return;
      }
    }
    Tree(s);
  }

  Operand BinaryValue(BinaryExpr* b) {
    int mark = top_;
    return BinaryRest(b, LeftOperand(b), mark);
  }

  // The left side of a binary operator, as the operand the operator reads.
  Operand LeftOperand(BinaryExpr* b) {
    Operand l = Value(b->left);
    // A variable read in place may be changed by evaluating the right side when that calls
    // anything: then its value is taken first.
    bool variable = KindOf(l) == OperandKind::RefParam || KindOf(l) == OperandKind::Name ||
                    (KindOf(l) == OperandKind::Register && IndexOf(l) < code_.firstTemp);
    if (variable && !Simple(b->right)) {
      int t = NewTemp();
      Emit({Opcode::Copy, 0, U16(t), l});
      MayHoldObject(t);
      l = Reg(t);
    }
    return l;
  }

  // The right side of a binary operator whose left side is `l`, and the operator (its value in
  // the temporary at `mark`).
  Operand BinaryRest(BinaryExpr* b, Operand l, int mark) {
    Operand r = Value(b->right);
    top_ = mark;
    int dst = NewTemp();
    Instr i{Opcode::Binary, static_cast<std::uint8_t>(b->op), U16(dst), l, r};
    // An Integer literal on the right goes into the instruction itself.
    bool integer = KindOf(r) == OperandKind::Constant &&
                   code_.constants[IndexOf(r)].Type() == VarType::Integer;
    switch (b->op) {
      case Op::Add:
        i.op = integer ? Opcode::AddIntK : Opcode::AddInt;
        break;
      case Op::Sub:
        i.op = integer ? Opcode::SubIntK : Opcode::SubInt;
        break;
      case Op::Mul:
        i.op = integer ? Opcode::MulIntK : Opcode::MulInt;
        break;
      case Op::Mod:
        i.op = integer ? Opcode::ModIntK : Opcode::ModInt;
        break;
      case Op::And:
        i.op = Opcode::AndOp;
        break;
      case Op::Or:
        i.op = Opcode::OrOp;
        break;
      default:
        if (IsComparison(b->op)) {
          i.op = integer ? Opcode::CompareK : Opcode::Compare;
          i.flags |= LiteralBits(b);
        }
        break;
    }
    if (integer && i.op != Opcode::Binary && i.op != Opcode::AndOp && i.op != Opcode::OrOp) {
      i.c = static_cast<std::uint16_t>(code_.constants[IndexOf(r)].AsInteger());
    }
    Emit(i);
    return Reg(dst);
  }

  static std::uint8_t LiteralBits(const BinaryExpr* b) {
    std::uint8_t bits = 0;
    if (IsLiteralOperand(b->left)) bits |= kLeftLiteral;
    if (IsLiteralOperand(b->right)) bits |= kRightLiteral;
    return bits;
  }

  // `e` when it is a comparison (in parentheses or not), else null.
  static BinaryExpr* Comparison(Expr* e) {
    e = const_cast<Expr*>(WithoutParens(e));
    if (e->kind != ExprKind::Binary || !IsComparison(static_cast<BinaryExpr*>(e)->op)) {
      return nullptr;
    }
    return static_cast<BinaryExpr*>(e);
  }

  // Compiles comparison `b` and turns the instruction that computes it (BinaryRest emits the
  // operator's instruction last) into `op`, or `opK` when it compares with an Integer literal;
  // the jump reads the same operands. Returns the jump's index.
  std::size_t FusedComparison(BinaryExpr* b, Opcode op, Opcode opK) {
    BinaryValue(b);
    Instr& compare = code_.instrs.back();
    compare.op = compare.op == Opcode::CompareK ? opK : op;
    return code_.instrs.size() - 1;
  }

  // Jumps when `e` is false; returns the jump to patch. A comparison, `Not` of one, and `Or` or
  // `And` of a value and a comparison jump in the instruction that compares: both sides of `Or`
  // and `And` are still evaluated, in order, and combined by the operator's rules.
  std::size_t JumpIfFalse(Expr* e) {
    int mark = top_;
    Expr* inner = const_cast<Expr*>(WithoutParens(e));
    std::optional<std::size_t> at;
    if (BinaryExpr* compare = Comparison(inner)) {
      Held before = held_;
      at = FusedComparison(compare, Opcode::JumpUnless, Opcode::JumpUnlessK);
      Instr& jump = code_.instrs[*at];
      Operand right = jump.op == Opcode::JumpUnless ? jump.c : jump.b;
      if (ReleasedAtTheEnd({jump.b, right}, before)) jump.flags |= kRelease;
    } else if (inner->kind == ExprKind::Unary && static_cast<UnaryExpr*>(inner)->op == Op::Not) {
      if (BinaryExpr* negated = Comparison(static_cast<UnaryExpr*>(inner)->operand)) {
        at = FusedComparison(negated, Opcode::JumpWhen, Opcode::JumpWhenK);
        code_.instrs[*at].flags |= kNotJump;
      }
    } else if (inner->kind == ExprKind::Binary) {
      auto* b = static_cast<BinaryExpr*>(inner);
      BinaryExpr* right = Comparison(b->right);
      if ((b->op == Op::Or || b->op == Op::And) && right) {
        Operand l = LeftOperand(b);
        if (KindOf(l) != OperandKind::Register) {  // read by the operator: not fused
          Operand v = BinaryRest(b, l, mark);
          top_ = mark;
          return Emit({Opcode::JumpIfFalse, 0, 0, v});
        }
        bool isOr = b->op == Op::Or;
        at = FusedComparison(right, isOr ? Opcode::OrUnless : Opcode::AndUnless,
                             isOr ? Opcode::OrUnlessK : Opcode::AndUnlessK);
        code_.instrs[*at].a = IndexOf(l);
      }
    }
    if (at) {
      top_ = mark;
      return *at;
    }
    Operand v = Value(e);
    top_ = mark;
    return Emit({Opcode::JumpIfFalse, 0, 0, v});
  }

  // Under On Error Resume Next an error from `from` up to here goes on at `resume`.
  std::size_t ResumeAt(std::uint32_t from, std::uint32_t resume) {
    if (!resumable_) return 0;
    code_.resumeRanges.push_back({from, Here(), resume});
    return code_.resumeRanges.size() - 1;
  }

  // ---- Statements ----
  void Statements(const Block& block) {
    for (Stmt* s : block)
      Statement(s);
  }

  // When a statement ends it empties the temporaries that may hold an object or array, so that
  // none outlives the statement in one.
  void Statement(Stmt* s) {
    At(s);
    std::uint32_t begin = Here();
    int mark = top_;
    Held outerHeld = held_, outerNested = nested_;
    held_ = Held();
    nested_ = Held();
    int outerHighWater = highWater_;
    highWater_ = mark;
    switch (s->kind) {
      case StmtKind::Assign:
        Assign(static_cast<AssignStmt*>(s));
        break;
      case StmtKind::If:
        If(static_cast<IfStmt*>(s));
        break;
      case StmtKind::Do:
        Do(static_cast<DoStmt*>(s));
        break;
      case StmtKind::For:
        For(static_cast<ForStmt*>(s));
        break;
      case StmtKind::Select:
        Select(static_cast<SelectStmt*>(s));
        break;
      case StmtKind::Exit:
        Exit(static_cast<ExitStmt*>(s));
        break;
      case StmtKind::Call:
        CallStatement(static_cast<CallStmt*>(s));
        break;
      case StmtKind::With:
        With(static_cast<WithStmt*>(s));
        break;
      case StmtKind::Dim: {
        // Declaring a variable does nothing when the code runs; an array declared with its
        // size (a literal) is made then.
        const auto& items = static_cast<DimStmt*>(s)->items;
        if (std::any_of(items.begin(), items.end(), [](const DimItem& i) { return i.isArray; })) {
          Instr declare{Opcode::DeclareArrays};
          declare.d = Add(code_.stmts, s);
          Emit(declare);
        }
        break;
      }
      case StmtKind::Erase: {
        Instr erase{Opcode::EraseArray};
        erase.d = Add(code_.stmts, s);
        Emit(erase);
        break;
      }
      case StmtKind::Const:
        for (auto& [name, value] : static_cast<ConstStmt*>(s)->items) {
          Operand v = Value(value);
          top_ = mark;
          Instr store{Opcode::ConstStore, 0, 0, v};
          store.d = Add(code_.names, name);
          Emit(store);
        }
        break;
      case StmtKind::Randomize: {
        Expr* seed = static_cast<RandomizeStmt*>(s)->seed;
        Operand v = seed ? Value(seed) : 0;
        top_ = mark;
        Emit({Opcode::Reseed, static_cast<std::uint8_t>(seed ? 1 : 0), 0, v});
        break;
      }
      case StmtKind::ReDim:
        ReDim(static_cast<ReDimStmt*>(s));
        break;
      case StmtKind::ForEach:
        ForEach(static_cast<ForEachStmt*>(s));
        break;
      case StmtKind::OnError:
        Emit({Opcode::OnError,
              static_cast<std::uint8_t>(static_cast<OnErrorStmt*>(s)->resumeNext ? 1 : 0)});
        break;
      case StmtKind::Nop:
        break;
      default:
        Tree(s);
        break;
    }
    ResumeAt(begin, Here());  // an error goes on after the statement
    top_ = mark;
    // The statements inside empty their own temporaries when they end; only a loop's end is
    // reached past them (Exit Do / Exit For), so a loop empties theirs too.
    if (s->kind == StmtKind::For || s->kind == StmtKind::Do || s->kind == StmtKind::ForEach) {
      held_.Merge(nested_);
    }
    if (held_.object) {
      int low = held_.high > 0 ? held_.low : mark;
      Emit({Opcode::Clear, static_cast<std::uint8_t>(held_.byName ? 1 : 0), U16(low),
            static_cast<Operand>(std::max(held_.high - low, 0))});
    }
    highWater_ = std::max(outerHighWater, highWater_);
    nested_.Merge(held_);
    outerNested.Merge(nested_);
    held_ = outerHeld;
    nested_ = outerNested;
  }

  // ReDim: for each item, the check of a fixed array (without Preserve), then each bound
  // evaluated and checked in its turn, then the array made.
  void ReDim(ReDimStmt* s) {
    std::uint32_t stmt = Add(code_.stmts, static_cast<Stmt*>(s));
    for (std::size_t k = 0; k < s->items.size(); ++k) {
      const DimItem& item = s->items[k];
      if (item.bounds.size() > 60 || k > 0xFFFF) throw NotCompiled();
      if (!s->preserve) {
        Instr check{Opcode::ReDimCheck, 0, 0, 0, U16(static_cast<int>(k))};
        check.d = stmt;
        Emit(check);
      }
      int base = top_;
      for (std::size_t j = 0; j < item.bounds.size(); ++j)
        NewTemp();
      for (std::size_t j = 0; j < item.bounds.size(); ++j) {
        int mark = top_;
        Operand v = Value(item.bounds[j]);
        top_ = mark;
        Emit({Opcode::ReDimBound, 0, U16(base + static_cast<int>(j)), v});
      }
      Instr make{Opcode::ReDimItem,
                 static_cast<std::uint8_t>(item.bounds.size() | (s->preserve ? 0x80 : 0)),
                 U16(base), 0, U16(static_cast<int>(k))};
      make.d = stmt;
      Emit(make);
      top_ = base;
    }
  }

  // A statement left to the tree walker; an Exit Do or Exit For in its body goes to the end of
  // the innermost loop of that kind here.
  void Tree(Stmt* s) {
    Instr i{Opcode::ExecTree, 0, kNoTarget, kNoTarget};
    i.d = Add(code_.stmts, s);
    std::size_t at = Emit(i);
    bool doFound = false, forFound = false;
    for (auto it = loops_.rbegin(); it != loops_.rend(); ++it) {
      if (it->isFor && !forFound) {
        forFound = true;
        it->exits.emplace_back(at, ExitField::ExitFor);
      } else if (!it->isFor && !doFound) {
        doFound = true;
        it->exits.emplace_back(at, ExitField::ExitDo);
      }
    }
  }

  void Assign(AssignStmt* a) {
    if (a->appendInPlace) {
      if (!AppendCompilable(a)) return Tree(a);
      // In place when AppendBegin finds it can be, else by the general way after it.
      std::size_t done = AppendInPlace(a);
      AssignValue(a);
      PatchD(done);
      return;
    }
    AssignValue(a);
  }

  // x = x & a & b with x a variable the code names directly (a local, a parameter, a global
  // variable) and few enough pieces for AppendJoin's count.
  bool AppendCompilable(const AssignStmt* a) const {
    auto* n = static_cast<const NameExpr*>(a->target);
    return !a->isSet && a->target->kind == ExprKind::Name && !n->ref.readOnly && PlainName(n) &&
           a->pieces.size() <= 0xFF;
  }

  // The in-place append of x = x & a & b: AppendBegin checks that x holds a string and the
  // pieces cannot change it (else the general way runs, at AppendBegin's c); each piece is then
  // evaluated and made text in its turn, as the tree walker does, and all are appended at once.
  // Returns the jump over the general way, to patch.
  std::size_t AppendInPlace(AssignStmt* a) {
    Operand target = NameOperand(static_cast<NameExpr*>(a->target));
    Instr begin{Opcode::AppendBegin, 0, 0, target};
    begin.d = Add(code_.stmts, static_cast<Stmt*>(a));
    std::size_t at = Emit(begin);
    int base = top_;
    for (std::size_t k = 0; k < a->pieces.size(); ++k)
      MayHoldObject(NewTemp());
    for (std::size_t k = 0; k < a->pieces.size(); ++k) {
      int mark = top_;
      Operand v = Value(a->pieces[k]);
      top_ = mark;
      Emit({Opcode::AppendPart, 0, U16(base + static_cast<int>(k)), v});
    }
    Emit({Opcode::AppendJoin, static_cast<std::uint8_t>(a->pieces.size()), U16(base), target});
    top_ = base;
    std::size_t done = Emit({Opcode::Jump});
    code_.instrs[at].c = U16(static_cast<int>(Here()));
    return done;
  }

  void AssignValue(AssignStmt* a) {
    if (a->target->kind == ExprKind::Member && HasObject(static_cast<MemberExpr*>(a->target))) {
      return MemberAssign(a);
    }
    if (a->target->kind == ExprKind::Call) {
      auto* c = static_cast<CallExpr*>(a->target);
      if (c->callee->kind == ExprKind::Member && HasObject(static_cast<MemberExpr*>(c->callee)) &&
          ArgumentsCompilable(c->args)) {
        return MemberAssignWithArguments(a);
      }
    }
    if (NestedElementTarget(a)) return NestedElementAssign(a);
    if (a->isSet) {
      if (ElementTarget(a)) {
        // Set a(i) = object: the value, found to be an object, then the subscripts, then the
        // element (or the container's default member) set.
        auto* c = static_cast<CallExpr*>(a->target);
        int value = SetValue(a);
        Operand container = NameOperand(static_cast<NameExpr*>(c->callee));
        ElementTargetCheck(c, container);
        int base = Subscripts(c->args);
        Instr i{Opcode::ElemSet, static_cast<std::uint8_t>(c->args.size() | kSetElement),
                U16(value), container, U16(base)};
        i.d = Add(code_.exprs, static_cast<Expr*>(c));
        Emit(i);
        return;
      }
      if (a->target->kind != ExprKind::Name) return Tree(a);
      // The value, found to be an object, then the name assigned by the general rules.
      int value = SetValue(a);
      Instr store{Opcode::AssignTo, 1, U16(value)};
      store.d = Add(code_.exprs, a->target);
      Emit(store);
      return;
    }
    if (a->target->kind == ExprKind::Name) {
      auto* n = static_cast<NameExpr*>(a->target);
      if (n->ref.kind == NameKind::Local && !n->ref.readOnly) {
        int mark = top_;
        Operand v = Value(a->value);
        top_ = mark;
        bool computed = KindOf(v) == OperandKind::Register && IndexOf(v) >= code_.firstTemp &&
                        !code_.instrs.empty() && code_.instrs.back().a == IndexOf(v) &&
                        ProducesPlainValue(code_.instrs.back());
        if (computed) {
          Instr& op = code_.instrs.back();
          op.a = U16(n->ref.slot);  // the operator stores into the variable
          // An operator that read the statement's temporaries lets go of them once computed.
          if (OperandsReleasable(op.op) &&
              (HasIntegerLiteral(op.op) ? ReleasedAtTheEnd({op.b})
                                        : ReleasedAtTheEnd({op.b, op.c}))) {
            op.flags |= kRelease;
          }
        } else {
          Emit({Opcode::Move, 0, U16(n->ref.slot), v});
          ReleasesAtTheEnd({v});
        }
        return;
      }
      int mark = top_;
      Operand v = Value(a->value);
      top_ = mark;
      if (n->ref.kind == NameKind::RefParam) {
        Emit({Opcode::StoreRef, 0, 0, v, U16(n->ref.slot)});
      } else {
        Emit({Opcode::StoreName, 0, 0, v, U16(static_cast<int>(Add(code_.names, n)))});
      }
      ReleasesAtTheEnd({v});
      return;
    }
    if (a->target->kind == ExprKind::Call) {
      auto* c = static_cast<CallExpr*>(a->target);
      if (ElementTarget(a)) {
        // An element at one subscript the instruction reads itself takes the value as it is
        // (the instruction reads an object's default value before anything else) and releases
        // its register; the rest take the value in a register of its own.
        bool single = c->args.size() == 1 &&
                      (DirectOperand(c->args[0]) || OffsetSubscript(c->args[0]).has_value());
        int value = single ? ValueRegister(a->value) : NewTemp();
        if (!single) ValueInto(a->value, value);
        Operand container = NameOperand(static_cast<NameExpr*>(c->callee));
        if (SingleSubscriptElement(c, Opcode::ElemSet1, Opcode::ElemSetK, value, container)) {
          ReleasedAtTheEnd({Reg(value)});
          return;
        }
        ElementTargetCheck(c, container);
        int base = Subscripts(c->args);
        Instr i{Opcode::ElemSet, static_cast<std::uint8_t>(c->args.size()), U16(value), container,
                U16(base)};
        i.d = Add(code_.exprs, static_cast<Expr*>(c));
        Emit(i);
        return;
      }
    }
    Tree(a);
  }

  // Whether the target of `a` is an element of a variable (or its default member) the code
  // assigns (ElemSet): a(i, j) with a name that is a variable (a field of the object running
  // included).
  bool ElementTarget(const AssignStmt* a) const {
    if (a->target->kind != ExprKind::Call) return false;
    auto* c = static_cast<const CallExpr*>(a->target);
    if (c->callee->kind != ExprKind::Name || c->args.empty() || c->args.size() > 60) return false;
    auto* n = static_cast<const NameExpr*>(c->callee);
    return (PlainName(n) || n->ref.kind == NameKind::Field) && !n->ref.readOnly;
  }

  // Whether the target of `a` is an element of an element of a variable (a(i)(j)) whose inner
  // element ElementTarget's rules take.
  bool NestedElementTarget(const AssignStmt* a) const {
    if (a->target->kind != ExprKind::Call) return false;
    auto* c = static_cast<const CallExpr*>(a->target);
    if (c->callee->kind != ExprKind::Call || c->args.empty() || c->args.size() > 60) return false;
    auto* inner = static_cast<const CallExpr*>(c->callee);
    if (inner->callee->kind != ExprKind::Name || inner->args.empty() || inner->args.size() > 60) {
      return false;
    }
    auto* n = static_cast<const NameExpr*>(inner->callee);
    return (PlainName(n) || n->ref.kind == NameKind::Field) && !n->ref.readOnly;
  }

  // a(i)(j) = v: the value as it is (for Set, found to be an object); when the variable holds an
  // array, the inner subscripts, the inner element located (NestLocate), the outer subscripts
  // and the element written (NestStore). Otherwise, or when the inner element holds an object,
  // a(i) is evaluated as a value, checked (NestValue), and its element or default member
  // assigned at the outer subscripts (NestValueSet).
  void NestedElementAssign(AssignStmt* a) {
    auto* c = static_cast<CallExpr*>(a->target);
    auto* inner = static_cast<CallExpr*>(c->callee);
    std::uint8_t set = a->isSet ? kSetElement : 0;
    std::uint32_t target = Add(code_.exprs, static_cast<Expr*>(c));
    int value = SetValue(a);
    MayHoldObject(NewTemp());  // (the array kept)
    NewTemp();                 // (the element's index in it)
    Operand container = NameOperand(static_cast<NameExpr*>(inner->callee));
    Instr begin{Opcode::NestBegin, 0, U16(value), container};
    begin.d = target;
    std::size_t beginAt = Emit(begin);
    int mark = top_;
    [[maybe_unused]] int innerBase = Subscripts(inner->args);
    assert(innerBase == value + 3);
    Instr locate{Opcode::NestLocate, static_cast<std::uint8_t>(inner->args.size() | set),
                 U16(value), container};
    locate.d = target;
    std::size_t locateAt = Emit(locate);
    int outerBase = Subscripts(c->args);
    Instr store{Opcode::NestStore, static_cast<std::uint8_t>(c->args.size() | set), U16(value), 0,
                U16(outerBase)};
    store.d = target;
    Emit(store);
    std::size_t done = Emit({Opcode::Jump});
    top_ = mark;
    code_.instrs[beginAt].c = U16(static_cast<int>(Here()));
    code_.instrs[locateAt].c = U16(static_cast<int>(Here()));
    int object = RawValueRegister(inner);
    Instr check{Opcode::NestValue, set, U16(value), Reg(object)};
    check.d = target;
    Emit(check);
    int base = Subscripts(c->args);
    Instr put{Opcode::NestValueSet, static_cast<std::uint8_t>(c->args.size() | set), U16(value),
              Reg(object), U16(base)};
    put.d = target;
    Emit(put);
    PatchD(done);
  }

  // Before the subscripts of an element assigned: what holds neither an array nor an object
  // fails first (ElemSetCheck), as the tree walker finds it before evaluating them.
  void ElementTargetCheck(CallExpr* c, Operand container) {
    Instr check{Opcode::ElemSetCheck, 0, 0, container};
    check.d = Add(code_.exprs, static_cast<Expr*>(c));
    Emit(check);
  }

  // The value of a Set, as it is, in a temporary: error 424 unless it is an object.
  int SetValue(AssignStmt* a) {
    int value = RawValueRegister(a->value);
    if (a->isSet) {
      Instr check{Opcode::SetCheck, 0, U16(value)};
      check.d = Add(code_.exprs, a->value);
      Emit(check);
    }
    return value;
  }

  // A member of the code's class called by its bare name (`Helper(x)`, `Helper x`, `Helper`):
  // a member site on the object running.
  Operand ClassMemberCall(Expr* e, NameExpr* n, const std::vector<Expr*>& args, bool statement) {
    int mark = top_;
    int me = NewTemp();
    MayHoldObject(me);
    Emit({Opcode::LoadMe, 0, U16(me)});
    return InvokeSite(e, nullptr, Reg(me), mark, args, statement, -1, 0, n->ref.slot);
  }

  // Whether `n` names a member of the code's class (a method or property).
  static bool ClassMemberName(const Expr* e) {
    return e->kind == ExprKind::Name &&
           static_cast<const NameExpr*>(e)->ref.kind == NameKind::ClassMember;
  }

  // object.member(args) = value: the value first (for Set, found to be an object), then the
  // object, then the member looked up, then the arguments, then the member assigned.
  void MemberAssignWithArguments(AssignStmt* a) {
    auto* c = static_cast<CallExpr*>(a->target);
    auto* m = static_cast<MemberExpr*>(c->callee);
    int value = SetValue(a);
    int mark = top_;
    Operand object = ObjectOperand(m);
    InvokeSite(c, m, object, mark, c->args, true, value, a->isSet ? kInvokeSet : kInvokeLet);
  }

  // object.member = value (Set object.member = value): the value first (for Set, found to be an
  // object), then the object, then the member assigned.
  void MemberAssign(AssignStmt* a) {
    auto* m = static_cast<MemberExpr*>(a->target);
    int value = SetValue(a);
    int mark = top_;
    Operand object = ObjectOperand(m);
    bool computed = top_ > mark;  // (a temporary, released once assigned)
    Instr store{Opcode::MemberSet,
                static_cast<std::uint8_t>((a->isSet ? kSetFlag : 0) | (computed ? kComputed : 0)),
                U16(value), object};
    store.d = Add(code_.exprs, a->target);
    Emit(store);
  }

  // Whether an operator instruction may release the temporaries it read (kRelease).
  static bool OperandsReleasable(Opcode op) {
    switch (op) {
      case Opcode::Binary:
      case Opcode::AddInt:
      case Opcode::SubInt:
      case Opcode::MulInt:
      case Opcode::ModInt:
      case Opcode::AddIntK:
      case Opcode::SubIntK:
      case Opcode::MulIntK:
      case Opcode::ModIntK:
        return true;
      default:
        return false;
    }
  }

  // Whether an instruction's result is a fresh number, string or Boolean (never an object), so
  // that it may be stored straight into a variable.
  static bool ProducesPlainValue(const Instr& i) {
    switch (i.op) {
      case Opcode::Binary:
      case Opcode::AddInt:
      case Opcode::SubInt:
      case Opcode::MulInt:
      case Opcode::ModInt:
      case Opcode::Compare:
      case Opcode::AddIntK:
      case Opcode::SubIntK:
      case Opcode::MulIntK:
      case Opcode::ModIntK:
      case Opcode::CompareK:
      case Opcode::Unary:
        return true;
      default:
        return false;
    }
  }

  void If(IfStmt* s) {
    std::vector<std::size_t> ends;
    for (std::size_t k = 0; k < s->conditions.size(); ++k) {
      At(s);
      std::uint32_t begin = Here();
      std::size_t skip = JumpIfFalse(s->conditions[k]);
      ResumeAt(begin, Here());  // a failing condition counts as true
      Statements(s->blocks[k]);
      // (the last block goes on where the statement ends when there is no Else)
      if (k + 1 < s->conditions.size() || !s->elseBlock.empty()) {
        ends.push_back(Emit({Opcode::Jump}));
      }
      PatchD(skip);
    }
    Statements(s->elseBlock);
    for (std::size_t at : ends)
      PatchD(at);
  }

  void Do(DoStmt* s) {
    loops_.push_back({false, {}});
    std::uint32_t top = Here();
    std::vector<std::size_t> exits;
    if (s->test == DoStmt::PreWhile) {
      exits.push_back(JumpIfFalse(s->condition));
    } else if (s->test == DoStmt::PreUntil) {
      exits.push_back(JumpIfTrue(s->condition));
    }
    ResumeAt(top, Here());  // a failing condition before the body goes on with the body
    // (one after the body leaves the loop: the statement's own range)
    Statements(s->body);
    At(s);
    if (s->test == DoStmt::PostWhile) {
      exits.push_back(JumpIfFalse(s->condition));
    } else if (s->test == DoStmt::PostUntil) {
      exits.push_back(JumpIfTrue(s->condition));
    }
    Instr back{Opcode::Loop};
    back.d = top;
    Emit(back);
    for (std::size_t at : exits)
      PatchD(at);
    PatchExits();
  }

  // Jumps when `e` is true; returns the jump to patch. A comparison jumps in the instruction
  // that compares.
  std::size_t JumpIfTrue(Expr* e) {
    int mark = top_;
    if (BinaryExpr* b = Comparison(e)) {
      std::size_t at = FusedComparison(b, Opcode::JumpWhen, Opcode::JumpWhenK);
      top_ = mark;
      return at;
    }
    Operand v = Value(e);
    top_ = mark;
    return Emit({Opcode::JumpIfTrue, 0, 0, v});
  }

  // Under On Error Resume Next, the instruction a loop's or With's failing head resumes at,
  // which marks the statement's state r[reg] failed; the way in jumps over it. Returns its place
  // (0 without On Error Resume Next) and sets `head` where the head's own code starts.
  std::size_t HeadFailure(Opcode op, int reg, std::uint32_t& head) {
    std::size_t failed = 0;
    if (resumable_) {
      Instr over{Opcode::Jump};
      over.d = Here() + 2;
      Emit(over);
      failed = Emit({op, 0, U16(reg)});
    }
    head = Here();
    return failed;
  }

  void For(ForStmt* s) {
    int state = NewTemp();
    NewTemp();
    NewTemp();
    // Under On Error Resume Next a failing head goes on with the body, once: the loop's end
    // then fails as a loop not started would.
    std::uint32_t head = 0;
    std::size_t failed = HeadFailure(Opcode::ForFail, state, head);
    ValueInto(s->from, state);
    ValueInto(s->to, state + 1);
    if (s->step) {
      ValueInto(s->step, state + 2);
    } else {
      Operand one = MakeOperand(OperandKind::Constant,
                                Add(code_.constants, Variant(static_cast<std::int16_t>(1))));
      Emit({Opcode::Copy, 0, U16(state + 2), one});
      MayHoldObject(state + 2);  // the loop's state
    }
    Operand counter = NameOperand(s->var);
    if (resumable_) ResumeAt(head, static_cast<std::uint32_t>(failed));
    std::size_t init = Emit({Opcode::ForInit, 0, U16(state), counter});
    std::uint32_t body = Here();
    if (resumable_) code_.instrs[failed].d = body;
    loops_.push_back({true, {}});
    Statements(s->body);
    At(s);
    Instr next{Opcode::ForNext, 0, U16(state), counter};
    next.d = body;
    Emit(next);
    PatchD(init);
    PatchExits();
  }

  // With: the object in a register of the statement, which members without an object of their
  // own use; the frame's With object points there while the body runs, for what the code leaves
  // to the tree walker. Under On Error Resume Next a failing head leaves the body to run with
  // no object (Empty).
  void With(WithStmt* s) {
    int object = top_;
    std::uint32_t head = 0;
    std::size_t failed = HeadFailure(Opcode::WithFail, object, head);
    if (RawValueRegister(s->object) != object) throw NotCompiled();  // (always the top)
    if (resumable_) ResumeAt(head, static_cast<std::uint32_t>(failed));
    std::uint32_t body = Here();
    if (resumable_) code_.instrs[failed].d = body;
    Emit({Opcode::WithSet, 0, U16(object)});
    for (Loop& loop : loops_)
      loop.withInside = true;
    withs_.push_back(object);
    Statements(s->body);
    withs_.pop_back();
    At(s);
    Emit({Opcode::WithSet, 0, WithRegister()});
  }

  // The register of the innermost With's object, for WithSet (kNoTarget: none).
  std::uint16_t WithRegister() const { return withs_.empty() ? kNoTarget : U16(withs_.back()); }

  // For Each: the collection in r[state], then the loop's place in it in r[state + 1] (the next
  // index of an array, or the collection's enumerator); each item is stored in the variable at
  // the loop's end (ForEachNext, which is also where the loop starts), which is Empty once the
  // items run out. Under On Error Resume Next a failing head runs the body once, and the loop's
  // end then fails as a loop not started would (451).
  void ForEach(ForEachStmt* s) {
    if (s->var->ref.readOnly) return Tree(s);  // (a constant: error 501 once the head is done)
    int state = top_;
    std::uint32_t head = 0;
    std::size_t failed = HeadFailure(Opcode::ForEachFail, state, head);
    if (RawValueRegister(s->collection) != state) throw NotCompiled();  // (always the top)
    top_ = state + 1;
    MayHoldObject(NewTemp());
    Instr init{Opcode::ForEachInit, 0, U16(state)};
    init.d = Add(code_.stmts, static_cast<Stmt*>(s));
    std::size_t begin = Emit(init);
    if (resumable_) ResumeAt(head, static_cast<std::uint32_t>(failed));
    std::uint32_t body = Here();
    if (resumable_) code_.instrs[failed].d = body;
    loops_.push_back({true, {}});
    Statements(s->body);
    At(s);
    code_.instrs[begin].c = U16(static_cast<int>(Here()));
    Instr next{Opcode::ForEachNext, 0, U16(state), NameOperand(s->var)};
    next.d = body;
    Emit(next);
    PatchExits();
  }

  void Select(SelectStmt* s) {
    int subject = NewTemp();
    ValueInto(s->subject, subject);
    std::vector<std::size_t> ends;
    for (CaseClause& clause : s->clauses) {
      At(s);
      if (clause.tests.empty()) {
        Statements(clause.body);
        continue;
      }
      std::vector<std::size_t> matches;
      std::vector<std::size_t> failures;  // ranges of the tests, which go on with the Case
      for (CaseTest& test : clause.tests) {
        At(s);
        std::uint32_t begin = Here();
        int mark = top_;
        if (test.kind == CaseTest::Range) {
          // Both bounds are evaluated before either is compared.
          int low = NewTemp();
          ValueInto(test.a, low);
          int high = NewTemp();
          ValueInto(test.b, high);
          Instr below{Opcode::CaseJump,
                      static_cast<std::uint8_t>(static_cast<std::uint8_t>(Op::Ge) | kNegate |
                                                (IsLiteralOperand(test.a) ? kRightLiteral : 0)),
                      U16(subject), Reg(low)};
          std::size_t skip = Emit(below);
          Instr within{Opcode::CaseJump,
                       static_cast<std::uint8_t>(static_cast<std::uint8_t>(Op::Le) |
                                                 (IsLiteralOperand(test.b) ? kRightLiteral : 0)),
                       U16(subject), Reg(high)};
          matches.push_back(Emit(within));
          PatchD(skip);
        } else {
          Operand v = Value(test.a);
          Op op = test.kind == CaseTest::Value ? Op::Eq : test.op;
          Instr match{Opcode::CaseJump,
                      static_cast<std::uint8_t>(static_cast<std::uint8_t>(op) |
                                                (IsLiteralOperand(test.a) ? kRightLiteral : 0)),
                      U16(subject), v};
          matches.push_back(Emit(match));
        }
        top_ = mark;
        if (resumable_) failures.push_back(ResumeAt(begin, 0));
      }
      std::size_t next = Emit({Opcode::Jump});
      for (std::size_t at : matches)
        PatchD(at);
      for (std::size_t range : failures)
        code_.resumeRanges[range].resume = Here();
      Statements(clause.body);
      ends.push_back(Emit({Opcode::Jump}));
      PatchD(next);
    }
    for (std::size_t at : ends)
      PatchD(at);
  }

  void Exit(ExitStmt* s) {
    bool isFor = s->what == ExitKind::For;
    if (s->what == ExitKind::For || s->what == ExitKind::Do) {
      for (auto it = loops_.rbegin(); it != loops_.rend(); ++it) {
        if (it->isFor == isFor) {
          it->exits.emplace_back(Emit({Opcode::Jump}), ExitField::Jump);
          return;
        }
      }
      return Tree(s);  // outside its loop: the flow leaves the code as the tree walker's does
    }
    Emit({Opcode::Return, 1});
  }

  // The end of the innermost loop: its exits go here. When the loop holds a With, an exit may
  // leave it: the frame's With object is set back to the loop's first.
  void PatchExits() {
    Loop loop = std::move(loops_.back());
    loops_.pop_back();
    std::uint32_t end = Here();
    if (loop.withInside) Emit({Opcode::WithSet, 0, WithRegister()});
    for (auto [at, field] : loop.exits) {
      switch (field) {
        case ExitField::Jump:
          code_.instrs[at].d = end;
          break;
        case ExitField::ExitDo:
          code_.instrs[at].a = U16(static_cast<int>(end));
          break;
        case ExitField::ExitFor:
          code_.instrs[at].b = U16(static_cast<int>(end));
          break;
      }
    }
  }

  Code& code_;
  const GlobalScope& globals_;
  int top_;
  int highWater_ = 0;
  bool resumable_;  // the body uses On Error: errors may go on where the code says
  Held held_;       // the statement's own
  Held nested_;     // the statements inside it
  std::vector<Loop> loops_;
  std::vector<int> withs_;  // the registers of the With objects around, innermost last
};

}  // namespace

namespace {

// The form of an instruction for the kind of its operand b, where it has one: a name (a global
// variable, read in place once bound) or a parameter by reference is then read without the
// general look-up of the operand's kind. Done once the code is complete, so that the compiler
// sees only the general forms.
void SpecializeOperands(Code& code) {
  struct Forms {
    Opcode general, name, param;
  };
  static constexpr Forms kForms[] = {
      {Opcode::Move, Opcode::MoveN, Opcode::MoveP},
      {Opcode::ElemGet1, Opcode::ElemGet1N, Opcode::ElemGet1},
      {Opcode::ElemSet1, Opcode::ElemSet1N, Opcode::ElemSet1},
      {Opcode::ElemGetK, Opcode::ElemGetKN, Opcode::ElemGetK},
      {Opcode::ElemSetK, Opcode::ElemSetKN, Opcode::ElemSetK},
      {Opcode::ForNext, Opcode::ForNextN, Opcode::ForNext},
      {Opcode::AddInt, Opcode::AddIntN, Opcode::AddInt},
      {Opcode::SubInt, Opcode::SubIntN, Opcode::SubInt},
      {Opcode::MulInt, Opcode::MulIntN, Opcode::MulInt},
      {Opcode::ModInt, Opcode::ModIntN, Opcode::ModInt},
      {Opcode::AddIntK, Opcode::AddIntKN, Opcode::AddIntKP},
      {Opcode::SubIntK, Opcode::SubIntKN, Opcode::SubIntKP},
      {Opcode::MulIntK, Opcode::MulIntKN, Opcode::MulIntKP},
      {Opcode::ModIntK, Opcode::ModIntKN, Opcode::ModIntKP},
      {Opcode::JumpUnlessK, Opcode::JumpUnlessKN, Opcode::JumpUnlessKP},
      {Opcode::JumpWhenK, Opcode::JumpWhenKN, Opcode::JumpWhenKP},
  };
  for (Instr& in : code.instrs) {
    for (const Forms& forms : kForms) {
      if (in.op != forms.general) continue;
      if (KindOf(in.b) == OperandKind::Name) in.op = forms.name;
      if (KindOf(in.b) == OperandKind::RefParam) in.op = forms.param;
      break;
    }
  }
}

}  // namespace

std::shared_ptr<Code> CompileCode(const Block& body, int locals, const GlobalScope& globals) {
  auto code = std::make_shared<Code>();
  try {
    CodeCompiler compiler(*code, locals, globals, UsesOnError(body));
    compiler.Body(body);
  } catch (NotCompiled&) {
    return nullptr;
  }
  code->directs.assign(code->names.size(), nullptr);
  SpecializeOperands(*code);
  return code;
}

}  // namespace sl::vbs
