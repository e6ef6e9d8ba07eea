// The syntax tree of a code block. The parser builds it; the compiler then resolves every name
// to where its value lives (a local slot, a by-reference parameter, a field of the object, or a
// global found at first use), so the interpreter walks resolved nodes without looking names up.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/variant.h"

namespace sl::vbs {

// The value passed for an argument left out of a call (`f(1, , 3)`).
constexpr std::int32_t kOmittedArgument = static_cast<std::int32_t>(0x80020004u);

struct GlobalSlot;
struct ClassDef;
struct Code;
struct ProcDef;
struct BuiltinInfo;

struct Node {
  virtual ~Node() = default;
  int line = 0;
  int column = 0;
};

// ---- Expressions ----

enum class ExprKind : std::uint8_t {
  Literal,
  Name,    // a bare name
  Call,    // callee(args): a call, an array element or a default member with arguments
  Member,  // object.name (object null: the With object)
  Unary,
  Binary,
  New,
  Me,
  Paren,  // (expr): marks an argument passed by value
};

enum class Op : std::uint8_t {
  Neg,
  Not,
  Add,
  Sub,
  Mul,
  Div,
  IntDiv,
  Mod,
  Pow,
  Concat,
  Eq,
  Ne,
  Lt,
  Gt,
  Le,
  Ge,
  Is,
  And,
  Or,
  Xor,
  Eqv,
  Imp,
};

struct Expr : Node {
  ExprKind kind;
  int height = 1;  // of the subtree: bounds the interpreter's recursion
  explicit Expr(ExprKind k) : kind(k) {}
};

struct LiteralExpr : Expr {
  LiteralExpr() : Expr(ExprKind::Literal) {}
  Variant value;
  bool negated = false;  // a negative number folded from -literal
};

// Whether comparisons treat the operand as a literal: a number or text written as such (a
// folded negative number is the result of an operator, not a literal).
inline bool IsLiteralOperand(const Expr* e) {
  return e->kind == ExprKind::Literal && !static_cast<const LiteralExpr*>(e)->negated;
}

// Where a name's value lives, decided by the compiler (static kinds) or at first use (the rest).
enum class NameKind : std::uint8_t {
  Unresolved,     // not yet looked up: a global, a host member, a built-in, or undefined
  Local,          // locals[slot] of the frame
  RefParam,       // *refs[slot] of the frame (a by-reference parameter)
  Field,          // field `slot` of the current object (Me)
  ClassMember,    // member `slot` of the current object's class (method or property)
  Global,         // global->value (or the procedure / class / host object it names)
  Builtin,        // builtin function
  HostMember,     // member `slot` of global-member host object `hostObject`
  ImplicitLocal,  // undeclared in a procedure: locals[slot] while no global has that name
};

struct NameRef {
  NameKind kind = NameKind::Unresolved;
  bool explicitOnly = false;     // Option Explicit in effect where the name appears
  bool readOnly = false;         // a constant (assignment is "Illegal assignment")
  std::int32_t slot = -1;        // local slot, field, member index; implicit local slot
  std::uint32_t generation = 0;  // for ImplicitLocal: global generation when last checked
  GlobalSlot* global = nullptr;
  const BuiltinInfo* builtin = nullptr;
  void* hostObject = nullptr;  // Object* of a global-member host object
};

struct NameExpr : Expr {
  NameExpr() : Expr(ExprKind::Name) {}
  std::string name;
  std::string key;  // lower case
  NameRef ref;
};

struct CallExpr : Expr {
  CallExpr() : Expr(ExprKind::Call) {}
  Expr* callee = nullptr;  // NameExpr, MemberExpr or any expression (default member)
  std::vector<Expr*> args;
};

struct MemberExpr : Expr {
  MemberExpr() : Expr(ExprKind::Member) {}
  Expr* object = nullptr;  // null: the innermost With object
  std::string name;
  std::string key;
};

struct UnaryExpr : Expr {
  UnaryExpr() : Expr(ExprKind::Unary) {}
  Op op = Op::Neg;
  Expr* operand = nullptr;
};

struct BinaryExpr : Expr {
  BinaryExpr() : Expr(ExprKind::Binary) {}
  Op op = Op::Add;
  Expr* left = nullptr;
  Expr* right = nullptr;
};

struct NewExpr : Expr {
  NewExpr() : Expr(ExprKind::New) {}
  std::string className;
  std::string key;
  bool explicitOnly = false;  // Option Explicit: an unknown name is an undefined variable
};

struct MeExpr : Expr {
  MeExpr() : Expr(ExprKind::Me) {}
};

struct ParenExpr : Expr {
  ParenExpr() : Expr(ExprKind::Paren) {}
  Expr* inner = nullptr;
};

// `e` without the parentheses around it.
inline const Expr* WithoutParens(const Expr* e) {
  while (e->kind == ExprKind::Paren)
    e = static_cast<const ParenExpr*>(e)->inner;
  return e;
}
inline Expr* WithoutParens(Expr* e) {
  return const_cast<Expr*>(WithoutParens(static_cast<const Expr*>(e)));
}

// ---- Statements ----

enum class StmtKind : std::uint8_t {
  Assign,
  Call,
  Dim,
  ReDim,
  Erase,
  Const,
  If,
  Select,
  For,
  ForEach,
  Do,
  Exit,
  With,
  OnError,
  Randomize,
  Nop,
};

struct Stmt : Node {
  StmtKind kind;
  explicit Stmt(StmtKind k) : kind(k) {}
};

using Block = std::vector<Stmt*>;

struct AssignStmt : Stmt {
  AssignStmt() : Stmt(StmtKind::Assign) {}
  Expr* target = nullptr;  // NameExpr, CallExpr or MemberExpr
  Expr* value = nullptr;
  bool isSet = false;
  // x = x & a & b: the pieces appended to x's own string instead of building a new one,
  // used once the pieces are known not to change x while they are evaluated.
  bool appendInPlace = false;
  std::uint8_t piecesPure = 0;  // 0 not yet known, 1 pure, 2 not pure
  std::vector<Expr*> pieces;
};

struct CallStmt : Stmt {
  CallStmt() : Stmt(StmtKind::Call) {}
  Expr* call = nullptr;  // CallExpr, NameExpr or MemberExpr
};

// One name of Dim / ReDim: the name and, for arrays, the bounds.
struct DimItem {
  NameExpr* name = nullptr;
  bool isArray = false;
  std::vector<Expr*> bounds;  // upper bounds; empty with isArray: a dynamic array
};

struct DimStmt : Stmt {
  DimStmt() : Stmt(StmtKind::Dim) {}
  std::vector<DimItem> items;
  bool isPublic = true;  // for the fields of a class
};

struct ReDimStmt : Stmt {
  ReDimStmt() : Stmt(StmtKind::ReDim) {}
  bool preserve = false;
  std::vector<DimItem> items;
};

struct EraseStmt : Stmt {
  EraseStmt() : Stmt(StmtKind::Erase) {}
  NameExpr* name = nullptr;
};

struct ConstStmt : Stmt {
  ConstStmt() : Stmt(StmtKind::Const) {}
  std::vector<std::pair<NameExpr*, Expr*>> items;
};

struct IfStmt : Stmt {
  IfStmt() : Stmt(StmtKind::If) {}
  std::vector<Expr*> conditions;
  std::vector<Block> blocks;
  Block elseBlock;
};

struct CaseTest {
  enum Kind : std::uint8_t { Value, Range, Compare } kind = Value;
  Op op = Op::Eq;  // for Compare (Case Is < 3)
  Expr* a = nullptr;
  Expr* b = nullptr;
};

struct CaseClause {
  std::vector<CaseTest> tests;  // empty: Case Else
  Block body;
};

struct SelectStmt : Stmt {
  SelectStmt() : Stmt(StmtKind::Select) {}
  Expr* subject = nullptr;
  std::vector<CaseClause> clauses;
};

struct ForStmt : Stmt {
  ForStmt() : Stmt(StmtKind::For) {}
  NameExpr* var = nullptr;
  Expr* from = nullptr;
  Expr* to = nullptr;
  Expr* step = nullptr;  // null: 1
  Block body;
};

struct ForEachStmt : Stmt {
  ForEachStmt() : Stmt(StmtKind::ForEach) {}
  NameExpr* var = nullptr;
  Expr* collection = nullptr;
  Block body;
};

struct DoStmt : Stmt {
  DoStmt() : Stmt(StmtKind::Do) {}
  enum Test : std::uint8_t { None, PreWhile, PreUntil, PostWhile, PostUntil } test = None;
  Expr* condition = nullptr;
  Block body;
};

enum class ExitKind : std::uint8_t { Do, For, Sub, Function, Property };

struct ExitStmt : Stmt {
  ExitStmt() : Stmt(StmtKind::Exit) {}
  ExitKind what = ExitKind::Do;
};

struct WithStmt : Stmt {
  WithStmt() : Stmt(StmtKind::With) {}
  Expr* object = nullptr;
  Block body;
};

struct OnErrorStmt : Stmt {
  OnErrorStmt() : Stmt(StmtKind::OnError) {}
  bool resumeNext = true;
};

struct RandomizeStmt : Stmt {
  RandomizeStmt() : Stmt(StmtKind::Randomize) {}
  Expr* seed = nullptr;
};

struct NopStmt : Stmt {
  NopStmt() : Stmt(StmtKind::Nop) {}
};

// ---- Procedures and classes ----

enum class ProcKind : std::uint8_t { Sub, Function, PropertyGet, PropertyLet, PropertySet };

struct Param {
  std::string name;
  bool byRef = true;
  bool isArray = false;  // declared as name()
};

struct ProcDef : Node {
  std::string name;
  std::string key;
  ProcKind kind = ProcKind::Sub;
  bool isPublic = true;
  bool isDefault = false;
  std::vector<Param> params;
  Block body;
  ClassDef* owner = nullptr;
  // Filled by the compiler.
  int localCount = 0;  // params, then the result (functions and Property Get), then locals
  int resultSlot = -1;
  std::unordered_map<std::string, int> locals;  // lower-case name -> slot, for Execute and Eval
  std::vector<int> constSlots;
  bool explicitOnly = false;
  bool ready = false;  // compiled completely (a block that failed to compile leaves it false)
  std::string block;   // the code block it came from
  // The body as bytecode, made at the first call; null when the tree walker runs it.
  std::shared_ptr<Code> code;
  bool codeTried = false;
};

// A member of a class as the dispatch interface sees it.
struct ClassMember {
  std::string name;
  bool isPublic = true;
  int field = -1;             // a variable: index into the object's fields
  ProcDef* method = nullptr;  // Sub or Function
  ProcDef* get = nullptr;
  ProcDef* let = nullptr;
  ProcDef* set = nullptr;
};

struct ClassDef : Node {
  std::string name;
  std::string key;
  std::vector<ClassMember> members;                    // dispatch id = index + 1
  std::unordered_map<std::string, int> memberIndex;    // lower-case name -> index
  std::vector<std::vector<std::int32_t>> fieldArrays;  // per field: fixed array bounds or empty
  std::vector<bool> fieldIsArray;
  int fieldCount = 0;
  int defaultMember = -1;
  ProcDef* initialize = nullptr;
  ProcDef* terminate = nullptr;
  std::vector<ProcDef*> procs;
  std::vector<DimStmt*> fieldDecls;
};

// One parsed code block: its global code, procedures and classes, and the nodes it owns.
struct Program {
  std::string blockName;
  bool explicitOnly = false;
  Block globalCode;
  std::vector<ProcDef*> procs;
  std::vector<ClassDef*> classes;
  std::vector<std::unique_ptr<Node>> nodes;
  ProcDef* globalFrame = nullptr;  // the pseudo-procedure whose locals serve the global code
  // The global code as bytecode, made when it first runs; null when the tree walker runs it.
  std::shared_ptr<Code> globalBytecode;
  bool globalBytecodeTried = false;

  template <class T>
  T* New(int line, int column) {
    auto node = std::make_unique<T>();
    node->line = line;
    node->column = column;
    T* raw = node.get();
    nodes.push_back(std::move(node));
    return raw;
  }
};

}  // namespace sl::vbs
