// The parts every control shares: the container tree, geometry, z-order, state and scripting.
#include "ui/control.h"

#include <algorithm>
#include <cmath>

#include "core/runtime_error.h"
#include "ui/control_array.h"
#include "ui/control_members.h"
#include "ui/draw/units.h"
#include "ui/form.h"
#include "ui/window_manager.h"

namespace sl::ui {

namespace {
int ToPixel(double twips) {
  return static_cast<int>(std::lround(draw::TwipsToPixels(twips)));
}
}  // namespace

Control::Control(Form* form, ControlKind kind, std::string name)
    : form_(form), kind_(kind), name_(std::move(name)) {}

Control::~Control() = default;

std::string_view KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Form:
      return "Form";
    case ControlKind::PictureBox:
      return "PictureBox";
    case ControlKind::Image:
      return "Image";
    case ControlKind::Label:
      return "Label";
    case ControlKind::Frame:
      return "Frame";
    case ControlKind::Timer:
      return "Timer";
    case ControlKind::ListBox:
      return "ListBox";
    case ControlKind::ComboBox:
      return "ComboBox";
    case ControlKind::TextBox:
      return "TextBox";
    case ControlKind::CheckBox:
      return "CheckBox";
    case ControlKind::CommandButton:
      return "CommandButton";
    case ControlKind::FileListBox:
      return "FileListBox";
    case ControlKind::Menu:
      return "Menu";
    case ControlKind::AnimatedPicture:
      return "AnimatedPicture";
    case ControlKind::MediaPlayer:
      return "MediaPlayer";
  }
  return "Control";
}

std::string Control::TypeName() const {
  return std::string(KindName(kind_));
}

std::string Control::QualifiedName() const {
  if (index_ < 0) return name_;
  return name_ + "(" + std::to_string(index_) + ")";
}

WindowManager* Control::Manager() const {
  return form_ ? &form_->GetManager() : nullptr;
}

void Control::AttachTo(Control* container) {
  container_ = container;
  if (container_) container_->children_.push_back(this);
}

void Control::DetachFromContainer() {
  if (container_) {
    auto& sib = container_->children_;
    if (auto it = std::find(sib.begin(), sib.end(), this); it != sib.end()) {
      container_->ChildLeftZOrder(static_cast<std::size_t>(it - sib.begin()));
      sib.erase(it);
    }
  }
  container_ = nullptr;
}

void Control::ChildLeftZOrder(std::size_t index) {
  for (HostedWindow& h : childWindows_) {
    if (index < h.below) --h.below;
  }
}

void Control::ChildEnteredAtBack() {
  for (HostedWindow& h : childWindows_)
    ++h.below;
}

void Control::AttachChildWindow(ChildWindow& window) {
  DetachChildWindow(window);
  childWindows_.push_back({&window, children_.size()});
  if (form_) form_->ChildWindowHostChanged(*this);
  Invalidate();
}

void Control::DetachChildWindow(ChildWindow& window) {
  auto found = std::find_if(childWindows_.begin(), childWindows_.end(),
                            [&](const HostedWindow& h) { return h.window == &window; });
  if (found == childWindows_.end()) return;
  childWindows_.erase(found);
  if (form_) form_->ChildWindowHostChanged(*this);
  Invalidate();
}

void Control::SetContainer(Control* container) {
  if (!container || !container->IsContainer() || container->GetForm() != form_ ||
      container == this) {
    throw RuntimeError(kErrInvalidCall);
  }
  for (Control* k = container; k; k = k->container_) {
    if (k == this) throw RuntimeError(kErrInvalidCall);  // a control cannot sit inside itself
  }
  Invalidate();
  DetachFromContainer();
  AttachTo(container);
  Invalidate();
}

void Control::Move(double left, double top, double width, double height) {
  if (width < 0 || height < 0) throw RuntimeError(kErrInvalidPropertyValue);
  bool resized = width != width_ || height != height_;
  if (left == left_ && top == top_ && !resized) return;
  Invalidate();
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (resized) Resized();
  Invalidate();
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Invalidate();
  if (!visible && form_ && form_->ActiveControl() == this) form_->SetFocusTo(nullptr);
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Invalidate();
}

void Control::ZOrder(int position) {
  if (!container_) return;
  auto& sib = container_->children_;
  auto it = std::find(sib.begin(), sib.end(), this);
  if (it == sib.end()) return;
  container_->ChildLeftZOrder(static_cast<std::size_t>(it - sib.begin()));
  if (position == 0) {
    std::rotate(it, it + 1, sib.end());  // to the end: the front of the z-order
  } else {
    std::rotate(sib.begin(), it, it + 1);  // to the start: the back
    container_->ChildEnteredAtBack();
  }
  Invalidate();
}

void Control::SetMousePointer(int pointer) {
  if (pointer < 0 || (pointer > 15 && pointer != 99)) throw RuntimeError(kErrInvalidPropertyValue);
  mousePointer_ = pointer;
  if (auto* m = Manager()) m->UpdatePointer();
}

void Control::SetMouseIcon(draw::Picture icon) {
  mouseIcon_ = std::move(icon);
  if (auto* m = Manager()) m->UpdatePointer();
}

void Control::SetDragMode(int mode) {
  if (mode != 0 && mode != 1) throw RuntimeError(kErrInvalidPropertyValue);
  dragMode_ = mode;
}

void Control::Drag(int action) {
  WindowManager* m = Manager();
  if (!m) return;
  switch (action) {
    case 0:
      m->CancelDrag(*this);
      break;
    case 1:
      m->BeginDrag(*this);
      break;
    case 2:
      m->EndDrag(*this);
      break;
    default:
      throw RuntimeError(kErrInvalidCall);
  }
}

bool Control::IsShowing() const {
  for (const Control* c = this; c; c = c->container_) {
    if (!c->visible_) return false;
  }
  return form_ && form_->Loaded();
}

bool Control::IsEffectivelyEnabled() const {
  for (const Control* c = this; c; c = c->container_) {
    if (!c->enabled_) return false;
  }
  return true;
}

draw::Rect Control::PixelBounds() const {
  // Positions are kept in twips whatever the container measures.
  return {ToPixel(left_), ToPixel(top_), ToPixel(width_), ToPixel(height_)};
}

draw::Size Control::ClientSize() const {
  draw::Rect r = PixelBounds();
  return {r.width, r.height};
}

double Control::ScaleToPixels() const {
  return draw::TwipsToPixels(1.0);
}

draw::Rect Control::FormPixelBounds() const {
  draw::Rect r = PixelBounds();
  for (const Control* k = container_; k && k->container_; k = k->container_) {
    draw::Rect kb = k->PixelBounds();
    draw::Point o = k->ClientOrigin();
    r = r.Offset(kb.x + o.x, kb.y + o.y);
  }
  return r;
}

void Control::Invalidate() {
  if (form_) form_->MarkDirty();
}

DispId Control::GetIdOfName(std::string_view name) {
  return FindMember(name);
}

Variant Control::Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) {
  return InvokeMember(id, flags, args);
}

Ref<Control> Control::CloneForArray(int index) {
  Ref<Control> c = NewOfSameKind();
  c->index_ = index;
  c->left_ = left_;
  c->top_ = top_;
  c->width_ = width_;
  c->height_ = height_;
  c->visible_ = false;  // a loaded element starts hidden
  c->enabled_ = enabled_;
  c->tag_ = tag_;
  c->toolTip_ = toolTip_;
  c->mousePointer_ = mousePointer_;
  c->mouseIcon_ = mouseIcon_;
  c->dragIcon_ = dragIcon_;
  c->dragMode_ = dragMode_;
  c->on = on;
  c->CopyPropertiesFrom(*this);
  return c;
}

Control& ControlFromVariant(const Variant& v) {
  if (v.IsObject() && v.AsObject()) {
    if (auto* c = dynamic_cast<Control*>(v.AsObject())) return *c;
  }
  throw RuntimeError(kErrObjectRequired);
}

}  // namespace sl::ui
