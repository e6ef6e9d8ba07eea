// PictureBox: a container with a background colour, a picture at its top-left corner and a
// persistent canvas over it that PaintPicture and Print draw on and Cls clears. Positions of its
// children and its drawing coordinates are in its ScaleMode: twips (1) or pixels (3).
#pragma once

#include "core/dispatch_table.h"
#include "ui/control.h"
#include "ui/draw/font.h"
#include "ui/draw/units.h"

namespace sl::ui {

// Drawing that a picture box's owner lays over its client area after the canvas, on every
// composition: an animation that changes each frame (a transition, rippling water) without
// passing through the persistent canvas or the picture.
class PictureBoxOverlay {
 public:
  virtual ~PictureBoxOverlay() = default;
  // Draws into `target` with the client area's top-left corner at `at`; the clip is set to the
  // part of the client area that shows.
  virtual void PaintOverlay(draw::Surface& target, draw::Point at, draw::Size client) = 0;
};

class PictureBox final : public ControlBase<PictureBox> {
 public:
  PictureBox(Form* form, std::string name);

  const draw::Picture& Picture() const { return picture_; }
  void SetPicture(draw::Picture picture);
  std::uint32_t BackColor() const { return backColor_; }
  void SetBackColor(std::uint32_t c);
  std::uint32_t ForeColor() const { return foreColor_; }
  void SetForeColor(std::uint32_t c);
  bool AutoRedraw() const { return autoRedraw_; }
  void SetAutoRedraw(bool enable) { autoRedraw_ = enable; }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool enable);
  int BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(int style);
  // Whether the box fills its client area with its background colour. One that does not
  // shows what lies beneath wherever nothing is drawn (the holder of an animated picture).
  bool OpaqueBackground() const { return opaqueBackground_; }
  void SetOpaqueBackground(bool opaque);
  int ScaleMode() const { return scaleMode_; }
  void SetScaleMode(int mode);
  double ScaleWidth() const;
  double ScaleHeight() const;
  const draw::FontSpec& FontSpec() const { return font_; }
  void SetFontSpec(const draw::FontSpec& font) { font_ = font; }
  // The text cursor for Print, in scale units.
  double CurrentX() const { return currentX_; }
  double CurrentY() const { return currentY_; }
  void SetCurrentX(double x) { currentX_ = x; }
  void SetCurrentY(double y) { currentY_ = y; }

  // Clears the canvas (the picture shows again) and puts the text cursor at the top-left.
  void Cls();
  // Draws `srcRect` of a picture (all of it when empty) into `dstRect` in canvas pixels,
  // stretched when the sizes differ (negative sizes mirror).
  void PaintPicture(const draw::Picture& picture, draw::Rect dstRect, draw::Rect srcRect);
  // Draws a line of text at the text cursor, which then moves to the start of the next line.
  void Print(const std::string& text);
  // What the box shows (background, picture and canvas) as a picture.
  draw::Picture Snapshot() const;
  // The persistent canvas (client size, transparent where nothing was drawn).
  const draw::Surface& Canvas() const;
  // Lays `overlay` (not owned; nullptr removes it) over the canvas from the next composition
  // on. Array elements made from this box do not inherit it.
  void SetOverlay(PictureBoxOverlay* overlay);
  PictureBoxOverlay* Overlay() const { return overlay_; }

  bool IsContainer() const override { return true; }
  draw::Point ClientOrigin() const override;
  draw::Size ClientSize() const override;
  double ScaleToPixels() const override { return scaleMode_ == 3 ? 1.0 : draw::TwipsToPixels(1.0); }
  void Paint(draw::Surface& target, draw::Point origin) override;
  static const DispatchTable<PictureBox>& Members();

 protected:
  void CopyPropertiesFrom(const Control& source) override;
  void Resized() override;

 private:
  void PaintClient(draw::Surface& target, draw::Point at) const;
  // The canvas at the client size, to draw on.
  draw::Surface& DrawingCanvas();
  // Gives a blank canvas the client size; a blank one follows resizes only when it is needed.
  void SizeBlankCanvas() const;

  draw::Picture picture_;
  // Nothing has been drawn on the canvas since it was made or cleared. A blank canvas is not
  // copied at every resize nor composed, which keeps boxes that are resized often (a bar that
  // grows with its contents) cheap.
  mutable draw::Surface canvas_;
  bool canvasBlank_ = true;
  PictureBoxOverlay* overlay_ = nullptr;
  draw::FontSpec font_;
  std::uint32_t backColor_ = 0x8000000F;
  std::uint32_t foreColor_ = 0x80000012;
  bool autoRedraw_ = false;
  bool opaqueBackground_ = true;
  bool autoSize_ = false;
  int borderStyle_ = 1;
  int scaleMode_ = 1;
  double currentX_ = 0;
  double currentY_ = 0;
};

}  // namespace sl::ui
