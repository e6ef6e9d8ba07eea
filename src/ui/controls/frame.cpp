// Frame controls.
#include "ui/controls/frame.h"

#include "core/runtime_error.h"
#include "ui/controls/font_members.h"
#include "ui/draw/chrome.h"
#include "ui/window_manager.h"

namespace sl::ui {

Frame::Frame(Form* form, std::string name)
    : ControlBase<Frame>(form, ControlKind::Frame, std::move(name)) {
  Move(0, 0, 1815, 1215);
}

void Frame::CopyPropertiesFrom(const Control& source) {
  const auto& s = static_cast<const Frame&>(source);
  caption_ = s.caption_;
  font_ = s.font_;
  backColor_ = s.backColor_;
  foreColor_ = s.foreColor_;
  borderStyle_ = s.borderStyle_;
}

void Frame::SetCaption(std::string c) {
  caption_ = std::move(c);
  Invalidate();
}
void Frame::SetFontSpec(const draw::FontSpec& f) {
  font_ = f;
  Invalidate();
}
void Frame::SetBackColor(std::uint32_t c) {
  backColor_ = c;
  Invalidate();
}
void Frame::SetForeColor(std::uint32_t c) {
  foreColor_ = c;
  Invalidate();
}
void Frame::SetBorderStyle(int s) {
  if (s != 0 && s != 1) throw RuntimeError(kErrInvalidPropertyValue);
  borderStyle_ = s;
  Invalidate();
}

void Frame::Paint(draw::Surface& target, draw::Point origin) {
  draw::Rect r = PixelBounds();
  draw::Rect box{origin.x, origin.y, r.width, r.height};
  target.FillRect(box, draw::ClassicToPixel(backColor_));
  WindowManager* m = Manager();
  draw::Font font = m ? m->Fonts().Get(font_) : draw::Font();
  int half = font.Height() / 2;
  if (borderStyle_ == 1) {
    draw::DrawEdge(target, {box.x, box.y + half, box.width, box.height - half},
                   draw::EdgeStyle::kEtched);
  }
  if (!caption_.empty()) {
    draw::LayoutOptions opt;
    opt.mnemonics = true;
    draw::TextLayout layout = draw::LayoutText(font, caption_, opt);
    draw::Rect cap{box.x + 8, box.y, layout.width + 4, font.Height()};
    target.FillRect(cap, draw::ClassicToPixel(backColor_));
    draw::DrawTextLayout(target, font, layout, cap.Offset(2, 0), draw::TextAlign::kLeft,
                         draw::ClassicToPixel(IsEffectivelyEnabled() ? foreColor_ : 0x80000011));
  }
}

const DispatchTable<Frame>& Frame::Members() {
  static const DispatchTable<Frame> table = [] {
    DispatchTable<Frame> t;
    AddCommonMembers(t);
    AddFontMembers(t);
    t.Property(
        "Caption", [](Frame& c) { return Str(c.Caption()); },
        [](Frame& c, const Variant& v) { c.SetCaption(ToUtf8(v)); });
    t.Property(
        "BackColor", [](Frame& c) { return ColorToVariant(c.BackColor()); },
        [](Frame& c, const Variant& v) { c.SetBackColor(ColorFromVariant(v)); });
    t.Property(
        "ForeColor", [](Frame& c) { return ColorToVariant(c.ForeColor()); },
        [](Frame& c, const Variant& v) { c.SetForeColor(ColorFromVariant(v)); });
    t.Property(
        "BorderStyle", [](Frame& c) { return Int(c.BorderStyle()); },
        [](Frame& c, const Variant& v) { c.SetBorderStyle(ToInteger(v)); });
    t.Default("Caption");
    return t;
  }();
  return table;
}

}  // namespace sl::ui
