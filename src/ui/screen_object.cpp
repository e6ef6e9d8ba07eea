// Screen and App objects.
#include "ui/screen_object.h"

#include "core/dispatch_table.h"
#include "ui/control_members.h"
#include "ui/draw/units.h"
#include "ui/window_manager.h"

namespace sl::ui {

namespace {
const DispatchTable<ScreenObject>& ScreenMembers() {
  static const DispatchTable<ScreenObject> table = [] {
    using S = ScreenObject;
    DispatchTable<S> t;
    t.Property("Width", [](S& s) {
      return Num(draw::PixelsToTwips(s.Manager().GetPlatform().DisplaySize().width));
    });
    t.Property("Height", [](S& s) {
      return Num(draw::PixelsToTwips(s.Manager().GetPlatform().DisplaySize().height));
    });
    t.Property("TwipsPerPixelX", [](S&) { return Num(draw::kTwipsPerPixel); });
    t.Property("TwipsPerPixelY", [](S&) { return Num(draw::kTwipsPerPixel); });
    t.Property(
        "MousePointer", [](S& s) { return Int(s.Manager().ScreenPointer()); },
        [](S& s, const Variant& v) {
          int p = ToInteger(v);
          if (p < 0 || (p > 15 && p != 99)) throw RuntimeError(kErrInvalidPropertyValue);
          s.Manager().SetScreenPointer(p);
        });
    t.Property(
        "MouseIcon", [](S& s) { return PictureToVariant(s.Manager().ScreenMouseIcon()); },
        [](S& s, const Variant& v) { s.Manager().SetScreenMouseIcon(PictureFromVariant(v)); });
    t.Property("ActiveForm",
               [](S& s) { return Variant(static_cast<Object*>(s.Manager().ActiveForm())); });
    return t;
  }();
  return table;
}

const DispatchTable<AppObject>& AppMembers() {
  static const DispatchTable<AppObject> table = [] {
    using A = AppObject;
    DispatchTable<A> t;
    t.Property("Path", [](A& a) { return Str(a.Info().path); });
    t.Property(
        "Title", [](A& a) { return Str(a.Info().title); },
        [](A& a, const Variant& v) { a.Info().title = ToUtf8(v); });
    t.Property("EXEName", [](A& a) { return Str(a.Info().exeName); });
    t.Property("Major", [](A& a) { return Int(a.Info().major); });
    t.Property("Minor", [](A& a) { return Int(a.Info().minor); });
    t.Property("Revision", [](A& a) { return Int(a.Info().revision); });
    t.Property("PrevInstance", [](A&) { return Bool(false); });
    return t;
  }();
  return table;
}
}  // namespace

DispId ScreenObject::GetIdOfName(std::string_view name) {
  return ScreenMembers().GetIdOfName(name);
}
Variant ScreenObject::Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) {
  return ScreenMembers().Invoke(*this, id, flags, args);
}
DispId AppObject::GetIdOfName(std::string_view name) {
  return AppMembers().GetIdOfName(name);
}
Variant AppObject::Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) {
  return AppMembers().Invoke(*this, id, flags, args);
}

}  // namespace sl::ui
