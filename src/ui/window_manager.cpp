// Window manager: forms, input routing, mouse capture, focus, pointers, tool-tips, and
// composing and presenting the forms that changed. Menus and drag and drop are in
// window_menus.cpp and window_drag.cpp.
#include "ui/window_manager.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "ui/compositor.h"
#include "ui/controls/command_button.h"
#include "ui/controls/menu.h"
#include "ui/draw/chrome.h"
#include "ui/draw/text_layout.h"
#include "ui/draw/units.h"
#include "ui/form.h"

namespace sl::ui {

WindowManager::WindowManager(Platform& platform) : platform_(platform), loop_(platform) {
  loop_.SetClient(this);
}

WindowManager::~WindowManager() {
  loop_.SetClient(nullptr);
}

draw::FontSystem& WindowManager::Fonts() {
  if (!fonts_) fonts_ = std::make_unique<draw::FontSystem>();
  return *fonts_;
}

int WindowManager::MenuBarPixels() {
  return draw::MenuBarHeight(Fonts().Get(draw::FontSpec{}));
}

void WindowManager::SetApplicationTitle(std::string title) {
  if (title == applicationTitle_) return;
  applicationTitle_ = std::move(title);
  for (Form* f : forms_)
    f->ApplicationTitleChanged();
}

// ---- Forms ----

void WindowManager::AddForm(Form* form) {
  forms_.push_back(form);
}

void WindowManager::RemoveForm(Form* form) {
  std::erase(forms_, form);
  std::erase(shownOrder_, form);
  std::erase_if(frames_, [&](const FormFrame& f) { return f.form == form; });
  if (active_ == form) active_ = shownOrder_.empty() ? nullptr : shownOrder_.back();
  if (pointerForm_ == form) {
    pointerForm_ = nullptr;
    pointerOnMenu_ = false;
    UpdatePointer();
  }
  if (noticeForm_ == form) HideNotice();
}

Form* WindowManager::FindForm(std::string_view name) const {
  for (Form* f : forms_) {
    if (NamesEqual(f->Name(), name)) return f;
  }
  return nullptr;
}

Form* WindowManager::ActiveForm() const {
  for (auto it = shownOrder_.rbegin(); it != shownOrder_.rend(); ++it) {
    if ((*it)->IsModal()) return *it;
  }
  return active_;
}

void WindowManager::Activate(Form* form) {
  if (active_ == form) return;
  active_ = form;
  if (form && form->Window()) platform_.ActivateWindow(form->Window());
  if (form && form->onForm.activate) {
    Ref<Control> keep(form);
    form->onForm.activate(*form);
  }
}

void WindowManager::FormShown(Form* form, bool shown) {
  std::erase(shownOrder_, form);
  if (shown) {
    shownOrder_.push_back(form);
    if (form->IsModal()) UpdatePointer();
    return;
  }
  if (openMenuForm_ == form) CloseMenus();
  if (noticeForm_ == form) HideNotice();
  if (pointerForm_ == form) {
    capture_.reset();
    hover_.reset();
    HideToolTip();
  }
  if (active_ == form) {
    active_ = nullptr;
    if (!shownOrder_.empty()) Activate(shownOrder_.back());
  }
  if (form->IsModal()) UpdatePointer();
}

void WindowManager::ReleaseCapture() {
  capture_.reset();
  captureButtons_ = 0;
}

void WindowManager::ControlRemoved(Control& control) {
  if (capture_.get() == &control) capture_.reset();
  if (hover_.get() == &control) {
    hover_.reset();
    HideToolTip();
  }
  if (dragSource_.get() == &control) {
    dragSource_.reset();
    UpdatePointer();
  }
  if (openMenu_ == &control) CloseMenus();
}

// ---- Input ----

void WindowManager::HandleInput(const InputEvent& event) {
  if (event.kind == InputKind::Quit) {
    if (onQuit) {
      onQuit();
    } else {
      loop_.RequestQuit();
    }
    return;
  }
  Form* form = nullptr;
  if (event.window) {
    for (Form* f : forms_) {
      if (f->Window() == event.window) form = f;
    }
  } else {
    form = ActiveForm();
  }
  if (!form || !form->Loaded()) return;
  // While a modal form is up, the other forms take no input.
  Form* modal = ActiveForm();
  if (modal && modal->IsModal() && modal != form && event.kind != InputKind::MenuCommand &&
      event.kind != InputKind::WindowMoved && event.kind != InputKind::Notice)
    return;
  Ref<Control> keep(form);

  switch (event.kind) {
    case InputKind::MouseDown:
    case InputKind::MouseUp:
    case InputKind::MouseMove: {
      Form::NonClient n = form->NonClientPixels();
      draw::Point p{event.x, event.y};
      bool onMenu = false;
      if (event.space == CoordSpace::Frame) {
        onMenu = HandleMenuMouse(*form, event, p);
        p.y -= n.menuBar;
      } else {
        if (event.space == CoordSpace::Script) p = ScriptToClient(*form, p);
        onMenu = openMenu_ && HandleMenuMouse(*form, event, {p.x, p.y + n.menuBar});
      }
      // Over the menu bar and open menus the pointer is the arrow, whatever lies below.
      pointerOnMenu_ = onMenu;
      if (onMenu) {
        UpdatePointer();
        return;
      }
      HandleMouse(*form, event, p);
      break;
    }
    case InputKind::KeyDown:
      if (onProgramKey && onProgramKey(event)) break;
      HandleKey(*form, event);
      break;
    case InputKind::KeyUp:
      break;
    case InputKind::Text:
      if (Control* c = form->ActiveControl()) c->BuiltinText(event.text);
      break;
    case InputKind::CloseWindow:
      form->Unload();
      break;
    case InputKind::ControlAction:
      HandleControlAction(*form, event);
      break;
    case InputKind::SelectItem: {
      Control* c = form->FindControl(event.target);
      if (!c || !c->SelectEntry(event.text))
        ReportInputError("no entry '" + event.text + "' in " + event.target);
      break;
    }
    case InputKind::MenuCommand:
      HandleMenuCommand(*form, event);
      break;
    case InputKind::WindowMoved:
      form->WindowMovedTo(draw::PixelsToTwips(event.x), draw::PixelsToTwips(event.y));
      break;
    case InputKind::Notice:
      ShowNotice(*form, event.text);
      break;
    case InputKind::Quit:
      break;
  }
}

void WindowManager::ReportInputError(const std::string& message) {
  if (onInputError) onInputError(message);
}

draw::Point WindowManager::ScriptToClient(Form& form, draw::Point p) const {
  Control* origin = form.ScriptOrigin();
  if (!origin || origin->GetForm() != &form) return p;
  draw::Rect b = origin->FormPixelBounds();
  draw::Point o = origin->ClientOrigin();
  return {p.x + b.x + o.x, p.y + b.y + o.y};
}

void WindowManager::HandleControlAction(Form& form, const InputEvent& event) {
  Control* c = form.FindControl(event.target);
  if (!c || !c->IsWindowed()) {
    ReportInputError("no control '" + event.target + "'");
    return;
  }
  // A click at the control's centre, as a user would give it: whatever is on top there gets it.
  draw::Rect b = c->FormPixelBounds();
  InputEvent e;
  e.window = form.Window();
  e.space = CoordSpace::Client;
  e.x = b.x + b.width / 2;
  e.y = b.y + b.height / 2;
  e.button = event.action == ControlActionKind::RightClick ? kButtonRight : kButtonLeft;
  auto send = [&](InputKind kind, int clicks) {
    e.kind = kind;
    e.clicks = clicks;
    HandleInput(e);
  };
  send(InputKind::MouseMove, 1);
  send(InputKind::MouseDown, 1);
  send(InputKind::MouseUp, 1);
  if (event.action == ControlActionKind::DblClick) {
    send(InputKind::MouseDown, 2);
    send(InputKind::MouseUp, 1);
  }
}

void WindowManager::HandleMenuCommand(Form& form, const InputEvent& event) {
  Control* c = form.FindControl(event.target);
  if (!c) {
    // The event script names menus of the game window even when a dialog is active.
    for (Form* f : forms_) {
      if ((c = f->FindControl(event.target))) break;
    }
  }
  auto* menu = dynamic_cast<Menu*>(c);
  if (!menu) {
    ReportInputError("no menu '" + event.target + "'");
    return;
  }
  CloseMenus();
  menu->Choose();
}

void WindowManager::HandleMouse(Form& form, const InputEvent& event, draw::Point p) {
  std::int64_t now = loop_.NowMs();
  pointerForm_ = &form;
  pointerClient_ = p;
  Ref<Control> hit(HitTest(form, p));

  if (event.kind == InputKind::MouseMove) {
    SetHover(hit.get(), now);
    if (!dragSource_) {
      Control* target = capture_ ? capture_.get() : hit.get();
      if (target) DeliverMouse(*target, InputKind::MouseMove, event.button, event.shift, p);
    }
    UpdatePointer();
    return;
  }

  HideToolTip();
  hoverSince_ = now;
  if (event.kind == InputKind::MouseDown) {
    if (!hit) return;
    if (!capture_) capture_ = hit;
    captureButtons_ |= event.button;
    Control* target = capture_.get();
    if (target->CanFocus() && target->IsEffectivelyEnabled()) form.SetFocusTo(target);
    pressWasDouble_ = event.clicks >= 2;
    if (pressWasDouble_) {
      target->BuiltinMouse(InputKind::MouseDown, event.button, RelativeTo(*target, p));
      Ref<Control> keep(target);
      if (target->on.dblClick) target->on.dblClick(*target);
    } else if (target->DragMode() == 1 && event.button == kButtonLeft) {
      BeginDrag(*target);
    } else {
      DeliverMouse(*target, InputKind::MouseDown, event.button, event.shift, p);
    }
    UpdatePointer();
    return;
  }

  // MouseUp
  if (dragSource_) {
    captureButtons_ &= ~event.button;
    if (captureButtons_ == 0) capture_.reset();
    Drop(p, form);
    return;
  }
  Ref<Control> target = capture_ ? capture_ : hit;
  captureButtons_ &= ~event.button;
  if (captureButtons_ == 0) capture_.reset();
  if (!target) return;
  DeliverMouse(*target, InputKind::MouseUp, event.button, event.shift, p);
  bool inside = target->FormPixelBounds().Contains(p) || target.get() == &form;
  bool buttonOnly =
      target->Kind() == ControlKind::CommandButton || target->Kind() == ControlKind::CheckBox;
  // The release that ends a double click raises no second Click.
  bool afterDouble = std::exchange(pressWasDouble_, false);
  if (inside && !afterDouble && target->ClicksOnRelease() &&
      (!buttonOnly || event.button == kButtonLeft) && target->IsEffectivelyEnabled() &&
      target->on.click) {
    target->on.click(*target);
  }
  UpdatePointer();
}

draw::Point WindowManager::RelativeTo(const Control& c, draw::Point clientPoint) const {
  if (c.Kind() == ControlKind::Form) return clientPoint;
  draw::Rect b = c.FormPixelBounds();
  return {clientPoint.x - b.x, clientPoint.y - b.y};
}

MouseArgs WindowManager::ArgsFor(const Control& c, int button, int shift,
                                 draw::Point clientPoint) const {
  draw::Point at = RelativeTo(c, clientPoint);
  // Picture boxes and forms report positions in their own scale; other controls in twips.
  double perPixel = draw::kTwipsPerPixel;
  if (c.IsContainer() && c.ScaleToPixels() == 1.0) perPixel = 1.0;
  if (c.IsContainer() && c.Kind() != ControlKind::Form) {
    draw::Point o = c.ClientOrigin();
    at = {at.x - o.x, at.y - o.y};
  }
  MouseArgs a;
  a.button = button;
  a.shift = shift;
  a.x = at.x * perPixel;
  a.y = at.y * perPixel;
  return a;
}

void WindowManager::DeliverMouse(Control& control, InputKind kind, int button, int shift,
                                 draw::Point clientPoint) {
  Ref<Control> keep(&control);
  control.BuiltinMouse(kind, button, RelativeTo(control, clientPoint));
  MouseArgs args = ArgsFor(control, button, shift, clientPoint);
  switch (kind) {
    case InputKind::MouseDown:
      if (control.on.mouseDown) control.on.mouseDown(control, args);
      break;
    case InputKind::MouseUp:
      if (control.on.mouseUp) control.on.mouseUp(control, args);
      break;
    case InputKind::MouseMove:
      if (control.on.mouseMove) control.on.mouseMove(control, args);
      break;
    default:
      break;
  }
}

namespace {
// The control of `container`'s subtree under `p` (relative to its client area), following the
// rules: the topmost visible control wins; containers clip their children; a disabled control
// passes the mouse to its container.
Control* HitIn(Control& container, draw::Point p) {
  const auto& kids = container.Children();
  for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
    Control* c = *it;
    if (!c->Visible() || !c->IsWindowed()) continue;
    draw::Rect b = c->PixelBounds();
    if (!b.Contains(p)) continue;
    if (!c->Enabled()) return &container;
    if (c->IsContainer()) {
      draw::Point o = c->ClientOrigin();
      draw::Point inner{p.x - b.x - o.x, p.y - b.y - o.y};
      draw::Size s = c->ClientSize();
      if (inner.x >= 0 && inner.y >= 0 && inner.x < s.width && inner.y < s.height) {
        return HitIn(*c, inner);
      }
    }
    return c;
  }
  return &container;
}

// A box in the tool-tip colours with `layout` inside it, `inset` pixels from its top-left corner
// (tool-tips and notices).
void DrawInfoBox(draw::Surface& target, const draw::Font& font, const draw::TextLayout& layout,
                 const draw::Rect& box, draw::Point inset) {
  target.ResetClip();
  target.FillRect(box, draw::SystemPixel(draw::SystemColor::kInfoBackground));
  target.DrawRect(box, draw::SystemPixel(draw::SystemColor::kInfoText));
  draw::DrawTextLayout(target, font, layout, box.Offset(inset.x, inset.y), draw::TextAlign::kLeft,
                       draw::SystemPixel(draw::SystemColor::kInfoText));
}
}  // namespace

Control* WindowManager::HitTest(Form& form, draw::Point clientPoint) const {
  draw::Size s = form.ClientSize();
  if (clientPoint.x < 0 || clientPoint.y < 0 || clientPoint.x >= s.width ||
      clientPoint.y >= s.height) {
    return nullptr;
  }
  if (!form.Enabled()) return nullptr;
  return HitIn(form, clientPoint);
}

// ---- Keys ----

void WindowManager::HandleKey(Form& form, const InputEvent& event) {
  int key = event.keyCode;
  if (openMenu_) {
    HandleMenuKey(key);
    return;
  }
  Ref<Control> focus(form.ActiveControl());
  if (form.KeyPreview() && form.on.keyDown) {
    form.on.keyDown(form, key, event.shift);
    if (key == 0) return;
  }
  if (focus && focus.get() != &form) {
    if (focus->on.keyDown) {
      focus->on.keyDown(*focus, key, event.shift);
      if (key == 0) return;
    }
    if (focus->BuiltinKey(key, event.shift)) return;
  } else if (!form.KeyPreview() && form.on.keyDown) {
    form.on.keyDown(form, key, event.shift);
    if (key == 0) return;
  }
  auto buttons = [&] {
    std::vector<CommandButton*> list;
    for (const auto& c : form.Controls()) {
      auto* b = dynamic_cast<CommandButton*>(c.get());
      if (b && b->IsShowing() && b->IsEffectivelyEnabled()) list.push_back(b);
    }
    return list;
  };
  switch (key) {
    case kKeyReturn:
      for (CommandButton* b : buttons()) {
        if (b->IsDefault()) return b->Press();
      }
      break;
    case kKeyEscape:
      for (CommandButton* b : buttons()) {
        if (b->IsCancel()) return b->Press();
      }
      break;
    case kKeyTab:
      MoveFocus(form, (event.shift & kShiftMask) ? -1 : 1, false);
      break;
    case kKeyLeft:
    case kKeyUp:
      MoveFocus(form, -1, true);
      break;
    case kKeyRight:
    case kKeyDown:
      MoveFocus(form, 1, true);
      break;
    default:
      PressAccessKey(form, key, event.shift);
      break;
  }
}

bool WindowManager::PressAccessKey(Form& form, int key, int shift) {
  if (shift & kCtrlMask) return false;
  // Without Alt a letter belongs to the control that has the focus, unless that is a button.
  Control* focus = form.ActiveControl();
  bool typing = focus && focus != &form && focus->Kind() != ControlKind::CommandButton;
  if (!(shift & kAltMask) && typing) return false;
  for (const auto& c : form.Controls()) {
    auto* b = dynamic_cast<CommandButton*>(c.get());
    if (b && b->IsShowing() && b->IsEffectivelyEnabled() &&
        draw::AccessKeyOf(b->Caption()) == key) {
      b->Press();
      return true;
    }
  }
  return false;
}

void WindowManager::MoveFocus(Form& form, int step, bool buttonsOnly) {
  std::vector<Control*> order;
  for (const auto& c : form.Controls()) {
    if (!c->CanFocus() || !c->IsShowing() || !c->IsEffectivelyEnabled()) continue;
    if (buttonsOnly && c->Kind() != ControlKind::CommandButton) continue;
    order.push_back(c.get());
  }
  if (order.empty()) return;
  if (buttonsOnly && form.ActiveControl() &&
      form.ActiveControl()->Kind() != ControlKind::CommandButton) {
    return;  // arrows belong to the focused list or text box
  }
  auto it = std::find(order.begin(), order.end(), form.ActiveControl());
  int n = static_cast<int>(order.size());
  int i = it == order.end() ? (step > 0 ? -1 : 0) : static_cast<int>(it - order.begin());
  i = ((i + step) % n + n) % n;
  form.SetFocusTo(order[static_cast<std::size_t>(i)]);
}

// ---- Pointer ----

void WindowManager::SetScreenPointer(int pointer) {
  screenPointer_ = pointer;
  UpdatePointer();
}

void WindowManager::SetScreenMouseIcon(draw::Picture icon) {
  screenIcon_ = std::move(icon);
  UpdatePointer();
}

void WindowManager::UpdatePointer() {
  int pointer = 0;
  const draw::Picture* icon = nullptr;
  // Menus, message boxes and the windows a modal one holds back show the arrow.
  Form* modal = ActiveForm();
  bool heldBack = modal && modal->IsModal() && pointerForm_ && pointerForm_ != modal;
  if (pointerOnMenu_ || heldBack || (pointerForm_ && pointerForm_->IsStandardDialog())) {
    ShowCursor(kArrowPointer, nullptr);
    return;
  }
  if (screenPointer_ != 0) {
    pointer = screenPointer_;
    if (pointer == 99) icon = &screenIcon_;
  } else if (dragSource_) {
    pointer = 99;
    icon = &dragSource_->DragIcon();
  } else if (Control* c = capture_ ? capture_.get() : hover_.get()) {
    pointer = c->MousePointer();
    if (pointer == 99) icon = &c->MouseIcon();
  }
  if (pointer == 99 && (!icon || icon->IsNone())) {
    pointer = dragSource_ && screenPointer_ == 0 ? 1 : 0;
    icon = nullptr;
  }
  ShowCursor(pointer, icon);
}

void WindowManager::ShowCursor(int pointer, const draw::Picture* icon) {
  const void* identity = icon ? static_cast<const void*>(&icon->Image()) : nullptr;
  if (pointer == shownPointer_ && identity == shownIcon_) return;
  shownPointer_ = pointer;
  shownIcon_ = identity;
  if (!icon) {
    platform_.SetCursor(pointer, nullptr);
    return;
  }
  const draw::PictureImage& img = icon->BestImage(32, 32);
  CursorImage cursor;
  cursor.width = img.surface.Width();
  cursor.height = img.surface.Height();
  cursor.hotX = img.hotSpot.x;
  cursor.hotY = img.hotSpot.y;
  cursor.rgba.resize(static_cast<std::size_t>(cursor.width) * cursor.height * 4);
  std::size_t k = 0;
  for (int y = 0; y < cursor.height; ++y) {
    const draw::Pixel* row = img.surface.Row(y);
    for (int x = 0; x < cursor.width; ++x) {
      draw::Rgba c = draw::ToRgba(row[x]);
      cursor.rgba[k++] = c.r;
      cursor.rgba[k++] = c.g;
      cursor.rgba[k++] = c.b;
      cursor.rgba[k++] = c.a;
    }
  }
  platform_.SetCursor(99, &cursor);
}

// ---- Tool-tips ----

void WindowManager::SetHover(Control* control, std::int64_t now) {
  if (control != hover_.get()) {
    HideToolTip();
    hover_.reset();
    if (control) hover_ = Ref<Control>(control);
  }
  if (toolTipText_.empty()) hoverSince_ = now;  // the delay counts from when the pointer rests
}

void WindowManager::HideToolTip() {
  if (toolTipText_.empty()) return;
  toolTipText_.clear();
  if (pointerForm_) pointerForm_->MarkDirty();
}

std::int64_t WindowManager::NextDeadline() {
  std::int64_t notice = noticeText_.empty() ? kNoDeadline : noticeUntil_;
  if (!hover_ || hover_->ToolTipText().empty() || capture_ || dragSource_) return notice;
  if (toolTipText_.empty()) return std::min(notice, hoverSince_ + kToolTipDelayMs);
  return std::min(notice, toolTipUntil_);
}

void WindowManager::DeadlinePassed(std::int64_t nowMs) {
  if (!noticeText_.empty() && nowMs >= noticeUntil_) HideNotice();
  if (!hover_ || !pointerForm_) return;
  if (toolTipText_.empty()) {
    if (hover_->ToolTipText().empty() || !hover_->IsShowing()) return;
    toolTipText_ = hover_->ToolTipText();
    toolTipAt_ = {pointerClient_.x, pointerClient_.y + 20};
    toolTipUntil_ = nowMs + kToolTipShowMs;
    pointerForm_->MarkDirty();
  } else if (nowMs >= toolTipUntil_) {
    HideToolTip();
    hoverSince_ = kNoDeadline / 2;  // shown once per hover
  }
}

// ---- Notices ----

void WindowManager::ShowNotice(Form& form, std::string text) {
  HideNotice();
  noticeText_ = std::move(text);
  noticeForm_ = &form;
  noticeUntil_ = loop_.NowMs() + kNoticeShowMs;
  form.MarkDirty();
}

void WindowManager::HideNotice() {
  if (noticeForm_) noticeForm_->MarkDirty();
  noticeText_.clear();
  noticeForm_ = nullptr;
}

void WindowManager::DrawNotice(draw::Surface& target, int clientTop) {
  draw::Font font = Fonts().Get(draw::FontSpec{});
  draw::LayoutOptions options;
  options.maxWidth = std::max(target.Width() - 16, 1);
  options.maxHeight = std::max(target.Height() - clientTop - 8, 1);
  options.ellipsis = true;
  draw::TextLayout layout = draw::LayoutText(font, noticeText_, options);
  int width = layout.width + 12;
  int height = layout.height + 8;
  draw::Rect box{(target.Width() - width) / 2, target.Height() - height - 8, width, height};
  box.y = std::max(box.y, clientTop);
  DrawInfoBox(target, font, layout, box, {6, 4});
}

// ---- Drawing ----

WindowManager::FormFrame& WindowManager::FrameOf(Form& form) {
  for (auto& f : frames_) {
    if (f.form == &form) return f;
  }
  frames_.push_back({&form, {}});
  return frames_.back();
}

const draw::Surface& WindowManager::Compose(Form& form) {
  FormFrame& frame = FrameOf(form);
  Form::NonClient n = form.NonClientPixels();
  draw::Size client = form.ClientSize();
  int w = client.width, h = client.height + n.menuBar;
  if (frame.surface.Width() != w || frame.surface.Height() != h) {
    frame.surface = draw::Surface(w, h, draw::kBlack);
  }
  draw::Surface& s = frame.surface;
  s.ResetClip();
  PaintControlTree(form, s, {0, n.menuBar}, {0, n.menuBar, client.width, client.height});
  if (n.menuBar > 0) DrawMenus(form, s, n.menuBar);
  if (!toolTipText_.empty() && pointerForm_ == &form) DrawToolTip(s, n.menuBar);
  if (!noticeText_.empty() && noticeForm_ == &form) DrawNotice(s, n.menuBar);
  form.ClearDirty();
  return s;
}

void WindowManager::DrawToolTip(draw::Surface& target, int clientTop) {
  draw::Font font = Fonts().Get(draw::FontSpec{});
  // A tip never grows beyond the window; what does not fit ends in "…".
  draw::LayoutOptions options;
  options.maxHeight = target.Height() - 4;
  options.ellipsis = true;
  options.maxWidth = std::max(target.Width() - 6, 1);
  draw::TextLayout layout = draw::LayoutText(font, toolTipText_, options);
  draw::Rect box{toolTipAt_.x, toolTipAt_.y + clientTop, layout.width + 6, layout.height + 4};
  // Keep the tip inside the window.
  box.x = std::max(0, std::min(box.x, target.Width() - box.width));
  if (box.Bottom() > target.Height())
    box.y = std::max(0, toolTipAt_.y + clientTop - 24 - box.height);
  DrawInfoBox(target, font, layout, box, {3, 2});
}

void WindowManager::RefreshHover() {
  if (!pointerForm_ || pointerOnMenu_ || capture_ || dragSource_) return;
  if (!pointerForm_->Loaded() || !pointerForm_->Visible()) return;
  // A form a modal one holds back has nothing under the pointer.
  Form* modal = ActiveForm();
  if (modal && modal->IsModal() && modal != pointerForm_) return;
  Control* hit = HitTest(*pointerForm_, pointerClient_);
  if (hit != hover_.get()) SetHover(hit, loop_.NowMs());
  UpdatePointer();
}

void WindowManager::Repaint() {
  // What lies under a still pointer may have changed with the picture (a new frame, a hot spot
  // shown, hidden or moved): its pointer is shown at once, not at the next move.
  bool underPointerChanged =
      pointerForm_ && (pointerForm_->Dirty() || pointerForm_->ChildWindowsNeedRepaint());
  for (Form* f : forms_) {
    if (!f->Loaded() || !f->Visible() || !f->Window()) continue;
    if (!f->Dirty() && !f->ChildWindowsNeedRepaint()) continue;
    Ref<Control> keep(f);
    const draw::Surface& s = Compose(*f);
    FrameView view;
    view.rgba = reinterpret_cast<const std::uint8_t*>(s.Empty() ? nullptr : s.Row(0));
    view.width = s.Width();
    view.height = s.Height();
    view.stride = s.Width() * 4;
    view.clientTop = f->NonClientPixels().menuBar;
    platform_.Present(f->Window(), view);
  }
  if (underPointerChanged) RefreshHover();
}

}  // namespace sl::ui
