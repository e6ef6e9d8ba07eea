#include "vbscript/parser.h"

#include <utility>
#include <vector>

#include "core/case_fold.h"
#include "vbscript/errors.h"
#include "vbscript/lexer.h"
#include "vbscript/operators.h"

namespace sl::vbs {

namespace {

// Binding strength of binary operators; 0 when the token is not one.
int Precedence(const Token& t, Op& op) {
  switch (t.kind) {
    case Tok::Caret:
      op = Op::Pow;
      return 14;
    case Tok::Star:
      op = Op::Mul;
      return 12;
    case Tok::Slash:
      op = Op::Div;
      return 12;
    case Tok::Backslash:
      op = Op::IntDiv;
      return 11;
    case Tok::Plus:
      op = Op::Add;
      return 9;
    case Tok::Minus:
      op = Op::Sub;
      return 9;
    case Tok::Amp:
      op = Op::Concat;
      return 8;
    case Tok::Eq:
      op = Op::Eq;
      return 7;
    case Tok::Ne:
      op = Op::Ne;
      return 7;
    case Tok::Lt:
      op = Op::Lt;
      return 7;
    case Tok::Gt:
      op = Op::Gt;
      return 7;
    case Tok::Le:
      op = Op::Le;
      return 7;
    case Tok::Ge:
      op = Op::Ge;
      return 7;
    case Tok::Word:
      switch (t.keyword) {
        case Kw::Mod:
          op = Op::Mod;
          return 10;
        case Kw::Is:
          op = Op::Is;
          return 7;
        case Kw::And:
          op = Op::And;
          return 5;
        case Kw::Or:
          op = Op::Or;
          return 4;
        case Kw::Xor:
          op = Op::Xor;
          return 3;
        case Kw::Eqv:
          op = Op::Eqv;
          return 2;
        case Kw::Imp:
          op = Op::Imp;
          return 1;
        default:
          return 0;
      }
    default:
      return 0;
  }
}

class Parser {
 public:
  Parser(std::string_view source, std::string blockName)
      : tokens_(Tokenize(source)), program_(std::make_unique<Program>()) {
    program_->blockName = std::move(blockName);
  }

  std::unique_ptr<Program> ParseAll() {
    SkipSeparators();
    while (Kind() != Tok::End) {
      ParseTopLevel();
      EndOfStatement();
      SkipSeparators();
    }
    return std::move(program_);
  }

  // Text that is not an expression at all (a statement given to Eval) is a syntax error.
  std::unique_ptr<Program> ParseSingleExpression(Expr*& result) {
    try {
      SkipNewLines();
      result = ParseExpr();
      SkipNewLines();
      if (Kind() != Tok::End) Fail(kErrExpectedEndOfStatement);
    } catch (CompileError& e) {
      if (e.Number() != kErrExpectedExpression) throw;
      throw CompileError(kErrSyntax, e.Line(), e.Column());
    }
    return std::move(program_);
  }

 private:
  // ---- Token access ----
  const Token& Cur() const { return tokens_[pos_]; }
  Tok Kind() const { return tokens_[pos_].kind; }
  Kw Key() const { return tokens_[pos_].kind == Tok::Word ? tokens_[pos_].keyword : Kw::None; }
  bool IsKw(Kw k) const { return Key() == k && k != Kw::None; }
  void Next() {
    if (tokens_[pos_].kind != Tok::End) ++pos_;
  }
  [[noreturn]] void Fail(int number) const { throw CompileError(number, Cur().line, Cur().column); }
  void Expect(Tok kind, int error) {
    if (Kind() != kind) Fail(error);
    Next();
  }
  void ExpectKw(Kw k, int error) {
    if (!IsKw(k)) Fail(error);
    Next();
  }
  // A statement ends at a line end, a ':', the end of the text, the Else of a single-line If,
  // or an End keyword: "x = 1 End Sub" closes the procedure right after the statement.
  bool AtStatementEnd() const {
    Tok k = Kind();
    return k == Tok::NewLine || k == Tok::Colon || k == Tok::End || Key() == Kw::End ||
           (singleLineIf_ > 0 && Key() == Kw::Else);
  }
  void EndOfStatement() {
    if (!AtStatementEnd()) Fail(kErrExpectedEndOfStatement);
  }
  void SkipSeparators() {
    while (Kind() == Tok::NewLine || Kind() == Tok::Colon)
      Next();
  }
  void SkipNewLines() {
    while (Kind() == Tok::NewLine)
      Next();
  }
  // Property Get / Let / Set: the start of a property declaration (elsewhere Property is a name).
  bool AtPropertyDeclaration() const {
    if (!IsKw(Kw::Property) || tokens_[pos_ + 1].kind != Tok::Word) return false;
    Kw next = tokens_[pos_ + 1].keyword;
    return next == Kw::Get || next == Kw::Let || next == Kw::Set;
  }
  // A name: an identifier or a keyword that may serve as one.
  bool AtName() const { return Kind() == Tok::Word && (Key() == Kw::None || IsSoftKeyword(Key())); }
  std::string ExpectName() {
    if (!AtName()) Fail(kErrExpectedIdentifier);
    std::string name = Cur().text;
    Next();
    return name;
  }
  // After '.', any word is a member name.
  std::string ExpectMemberName() {
    if (Kind() != Tok::Word) Fail(kErrExpectedIdentifier);
    std::string name = Cur().text;
    Next();
    return name;
  }

  struct DepthGuard {
    explicit DepthGuard(Parser& p) : parser(p) {
      if (++parser.depth_ > kMaxParseDepth) parser.Fail(kErrOutOfStack);
    }
    ~DepthGuard() { --parser.depth_; }
    Parser& parser;
  };

  template <class T>
  T* New() {
    return program_->New<T>(Cur().line, Cur().column);
  }
  template <class T>
  T* NewAt(const Token& t) {
    return program_->New<T>(t.line, t.column);
  }
  // Records the height of a new node over its children; too tall a tree is refused.
  template <class T>
  T* Grown(T* node, std::initializer_list<const Expr*> children) {
    int height = 0;
    for (const Expr* c : children) {
      if (c && c->height > height) height = c->height;
    }
    node->height = height + 1;
    if (node->height > kMaxExprHeight) Fail(kErrOutOfStack);
    return node;
  }

  NameExpr* MakeName(const Token& at, std::string name) {
    NameExpr* n = NewAt<NameExpr>(at);
    n->key = ToLowerAscii(name);
    n->name = std::move(name);
    return n;
  }

  // ---- Top level ----
  void ParseTopLevel() {
    if (IsKw(Kw::Option)) {
      Next();
      ExpectKw(Kw::Explicit, kErrExpectedStatement);
      program_->explicitOnly = true;
      return;
    }
    if (IsKw(Kw::Class)) return ParseClass();
    if (IsKw(Kw::Sub) || IsKw(Kw::Function)) {
      program_->procs.push_back(ParseProc(true, false));
      return;
    }
    if (IsKw(Kw::Public) || IsKw(Kw::Private)) {
      Kw next = tokens_[pos_ + 1].kind == Tok::Word ? tokens_[pos_ + 1].keyword : Kw::None;
      if (next == Kw::Sub || next == Kw::Function || next == Kw::Default) {
        bool isPublic = IsKw(Kw::Public);
        Next();
        if (IsKw(Kw::Default)) Fail(kErrDefaultPlacement);
        program_->procs.push_back(ParseProc(isPublic, false));
        return;
      }
      if (next == Kw::Property) {
        Next();
        if (AtPropertyDeclaration()) Fail(kErrMustBeInClass);
        --pos_;
      }
    }
    if (AtPropertyDeclaration()) Fail(kErrMustBeInClass);
    program_->globalCode.push_back(ParseStatement());
  }

  // ---- Procedures ----
  ProcDef* ParseProc(bool isPublic, bool isDefault) {
    ProcDef* proc = New<ProcDef>();
    proc->isPublic = isPublic;
    proc->isDefault = isDefault;
    proc->block = program_->blockName;
    Kw endKw;
    if (IsKw(Kw::Sub)) {
      proc->kind = ProcKind::Sub;
      endKw = Kw::Sub;
    } else if (IsKw(Kw::Function)) {
      proc->kind = ProcKind::Function;
      endKw = Kw::Function;
    } else if (IsKw(Kw::Property)) {
      Next();
      endKw = Kw::Property;
      if (IsKw(Kw::Get)) {
        proc->kind = ProcKind::PropertyGet;
      } else if (IsKw(Kw::Let)) {
        proc->kind = ProcKind::PropertyLet;
      } else if (IsKw(Kw::Set)) {
        proc->kind = ProcKind::PropertySet;
      } else {
        Fail(kErrExpectedLetSetGet);
      }
    } else {
      Fail(kErrExpectedStatement);
    }
    Next();
    proc->line = Cur().line;
    proc->column = Cur().column;
    proc->name = ExpectName();
    proc->key = ToLowerAscii(proc->name);
    if (Kind() == Tok::LParen) {
      Next();
      if (Kind() != Tok::RParen) {
        while (true) {
          Param param;
          if (IsKw(Kw::ByVal)) {
            param.byRef = false;
            Next();
          } else if (IsKw(Kw::ByRef)) {
            Next();
          }
          param.name = ExpectName();
          if (Kind() == Tok::LParen) {
            Next();
            Expect(Tok::RParen, kErrExpectedRParen);
            param.isArray = true;
          }
          proc->params.push_back(std::move(param));
          if (Kind() != Tok::Comma) break;
          Next();
        }
      }
      Expect(Tok::RParen, kErrExpectedRParen);
    }
    if ((proc->kind == ProcKind::PropertyLet || proc->kind == ProcKind::PropertySet) &&
        proc->params.empty()) {
      Fail(kErrLetSetNeedsArgument);
    }
    // The body may start on the header's own line: "Sub Mark() x = True End Sub".
    ProcDef* outer = proc_;
    proc_ = proc;
    int doDepth = doDepth_, forDepth = forDepth_;
    doDepth_ = forDepth_ = 0;
    proc->body = ParseBlock();
    doDepth_ = doDepth;
    forDepth_ = forDepth;
    proc_ = outer;
    ExpectKw(Kw::End, endKw == Kw::Sub        ? kErrExpectedSub
                      : endKw == Kw::Function ? kErrExpectedFunction
                                              : kErrExpectedProperty);
    if (!IsKw(endKw)) {
      Fail(endKw == Kw::Sub        ? kErrExpectedSub
           : endKw == Kw::Function ? kErrExpectedFunction
                                   : kErrExpectedProperty);
    }
    Next();
    return proc;
  }

  // ---- Classes ----
  void ParseClass() {
    Next();
    ClassDef* cls = New<ClassDef>();
    cls->name = ExpectName();
    cls->key = ToLowerAscii(cls->name);
    EndOfStatement();
    ClassDef* outer = class_;
    class_ = cls;
    while (true) {
      SkipSeparators();
      if (IsKw(Kw::End)) {
        Next();
        ExpectKw(Kw::Class, kErrExpectedClass);
        break;
      }
      if (Kind() == Tok::End) Fail(kErrExpectedEnd);
      ParseClassMember(cls);
      EndOfStatement();
    }
    class_ = outer;
    program_->classes.push_back(cls);
  }

  void ParseClassMember(ClassDef* cls) {
    bool isPublic = true;
    bool isDefault = false;
    bool hadAccess = false;
    if (IsKw(Kw::Public) || IsKw(Kw::Private)) {
      isPublic = IsKw(Kw::Public);
      hadAccess = true;
      Next();
      if (IsKw(Kw::Default)) {
        if (!isPublic) Fail(kErrDefaultNotPublic);
        isDefault = true;
        Next();
      }
    }
    if (IsKw(Kw::Sub) || IsKw(Kw::Function) || IsKw(Kw::Property)) {
      ProcDef* proc = ParseProc(isPublic, isDefault);
      if (isDefault &&
          (proc->kind == ProcKind::PropertyLet || proc->kind == ProcKind::PropertySet)) {
        throw CompileError(kErrDefaultNotGet, proc->line, proc->column);
      }
      proc->owner = cls;
      cls->procs.push_back(proc);
      return;
    }
    if (isDefault) Fail(kErrDefaultPlacement);
    if (IsKw(Kw::Dim) || hadAccess) {
      if (IsKw(Kw::Dim)) Next();
      DimStmt* dim = New<DimStmt>();
      ParseDimItems(dim->items, true);
      dim->isPublic = isPublic;
      cls->fieldDecls.push_back(dim);
      return;
    }
    if (IsKw(Kw::Const)) Fail(kErrExpectedStatement);
    Fail(kErrExpectedStatement);
  }

  // ---- Blocks and statements ----

  // Statements up to a keyword that ends a block (End, Else, ElseIf, Loop, Next, Wend, Case).
  Block ParseBlock() {
    DepthGuard guard(*this);
    Block block;
    while (true) {
      SkipSeparators();
      if (Kind() == Tok::End) return block;
      switch (Key()) {
        case Kw::End:
        case Kw::Else:
        case Kw::ElseIf:
        case Kw::Loop:
        case Kw::Next:
        case Kw::Wend:
        case Kw::Case:
          return block;
        default:
          break;
      }
      block.push_back(ParseStatement());
      EndOfStatement();
    }
  }

  Stmt* ParseStatement() {
    DepthGuard guard(*this);
    if (Kind() != Tok::Word && Kind() != Tok::WithDot) Fail(kErrExpectedStatement);
    switch (Key()) {
      case Kw::Dim:
        Next();
        return ParseDim();
      case Kw::Public:
      case Kw::Private:
        if (proc_) Fail(kErrExpectedStatement);
        if (Stmt* nested = ParseNestedDeclaration()) return nested;
        Next();
        if (IsKw(Kw::Const)) return ParseConst();
        return ParseDim();
      case Kw::ReDim:
        return ParseReDim();
      case Kw::Erase: {
        EraseStmt* s = New<EraseStmt>();
        Next();
        const Token& at = Cur();
        s->name = MakeName(at, ExpectName());
        return s;
      }
      case Kw::Const:
        return ParseConst();
      case Kw::If:
        return ParseIf();
      case Kw::Select:
        return ParseSelect();
      case Kw::For:
        return ParseFor();
      case Kw::Do:
        return ParseDo();
      case Kw::While:
        return ParseWhile();
      case Kw::Exit:
        return ParseExit();
      case Kw::With:
        return ParseWith();
      case Kw::On:
        return ParseOnError();
      case Kw::Set: {
        AssignStmt* s = New<AssignStmt>();
        Next();
        s->isSet = true;
        s->target = ParseTarget(nullptr, nullptr);
        Expect(Tok::Eq, kErrExpectedEquals);
        s->value = ParseExpr();
        return s;
      }
      case Kw::Call: {
        CallStmt* s = New<CallStmt>();
        Next();
        // Call (New C).Method and Call (((f))) (x) start with a parenthesised expression.
        s->call = Kind() == Tok::LParen ? ParsePrimary() : ParseTarget(nullptr, nullptr);
        return s;
      }
      case Kw::Stop:
        Next();
        return New<NopStmt>();
      case Kw::Option:
        Fail(kErrMustBeFirst);
      case Kw::Sub:
      case Kw::Function:
      case Kw::Class:
        if (Stmt* nested = ParseNestedDeclaration()) return nested;
        Fail(kErrExpectedStatement);
      case Kw::Property:
        if (AtPropertyDeclaration()) Fail(kErrExpectedStatement);
        break;
      case Kw::Loop:
        Fail(kErrLoopWithoutDo);
      case Kw::Next:
        Fail(kErrUnexpectedNext);
      default:
        break;
    }
    if (Kind() == Tok::Word && Cur().keyword == Kw::None && NamesEqual(Cur().text, "randomize") &&
        !(tokens_[pos_ + 1].kind == Tok::Eq || tokens_[pos_ + 1].kind == Tok::Dot)) {
      RandomizeStmt* s = New<RandomizeStmt>();
      Next();
      if (!AtStatementEnd()) s->seed = ParseExpr();
      return s;
    }
    if (Kind() == Tok::Word && !AtName() && Key() != Kw::Me) Fail(kErrExpectedStatement);
    return ParseExpressionStatement();
  }

  static bool NamesEqual(std::string_view a, std::string_view b) { return ToLowerAscii(a) == b; }

  // A procedure or class declared inside a block of global code (If ... End If): it belongs to
  // the block's program like any other, whether or not the block runs. Null when the
  // statement is not such a declaration.
  Stmt* ParseNestedDeclaration() {
    if (proc_ || class_) return nullptr;
    const Token& at = Cur();
    bool isPublic = true;
    if (IsKw(Kw::Public) || IsKw(Kw::Private)) {
      Kw next = tokens_[pos_ + 1].kind == Tok::Word ? tokens_[pos_ + 1].keyword : Kw::None;
      if (next != Kw::Sub && next != Kw::Function) return nullptr;
      isPublic = IsKw(Kw::Public);
      Next();
    }
    if (IsKw(Kw::Class)) {
      ParseClass();
    } else if (IsKw(Kw::Sub) || IsKw(Kw::Function)) {
      program_->procs.push_back(ParseProc(isPublic, false));
    } else {
      return nullptr;
    }
    return NewAt<NopStmt>(at);
  }

  // Assignment or procedure call without Call.
  Stmt* ParseExpressionStatement() {
    const Token& start = Cur();
    std::size_t lastParen = 0;
    Expr* beforeParen = nullptr;
    Expr* head = ParseTarget(&lastParen, &beforeParen);
    if (Kind() == Tok::Eq) {
      AssignStmt* s = NewAt<AssignStmt>(start);
      Next();
      s->target = head;
      s->value = ParseExpr();
      return s;
    }
    CallStmt* s = NewAt<CallStmt>(start);
    if (AtStatementEnd()) {
      // name(x) as a statement: the parentheses belong to the single argument, which is
      // therefore passed by value; two or more arguments may not be parenthesised.
      if (head->kind == ExprKind::Call && beforeParen) {
        auto* call = static_cast<CallExpr*>(head);
        if (call->args.size() > 1) {
          throw CompileError(kErrParensOnSubCall, call->line, call->column);
        }
        if (call->args.size() == 1) {
          ParenExpr* paren = NewAt<ParenExpr>(start);
          paren->inner = call->args[0];
          call->args[0] = paren;
        }
      }
      s->call = head;
      return s;
    }
    // Arguments without parentheses; a group that the target parse took for an argument list
    // (`Foo (1) + 2, 3`) is re-read as the start of the first argument.
    if (beforeParen) {
      pos_ = lastParen;
      head = beforeParen;
    }
    CallExpr* call = NewAt<CallExpr>(start);
    call->callee = head;
    ParseArgList(call->args, false);
    Grown(call, {head});
    for (const Expr* a : call->args)
      Grown(call, {a, call});
    s->call = call;
    return s;
  }

  // A name or With member followed by any '.member' and '(args)'; records where the last
  // parenthesised group started and what came before it.
  Expr* ParseTarget(std::size_t* lastParen, Expr** beforeParen) {
    Expr* e;
    const Token& start = Cur();
    if (Kind() == Tok::WithDot) {
      Next();
      MemberExpr* m = NewAt<MemberExpr>(start);
      m->name = ExpectMemberName();
      m->key = ToLowerAscii(m->name);
      e = m;
    } else if (IsKw(Kw::Me)) {
      Next();
      e = NewAt<MeExpr>(start);
    } else {
      e = MakeName(start, ExpectName());
    }
    return ParsePostfix(e, lastParen, beforeParen);
  }

  Expr* ParsePostfix(Expr* e, std::size_t* lastParen, Expr** beforeParen) {
    while (true) {
      if (Kind() == Tok::Dot) {
        Next();
        MemberExpr* m = New<MemberExpr>();
        m->object = e;
        m->name = ExpectMemberName();
        m->key = ToLowerAscii(m->name);
        e = Grown(m, {e});
        if (beforeParen) *beforeParen = nullptr;
      } else if (Kind() == Tok::LParen) {
        if (lastParen) *lastParen = pos_;
        if (beforeParen) *beforeParen = e;
        // (f)(x) calls f with x: parentheses around what is called change nothing.
        e = WithoutParens(e);
        CallExpr* call = New<CallExpr>();
        Next();
        call->callee = e;
        ParseArgList(call->args, true);
        Expect(Tok::RParen, kErrExpectedRParen);
        e = Grown(call, {e});
        for (const Expr* a : call->args)
          e = Grown(call, {a, e});
      } else {
        return e;
      }
    }
  }

  // Arguments separated by commas; an omitted one (`f(1, , 3)`) is passed as "missing".
  void ParseArgList(std::vector<Expr*>& args, bool inParens) {
    if (inParens ? Kind() == Tok::RParen : AtStatementEnd()) return;
    while (true) {
      bool omitted = Kind() == Tok::Comma || (inParens ? Kind() == Tok::RParen : AtStatementEnd());
      if (omitted) {
        LiteralExpr* missing = New<LiteralExpr>();
        missing->value = Variant::Error(kOmittedArgument);
        args.push_back(missing);
      } else {
        args.push_back(ParseExpr());
      }
      if (Kind() != Tok::Comma) return;
      Next();
    }
  }

  Stmt* ParseDim() {
    DimStmt* s = New<DimStmt>();
    ParseDimItems(s->items, true);
    return s;
  }

  void ParseDimItems(std::vector<DimItem>& items, bool literalBounds) {
    while (true) {
      DimItem item;
      const Token& at = Cur();
      item.name = MakeName(at, ExpectName());
      if (Kind() == Tok::LParen) {
        Next();
        item.isArray = true;
        if (Kind() != Tok::RParen) {
          while (true) {
            if (literalBounds) {
              const Token& b = Cur();
              if (b.kind != Tok::Literal || !b.value.IsNumber()) Fail(kErrExpectedInteger);
              LiteralExpr* lit = New<LiteralExpr>();
              lit->value = b.value;
              Next();
              item.bounds.push_back(lit);
            } else {
              item.bounds.push_back(ParseExpr());
            }
            if (Kind() != Tok::Comma) break;
            Next();
          }
        }
        Expect(Tok::RParen, kErrExpectedRParen);
      }
      items.push_back(std::move(item));
      if (Kind() != Tok::Comma) return;
      Next();
    }
  }

  Stmt* ParseReDim() {
    ReDimStmt* s = New<ReDimStmt>();
    Next();
    if (IsKw(Kw::Preserve)) {
      s->preserve = true;
      Next();
    }
    while (true) {
      DimItem item;
      const Token& at = Cur();
      item.name = MakeName(at, ExpectName());
      item.isArray = true;
      Expect(Tok::LParen, kErrExpectedLParen);
      while (true) {
        item.bounds.push_back(ParseExpr());
        if (Kind() != Tok::Comma) break;
        Next();
      }
      Expect(Tok::RParen, kErrExpectedRParen);
      s->items.push_back(std::move(item));
      if (Kind() != Tok::Comma) break;
      Next();
    }
    return s;
  }

  Stmt* ParseConst() {
    ConstStmt* s = New<ConstStmt>();
    if (IsKw(Kw::Const)) Next();
    while (true) {
      const Token& at = Cur();
      NameExpr* name = MakeName(at, ExpectName());
      Expect(Tok::Eq, kErrExpectedEquals);
      s->items.emplace_back(name, ParseExpr());
      if (Kind() != Tok::Comma) break;
      Next();
    }
    return s;
  }

  Stmt* ParseIf() {
    IfStmt* s = New<IfStmt>();
    Next();
    s->conditions.push_back(ParseExpr());
    ExpectKw(Kw::Then, kErrExpectedThen);
    if (Kind() == Tok::Colon) {
      // "If x Then: y" is a block If whose first line continues after the colon, but
      // "If x Then :" alone on its line is a single-line If with nothing to do.
      std::size_t after = pos_;
      while (tokens_[after].kind == Tok::Colon)
        ++after;
      if (tokens_[after].kind == Tok::NewLine || tokens_[after].kind == Tok::End) {
        pos_ = after;
        s->blocks.emplace_back();
        return s;
      }
    } else if (Kind() != Tok::NewLine && Kind() != Tok::End) {
      return ParseSingleLineIf(s);
    }
    s->blocks.push_back(ParseBlock());
    while (true) {
      if (IsKw(Kw::ElseIf)) {
        Next();
        s->conditions.push_back(ParseExpr());
        ExpectKw(Kw::Then, kErrExpectedThen);
        s->blocks.push_back(ParseBlock());
      } else if (IsKw(Kw::Else)) {
        Next();
        s->elseBlock = ParseBlock();
        ExpectEnd(Kw::If, kErrExpectedIf);
        return s;
      } else {
        ExpectEnd(Kw::If, kErrExpectedIf);
        return s;
      }
    }
  }

  void ExpectEnd(Kw what, int error) {
    if (!IsKw(Kw::End)) Fail(what == Kw::If ? kErrExpectedEnd : error);
    Next();
    ExpectKw(what, error);
  }

  Stmt* ParseSingleLineIf(IfStmt* s) {
    ++singleLineIf_;
    s->blocks.push_back(ParseLineStatements());
    if (IsKw(Kw::Else)) {
      Next();
      s->elseBlock = ParseLineStatements();
    }
    --singleLineIf_;
    if (IsKw(Kw::End) && tokens_[pos_ + 1].keyword == Kw::If) {
      Next();
      Next();
    }
    return s;
  }

  // Statements separated by ':' up to the end of the line or an Else of a single-line If.
  Block ParseLineStatements() {
    Block block;
    while (true) {
      if (Kind() == Tok::NewLine || Kind() == Tok::End || IsKw(Kw::Else) || IsKw(Kw::End)) break;
      if (Kind() == Tok::Colon) {
        Next();
        continue;
      }
      block.push_back(ParseStatement());
      EndOfStatement();
    }
    return block;
  }

  Stmt* ParseSelect() {
    SelectStmt* s = New<SelectStmt>();
    Next();
    ExpectKw(Kw::Case, kErrExpectedCase);
    s->subject = ParseExpr();
    EndOfStatement();
    SkipSeparators();
    bool hadElse = false;
    while (IsKw(Kw::Case)) {
      if (hadElse) Fail(kErrExpectedEnd);
      Next();
      CaseClause clause;
      if (IsKw(Kw::Else)) {
        Next();
        hadElse = true;
      } else {
        while (true) {
          clause.tests.push_back(ParseCaseTest());
          if (Kind() != Tok::Comma) break;
          Next();
        }
      }
      clause.body = ParseBlock();
      s->clauses.push_back(std::move(clause));
    }
    ExpectEnd(Kw::Select, kErrExpectedSelect);
    return s;
  }

  CaseTest ParseCaseTest() {
    CaseTest test;
    if (IsKw(Kw::Is)) {
      Next();
      Op op;
      if (Precedence(Cur(), op) != 7 || op == Op::Is) Fail(kErrExpectedExpression);
      Next();
      test.kind = CaseTest::Compare;
      test.op = op;
      test.a = ParseExpr();
      return test;
    }
    test.a = ParseExpr();
    if (IsKw(Kw::To)) {
      Next();
      test.kind = CaseTest::Range;
      test.b = ParseExpr();
    }
    return test;
  }

  Stmt* ParseFor() {
    const Token& at = Cur();
    Next();
    if (IsKw(Kw::Each)) {
      ForEachStmt* s = NewAt<ForEachStmt>(at);
      Next();
      const Token& v = Cur();
      s->var = MakeName(v, ExpectName());
      ExpectKw(Kw::In, kErrExpectedIn);
      s->collection = ParseExpr();
      EndOfStatement();
      ++forDepth_;
      s->body = ParseBlock();
      --forDepth_;
      ExpectNext();
      return s;
    }
    ForStmt* s = NewAt<ForStmt>(at);
    const Token& v = Cur();
    if (!AtName()) Fail(kErrInvalidForVariable);
    s->var = MakeName(v, ExpectName());
    Expect(Tok::Eq, kErrExpectedEquals);
    s->from = ParseExpr();
    ExpectKw(Kw::To, kErrExpectedTo);
    s->to = ParseExpr();
    if (IsKw(Kw::Step)) {
      Next();
      s->step = ParseExpr();
    }
    EndOfStatement();
    ++forDepth_;
    s->body = ParseBlock();
    --forDepth_;
    ExpectNext();
    return s;
  }

  void ExpectNext() {
    ExpectKw(Kw::Next, kErrExpectedNext);
    if (AtName()) Next();  // "Next i"
  }

  Stmt* ParseDo() {
    DoStmt* s = New<DoStmt>();
    Next();
    if (IsKw(Kw::While) || IsKw(Kw::Until)) {
      s->test = IsKw(Kw::While) ? DoStmt::PreWhile : DoStmt::PreUntil;
      Next();
      s->condition = ParseExpr();
    }
    if (!AtStatementEnd()) Fail(kErrExpectedWhileUntilEnd);
    ++doDepth_;
    s->body = ParseBlock();
    --doDepth_;
    ExpectKw(Kw::Loop, kErrExpectedLoop);
    if (IsKw(Kw::While) || IsKw(Kw::Until)) {
      if (s->test != DoStmt::None) Fail(kErrExpectedEndOfStatement);
      s->test = IsKw(Kw::While) ? DoStmt::PostWhile : DoStmt::PostUntil;
      Next();
      s->condition = ParseExpr();
    }
    return s;
  }

  Stmt* ParseWhile() {
    DoStmt* s = New<DoStmt>();
    Next();
    s->test = DoStmt::PreWhile;
    s->condition = ParseExpr();
    EndOfStatement();
    s->body = ParseBlock();
    ExpectKw(Kw::Wend, kErrExpectedWend);
    return s;
  }

  Stmt* ParseExit() {
    ExitStmt* s = New<ExitStmt>();
    Next();
    switch (Key()) {
      case Kw::Do:
        if (doDepth_ == 0) Fail(kErrInvalidExit);
        s->what = ExitKind::Do;
        break;
      case Kw::For:
        if (forDepth_ == 0) Fail(kErrInvalidExit);
        s->what = ExitKind::For;
        break;
      case Kw::Sub:
        if (!proc_ || proc_->kind != ProcKind::Sub) Fail(kErrInvalidExit);
        s->what = ExitKind::Sub;
        break;
      case Kw::Function:
        if (!proc_ || proc_->kind != ProcKind::Function) Fail(kErrInvalidExit);
        s->what = ExitKind::Function;
        break;
      case Kw::Property:
        if (!proc_ || proc_->kind < ProcKind::PropertyGet) Fail(kErrInvalidExit);
        s->what = ExitKind::Property;
        break;
      default:
        Fail(kErrSyntax);
    }
    Next();
    return s;
  }

  Stmt* ParseWith() {
    WithStmt* s = New<WithStmt>();
    Next();
    s->object = ParseExpr();
    EndOfStatement();
    s->body = ParseBlock();
    ExpectEnd(Kw::With, kErrExpectedWith);
    return s;
  }

  Stmt* ParseOnError() {
    OnErrorStmt* s = New<OnErrorStmt>();
    Next();
    ExpectKw(Kw::Error, kErrSyntax);
    if (IsKw(Kw::Resume)) {
      Next();
      ExpectKw(Kw::Next, kErrSyntax);
      s->resumeNext = true;
    } else if (IsKw(Kw::GoTo)) {
      Next();
      if (Kind() != Tok::Literal || !Cur().value.IsNumber() || ToDoubleSafe(Cur().value) != 0) {
        Fail(kErrSyntax);
      }
      Next();
      s->resumeNext = false;
    } else {
      Fail(kErrSyntax);
    }
    return s;
  }

  static double ToDoubleSafe(const Variant& v) {
    switch (v.Type()) {
      case VarType::Integer:
        return v.AsInteger();
      case VarType::Long:
        return v.AsLong();
      case VarType::Double:
        return v.AsDouble();
      default:
        return 1;
    }
  }

  // ---- Expressions ----
  Expr* ParseExpr() { return ParseBinary(1); }

  Expr* ParseBinary(int minPrec) {
    DepthGuard guard(*this);
    Expr* left = ParseUnary();
    while (true) {
      Op op;
      int prec = Precedence(Cur(), op);
      if (prec < minPrec || prec == 0) return left;
      BinaryExpr* b = New<BinaryExpr>();
      Next();
      b->op = op;
      b->left = left;
      b->right = ParseBinary(prec + 1);
      left = Grown(b, {b->left, b->right});
    }
  }

  Expr* ParseUnary() {
    DepthGuard guard(*this);
    if (Kind() == Tok::Minus || Kind() == Tok::Plus) {
      // A sign applies to the operand right after it, before any operator: -3^2 is 9.
      bool negate = Kind() == Tok::Minus;
      const Token& at = Cur();
      Next();
      Expr* operand = ParseUnary();
      if (!negate) return operand;
      if (operand->kind == ExprKind::Literal) {
        auto* lit = static_cast<LiteralExpr*>(operand);
        if (FoldNegative(lit->value)) {
          lit->negated = true;
          return lit;
        }
      }
      UnaryExpr* u = NewAt<UnaryExpr>(at);
      u->op = Op::Neg;
      u->operand = operand;
      return Grown(u, {operand});
    }
    if (IsKw(Kw::Not)) {
      UnaryExpr* u = New<UnaryExpr>();
      Next();
      u->op = Op::Not;
      u->operand = ParseBinary(6);
      return Grown(u, {u->operand});
    }
    return ParsePrimary();
  }

  // A negative number literal is folded as the operator would compute it at run time: the
  // negation of an Integer stays an Integer unless it overflows (-&H8000 is the Long 32768),
  // and the negation of a Long stays a Long (-32768 is a Long, as 32768 is).
  static bool FoldNegative(Variant& v) {
    switch (v.Type()) {
      case VarType::Integer:
      case VarType::Long:
      case VarType::Double:
        v = Negate(v);
        return true;
      default:
        return false;
    }
  }

  Expr* ParsePrimary() {
    const Token& t = Cur();
    switch (t.kind) {
      case Tok::Literal: {
        LiteralExpr* lit = New<LiteralExpr>();
        lit->value = t.value;
        Next();
        return lit;
      }
      case Tok::LParen: {
        ParenExpr* p = New<ParenExpr>();
        Next();
        p->inner = ParseExpr();
        Expect(Tok::RParen, kErrExpectedRParen);
        return ParsePostfix(Grown(p, {p->inner}), nullptr, nullptr);
      }
      case Tok::WithDot:
        return ParseTarget(nullptr, nullptr);
      case Tok::Word:
        break;
      case Tok::End:
        Fail(kErrSyntax);  // the text ends where an expression should follow
      default:
        Fail(kErrExpectedExpression);
    }
    switch (t.keyword) {
      case Kw::True:
        return Constant(Variant(true));
      case Kw::False:
        return Constant(Variant(false));
      case Kw::Empty:
        return Constant(Variant());
      case Kw::Null:
        return Constant(Variant::Null());
      case Kw::Nothing:
        return Constant(Variant::Nothing());
      case Kw::New: {
        NewExpr* n = New<NewExpr>();
        Next();
        n->className = ExpectName();
        n->key = ToLowerAscii(n->className);
        return n;
      }
      case Kw::Me:
        return ParseTarget(nullptr, nullptr);
      default:
        if (!AtName()) Fail(kErrExpectedExpression);
        return ParseTarget(nullptr, nullptr);
    }
  }

  Expr* Constant(Variant v) {
    LiteralExpr* lit = New<LiteralExpr>();
    lit->value = std::move(v);
    Next();
    return lit;
  }

  std::vector<Token> tokens_;
  std::size_t pos_ = 0;
  std::unique_ptr<Program> program_;
  int depth_ = 0;
  int singleLineIf_ = 0;
  int doDepth_ = 0;
  int forDepth_ = 0;
  ProcDef* proc_ = nullptr;
  ClassDef* class_ = nullptr;
};

}  // namespace

std::unique_ptr<Program> ParseProgram(std::string_view source, std::string blockName) {
  return Parser(source, std::move(blockName)).ParseAll();
}

std::unique_ptr<Program> ParseExpression(std::string_view source, std::string blockName,
                                         Expr*& result) {
  return Parser(source, std::move(blockName)).ParseSingleExpression(result);
}

}  // namespace sl::vbs
