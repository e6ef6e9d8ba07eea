// Font properties shared by the controls that show text (FontName, FontSize, FontBold,
// FontItalic, FontUnderline, FontStrikethru), for any control type with FontSpec()/SetFontSpec().
#pragma once

#include "core/dispatch_table.h"
#include "core/variant_convert.h"
#include "ui/control_members.h"
#include "ui/draw/font.h"

namespace sl::ui {

template <class T>
void AddFontMembers(DispatchTable<T>& t) {
  auto change = [](T& c, auto&& edit) {
    draw::FontSpec f = c.FontSpec();
    edit(f);
    c.SetFontSpec(f);
  };
  t.Property(
      "FontName", [](T& c) { return Str(c.FontSpec().name); },
      [change](T& c, const Variant& v) {
        change(c, [&](draw::FontSpec& f) { f.name = ToUtf8(v); });
      });
  t.Property(
      "FontSize", [](T& c) { return Num(c.FontSpec().size); },
      [change](T& c, const Variant& v) {
        double size = ToDouble(v);
        if (size <= 0 || size > 2048) throw RuntimeError(kErrInvalidPropertyValue);
        change(c, [&](draw::FontSpec& f) { f.size = size; });
      });
  t.Property(
      "FontBold", [](T& c) { return Bool(c.FontSpec().bold); },
      [change](T& c, const Variant& v) {
        change(c, [&](draw::FontSpec& f) { f.bold = ToBoolean(v); });
      });
  t.Property(
      "FontItalic", [](T& c) { return Bool(c.FontSpec().italic); },
      [change](T& c, const Variant& v) {
        change(c, [&](draw::FontSpec& f) { f.italic = ToBoolean(v); });
      });
  t.Property(
      "FontUnderline", [](T& c) { return Bool(c.FontSpec().underline); },
      [change](T& c, const Variant& v) {
        change(c, [&](draw::FontSpec& f) { f.underline = ToBoolean(v); });
      });
  t.Property(
      "FontStrikethru", [](T& c) { return Bool(c.FontSpec().strikethrough); },
      [change](T& c, const Variant& v) {
        change(c, [&](draw::FontSpec& f) { f.strikethrough = ToBoolean(v); });
      });
}

// A colour property value: a classic colour (&HBBGGRR or a system colour reference).
inline std::uint32_t ColorFromVariant(const Variant& v) {
  return static_cast<std::uint32_t>(ToLong(v));
}
inline Variant ColorToVariant(std::uint32_t c) {
  return Variant(static_cast<std::int32_t>(c));
}

}  // namespace sl::ui
