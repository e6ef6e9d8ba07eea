// Picture boxes: background, picture, persistent canvas, text output and scaling.
#include "ui/controls/picture_box.h"

#include <cmath>

#include "core/runtime_error.h"
#include "ui/controls/font_members.h"
#include "ui/draw/chrome.h"
#include "ui/draw/units.h"
#include "ui/window_manager.h"

namespace sl::ui {

PictureBox::PictureBox(Form* form, std::string name)
    : ControlBase<PictureBox>(form, ControlKind::PictureBox, std::move(name)) {
  Move(0, 0, 1215, 1215);
}

void PictureBox::CopyPropertiesFrom(const Control& source) {
  const auto& s = static_cast<const PictureBox&>(source);
  picture_ = s.picture_;
  font_ = s.font_;
  backColor_ = s.backColor_;
  foreColor_ = s.foreColor_;
  autoRedraw_ = s.autoRedraw_;
  autoSize_ = s.autoSize_;
  borderStyle_ = s.borderStyle_;
  scaleMode_ = s.scaleMode_;
  opaqueBackground_ = s.opaqueBackground_;
  Resized();
}

draw::Point PictureBox::ClientOrigin() const {
  return borderStyle_ ? draw::Point{2, 2} : draw::Point{0, 0};
}

draw::Size PictureBox::ClientSize() const {
  draw::Rect r = PixelBounds();
  int b = borderStyle_ ? 4 : 0;
  return {std::max(r.width - b, 0), std::max(r.height - b, 0)};
}

void PictureBox::Resized() {
  if (canvasBlank_) return;
  draw::Size s = ClientSize();
  if (canvas_.Width() == s.width && canvas_.Height() == s.height) return;
  draw::Surface next(s.width, s.height);
  next.Blit(canvas_, 0, 0, {draw::BlendMode::kCopy});
  canvas_ = std::move(next);
}

void PictureBox::SizeBlankCanvas() const {
  draw::Size s = ClientSize();
  if (canvas_.Width() != s.width || canvas_.Height() != s.height)
    canvas_ = draw::Surface(s.width, s.height);
}

draw::Surface& PictureBox::DrawingCanvas() {
  if (canvasBlank_) SizeBlankCanvas();
  canvasBlank_ = false;
  return canvas_;
}

const draw::Surface& PictureBox::Canvas() const {
  if (canvasBlank_) SizeBlankCanvas();
  return canvas_;
}

void PictureBox::SetPicture(draw::Picture picture) {
  picture_ = std::move(picture);
  if (autoSize_ && !picture_.IsNone()) {
    int b = borderStyle_ ? 4 : 0;
    Move(Left(), Top(), draw::PixelsToTwips(picture_.Width() + b),
         draw::PixelsToTwips(picture_.Height() + b));
  }
  Invalidate();
}

void PictureBox::SetBackColor(std::uint32_t c) {
  backColor_ = c;
  Cls();  // a new background colour clears the drawing, as classically
}

void PictureBox::SetOpaqueBackground(bool opaque) {
  opaqueBackground_ = opaque;
  Invalidate();
}

void PictureBox::SetForeColor(std::uint32_t c) {
  foreColor_ = c;
}

void PictureBox::SetAutoSize(bool enable) {
  autoSize_ = enable;
  if (enable) SetPicture(picture_);
}

void PictureBox::SetBorderStyle(int style) {
  if (style != 0 && style != 1) throw RuntimeError(kErrInvalidPropertyValue);
  borderStyle_ = style;
  Resized();
  Invalidate();
}

void PictureBox::SetScaleMode(int mode) {
  if (mode < 0 || mode > 7) throw RuntimeError(kErrInvalidPropertyValue);
  scaleMode_ = mode;
}

double PictureBox::ScaleWidth() const {
  return ClientSize().width / ScaleToPixels();
}

double PictureBox::ScaleHeight() const {
  return ClientSize().height / ScaleToPixels();
}

void PictureBox::Cls() {
  if (!canvasBlank_) canvas_.Fill(draw::kTransparent);
  canvasBlank_ = true;
  currentX_ = currentY_ = 0;
  Invalidate();
}

void PictureBox::PaintPicture(const draw::Picture& picture, draw::Rect dstRect,
                              draw::Rect srcRect) {
  if (picture.IsNone()) return;
  const draw::Surface& img = picture.Image();
  if (srcRect.width == 0 || srcRect.height == 0) srcRect = img.Bounds();
  if (dstRect.width == 0) dstRect.width = srcRect.width;
  if (dstRect.height == 0) dstRect.height = srcRect.height;
  if (dstRect.width == srcRect.width && dstRect.height == srcRect.height) {
    DrawingCanvas().Blit(img, srcRect, dstRect.x, dstRect.y);
  } else {
    DrawingCanvas().StretchBlit(img, srcRect, dstRect);
  }
  Invalidate();
}

void PictureBox::Print(const std::string& text) {
  WindowManager* m = Manager();
  draw::Font font = m ? m->Fonts().Get(font_) : draw::Font();
  double k = ScaleToPixels();
  int x = static_cast<int>(std::lround(currentX_ * k));
  int y = static_cast<int>(std::lround(currentY_ * k));
  font.DrawText(DrawingCanvas(), x, y, text, draw::ClassicToPixel(foreColor_));
  currentX_ = 0;
  currentY_ += font.Height() / k;
  Invalidate();
}

void PictureBox::PaintClient(draw::Surface& target, draw::Point at) const {
  draw::Size s = ClientSize();
  if (opaqueBackground_)
    target.FillRect({at.x, at.y, s.width, s.height}, draw::ClassicToPixel(backColor_));
  if (!picture_.IsNone()) target.Blit(picture_.Image(), at.x, at.y);
  if (!canvasBlank_) target.Blit(canvas_, at.x, at.y);
  if (overlay_) overlay_->PaintOverlay(target, at, s);
}

void PictureBox::SetOverlay(PictureBoxOverlay* overlay) {
  overlay_ = overlay;
  Invalidate();
}

draw::Picture PictureBox::Snapshot() const {
  draw::Size s = ClientSize();
  draw::Surface out(s.width, s.height);
  PaintClient(out, {0, 0});
  return draw::Picture(std::move(out));
}

void PictureBox::Paint(draw::Surface& target, draw::Point origin) {
  draw::Rect r = PixelBounds();
  if (borderStyle_)
    draw::DrawEdge(target, {origin.x, origin.y, r.width, r.height}, draw::EdgeStyle::kSunken);
  draw::Point o = ClientOrigin();
  draw::Size s = ClientSize();
  draw::ClipScope clip(target, {origin.x + o.x, origin.y + o.y, s.width, s.height});
  PaintClient(target, {origin.x + o.x, origin.y + o.y});
}

namespace {
// Converts scale units of the box to canvas pixels.
int Px(const PictureBox& b, const Variant& v) {
  return static_cast<int>(std::lround(ToDouble(v) * b.ScaleToPixels()));
}
}  // namespace

const DispatchTable<PictureBox>& PictureBox::Members() {
  static const DispatchTable<PictureBox> table = [] {
    using PB = PictureBox;
    DispatchTable<PB> t;
    AddCommonMembers(t);
    AddFontMembers(t);
    t.Property(
        "Picture", [](PB& c) { return PictureToVariant(c.Picture()); },
        [](PB& c, const Variant& v) { c.SetPicture(PictureFromVariant(v)); });
    t.Property("Image", [](PB& c) { return PictureToVariant(c.Snapshot()); });
    t.Property(
        "BackColor", [](PB& c) { return ColorToVariant(c.BackColor()); },
        [](PB& c, const Variant& v) { c.SetBackColor(ColorFromVariant(v)); });
    t.Property(
        "ForeColor", [](PB& c) { return ColorToVariant(c.ForeColor()); },
        [](PB& c, const Variant& v) { c.SetForeColor(ColorFromVariant(v)); });
    t.Property(
        "AutoRedraw", [](PB& c) { return Bool(c.AutoRedraw()); },
        [](PB& c, const Variant& v) { c.SetAutoRedraw(ToBoolean(v)); });
    t.Property(
        "AutoSize", [](PB& c) { return Bool(c.AutoSize()); },
        [](PB& c, const Variant& v) { c.SetAutoSize(ToBoolean(v)); });
    t.Property(
        "BorderStyle", [](PB& c) { return Int(c.BorderStyle()); },
        [](PB& c, const Variant& v) { c.SetBorderStyle(ToInteger(v)); });
    t.Property(
        "ScaleMode", [](PB& c) { return Int(c.ScaleMode()); },
        [](PB& c, const Variant& v) { c.SetScaleMode(ToInteger(v)); });
    t.Property("ScaleWidth", [](PB& c) { return Num(c.ScaleWidth()); });
    t.Property("ScaleHeight", [](PB& c) { return Num(c.ScaleHeight()); });
    t.Property(
        "CurrentX", [](PB& c) { return Num(c.CurrentX()); },
        [](PB& c, const Variant& v) { c.SetCurrentX(ToDouble(v)); });
    t.Property(
        "CurrentY", [](PB& c) { return Num(c.CurrentY()); },
        [](PB& c, const Variant& v) { c.SetCurrentY(ToDouble(v)); });
    t.Function("Cls", 0, 0, [](PB& c, std::span<Variant>) {
      c.Cls();
      return Variant();
    });
    t.Function("Print", 0, 1, [](PB& c, std::span<Variant> a) {
      c.Print(Arg(a, 0) ? ToUtf8(a[0]) : std::string());
      return Variant();
    });
    // PaintPicture picture, x1, y1, [width1, height1, x2, y2, width2, height2, opcode]
    t.Function("PaintPicture", 3, 10, [](PB& c, std::span<Variant> a) {
      draw::Picture pic = PictureFromVariant(a[0]);
      draw::Rect dst{Px(c, a[1]), Px(c, a[2]), 0, 0};
      if (Arg(a, 3)) dst.width = Px(c, a[3]);
      if (Arg(a, 4)) dst.height = Px(c, a[4]);
      draw::Rect src{0, 0, 0, 0};
      if (Arg(a, 5)) src.x = Px(c, a[5]);
      if (Arg(a, 6)) src.y = Px(c, a[6]);
      if (Arg(a, 7)) src.width = Px(c, a[7]);
      if (Arg(a, 8)) src.height = Px(c, a[8]);
      if (src.width == 0 && src.height == 0 && (src.x || src.y)) {
        src.width = pic.Width() - src.x;
        src.height = pic.Height() - src.y;
      }
      c.PaintPicture(pic, dst, src);
      return Variant();
    });
    t.Default("Picture");
    return t;
  }();
  return table;
}

}  // namespace sl::ui
