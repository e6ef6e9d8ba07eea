// Objects the engine itself makes and hands to scripts and hosts: instances of script classes,
// procedure references made by GetRef, and the Err object. Each is an sl::Object, so a host can
// hold and call them like any other object. They keep the compiled code they need alive through
// a CodeStore, and stop working (error 51) once the engine that made them is reset.
#pragma once

#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "core/object.h"
#include "vbscript/ast.h"

namespace sl::vbs {

class Interpreter;

// The compiled blocks of one program, shared with the objects made from them.
struct CodeStore : RefCounted {
  // Shared: a restarted engine keeps its base programs in a new store (see MarkBase).
  std::vector<std::shared_ptr<Program>> programs;
  Interpreter* interpreter = nullptr;  // null once the engine was reset or destroyed

  // Releases the values of a dying object one after another rather than nested, so that a
  // long chain of objects (a linked list of a million nodes) does not exhaust the stack.
  void ReleaseLater(std::vector<Variant>& values);

 private:
  std::vector<Variant> dying_;
  bool releasing_ = false;
};

class ClassInstance final : public Object {
 public:
  ClassInstance(Ref<CodeStore> store, ClassDef* cls);
  ~ClassInstance() override;

  std::string TypeName() const override { return cls_->name; }
  DispId GetIdOfName(std::string_view name) override;
  Variant Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) override;

  ClassDef* Class() const noexcept { return cls_; }
  std::vector<Variant>& Fields() noexcept { return fields_; }
  // Marks the object as one whose Class_Terminate has run (or must not run).
  void SetTerminated() noexcept { terminated_ = true; }

 private:
  void RunTerminate();

  Ref<CodeStore> store_;
  ClassDef* cls_;
  std::vector<Variant> fields_;
  bool terminated_ = false;
};

// The script object `obj` is, or null for a host or built-in object. ClassInstance is final, so
// comparing the dynamic type answers as a dynamic_cast would, at a fraction of its cost.
inline ClassInstance* AsClassInstance(Object* obj) {
  return obj && typeid(*obj) == typeid(ClassInstance) ? static_cast<ClassInstance*>(obj) : nullptr;
}

// GetRef("Name"): calling its default member calls the procedure.
class ProcRef final : public Object {
 public:
  ProcRef(Ref<CodeStore> store, ProcDef* proc) : store_(std::move(store)), proc_(proc) {}
  std::string TypeName() const override { return "Object"; }
  Variant Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) override;

 private:
  Ref<CodeStore> store_;
  ProcDef* proc_;
};

// The Err object: the last error caught under On Error Resume Next, and Raise / Clear.
class ErrObject final : public Object {
 public:
  std::string TypeName() const override { return "ErrObject"; }
  DispId GetIdOfName(std::string_view name) override;
  Variant Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) override;

  // A new error: its number, description and source, and the help Err.Raise gave (none for
  // errors of the engine).
  void Set(int number, std::string description, std::string source, std::string helpFile = {},
           int helpContext = 0);
  void Clear();
  int Number() const noexcept { return number_; }

 private:
  [[noreturn]] void Raise(std::span<Variant> args);

  int number_ = 0;
  std::string description_;
  std::string source_;
  std::string helpFile_;
  int helpContext_ = 0;
};

}  // namespace sl::vbs
