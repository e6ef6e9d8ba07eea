// Image controls.
#include "ui/controls/image.h"

#include "core/runtime_error.h"
#include "ui/control_members.h"
#include "ui/draw/units.h"

namespace sl::ui {

Image::Image(Form* form, std::string name)
    : ControlBase<Image>(form, ControlKind::Image, std::move(name)) {
  Move(0, 0, 1215, 1215);
}

void Image::CopyPropertiesFrom(const Control& source) {
  const auto& s = static_cast<const Image&>(source);
  picture_ = s.picture_;
  stretch_ = s.stretch_;
  borderStyle_ = s.borderStyle_;
}

void Image::SetPicture(draw::Picture picture) {
  picture_ = std::move(picture);
  scaled_ = {};
  FitToPicture();
  Invalidate();
}

void Image::SetStretch(bool enable) {
  stretch_ = enable;
  FitToPicture();
  Invalidate();
}

void Image::SetBorderStyle(int style) {
  if (style != 0 && style != 1) throw RuntimeError(kErrInvalidPropertyValue);
  borderStyle_ = style;
  FitToPicture();
  Invalidate();
}

void Image::FitToPicture() {
  // Without Stretch the control takes the size of its picture, as the classic Image does.
  if (stretch_ || picture_.IsNone()) return;
  int border = borderStyle_ ? 2 : 0;
  Move(Left(), Top(), draw::PixelsToTwips(picture_.Width() + border),
       draw::PixelsToTwips(picture_.Height() + border));
}

void Image::Paint(draw::Surface& target, draw::Point origin) {
  draw::Rect r = PixelBounds();
  draw::Rect box{origin.x, origin.y, r.width, r.height};
  if (borderStyle_ == 1) {
    target.DrawRect(box, draw::kBlack);
    box = box.Inflate(-1);
  }
  if (picture_.IsNone()) return;
  const draw::Surface& img = picture_.Image();
  if (stretch_ && (box.width != img.Width() || box.height != img.Height())) {
    if (scaled_.Width() != box.width || scaled_.Height() != box.height) {
      scaled_ = img.Scaled(box.width, box.height);
    }
    target.Blit(scaled_, box.x, box.y);
  } else {
    target.Blit(img, box.x, box.y);
  }
}

const DispatchTable<Image>& Image::Members() {
  static const DispatchTable<Image> table = [] {
    DispatchTable<Image> t;
    AddCommonMembers(t);
    t.Property(
        "Picture", [](Image& c) { return PictureToVariant(c.Picture()); },
        [](Image& c, const Variant& v) { c.SetPicture(PictureFromVariant(v)); });
    t.Property(
        "Stretch", [](Image& c) { return Bool(c.Stretch()); },
        [](Image& c, const Variant& v) { c.SetStretch(ToBoolean(v)); });
    t.Property(
        "BorderStyle", [](Image& c) { return Int(c.BorderStyle()); },
        [](Image& c, const Variant& v) { c.SetBorderStyle(ToInteger(v)); });
    t.Default("Picture");
    return t;
  }();
  return table;
}

}  // namespace sl::ui
