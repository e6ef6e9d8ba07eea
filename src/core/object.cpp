#include "core/object.h"

#include <vector>

#include "core/runtime_error.h"

namespace sl {

DispId Object::GetIdOfName(std::string_view) {
  return kDispIdUnknown;
}

Variant Object::Invoke(DispId, std::uint8_t, std::span<Variant>) {
  throw RuntimeError(kErrNoSuchMember);
}

Ref<Enumerator> Object::NewEnum() {
  throw RuntimeError(kErrNoSuchMember);
}

void Object::GiveUpValues(std::vector<Variant>&) {}

namespace {
DispId Lookup(Object& obj, std::string_view name) {
  DispId id = obj.GetIdOfName(name);
  if (id == kDispIdUnknown) {
    throw RuntimeError(
        438, "Object doesn't support this property or method: '" + std::string(name) + "'");
  }
  return id;
}
}  // namespace

Variant Object::GetProperty(std::string_view name) {
  return Invoke(Lookup(*this, name), kInvokeGet, {});
}

Variant Object::GetProperty(std::string_view name, std::span<Variant> index) {
  return Invoke(Lookup(*this, name), kInvokeGet, index);
}

void Object::LetProperty(std::string_view name, Variant value) {
  Invoke(Lookup(*this, name), kInvokeLet, std::span<Variant>(&value, 1));
}

Variant Object::CallMethod(std::string_view name, std::span<Variant> args) {
  return Invoke(Lookup(*this, name), kInvokeCall | kInvokeGet, args);
}

bool NamesEqual(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace sl
