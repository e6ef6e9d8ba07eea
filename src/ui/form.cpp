// Forms: the control tree, loading, showing (modal ones run a nested loop), hiding, unloading,
// the window on the platform and the frame metrics around the client area.
#include "ui/form.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "core/case_fold.h"
#include "core/runtime_error.h"
#include "core/variant_convert.h"
#include "ui/control_members.h"
#include "ui/controls/menu.h"
#include "ui/controls/timer_control.h"
#include "ui/draw/chrome.h"
#include "ui/draw/units.h"
#include "ui/window_manager.h"

namespace sl::ui {

namespace {
constexpr int kCaptionPixels = 19;
}  // namespace

Ref<Form> Form::Create(WindowManager& manager, std::string name) {
  Ref<Form> f(new Form(manager, std::move(name)));
  manager.AddForm(f.get());
  return f;
}

Form::Form(WindowManager& manager, std::string name)
    : ControlBase<Form>(nullptr, ControlKind::Form, std::move(name)), manager_(manager) {
  form_ = this;
  visible_ = false;
  width_ = 4800;
  height_ = 3600;
}

Form::~Form() {
  manager_.RemoveForm(this);
}

void Form::AddControl(Ref<Control> control, Control* container) {
  if (!container) container = this;
  if (!container->IsContainer() || container->GetForm() != this)
    throw RuntimeError(kErrInvalidCall);
  control->AttachTo(container);
  controls_.push_back(std::move(control));
  MarkDirty();
}

ControlArray& Form::AddArrayElement(Ref<Control> control, Control* container) {
  std::string key = ToLowerAscii(control->Name());
  auto& arr = arrays_[key];
  if (!arr) arr = MakeRef<ControlArray>(*this, control->Name());
  arr->Adopt(arr->Count() == 0 ? 0 : arr->UBound() + 1, control);
  AddControl(control, container);
  return *arr;
}

void Form::RemoveControl(Control& control) {
  Ref<Control> keep(&control);
  // Children of a removed container go with it.
  while (!control.children_.empty()) {
    Control* child = control.children_.back();
    if (child->array_) {
      child->array_->elements_.erase(child->index_);
    }
    RemoveControl(*child);
  }
  if (focus_ == &control) focus_ = nullptr;
  if (scriptOrigin_ == &control) scriptOrigin_ = nullptr;
  std::erase(childWindowHosts_, &control);
  control.DetachFromContainer();
  if (control.Kind() == ControlKind::Menu) std::erase(menus_, static_cast<Menu*>(&control));
  std::erase_if(controls_, [&](const Ref<Control>& c) { return c.get() == &control; });
  MarkDirty();
  manager_.ControlRemoved(control);
}

void Form::ChildWindowHostChanged(Control& host) {
  std::erase(childWindowHosts_, &host);
  if (!host.ChildWindows().empty()) childWindowHosts_.push_back(&host);
}

bool Form::ChildWindowsNeedRepaint() const {
  for (Control* host : childWindowHosts_) {
    if (!host->IsShowing()) continue;
    for (const HostedWindow& h : host->ChildWindows()) {
      if (h.window->NeedsRepaint()) return true;
    }
  }
  return false;
}

Control* Form::FindControl(std::string_view qualifiedName) const {
  std::string_view name = qualifiedName;
  int index = -1;
  if (auto open = name.find('('); open != std::string_view::npos && name.back() == ')') {
    std::string digits(name.substr(open + 1, name.size() - open - 2));
    try {
      index = std::stoi(digits);
    } catch (const std::invalid_argument&) {
      return nullptr;  // no number between the parentheses: no such control
    } catch (const std::out_of_range&) {
      return nullptr;
    }
    name = name.substr(0, open);
  }
  if (index >= 0) {
    ControlArray* arr = FindArray(name);
    return arr ? arr->Find(index) : nullptr;
  }
  for (const auto& c : controls_) {
    if (c->Index() < 0 && NamesEqual(c->Name(), name)) return c.get();
  }
  return nullptr;
}

ControlArray* Form::FindArray(std::string_view name) const {
  auto it = arrays_.find(ToLowerAscii(name));
  return it == arrays_.end() ? nullptr : it->second.get();
}

// ---- Window ----

void Form::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  SyncWindow();
}

void Form::SetBorderStyle(BorderStyle style) {
  borderStyle_ = style;
  SyncWindow();
  MarkDirty();
}

void Form::SetScaleMode(int mode) {
  if (mode < 0 || mode > 7) throw RuntimeError(kErrInvalidPropertyValue);
  scaleMode_ = mode;
}

void Form::SetBackColor(std::uint32_t color) {
  backColor_ = color;
  MarkDirty();
}

Form::NonClient Form::NonClientPixels() const {
  NonClient n;
  int border = 0;
  bool caption = true;
  switch (borderStyle_) {
    case BorderStyle::None:
      caption = false;
      break;
    case BorderStyle::FixedSingle:
    case BorderStyle::FixedDialog:
      border = 3;
      break;
    case BorderStyle::Sizable:
      border = 4;
      break;
  }
  // A form with no caption text and no border shows no title bar either.
  n.left = n.right = n.bottom = border;
  n.top = border + (caption ? kCaptionPixels : 0);
  if (HasMenuBar()) {
    n.menuBar = manager_.MenuBarPixels();
    n.top += n.menuBar;
  }
  return n;
}

draw::Size Form::ClientSize() const {
  NonClient n = NonClientPixels();
  int w = static_cast<int>(std::lround(draw::TwipsToPixels(width_))) - n.left - n.right;
  int h = static_cast<int>(std::lround(draw::TwipsToPixels(height_))) - n.top - n.bottom;
  return {std::max(w, 0), std::max(h, 0)};
}

double Form::ScaleWidth() const {
  double px = ClientSize().width;
  return scaleMode_ == 3 ? px : draw::PixelsToTwips(px);
}

double Form::ScaleHeight() const {
  double px = ClientSize().height;
  return scaleMode_ == 3 ? px : draw::PixelsToTwips(px);
}

void Form::Move(double left, double top, double width, double height) {
  Control::Move(left, top, width, height);
  SyncWindow();
}

void Form::SetTopMost(bool topMost) {
  if (topMost == topMost_) return;
  topMost_ = topMost;
  SyncWindow();
}

void Form::WindowMovedTo(double left, double top) {
  // The content is unchanged: nothing to redraw, and the window already stands there.
  left_ = left;
  top_ = top;
}

void Form::SetVisible(bool visible) {
  if (visible) {
    Show(false);
  } else {
    Hide();
  }
}

WindowSpec Form::Spec() const {
  WindowSpec s;
  s.name = Name();
  s.title = caption_.empty() ? manager_.ApplicationTitle() : caption_;
  NonClient n = NonClientPixels();
  // The platform frames the window; the frames it gets hold the menu bar and the client area.
  s.left = static_cast<int>(std::lround(draw::TwipsToPixels(left_)));
  s.top = static_cast<int>(std::lround(draw::TwipsToPixels(top_)));
  draw::Size client = ClientSize();
  s.width = client.width;
  s.height = client.height + n.menuBar;
  switch (borderStyle_) {
    case BorderStyle::None:
      s.frame = WindowFrame::None;
      break;
    case BorderStyle::FixedSingle:
      s.frame = WindowFrame::Fixed;
      break;
    case BorderStyle::Sizable:
      s.frame = WindowFrame::Sizable;
      break;
    case BorderStyle::FixedDialog:
      s.frame = WindowFrame::Dialog;
      break;
  }
  s.modal = modal_;
  s.topMost = topMost_;
  return s;
}

void Form::SyncWindow() {
  if (window_) manager_.GetPlatform().UpdateWindow(window_, Spec());
  MarkDirty();
}

void Form::Load() {
  if (loaded_) return;
  loaded_ = true;
  if (onForm.load) onForm.load(*this);
}

void Form::Show(bool modal) {
  Load();
  if (!loaded_) return;  // the Load handler unloaded the form
  if (modal && visible_ && !modal_)
    throw RuntimeError(kErrAlreadyShown, "Form already displayed; can't show modally");
  if (!window_) window_ = manager_.GetPlatform().CreateWindow(Spec());
  modal_ = modal;
  SyncWindow();
  if (!visible_) {
    visible_ = true;
    manager_.GetPlatform().ShowWindow(window_, true);
    manager_.FormShown(this, true);
  }
  manager_.Activate(this);
  if (!focus_) {
    for (const auto& c : controls_) {
      if (c->CanFocus() && c->IsShowing() && c->IsEffectivelyEnabled()) {
        focus_ = c.get();
        break;
      }
    }
  }
  MarkDirty();
  if (modal) {
    Ref<Form> keep(this);
    manager_.Loop().RunUntil([this] { return !visible_ || !loaded_; });
    modal_ = false;
  }
}

void Form::Hide() {
  if (!loaded_) Load();
  if (!visible_) return;
  visible_ = false;
  if (window_) manager_.GetPlatform().ShowWindow(window_, false);
  manager_.FormShown(this, false);
}

bool Form::Unload() {
  if (!loaded_) return true;
  Ref<Form> keep(this);
  if (onForm.queryUnload && onForm.queryUnload(*this)) return false;
  if (onForm.unload) onForm.unload(*this);
  Hide();
  loaded_ = false;
  // An unloaded form's timers stop: nothing of a closed window may keep running.
  for (const Ref<Control>& control : controls_) {
    if (auto* timer = dynamic_cast<TimerControl*>(control.get())) timer->SetEnabled(false);
  }
  if (window_) {
    manager_.GetPlatform().DestroyWindow(window_);
    window_ = 0;
  }
  return true;
}

// ---- Menus ----

Menu& Form::AddMenu(std::string name, Menu* parent) {
  Ref<Menu> m(new Menu(this, std::move(name)));
  m->SetParentMenu(parent);
  AddControl(m, this);
  if (!parent) menus_.push_back(m.get());
  return *m;
}

ControlArray& Form::AddMenuArray(std::string name, Menu* parent) {
  Ref<Menu> m(new Menu(this, std::move(name)));
  m->SetParentMenu(parent);
  ControlArray& arr = AddArrayElement(m, this);
  if (!parent) menus_.push_back(m.get());
  return arr;
}

bool Form::HasMenuBar() const {
  return std::any_of(menus_.begin(), menus_.end(), [](Menu* m) { return m->Visible(); });
}

void Form::SetFocusTo(Control* control) {
  if (focus_ == control) return;
  focus_ = control;
  MarkDirty();
}

// ---- Drawing ----

void Form::Paint(draw::Surface& target, draw::Point origin) {
  draw::Size size = ClientSize();
  target.FillRect({origin.x, origin.y, size.width, size.height}, draw::ClassicToPixel(backColor_));
}

// ---- Scripting ----

DispId Form::FindMember(std::string_view name) {
  DispId id = Members().GetIdOfName(name);
  if (id != kDispIdUnknown) return id;
  if (!FindArray(name) && !FindControl(name)) return kDispIdUnknown;
  for (std::size_t i = 0; i < scriptNames_.size(); ++i) {
    if (NamesEqual(scriptNames_[i], name)) return kControlIdBase + static_cast<DispId>(i);
  }
  scriptNames_.emplace_back(name);
  return kControlIdBase + static_cast<DispId>(scriptNames_.size() - 1);
}

Variant Form::InvokeMember(DispId id, std::uint8_t flags, std::span<Variant> args) {
  if (id < kControlIdBase) return Members().Invoke(*this, id, flags, args);
  auto k = static_cast<std::size_t>(id - kControlIdBase);
  if (k >= scriptNames_.size()) throw RuntimeError(kErrNoSuchMember);
  const std::string& name = scriptNames_[k];
  if (ControlArray* arr = FindArray(name)) {
    if (args.empty() && !(flags & (kInvokeLet | kInvokeSet))) {
      return Variant(static_cast<Object*>(arr));
    }
    return arr->Invoke(kDispIdValue, flags, args);
  }
  Control* c = FindControl(name);
  if (!c) throw RuntimeError(kErrNoSuchMember);  // the control has been removed since
  if (flags & (kInvokeLet | kInvokeSet)) return c->Invoke(kDispIdValue, flags, args);
  if (!args.empty()) return c->Invoke(kDispIdValue, flags, args);
  return Variant(static_cast<Object*>(c));
}

const DispatchTable<Form>& Form::Members() {
  static const DispatchTable<Form> table = [] {
    DispatchTable<Form> t;
    AddCommonMembers(t);
    t.Property(
        "Caption", [](Form& f) { return Str(f.Caption()); },
        [](Form& f, const Variant& v) { f.SetCaption(ToUtf8(v)); });
    t.Property(
        "BorderStyle", [](Form& f) { return Int(static_cast<int>(f.GetBorderStyle())); },
        [](Form& f, const Variant& v) {
          int s = ToInteger(v);
          if (s < 0 || s > 5) throw RuntimeError(kErrInvalidPropertyValue);
          f.SetBorderStyle(static_cast<BorderStyle>(std::min(s, 3)));
        });
    t.Property(
        "ScaleMode", [](Form& f) { return Int(f.ScaleMode()); },
        [](Form& f, const Variant& v) { f.SetScaleMode(ToInteger(v)); });
    t.Property("ScaleWidth", [](Form& f) { return Num(f.ScaleWidth()); });
    t.Property("ScaleHeight", [](Form& f) { return Num(f.ScaleHeight()); });
    t.Property(
        "BackColor", [](Form& f) { return Long(static_cast<std::int32_t>(f.BackColor())); },
        [](Form& f, const Variant& v) { f.SetBackColor(static_cast<std::uint32_t>(ToLong(v))); });
    t.Property(
        "KeyPreview", [](Form& f) { return Bool(f.KeyPreview()); },
        [](Form& f, const Variant& v) { f.SetKeyPreview(ToBoolean(v)); });
    t.Function("Show", 0, 2, [](Form& f, std::span<Variant> a) {
      f.Show(Arg(a, 0) && ToInteger(a[0]) == 1);
      return Variant();
    });
    t.Function("Hide", 0, 0, [](Form& f, std::span<Variant>) {
      f.Hide();
      return Variant();
    });
    t.Property("ActiveControl",
               [](Form& f) { return Variant(static_cast<Object*>(f.ActiveControl())); });
    t.Default("Caption");
    return t;
  }();
  return table;
}

}  // namespace sl::ui
