// PictureObject: a picture as scripts hold it (what LoadPicture returns and a Picture property
// gives): Width and Height in HIMETRIC, Type, Handle. Controls keep the draw::Picture inside.
#pragma once

#include "core/object.h"
#include "ui/draw/picture.h"

namespace sl::ui {

class PictureObject final : public Object {
 public:
  explicit PictureObject(draw::Picture picture) : picture_(std::move(picture)) {}
  const draw::Picture& Picture() const { return picture_; }

  std::string TypeName() const override { return "Picture"; }
  DispId GetIdOfName(std::string_view name) override;
  Variant Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) override;

 private:
  draw::Picture picture_;
};

// A Picture property's value for scripts (an object even for no picture, whose Handle is 0).
Variant PictureToVariant(const draw::Picture& picture);
// A value assigned to a Picture property: a picture object, Nothing or Empty (no picture);
// anything else is RuntimeError 13.
draw::Picture PictureFromVariant(const Variant& value);

}  // namespace sl::ui
