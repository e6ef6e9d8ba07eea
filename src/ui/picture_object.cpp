// Scriptable picture objects.
#include "ui/picture_object.h"

#include <cstdint>

#include "core/dispatch_table.h"
#include "core/runtime_error.h"

namespace sl::ui {

namespace {
const DispatchTable<PictureObject>& Members() {
  static const DispatchTable<PictureObject> table = [] {
    DispatchTable<PictureObject> t;
    t.Property("Handle", [](PictureObject& p) -> Variant {
      // A stable non-zero number per decoded picture, 0 for none.
      if (p.Picture().IsNone()) return Variant(std::int32_t{0});
      auto bits = reinterpret_cast<std::uintptr_t>(&p.Picture().Image());
      return Variant(static_cast<std::int32_t>((bits >> 4) & 0x7FFFFFFF) | 1);
    });
    t.Property("Width", [](PictureObject& p) -> Variant {
      return Variant(static_cast<std::int32_t>(p.Picture().WidthHimetric()));
    });
    t.Property("Height", [](PictureObject& p) -> Variant {
      return Variant(static_cast<std::int32_t>(p.Picture().HeightHimetric()));
    });
    t.Property("Type", [](PictureObject& p) -> Variant {
      return Variant(static_cast<std::int16_t>(draw::ClassicPictureType(p.Picture().Kind())));
    });
    t.Default("Handle");
    return t;
  }();
  return table;
}
}  // namespace

DispId PictureObject::GetIdOfName(std::string_view name) {
  return Members().GetIdOfName(name);
}

Variant PictureObject::Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) {
  return Members().Invoke(*this, id, flags, args);
}

Variant PictureToVariant(const draw::Picture& picture) {
  return Variant(MakeRef<PictureObject>(picture));
}

draw::Picture PictureFromVariant(const Variant& value) {
  if (value.IsEmpty() || value.IsNothing()) return {};
  if (value.IsObject()) {
    if (auto* p = dynamic_cast<PictureObject*>(value.AsObject())) return p->Picture();
  }
  throw RuntimeError(kErrTypeMismatch);
}

}  // namespace sl::ui
