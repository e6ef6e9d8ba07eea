// Control: what every window control has in common: name and index in a control array, the
// container it sits in, position and size in twips, visibility, enabled state, z-order, tag,
// tool-tip, mouse pointer and custom cursor, drag icon and dragging, the mouse, key and drag
// events, and drawing itself. Every control is a scriptable object: its properties and methods
// are found by name through the late-bound object interface.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "core/object.h"
#include "core/runtime_error.h"
#include "ui/child_window.h"
#include "ui/draw/geometry.h"
#include "ui/draw/picture.h"
#include "ui/draw/surface.h"
#include "ui/input_event.h"

namespace sl::ui {

class Form;
class ControlArray;
class WindowManager;

enum class ControlKind {
  Form,
  PictureBox,
  Image,
  Label,
  Frame,
  Timer,
  ListBox,
  ComboBox,
  TextBox,
  CheckBox,
  CommandButton,
  FileListBox,
  Menu,
  AnimatedPicture,
  MediaPlayer,
};

// Mouse event arguments: button (kButton*), shift state, and the position relative to the
// control in its own scale units (twips unless the control or its container measures pixels).
struct MouseArgs {
  int button = 0;
  int shift = 0;
  double x = 0;
  double y = 0;
};

class Control : public Object {
 public:
  // The handlers a control's owner attaches. Elements created in a control array start with the
  // handlers of element 0, as they share one handler in the classic runtime.
  struct Handlers {
    std::function<void(Control&, const MouseArgs&)> mouseDown;
    std::function<void(Control&, const MouseArgs&)> mouseUp;
    std::function<void(Control&, const MouseArgs&)> mouseMove;
    std::function<void(Control&)> click;
    std::function<void(Control&)> dblClick;
    std::function<void(Control&, int& keyCode, int shift)> keyDown;
    std::function<void(Control&, Control& source, double x, double y)> dragDrop;
    std::function<void(Control&)> change;  // text or selection changed
    std::function<void(Control&)> timer;   // a Timer's tick
  };
  Handlers on;

  ControlKind Kind() const { return kind_; }
  const std::string& Name() const { return name_; }
  // The index in its control array, or -1 for a control that is not an array element.
  int Index() const { return index_; }
  ControlArray* Array() const { return array_; }
  // "Area(3)" for array elements, else the name.
  std::string QualifiedName() const;

  Form* GetForm() const { return form_; }
  WindowManager* Manager() const;
  // The control this one sits in (a form, picture box or frame); the form itself has none.
  Control* Container() const { return container_; }
  // Moves the control into another container of the same form (RuntimeError 5 otherwise).
  void SetContainer(Control* container);
  virtual bool IsContainer() const { return false; }
  // Children back to front (the last one is on top).
  const std::vector<Control*>& Children() const { return children_; }

  // Position and size in twips, relative to the container's client area.
  double Left() const { return left_; }
  double Top() const { return top_; }
  double Width() const { return width_; }
  double Height() const { return height_; }
  void SetLeft(double v) { Move(v, top_, width_, height_); }
  void SetTop(double v) { Move(left_, v, width_, height_); }
  void SetWidth(double v) { Move(left_, top_, v, height_); }
  void SetHeight(double v) { Move(left_, top_, width_, v); }
  virtual void Move(double left, double top, double width, double height);

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  // 0 brings the control to the front of its siblings, 1 sends it to the back.
  void ZOrder(int position = 0);

  const std::string& Tag() const { return tag_; }
  void SetTag(std::string tag) { tag_ = std::move(tag); }
  const std::string& ToolTipText() const { return toolTip_; }
  void SetToolTipText(std::string text) { toolTip_ = std::move(text); }

  // Classic pointer numbers: 0 default ... 15, and 99 custom (MouseIcon); others are error 380.
  int MousePointer() const { return mousePointer_; }
  void SetMousePointer(int pointer);
  const draw::Picture& MouseIcon() const { return mouseIcon_; }
  void SetMouseIcon(draw::Picture icon);
  const draw::Picture& DragIcon() const { return dragIcon_; }
  void SetDragIcon(draw::Picture icon) { dragIcon_ = std::move(icon); }
  // 0 manual (Drag starts it), 1 automatic (a press starts it).
  int DragMode() const { return dragMode_; }
  void SetDragMode(int mode);
  // 0 cancels a drag of this control, 1 starts one, 2 drops it where the pointer is.
  void Drag(int action = 1);

  // True when the control and all its containers are visible (and the form is loaded).
  bool IsShowing() const;
  // True when the control and all its containers are enabled.
  bool IsEffectivelyEnabled() const;
  // Whether the control takes the keyboard focus when clicked.
  virtual bool CanFocus() const { return false; }
  // Whether the control takes part in hit testing (timers and menus do not).
  virtual bool IsWindowed() const { return true; }

  // Pixel rectangle relative to the container's client area.
  draw::Rect PixelBounds() const;
  // Offset of the client area (where children sit) inside the control, in pixels.
  virtual draw::Point ClientOrigin() const { return {0, 0}; }
  // Size of the client area in pixels.
  virtual draw::Size ClientSize() const;
  // Pixels per scale unit of the coordinates this control's children and mouse events use:
  // 1/15 for twips, 1 for pixels.
  virtual double ScaleToPixels() const;
  // Rectangle relative to the form's client area, in pixels.
  draw::Rect FormPixelBounds() const;

  // Draws the control into `target` with its top-left corner at `origin`; the clip is set to
  // the part that shows. Children are drawn afterwards by the compositor.
  virtual void Paint(draw::Surface& target, draw::Point origin) = 0;
  // Marks the form for redrawing.
  void Invalidate();

  // ---- Child windows ----
  // Puts a child window on top of this control's children (see child_window.h). The window must
  // be detached before it or this control goes away.
  void AttachChildWindow(ChildWindow& window);
  void DetachChildWindow(ChildWindow& window);
  // Child windows back to front.
  const std::vector<HostedWindow>& ChildWindows() const { return childWindows_; }

  // Built-in behaviour of the kind, run before the owner's handlers: a button shows pressed, a
  // list selects the entry under the pointer, a text box takes keys. Positions are pixels
  // relative to the control's top-left corner.
  virtual void BuiltinMouse(InputKind /*kind*/, int /*button*/, draw::Point /*at*/) {}
  // Returns true when the key was used up (it then goes no further).
  virtual bool BuiltinKey(int /*keyCode*/, int /*shift*/) { return false; }
  virtual void BuiltinText(const std::string& /*text*/) {}
  // Whether a press and release over the control raise Click (list boxes raise it when the
  // selection changes instead).
  virtual bool ClicksOnRelease() const { return true; }
  // Selects an entry by its text (list and combo boxes); false when there is none.
  virtual bool SelectEntry(const std::string& /*text*/) { return false; }

  // ---- Scripting ----
  std::string TypeName() const override;
  DispId GetIdOfName(std::string_view name) override;
  Variant Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) override;

  // ---- Control arrays ----
  // A new control of the same kind on the same form with this one's properties (but not
  // visible), used when an element is loaded.
  Ref<Control> CloneForArray(int index);

 protected:
  Control(Form* form, ControlKind kind, std::string name);
  ~Control() override;

  // Makes an empty control of the same kind for CloneForArray.
  virtual Ref<Control> NewOfSameKind() const = 0;
  // Copies the kind's own properties from `source` (same kind).
  virtual void CopyPropertiesFrom(const Control& /*source*/) {}
  // Member lookup of the concrete kind (see ControlBase).
  virtual DispId FindMember(std::string_view name) = 0;
  virtual Variant InvokeMember(DispId id, std::uint8_t flags, std::span<Variant> args) = 0;
  // Called after Move changed the size.
  virtual void Resized() {}

 private:
  friend class Form;
  friend class ControlArray;
  void AttachTo(Control* container);
  void DetachFromContainer();
  // Keep the child windows' places in the z-order when a child leaves its place `index`, and
  // when one comes in at the back (a child coming in at the front lies above them all).
  void ChildLeftZOrder(std::size_t index);
  void ChildEnteredAtBack();

  Form* form_;
  ControlKind kind_;
  std::string name_;
  int index_ = -1;
  ControlArray* array_ = nullptr;
  Control* container_ = nullptr;
  std::vector<Control*> children_;
  std::vector<HostedWindow> childWindows_;
  double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  std::string tag_;
  std::string toolTip_;
  int mousePointer_ = 0;
  draw::Picture mouseIcon_;
  draw::Picture dragIcon_;
  int dragMode_ = 0;
};

// The classic name of a kind ("PictureBox", "CommandButton", ...), as TypeName reports it.
std::string_view KindName(ControlKind kind);

// CRTP helper: answers member lookup and invocation from the concrete class's DispatchTable,
// `static const DispatchTable<Derived>& Members()`, and makes the new elements of a control
// array through the kind's (form, name) constructor.
template <class Derived>
class ControlBase : public Control {
 protected:
  using Control::Control;
  DispId FindMember(std::string_view name) override { return Derived::Members().GetIdOfName(name); }
  Variant InvokeMember(DispId id, std::uint8_t flags, std::span<Variant> args) override {
    return Derived::Members().Invoke(static_cast<Derived&>(*this), id, flags, args);
  }
  Ref<Control> NewOfSameKind() const override {
    if constexpr (std::is_constructible_v<Derived, Form*, std::string>) {
      return Ref<Control>(new Derived(GetForm(), Name()));
    } else {
      throw RuntimeError(kErrInvalidCall);  // forms are not control array elements
    }
  }
};

}  // namespace sl::ui
