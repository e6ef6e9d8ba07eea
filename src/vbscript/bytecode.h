// The compact bytecode a procedure's body (or a block's global code) is compiled to before it
// runs: fixed-size instructions over a frame of registers (the procedure's locals, then
// temporaries), a table of constants and a table of the syntax nodes the code still needs
// (names resolved at their first use, statements and expressions it leaves to the tree walker).
// If, loops, Select and Exit become jumps; integer For loops and integer arithmetic have
// instructions of their own.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/variant.h"
#include "vbscript/ast.h"
#include "vbscript/compiler.h"

namespace sl::vbs {

// An operand names where a value is read: the top two bits give the kind, the rest the index.
using Operand = std::uint16_t;
enum class OperandKind : std::uint16_t {
  Register = 0,  // registers[index]: a local or a temporary
  Constant = 1,  // constants[index]
  RefParam = 2,  // *refs[index]: a by-reference parameter
  Name = 3,      // names[index]: a name resolved at its first use (globals and the rest)
};
constexpr int kOperandKindShift = 14;
constexpr std::uint16_t kOperandIndexMask = (1u << kOperandKindShift) - 1;
constexpr std::uint32_t kMaxOperandIndex = kOperandIndexMask;

constexpr Operand MakeOperand(OperandKind kind, std::uint32_t index) {
  return static_cast<Operand>((static_cast<std::uint16_t>(kind) << kOperandKindShift) | index);
}
constexpr OperandKind KindOf(Operand o) {
  return static_cast<OperandKind>(o >> kOperandKindShift);
}
constexpr std::uint16_t IndexOf(Operand o) {
  return o & kOperandIndexMask;
}

// The list of opcodes, in one place so that the dispatch tables follow it.
#define SL_VBS_OPCODES(X)                                                                       \
  X(Move)          /* r[a] = value of b (objects: default value); flags 1: b released */        \
  X(MoveN)         /* Move with b a name (a global variable, read in place when bound) */       \
  X(MoveP)         /* Move with b a parameter by reference */                                   \
  X(Copy)          /* r[a] = b as it is */                                                      \
  X(Clear)         /* release what r[a .. a+b) hold, and (flags 1) the operands' scratch */     \
  X(Binary)        /* r[a] = b <flags: Op> c */                                                 \
  X(AddInt)        /* r[a] = b + c, Integer and Long fast */                                    \
  X(SubInt)        /* r[a] = b - c */                                                           \
  X(MulInt)        /* r[a] = b * c */                                                           \
  X(ModInt)        /* r[a] = b Mod c */                                                         \
  X(AddIntN)       /* AddInt with b a name */                                                   \
  X(SubIntN)       /* SubInt with b a name */                                                   \
  X(MulIntN)       /* MulInt with b a name */                                                   \
  X(ModIntN)       /* ModInt with b a name */                                                   \
  X(AndOp)         /* r[a] = b And c, Booleans fast */                                          \
  X(OrOp)          /* r[a] = b Or c, Booleans fast */                                           \
  X(Compare)       /* r[a] = b <flags: Op, literal bits> c */                                   \
  X(AddIntK)       /* r[a] = b + the Integer c (an Integer literal), fast */                    \
  X(SubIntK)       /* r[a] = b - the Integer c */                                               \
  X(MulIntK)       /* r[a] = b * the Integer c */                                               \
  X(ModIntK)       /* r[a] = b Mod the Integer c */                                             \
  X(AddIntKN)      /* AddIntK with b a name (a global variable, read in place when bound) */    \
  X(SubIntKN)      /* SubIntK with b a name */                                                  \
  X(MulIntKN)      /* MulIntK with b a name */                                                  \
  X(ModIntKN)      /* ModIntK with b a name */                                                  \
  X(AddIntKP)      /* AddIntK with b a parameter by reference */                                \
  X(SubIntKP)      /* SubIntK with b a parameter by reference */                                \
  X(MulIntKP)      /* MulIntK with b a parameter by reference */                                \
  X(ModIntKP)      /* ModIntK with b a parameter by reference */                                \
  X(CompareK)      /* r[a] = b <flags: Op, literal bits> the Integer c */                       \
  X(Unary)         /* r[a] = Neg/Not b (flags: Op) */                                           \
  X(Jump)          /* goto d */                                                                 \
  X(Loop)          /* count a step of a loop (time limit), goto d */                            \
  X(JumpIfFalse)   /* if not b goto d */                                                        \
  X(JumpIfTrue)    /* if b goto d */                                                            \
  X(JumpUnless)    /* if not (b <flags: Op, literal bits> c) goto d: a fused comparison */      \
  X(JumpUnlessK)   /* if not (b <flags: Op, literal bits> the Integer c) goto d */              \
  X(JumpUnlessKN)  /* JumpUnlessK with b a name */                                              \
  X(JumpUnlessKP)  /* JumpUnlessK with b a parameter by reference */                            \
  X(JumpWhen)      /* if (b <flags: Op, literal bits> c) goto d (kNotJump below) */             \
  X(JumpWhenK)     /* if (b <flags: Op, literal bits> the Integer c) goto d */                  \
  X(JumpWhenKN)    /* JumpWhenK with b a name */                                                \
  X(JumpWhenKP)    /* JumpWhenK with b a parameter by reference */                              \
  X(OrUnless)      /* if not (r[a] Or (b <flags: Op, literal bits> c)) goto d */                \
  X(OrUnlessK)     /* if not (r[a] Or (b <flags> the Integer c)) goto d */                      \
  X(AndUnless)     /* if not (r[a] And (b <flags: Op, literal bits> c)) goto d */               \
  X(AndUnlessK)    /* if not (r[a] And (b <flags> the Integer c)) goto d */                     \
  X(CaseJump)      /* if Case test (flags: Op, literal, negate) of r[a] with b goto d */        \
  X(StoreName)     /* names[c] = value of b; flags 1: the temporary b released */               \
  X(StoreRef)      /* *refs[c] = value of b; flags 1: the temporary b released */               \
  X(ElemBegin)     /* an element of array variable b: on, else r[a] = tree(expr d), goto c      \
                      (flags kElemToMember: goto c, where its default member is called) */      \
  X(ElemGet)       /* r[a] = array b (r[c .. c+flags) subscripts) */                            \
  X(IndexBegin)    /* a value computed in register b indexed (a(i)(j)): an array goes on,       \
                      anything else at c (its default member's call) */                         \
  X(ElemSet)       /* b(r[c .. c+flags)) = r[a] (target expression d) */                        \
  X(ElemSetCheck)  /* before the subscripts of b(...) = value (target d): error 13 unless b     \
                      holds an array or an object, 424 for Nothing */                           \
  X(NestBegin)     /* a(i)(j) = r[a] (target d): on when array variable b holds an array, else  \
                      goto c (the inner element evaluated as a value) */                        \
  X(NestLocate)    /* its inner element located at subscripts r[a+3 ...] (flags: their count,   \
                      kSetElement): array kept in r[a+1], index in r[a+2], r[a] made the value  \
                      stored; goto c when b holds no array or the element holds an object */    \
  X(NestStore)     /* that element's element at subscripts r[c ...] = r[a] (flags as above) */  \
  X(NestValue)     /* a(i)(j) = r[a] with a(i)'s value in register b: r[a] made the value       \
                      stored; error 13 unless b is an array or an object, 424 for Nothing */    \
  X(NestValueSet)  /* r[b] (an array or an object) at subscripts r[c ...] = r[a] (flags) */     \
  X(ElemGet1)      /* r[a] = array b (operand c); else r[a] = tree(expr d): one subscript */    \
  X(ElemGet1N)     /* ElemGet1 with b a name (a global variable, in place when bound) */        \
  X(ElemSet1)      /* b(operand c) = value of r[a], released (target d): one subscript */       \
  X(ElemSet1N)     /* ElemSet1 with b a name (a global variable, in place when bound) */        \
  X(ElemGetK)      /* r[a] = array b (operand c + flags as int8); else r[a] = tree(expr d) */   \
  X(ElemGetKN)     /* ElemGetK with b a name (a global variable, in place when bound) */        \
  X(ElemSetK)      /* b(operand c + flags as int8) = value of r[a], released (target d) */      \
  X(ElemSetKN)     /* ElemSetK with b a name (a global variable, in place when bound) */        \
  X(CallBegin)     /* names[b] is a procedure for flags' count of arguments: on; else           \
                      r[a] = tree(expr d) (kCallStatement: it runs statement d), goto c */      \
  X(CallBeginK)    /* CallBegin keeping the procedure found in r[a] (see CallSite::kept) */     \
  X(CallProc)      /* r[a] = the procedure called at calls[d], with its arguments */            \
  X(ArgRefBegin)   /* argument flags & 0x7F of the call begun at r[a] (flags 0x80: members[d],  \
                      else calls[d]) is an element of array variable b passed by reference:     \
                      on; else goto c (its value) (see CallSite::elements) */                   \
  X(ArgRefLocate)  /* that element located at subscripts r[a ...] (flags, d as ArgRefBegin) */  \
  X(ArgCapture)    /* argument c of the call begun at r[a] (flags 1: members[d], else           \
                      calls[d]) is variable b: its value now, unless it is passed by            \
                      reference to a script procedure's parameter (see CallSite::captured) */   \
  X(MemberBegin)   /* r[a] = object b (b == r[a]: computed there), r[a+1] = its member          \
                      members[d]; else the tree walker does the rest, goto c */                 \
  X(MemberCall)    /* r[a] = that member called with its arguments (a statement: dropped) */    \
  X(MemberSet)     /* member exprs[d] of object b = r[a], released (flags: kSetFlag,            \
                      kComputed: b a temporary, released) */                                    \
  X(SetCheck)      /* error 424 unless r[a] is an object (the value of Set, expression d) */    \
  X(AppendBegin)   /* x = x & pieces (statement d) appended in place when variable b holds a    \
                      string and the pieces cannot change it; else goto c */                    \
  X(AppendPart)    /* r[a] = piece b as text (Null: Empty), in its turn */                      \
  X(AppendJoin)    /* the texts r[a .. a+flags) appended to variable b's string, released */    \
  X(AssignTo)      /* target exprs[d] = r[a], released (flags 1: Set) */                        \
  X(LoadMe)        /* r[a] = the script object running (Me) */                                  \
  X(NewObject)     /* r[a] = a new object of New expression d */                                \
  X(WithSet)       /* the frame's With object is r[a] (kNoTarget: none) */                      \
  X(WithFail)      /* a With head failed: r[a] = Empty, goto the body d */                      \
  X(ForEachInit)   /* For Each over r[a] (statement d): r[a+1] = its start; goto c */           \
  X(ForEachNext)   /* next item of r[a], r[a+1] into variable b, goto d; else b = Empty */      \
  X(ForEachFail)   /* a For Each head failed: mark state r[a], goto the body d */               \
  X(EvalTree)      /* r[a] = the tree walker's value of expression d */                         \
  X(ExecTree)      /* the tree walker runs statement d; Exit Do goes to a, Exit For to b */     \
  X(ForInit)       /* For head: counter b, r[a .. a+3) from, to, step; not started: goto d */   \
  X(ForNext)       /* For end: counter b, state r[a .. a+3); goes on: goto d */                 \
  X(ForNextN)      /* ForNext with b a name (a global variable, in place when bound) */         \
  X(OnError)       /* On Error Resume Next (flags 1) or GoTo 0 (flags 0) */                     \
  X(DeclareArrays) /* the arrays Dim statement d declares with their sizes */                   \
  X(EraseArray)    /* Erase statement d */                                                      \
  X(ConstStore)    /* constant names[d] = value of b */                                         \
  X(Reseed)        /* Randomize, with the seed b (flags 1) or none */                           \
  X(ReDimCheck)    /* ReDim statement d, item c, without Preserve: error 10 on a fixed array */ \
  X(ReDimBound)    /* r[a] = the count of a dimension of upper bound b */                       \
  X(ReDimItem)     /* item c of ReDim statement d made with the counts r[a .. a+flags & 0x7F)   \
                      (flags 0x80: Preserve) */                                                 \
  X(ForFail)       /* a For head failed: mark state r[a], goto the body d */                    \
  X(Return)        /* leaves the code */

enum class Opcode : std::uint8_t {
#define SL_VBS_ENUM(name) name,
  SL_VBS_OPCODES(SL_VBS_ENUM)
#undef SL_VBS_ENUM
};

// Whether an integer operator instruction holds an Integer literal in c instead of an operand.
constexpr bool HasIntegerLiteral(Opcode op) {
  switch (op) {
    case Opcode::AddIntK:
    case Opcode::SubIntK:
    case Opcode::MulIntK:
    case Opcode::ModIntK:
    case Opcode::AddIntKN:
    case Opcode::SubIntKN:
    case Opcode::MulIntKN:
    case Opcode::ModIntKN:
    case Opcode::AddIntKP:
    case Opcode::SubIntKP:
    case Opcode::MulIntKP:
    case Opcode::ModIntKP:
    case Opcode::CompareK:
      return true;
    default:
      return false;
  }
}

// Bits of the flags of Compare, JumpUnless and CaseJump besides the operator.
constexpr std::uint8_t kOpMask = 0x1F;
constexpr std::uint8_t kLeftLiteral = 0x20;
constexpr std::uint8_t kRightLiteral = 0x40;
constexpr std::uint8_t kNegate = 0x80;  // CaseJump: jump when the test fails
// JumpWhen: the condition is `Not` of the comparison, which jumps when `Not` of its value is not
// true (so Null jumps too); without it only True jumps.
constexpr std::uint8_t kNotJump = 0x80;
// JumpUnless: the temporaries among its operands are released once compared (nothing else of
// the statement needs them); Binary and the integer operators: the same once computed, when they
// store into a variable.
constexpr std::uint8_t kRelease = 0x80;
// MemberSet: the assignment is a Set; the object is a temporary computed for it.
constexpr std::uint8_t kSetFlag = 0x01;
constexpr std::uint8_t kComputed = 0x02;
// ElemSet: the assignment is a Set (the count of subscripts in the other bits).
constexpr std::uint8_t kSetElement = 0x80;
// ElemBegin: what is no array goes on at c, a default member's call.
constexpr std::uint8_t kElemToMember = 0x01;
// CallBegin: the count of arguments given, and whether the call is a statement.
constexpr std::uint8_t kArgumentCountMask = 0x7F;
constexpr std::uint8_t kCallStatement = 0x80;
// Flags of ExecTree's exit targets: none (the flow leaves the code).
constexpr std::uint16_t kNoTarget = 0xFFFF;

struct Instr {
  Opcode op;
  std::uint8_t flags = 0;
  std::uint16_t a = 0;
  Operand b = 0;
  std::uint16_t c = 0;
  std::uint32_t d = 0;
};
static_assert(sizeof(Instr) == 12);

// Where the code of each statement starts, for the position of an error.
struct LineEntry {
  std::uint32_t pc = 0;
  const Stmt* stmt = nullptr;
};

// A call of a script procedure whose arguments the code evaluates: each argument is an operand,
// passed by reference when it names a variable and the parameter is by reference.
struct CallSite {
  NameExpr* callee = nullptr;
  CallExpr* call = nullptr;   // null for a call statement of a bare name (`Foo`)
  std::vector<Operand> args;  // each a variable, or the temporary firstValue + its index
  std::uint16_t firstValue = 0;
  bool allValues = false;         // every argument is its temporary firstValue + its index
  CallStmt* statement = nullptr;  // a call statement (its result dropped)
  // Arguments that may run code (`Foo Len(s)`, `Foo g(x)`) may also define the procedure anew
  // (ExecuteGlobal): the procedure CallBeginK found is called all the same, as the tree walker
  // calls the one it found before evaluating the arguments. It is kept in the register before
  // the arguments' (firstValue - 1).
  bool kept = false;
  // Bit k: argument k is a variable whose value was taken in its turn (ArgCapture), since an
  // argument after it may change it. Its temporary then holds that value, which the call uses,
  // unless the parameter is a script procedure's by reference (the variable itself is passed).
  std::uint8_t captured = 0;
  // Bit k: argument k may be an element of an array variable (`Foo a(i)`), which goes by
  // reference to a host member or a script procedure's parameter by reference, as the tree
  // walker passes it: ArgRefLocate then keeps the array in the register KeptArray gives and puts
  // the element's index in it into the argument's temporary; otherwise (Empty there) the
  // temporary holds the argument's value.
  std::uint8_t elements = 0;
};
constexpr std::size_t kMaxCompiledArguments = 8;

// The register that keeps the array of element argument k of a call whose arguments are
// `count` from `firstValue` on: after the arguments', one per element argument in order.
constexpr int KeptArray(std::uint16_t firstValue, std::size_t count, std::uint8_t elements,
                        std::size_t k) {
  int before = 0;
  for (std::size_t i = 0; i < k; ++i)
    before += (elements >> i) & 1;
  return firstValue + static_cast<int>(count) + before;
}
// ArgRefBegin / ArgRefLocate: the argument's number, and a member site's flag.
constexpr std::uint8_t kArgumentIndexMask = 0x7F;
constexpr std::uint8_t kMemberSite = 0x80;

// A member of an object, called or read (`d.Add k, v`, `d.Exists(k)`, `o.Name`, `f(1).m`) with
// arguments the code evaluates: each an operand as in CallSite. Host object members and script
// object methods and Property Gets run here; for anything else (no object, an unknown member, a
// field with arguments) the tree walker evaluates the rest with the object the code read.
struct MemberSite {
  Expr* expr = nullptr;  // the CallExpr, or the MemberExpr when there are no arguments
  // Null for the default member of a variable or an object the host added by name (`d(k)`,
  // `Hotspot(5)`), which is invoked on host objects only (anything else, a name that is no
  // variable included, takes the tree walker's way).
  MemberExpr* member = nullptr;
  std::uint8_t flags = 0;  // kInvokeCall, with kInvokeGet for a value
  bool statement = false;  // a call statement: the result is dropped
  std::vector<Operand> args;
  std::uint16_t firstValue = 0;  // the temporary of the first argument
  std::uint8_t captured = 0;     // as in CallSite
  std::uint8_t elements = 0;     // as in CallSite
  // An assignment with arguments (`o.Item(k) = v`, a statement): the value is in register
  // `value`, assigned as a Set (flags kInvokeSet) or a Let (kInvokeLet); a host member takes the
  // arguments by value, a script member's setter as it declares them.
  bool assign = false;
  std::uint16_t value = 0;
  // A member of the class of the code called by its bare name inside it (`Helper x`): its
  // index, with the object running (Me) as the object; -1 otherwise.
  std::int32_t classMember = -1;
  // The member's number in the member table of the objects last met (see
  // Object::MemberTable), kept while objects with that table come.
  mutable const void* table = nullptr;
  mutable std::int32_t id = 0;
};

// Under On Error Resume Next, an error in the code from `from` up to `to` goes on at `resume`.
// The innermost range comes first: the one of the statement, or of a part of it (an If
// condition goes on with its block, a failing Case test with its Case).
struct ResumeRange {
  std::uint32_t from = 0;
  std::uint32_t to = 0;
  std::uint32_t resume = 0;
};

struct Code {
  std::vector<Instr> instrs;
  std::vector<Variant> constants;
  std::vector<NameExpr*> names;
  std::vector<Expr*> exprs;
  std::vector<Stmt*> stmts;
  std::vector<CallSite> calls;
  std::vector<MemberSite> members;
  std::vector<LineEntry> lines;  // by pc
  std::vector<ResumeRange> resumeRanges;
  // Per name: the global variable it stands for, bound at a read or write that finds it one,
  // so that later ones go there directly; null while unbound. The global scope empties the
  // table whenever a global variable may have stopped being one (see GlobalScope).
  mutable std::vector<Variant*> directs;
  int firstTemp = 0;      // registers before it are the locals
  int registerCount = 0;  // locals and temporaries
  // A procedure's count of parameters (set once its body is compiled), so that a call checks
  // its count of arguments against the code it runs.
  std::size_t paramCount = 0;
};

// Compiles a body. `locals` is the count of the procedure's locals (0 for global code). Null
// when the body is too large for the code: the tree walker runs it then.
std::shared_ptr<Code> CompileCode(const Block& body, int locals, const GlobalScope& globals);

}  // namespace sl::vbs
