#include "vbscript/compiler.h"

#include <algorithm>

#include "vbscript/builtins/builtin.h"
#include "vbscript/bytecode.h"
#include "vbscript/errors.h"

namespace sl::vbs {

namespace {

[[noreturn]] void FailAt(int number, const Node* node) {
  throw CompileError(number, node->line, node->column);
}

class Compiler {
 public:
  Compiler(Program& program, GlobalScope& globals, std::vector<const NameExpr*>* unresolved)
      : program_(program), globals_(globals), unresolved_(unresolved) {}

  void CompileBlock(const ProcDef* scope) {
    outerScope_ = scope;
    explicit_ = program_.explicitOnly || (scope && scope->explicitOnly);
    RegisterGlobals(scope);
    for (ClassDef* cls : program_.classes)
      CompileClass(cls);
    for (ProcDef* proc : program_.procs)
      CompileProc(proc);
    proc_ = nullptr;
    class_ = scope ? scope->owner : nullptr;
    ResolveBlock(program_.globalCode);
  }

  void CompileExpr(Expr* e, const ProcDef* scope) {
    outerScope_ = scope;
    explicit_ = scope && scope->explicitOnly;
    class_ = scope ? scope->owner : nullptr;
    ResolveExpr(e, false);
  }

 private:
  // ---- Globals ----
  void RegisterGlobals(const ProcDef* scope) {
    std::unordered_map<std::string, const Node*> seen;
    auto claim = [&](const std::string& key, const Node* node) {
      if (!seen.emplace(key, node).second) FailAt(kErrNameRedefined, node);
    };
    for (ClassDef* cls : program_.classes) {
      claim(cls->key, cls);
      GlobalSlot* slot = globals_.Find(cls->key);
      if (!slot) slot = globals_.Add(cls->name, cls->key, GlobalSlot::Class);
      globals_.SetKind(*slot, GlobalSlot::Class);
      slot->cls = cls;
      slot->proc = nullptr;
    }
    // A procedure defined twice (even once as a Sub and once as a Function) is the last
    // definition; the name may not also be a class or a variable of the block.
    std::unordered_map<std::string, bool> procNames;
    for (ProcDef* proc : program_.procs) {
      if (!procNames.count(proc->key)) claim(proc->key, proc);
      procNames[proc->key] = true;
      GlobalSlot* slot = globals_.Find(proc->key);
      if (!slot) slot = globals_.Add(proc->name, proc->key, GlobalSlot::Procedure);
      globals_.SetKind(*slot, GlobalSlot::Procedure);
      slot->proc = proc;
      slot->cls = nullptr;
      slot->value.Clear();
      proc->explicitOnly = explicit_;
    }
    if (scope) return;  // Execute inside a procedure: its Dims are resolved as globals lazily
    RegisterDeclarations(program_.globalCode, claim);
  }

  template <class Claim>
  void RegisterDeclarations(const Block& block, Claim& claim) {
    for (Stmt* s : block) {
      switch (s->kind) {
        case StmtKind::Dim:
          for (DimItem& item : static_cast<DimStmt*>(s)->items) {
            claim(item.name->key, item.name);
            if (GlobalSlot* slot = globals_.Find(item.name->key)) {
              if (slot->kind != GlobalSlot::Variable) FailAt(kErrNameRedefined, item.name);
            } else {
              globals_.Add(item.name->name, item.name->key, GlobalSlot::Variable);
            }
          }
          break;
        case StmtKind::ReDim:
          // ReDim declares the array when no Dim did, even under Option Explicit.
          for (DimItem& item : static_cast<ReDimStmt*>(s)->items) {
            if (!globals_.Find(item.name->key)) {
              globals_.Add(item.name->name, item.name->key, GlobalSlot::Variable);
            }
          }
          break;
        case StmtKind::Const:
          for (auto& [name, value] : static_cast<ConstStmt*>(s)->items) {
            claim(name->key, name);
            GlobalSlot* slot = globals_.Find(name->key);
            if (slot && slot->kind != GlobalSlot::Variable && slot->kind != GlobalSlot::Constant) {
              FailAt(kErrNameRedefined, name);
            }
            if (!slot) slot = globals_.Add(name->name, name->key, GlobalSlot::Constant);
            globals_.SetKind(*slot, GlobalSlot::Constant);
            // Literal constants have their value from the start, as the classic engine does.
            if (value->kind == ExprKind::Literal)
              slot->value = static_cast<LiteralExpr*>(value)->value;
          }
          break;
        case StmtKind::If: {
          auto* i = static_cast<IfStmt*>(s);
          for (Block& b : i->blocks)
            RegisterDeclarations(b, claim);
          RegisterDeclarations(i->elseBlock, claim);
          break;
        }
        case StmtKind::For:
          RegisterDeclarations(static_cast<ForStmt*>(s)->body, claim);
          break;
        case StmtKind::ForEach:
          RegisterDeclarations(static_cast<ForEachStmt*>(s)->body, claim);
          break;
        case StmtKind::Do:
          RegisterDeclarations(static_cast<DoStmt*>(s)->body, claim);
          break;
        case StmtKind::With:
          RegisterDeclarations(static_cast<WithStmt*>(s)->body, claim);
          break;
        case StmtKind::Select:
          for (CaseClause& c : static_cast<SelectStmt*>(s)->clauses)
            RegisterDeclarations(c.body, claim);
          break;
        default:
          break;
      }
    }
  }

  // ---- Classes ----
  void CompileClass(ClassDef* cls) {
    auto addMember = [&](const std::string& name) -> ClassMember& {
      std::string key = ToLowerAscii(name);
      auto it = cls->memberIndex.find(key);
      if (it != cls->memberIndex.end()) {
        return cls->members[static_cast<std::size_t>(it->second)];
      }
      cls->memberIndex[key] = static_cast<int>(cls->members.size());
      cls->members.emplace_back();
      cls->members.back().name = name;
      return cls->members.back();
    };
    for (DimStmt* dim : cls->fieldDecls) {
      for (DimItem& item : dim->items) {
        if (cls->memberIndex.count(item.name->key)) FailAt(kErrNameRedefined, item.name);
        ClassMember& m = addMember(item.name->name);
        m.isPublic = dim->isPublic;
        m.field = cls->fieldCount++;
        std::vector<std::int32_t> bounds;
        for (Expr* b : item.bounds)
          bounds.push_back(ToInt(static_cast<LiteralExpr*>(b)->value));
        cls->fieldArrays.push_back(std::move(bounds));
        cls->fieldIsArray.push_back(item.isArray);
      }
    }
    for (ProcDef* proc : cls->procs) {
      bool existed = cls->memberIndex.count(proc->key) != 0;
      ClassMember& m = addMember(proc->name);
      ProcDef** place = nullptr;
      switch (proc->kind) {
        case ProcKind::Sub:
        case ProcKind::Function:
          if (existed) FailAt(kErrNameRedefined, proc);
          m.method = proc;
          break;
        case ProcKind::PropertyGet:
          place = &m.get;
          break;
        case ProcKind::PropertyLet:
          place = &m.let;
          break;
        case ProcKind::PropertySet:
          place = &m.set;
          break;
      }
      if (place) {
        if (*place || m.method || m.field >= 0) FailAt(kErrNameRedefined, proc);
        *place = proc;
      }
      m.isPublic = m.isPublic && proc->isPublic;
      if (proc->isPublic) m.isPublic = true;
      if (proc->isDefault) {
        int index = cls->memberIndex[proc->key];
        if (cls->defaultMember >= 0 && cls->defaultMember != index) {
          FailAt(kErrMultipleDefault, proc);
        }
        cls->defaultMember = index;
      }
      if (proc->key == "class_initialize" || proc->key == "class_terminate") {
        if (!proc->params.empty()) FailAt(kErrInitTerminateArgs, proc);
        if (proc->kind == ProcKind::Sub) {
          (proc->key == "class_initialize" ? cls->initialize : cls->terminate) = proc;
        }
      }
    }
    for (ProcDef* proc : cls->procs) {
      proc->explicitOnly = explicit_;
      CompileProc(proc);
    }
  }

  static std::int32_t ToInt(const Variant& v) {
    switch (v.Type()) {
      case VarType::Integer:
        return v.AsInteger();
      case VarType::Long:
        return v.AsLong();
      case VarType::Byte:
        return v.AsByte();
      case VarType::Double:
        return static_cast<std::int32_t>(v.AsDouble());
      default:
        return 0;
    }
  }

  // ---- Procedures ----
  void CompileProc(ProcDef* proc) {
    proc_ = proc;
    class_ = proc->owner;
    proc->explicitOnly = explicit_;
    proc->locals.clear();
    int slot = 0;
    for (Param& p : proc->params) {
      std::string key = ToLowerAscii(p.name);
      if (!proc->locals.emplace(key, slot).second) FailAt(kErrNameRedefined, proc);
      ++slot;
    }
    paramCount_ = slot;
    if (proc->kind == ProcKind::Function || proc->kind == ProcKind::PropertyGet) {
      proc->resultSlot = slot++;
    }
    proc->localCount = slot;
    consts_.clear();
    DeclareLocals(proc->body);
    ResolveBlock(proc->body);
    proc->ready = true;
    proc_ = nullptr;
  }

  void DeclareLocal(NameExpr* name, bool isConst) {
    if (proc_->locals.count(name->key) || name->key == proc_->key) {
      FailAt(kErrNameRedefined, name);
    }
    proc_->locals[name->key] = proc_->localCount++;
    if (isConst) consts_.insert(name->key);
  }

  void DeclareLocals(const Block& block) {
    for (Stmt* s : block) {
      switch (s->kind) {
        case StmtKind::Dim:
          for (DimItem& item : static_cast<DimStmt*>(s)->items)
            DeclareLocal(item.name, false);
          break;
        case StmtKind::Const:
          for (auto& item : static_cast<ConstStmt*>(s)->items)
            DeclareLocal(item.first, true);
          break;
        case StmtKind::If: {
          auto* i = static_cast<IfStmt*>(s);
          for (Block& b : i->blocks)
            DeclareLocals(b);
          DeclareLocals(i->elseBlock);
          break;
        }
        case StmtKind::For:
          DeclareLocals(static_cast<ForStmt*>(s)->body);
          break;
        case StmtKind::ForEach:
          DeclareLocals(static_cast<ForEachStmt*>(s)->body);
          break;
        case StmtKind::Do:
          DeclareLocals(static_cast<DoStmt*>(s)->body);
          break;
        case StmtKind::With:
          DeclareLocals(static_cast<WithStmt*>(s)->body);
          break;
        case StmtKind::Select:
          for (CaseClause& c : static_cast<SelectStmt*>(s)->clauses)
            DeclareLocals(c.body);
          break;
        default:
          break;
      }
    }
  }

  // ---- Names ----
  const ProcDef* Scope() const { return proc_ ? proc_ : outerScope_; }

  void ResolveName(NameExpr* n, bool asCallee, bool declaresImplicitly = false) {
    NameRef& ref = n->ref;
    ref.explicitOnly = explicit_;
    if (const ProcDef* scope = Scope()) {
      bool isOwnName = n->key == scope->key && scope->resultSlot >= 0;
      if (isOwnName && !asCallee) {
        ref.kind = NameKind::Local;
        ref.slot = scope->resultSlot;
        return;
      }
      auto it = scope->locals.find(n->key);
      if (it != scope->locals.end()) {
        int slot = it->second;
        ref.slot = slot;
        // A later use of an implicit local (below) is looked up at run time as its first use
        // is: a global of that name made after compiling (a host object) wins.
        if (proc_ && implicitOwner_ == proc_ && implicitSlots_.count(n->key)) {
          ref.kind = NameKind::Unresolved;
          return;
        }
        ref.kind =
            slot < static_cast<int>(scope->params.size()) ? NameKind::RefParam : NameKind::Local;
        ref.readOnly = proc_ && consts_.count(n->key) != 0;
        return;
      }
    }
    if (class_) {
      auto it = class_->memberIndex.find(n->key);
      if (it != class_->memberIndex.end()) {
        const ClassMember& m = class_->members[static_cast<std::size_t>(it->second)];
        if (m.field >= 0) {
          ref.kind = NameKind::Field;
          ref.slot = m.field;
        } else {
          ref.kind = NameKind::ClassMember;
          ref.slot = it->second;
        }
        return;
      }
    }
    ref.kind = NameKind::Unresolved;
    // In a procedure without Option Explicit, a name that is nowhere declared becomes a local
    // of the call: give it a slot, used while no global of that name exists.
    if (proc_ && (!explicit_ || declaresImplicitly) && !globals_.Find(n->key) &&
        !FindBuiltin(n->key) && !FindConstant(n->key)) {
      auto it = implicitSlots_.find(n->key);
      if (it == implicitSlots_.end() || implicitOwner_ != proc_) {
        if (implicitOwner_ != proc_) implicitSlots_.clear();
        implicitOwner_ = proc_;
        int slot = proc_->localCount++;
        proc_->locals[n->key] = slot;  // so Execute and Eval see it too
        it = implicitSlots_.emplace(n->key, slot).first;
      }
      ref.slot = it->second;
    }
    if (unresolved_ && !declaring_ && !declaresImplicitly) unresolved_->push_back(n);
  }

  void ResolveBlock(Block& block) {
    for (Stmt* s : block)
      ResolveStmt(s);
  }

  void ResolveStmt(Stmt* s) {
    switch (s->kind) {
      case StmtKind::Assign: {
        auto* a = static_cast<AssignStmt*>(s);
        ResolveExpr(a->target, false);
        ResolveExpr(a->value, false);
        if (!a->isSet && a->target->kind == ExprKind::Name) FindAppend(a);
        break;
      }
      case StmtKind::Call:
        ResolveExpr(static_cast<CallStmt*>(s)->call, true);
        break;
      case StmtKind::Dim:
        for (DimItem& item : static_cast<DimStmt*>(s)->items) {
          Declaring([&] { ResolveName(item.name, false); });
          for (Expr* b : item.bounds)
            ResolveExpr(b, false);
        }
        break;
      case StmtKind::ReDim:
        for (DimItem& item : static_cast<ReDimStmt*>(s)->items) {
          ResolveName(item.name, false, true);
          for (Expr* b : item.bounds)
            ResolveExpr(b, false);
        }
        break;
      case StmtKind::Erase:
        ResolveName(static_cast<EraseStmt*>(s)->name, false);
        break;
      case StmtKind::Const:
        // (no structured binding: Clang 14 cannot capture one in a lambda)
        for (auto& item : static_cast<ConstStmt*>(s)->items) {
          NameExpr* name = item.first;
          Declaring([&] { ResolveName(name, false); });
          name->ref.readOnly = false;  // the declaration itself assigns
          ResolveExpr(item.second, false);
        }
        break;
      case StmtKind::If: {
        auto* i = static_cast<IfStmt*>(s);
        for (Expr* c : i->conditions)
          ResolveExpr(c, false);
        for (Block& b : i->blocks)
          ResolveBlock(b);
        ResolveBlock(i->elseBlock);
        break;
      }
      case StmtKind::Select: {
        auto* sel = static_cast<SelectStmt*>(s);
        ResolveExpr(sel->subject, false);
        for (CaseClause& c : sel->clauses) {
          for (CaseTest& t : c.tests) {
            ResolveExpr(t.a, false);
            if (t.b) ResolveExpr(t.b, false);
          }
          ResolveBlock(c.body);
        }
        break;
      }
      case StmtKind::For: {
        auto* f = static_cast<ForStmt*>(s);
        ResolveName(f->var, false);
        ResolveExpr(f->from, false);
        ResolveExpr(f->to, false);
        if (f->step) ResolveExpr(f->step, false);
        ResolveBlock(f->body);
        break;
      }
      case StmtKind::ForEach: {
        auto* f = static_cast<ForEachStmt*>(s);
        ResolveName(f->var, false);
        ResolveExpr(f->collection, false);
        ResolveBlock(f->body);
        break;
      }
      case StmtKind::Do: {
        auto* d = static_cast<DoStmt*>(s);
        if (d->condition) ResolveExpr(d->condition, false);
        ResolveBlock(d->body);
        break;
      }
      case StmtKind::With: {
        auto* w = static_cast<WithStmt*>(s);
        ResolveExpr(w->object, false);
        ResolveBlock(w->body);
        break;
      }
      case StmtKind::Randomize: {
        auto* r = static_cast<RandomizeStmt*>(s);
        if (r->seed) ResolveExpr(r->seed, false);
        break;
      }
      default:
        break;
    }
  }

  // x = x & a & b ...: the concatenation chain starts with the variable assigned.
  static void FindAppend(AssignStmt* a) {
    std::vector<Expr*> pieces;
    Expr* e = a->value;
    while (e->kind == ExprKind::Binary && static_cast<BinaryExpr*>(e)->op == Op::Concat) {
      pieces.push_back(static_cast<BinaryExpr*>(e)->right);
      e = static_cast<BinaryExpr*>(e)->left;
    }
    if (pieces.empty() || e->kind != ExprKind::Name ||
        static_cast<NameExpr*>(e)->key != static_cast<NameExpr*>(a->target)->key) {
      return;
    }
    a->appendInPlace = true;
    a->pieces.assign(pieces.rbegin(), pieces.rend());
  }

  void ResolveExpr(Expr* e, bool asCallee) {
    switch (e->kind) {
      case ExprKind::Name:
        ResolveName(static_cast<NameExpr*>(e), asCallee);
        break;
      case ExprKind::Call: {
        auto* c = static_cast<CallExpr*>(e);
        ResolveExpr(c->callee, true);
        for (Expr* a : c->args)
          ResolveExpr(a, false);
        break;
      }
      case ExprKind::Member: {
        auto* m = static_cast<MemberExpr*>(e);
        if (m->object) ResolveExpr(m->object, false);
        break;
      }
      case ExprKind::Unary:
        ResolveExpr(static_cast<UnaryExpr*>(e)->operand, false);
        break;
      case ExprKind::Binary: {
        auto* b = static_cast<BinaryExpr*>(e);
        ResolveExpr(b->left, false);
        ResolveExpr(b->right, false);
        break;
      }
      case ExprKind::Paren:
        ResolveExpr(static_cast<ParenExpr*>(e)->inner, false);
        break;
      case ExprKind::Me:
        if (!class_) FailAt(kErrInvalidMe, e);
        break;
      case ExprKind::New:
        static_cast<NewExpr*>(e)->explicitOnly = explicit_;
        break;
      default:
        break;
    }
  }

  // Resolves the name of a declaration, which is not a use of an undeclared name.
  template <class F>
  void Declaring(F&& resolve) {
    declaring_ = true;
    resolve();
    declaring_ = false;
  }

  Program& program_;
  GlobalScope& globals_;
  std::vector<const NameExpr*>* unresolved_;
  bool declaring_ = false;
  const ProcDef* outerScope_ = nullptr;
  ProcDef* proc_ = nullptr;
  const ClassDef* class_ = nullptr;
  bool explicit_ = false;
  int paramCount_ = 0;
  std::unordered_map<std::string, int> implicitSlots_;
  const ProcDef* implicitOwner_ = nullptr;
  std::unordered_map<std::string, bool> constsMap_;
  struct KeySet {
    std::unordered_map<std::string, bool> m;
    void clear() { m.clear(); }
    void insert(const std::string& k) { m[k] = true; }
    std::size_t count(const std::string& k) const { return m.count(k); }
  } consts_;
};

}  // namespace

void GlobalScope::Track(const std::shared_ptr<Code>& code) {
  // Code that is gone is pruned whenever the list has doubled since the last pruning.
  if (tracked_.size() >= 2 * trackedPruned_ + 16) {
    std::erase_if(tracked_, [](const std::weak_ptr<Code>& c) { return c.expired(); });
    trackedPruned_ = tracked_.size();
  }
  tracked_.push_back(code);
}

void GlobalScope::ForgetBindings() {
  for (const std::weak_ptr<Code>& tracked : tracked_) {
    if (std::shared_ptr<Code> code = tracked.lock()) {
      std::fill(code->directs.begin(), code->directs.end(), nullptr);
    }
  }
}

void CompileProgram(Program& program, GlobalScope& globals, const ProcDef* scope,
                    std::vector<const NameExpr*>* unresolved) {
  Compiler(program, globals, unresolved).CompileBlock(scope);
}

void CompileExpression(Program& program, Expr* expr, const ProcDef* scope) {
  GlobalScope unused;
  Compiler(program, unused, nullptr).CompileExpr(expr, scope);
}

}  // namespace sl::vbs
