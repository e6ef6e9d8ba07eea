// The late-bound object interface: what a script sees of any object, whether a window control,
// a game object the player hands to the script engine, or an object made by a script itself.
// Members are found by name (without regard to letter case) and then invoked by number.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/ref_counted.h"
#include "core/variant.h"

namespace sl {

using DispId = std::int32_t;
constexpr DispId kDispIdValue = 0;     // the default member
constexpr DispId kDispIdUnknown = -1;  // no member of that name
constexpr DispId kDispIdNewEnum = -4;  // enumeration (For Each)

// What the caller wants of a member. Get and Call are often asked together: `x = obj.Name(1)`
// may be a property read with an index or a function call.
enum InvokeFlags : std::uint8_t {
  kInvokeCall = 1,  // a method call
  kInvokeGet = 2,   // a property read
  kInvokeLet = 4,   // a property assignment of a value
  kInvokeSet = 8,   // a property assignment of an object reference (Set x.P = obj)
};

class Enumerator;

class Object : public RefCounted {
 public:
  // The name TypeName reports ("Label", "Dictionary", "VBScriptActionModule").
  virtual std::string TypeName() const = 0;

  // The number of the member called `name` (any letter case), or kDispIdUnknown.
  virtual DispId GetIdOfName(std::string_view name);

  // What the numbers GetIdOfName gives depend on: an identity (a table of the member names)
  // shared by every object that numbers its members the same way, so that a caller may keep the
  // number found for a name while the objects it meets have the same table; null (the default)
  // when the numbers may differ from one object to another.
  virtual const void* MemberTable() const { return nullptr; }

  // Invokes a member. `args` are the arguments in source order; for kInvokeLet and kInvokeSet
  // the last argument is the value assigned. The callee may change arguments in place (a
  // by-reference argument); the caller decides whether such changes reach its variables.
  // Errors are thrown as RuntimeError (438 when the member cannot be invoked that way, 450 for
  // a wrong number of arguments). The default implementation throws 438.
  virtual Variant Invoke(DispId id, std::uint8_t flags, std::span<Variant> args);

  // An enumerator over the object's items for For Each; the default throws 438 when the object
  // is not a collection.
  virtual Ref<Enumerator> NewEnum();

  // Moves the values the object holds into `out`. Called only by the holder of its last
  // reference just before letting it go, so that containers nested to any depth (a dictionary
  // in a dictionary in ...) are released one after another rather than by recursion. Objects
  // that hold no values, or must see them while they go, keep the default: nothing.
  virtual void GiveUpValues(std::vector<Variant>& out);

  // Convenience wrappers that look the member up by name (RuntimeError 438 when unknown).
  Variant GetProperty(std::string_view name);
  Variant GetProperty(std::string_view name, std::span<Variant> index);
  void LetProperty(std::string_view name, Variant value);
  Variant CallMethod(std::string_view name, std::span<Variant> args = {});

 protected:
  ~Object() override = default;
};

class Enumerator : public RefCounted {
 public:
  // Stores the next item in `out` and returns true, or returns false at the end.
  virtual bool Next(Variant& out) = 0;

 protected:
  ~Enumerator() override = default;
};

// Case-insensitive comparison of ASCII names, as member and variable names are compared.
bool NamesEqual(std::string_view a, std::string_view b) noexcept;

}  // namespace sl
