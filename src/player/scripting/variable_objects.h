// The game variables as scripts see them: each integer and variant variable is a named object
// with `Name` and `Value`, `Value` being its default member, so that the bare name reads and
// assigns the value (`Flag = Flag + 1`). The objects hold the store's own variables, so a
// change reaches the game at once.
//
// API:
//   auto v = VariableObject::Of(store.Variables.Handle(1));   // also for variant variables
//   engine.AddObject(v->Name(), v, true);
#pragma once

#include <memory>
#include <string>

#include "core/object.h"
#include "player/variables/variable_collections.h"

namespace sl {

class VariableObject final : public Object {
 public:
  static Ref<VariableObject> Of(std::shared_ptr<ClassVariable> variable);
  static Ref<VariableObject> Of(std::shared_ptr<ClassVariableVariant> variable);

  const std::string& Name() const;
  // Whether this object stands for that variable of the store.
  bool Holds(const void* variable) const;

  std::string TypeName() const override;
  DispId GetIdOfName(std::string_view name) override;
  Variant Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) override;

 private:
  VariableObject() = default;
  Variant Get() const;
  void Let(const Variant& value, bool isSet);

  std::shared_ptr<ClassVariable> integer_;
  std::shared_ptr<ClassVariableVariant> variant_;
};

}  // namespace sl
