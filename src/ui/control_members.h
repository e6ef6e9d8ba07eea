// The members every control shares (Name, Index, Left, Top, Width, Height, Move, Visible,
// Enabled, ZOrder, Tag, ToolTipText, MousePointer, MouseIcon, DragIcon, DragMode, Drag,
// Container, Parent, Refresh, SetFocus), added to a concrete control's DispatchTable, and the
// argument helpers the control tables use.
#pragma once

#include <span>

#include "core/dispatch_table.h"
#include "core/runtime_error.h"
#include "core/variant_convert.h"
#include "ui/control.h"
#include "ui/draw/units.h"
#include "ui/form.h"
#include "ui/picture_object.h"

namespace sl::ui {

// The n-th argument, or `fallback` when it is missing or empty (an omitted optional argument).
inline const Variant* Arg(std::span<Variant> args, std::size_t n) {
  if (n >= args.size() || args[n].IsEmpty() || args[n].Type() == VarType::Error) return nullptr;
  return &args[n];
}
inline Variant Str(const std::string& s) {
  return Variant(s);
}
inline Variant Num(double v) {
  return Variant(static_cast<float>(v));
}
inline Variant Bool(bool b) {
  return Variant(b);
}
inline Variant Int(int v) {
  return Variant(static_cast<std::int16_t>(v));
}
inline Variant Long(long v) {
  return Variant(static_cast<std::int32_t>(v));
}
// Control a value refers to, or RuntimeError 424.
Control& ControlFromVariant(const Variant& v);

// Scale units of a control's position: its container's.
inline double ToUnits(const Control& c, double twips) {
  const Control* k = c.Container();
  return k && k->ScaleToPixels() == 1.0 ? draw::TwipsToPixels(twips) : twips;
}
inline double FromUnits(const Control& c, double units) {
  const Control* k = c.Container();
  return k && k->ScaleToPixels() == 1.0 ? draw::PixelsToTwips(units) : units;
}

template <class T>
void AddCommonMembers(DispatchTable<T>& t) {
  t.Property("Name", [](T& c) { return Str(c.Name()); });
  t.Property("Index", [](T& c) -> Variant {
    if (c.Index() < 0) throw RuntimeError(kErrNotAnArray, "Object not an array");
    return Int(c.Index());
  });
  t.Property(
      "Left", [](T& c) { return Num(ToUnits(c, c.Left())); },
      [](T& c, const Variant& v) { c.SetLeft(FromUnits(c, ToDouble(v))); });
  t.Property(
      "Top", [](T& c) { return Num(ToUnits(c, c.Top())); },
      [](T& c, const Variant& v) { c.SetTop(FromUnits(c, ToDouble(v))); });
  t.Property(
      "Width", [](T& c) { return Num(ToUnits(c, c.Width())); },
      [](T& c, const Variant& v) { c.SetWidth(FromUnits(c, ToDouble(v))); });
  t.Property(
      "Height", [](T& c) { return Num(ToUnits(c, c.Height())); },
      [](T& c, const Variant& v) { c.SetHeight(FromUnits(c, ToDouble(v))); });
  t.Function("Move", 1, 4, [](T& c, std::span<Variant> a) {
    double l = FromUnits(c, ToDouble(a[0]));
    double tp = Arg(a, 1) ? FromUnits(c, ToDouble(a[1])) : c.Top();
    double w = Arg(a, 2) ? FromUnits(c, ToDouble(a[2])) : c.Width();
    double h = Arg(a, 3) ? FromUnits(c, ToDouble(a[3])) : c.Height();
    c.Move(l, tp, w, h);
    return Variant();
  });
  t.Property(
      "Visible", [](T& c) { return Bool(c.Visible()); },
      [](T& c, const Variant& v) { c.SetVisible(ToBoolean(v)); });
  t.Property(
      "Enabled", [](T& c) { return Bool(c.Enabled()); },
      [](T& c, const Variant& v) { c.SetEnabled(ToBoolean(v)); });
  t.Function("ZOrder", 0, 1, [](T& c, std::span<Variant> a) {
    c.ZOrder(Arg(a, 0) ? ToInteger(a[0]) : 0);
    return Variant();
  });
  t.Property(
      "Tag", [](T& c) { return Str(c.Tag()); },
      [](T& c, const Variant& v) { c.SetTag(ToUtf8(v)); });
  t.Property(
      "ToolTipText", [](T& c) { return Str(c.ToolTipText()); },
      [](T& c, const Variant& v) { c.SetToolTipText(ToUtf8(v)); });
  t.Property(
      "MousePointer", [](T& c) { return Int(c.MousePointer()); },
      [](T& c, const Variant& v) { c.SetMousePointer(ToInteger(v)); });
  t.Property(
      "MouseIcon", [](T& c) { return PictureToVariant(c.MouseIcon()); },
      [](T& c, const Variant& v) { c.SetMouseIcon(PictureFromVariant(v)); });
  t.Property(
      "DragIcon", [](T& c) { return PictureToVariant(c.DragIcon()); },
      [](T& c, const Variant& v) { c.SetDragIcon(PictureFromVariant(v)); });
  t.Property(
      "DragMode", [](T& c) { return Int(c.DragMode()); },
      [](T& c, const Variant& v) { c.SetDragMode(ToInteger(v)); });
  t.Function("Drag", 0, 1, [](T& c, std::span<Variant> a) {
    c.Drag(Arg(a, 0) ? ToInteger(a[0]) : 1);
    return Variant();
  });
  t.Property(
      "Container", [](T& c) { return Variant(static_cast<Object*>(c.Container())); },
      [](T& c, const Variant& v) { c.SetContainer(&ControlFromVariant(v)); });
  t.Property("Parent", [](T& c) { return Variant(static_cast<Object*>(c.GetForm())); });
  t.Function("Refresh", 0, 0, [](T& c, std::span<Variant>) {
    c.Invalidate();
    return Variant();
  });
  t.Function("SetFocus", 0, 0, [](T& c, std::span<Variant>) {
    if (!c.IsShowing() || !c.IsEffectivelyEnabled()) {
      throw RuntimeError(kErrInvalidCall, "Invalid procedure call or argument");
    }
    c.GetForm()->SetFocusTo(&c);
    return Variant();
  });
}

}  // namespace sl::ui
