// The compiler: registers a parsed block's globals (variables, constants, procedures, classes)
// in the global scope, lays out each procedure's frame (parameters, result, locals) and
// resolves every name that can be decided before running: locals, parameters, fields and
// members of the class. Other names are left for the interpreter to find at first use.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/case_fold.h"
#include "vbscript/ast.h"

namespace sl::vbs {

struct Code;

struct GlobalSlot {
  enum Kind : std::uint8_t { Variable, Constant, Procedure, Class, HostObject, Intrinsic };
  std::string name;
  Kind kind = Variable;
  Variant value;
  ProcDef* proc = nullptr;
  ClassDef* cls = nullptr;
  int intrinsic = 0;
};

// The global names of a program. Compiled code may bind a name straight to the global variable
// it stands for (Code::directs); every binding is dropped when any global variable stops being
// one (a procedure, class, constant or host object takes its name) or names are forgotten, so
// that such code goes back to the name and sees the new meaning at its next instruction.
class GlobalScope {
 public:
  GlobalScope() = default;
  GlobalScope(const GlobalScope&) = delete;
  GlobalScope& operator=(const GlobalScope&) = delete;
  ~GlobalScope() { ForgetBindings(); }

  GlobalSlot* Find(const std::string& key) {
    auto it = index_.find(key);
    return it == index_.end() ? nullptr : it->second;
  }
  // Adds a name (bumping the generation, which tells implicit locals to look again).
  GlobalSlot* Add(std::string name, const std::string& key, GlobalSlot::Kind kind) {
    slots_.emplace_back();
    keys_.push_back(key);
    GlobalSlot* slot = &slots_.back();
    slot->name = std::move(name);
    slot->kind = kind;
    index_[key] = slot;
    ++generation_;
    return slot;
  }
  // Gives a name a new meaning; a variable that becomes something else loses its bindings.
  void SetKind(GlobalSlot& slot, GlobalSlot::Kind kind) {
    if (slot.kind == GlobalSlot::Variable && kind != GlobalSlot::Variable) ForgetBindings();
    slot.kind = kind;
  }
  std::uint32_t Generation() const noexcept { return generation_; }
  std::deque<GlobalSlot>& Slots() noexcept { return slots_; }
  // Forgets the names added after the first `count` (bumping the generation), and every binding.
  void TruncateTo(std::size_t count) {
    ForgetBindings();
    while (slots_.size() > count) {
      index_.erase(keys_.back());
      keys_.pop_back();
      slots_.pop_back();
    }
    ++generation_;
  }
  // Code that may bind names to this scope's variables.
  void Track(const std::shared_ptr<Code>& code);
  // Drops the bindings of all tracked code.
  void ForgetBindings();

 private:
  std::deque<GlobalSlot> slots_;
  std::vector<std::string> keys_;  // the key of each slot
  std::unordered_map<std::string, GlobalSlot*> index_;
  std::uint32_t generation_ = 1;
  std::vector<std::weak_ptr<Code>> tracked_;
  std::size_t trackedPruned_ = 0;  // size of tracked_ after the last pruning
};

// Compiles a block. `scope` is the procedure whose locals the code sees (Execute and Eval inside
// a procedure), or null for global code. Throws CompileError. With `unresolved`, every use of a
// name left for run time (a global, a host member, a built-in or an undeclared name) is added to
// it in source order; declarations (Dim, Const, ReDim) are not uses.
void CompileProgram(Program& program, GlobalScope& globals, const ProcDef* scope,
                    std::vector<const NameExpr*>* unresolved = nullptr);

// Resolves the names of an expression parsed for Eval.
void CompileExpression(Program& program, Expr* expr, const ProcDef* scope);

}  // namespace sl::vbs
