// Form: a window of the program and the tree of controls in it. A form is loaded (its controls
// exist, its Load handler has run), shown modeless or modal (a modal Show returns only when the
// form is hidden or unloaded, letting events and timers run meanwhile), hidden, and unloaded.
// It owns its controls, its control arrays and its menus, and keeps the frame that the
// compositor draws for it, redrawn only when something in it changed.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/dispatch_table.h"
#include "core/runtime_error.h"
#include "ui/control.h"
#include "ui/control_array.h"
#include "ui/draw/units.h"
#include "ui/input_event.h"
#include "ui/platform.h"

namespace sl::ui {

class Menu;
class WindowManager;

// Classic border styles.
enum class BorderStyle { None = 0, FixedSingle = 1, Sizable = 2, FixedDialog = 3 };

class Form : public ControlBase<Form> {
 public:
  struct FormHandlers {
    std::function<void(Form&)> load;
    std::function<void(Form&)> activate;
    // Return true to cancel the unload (QueryUnload's Cancel).
    std::function<bool(Form&)> queryUnload;
    std::function<void(Form&)> unload;
  };
  FormHandlers onForm;

  static Ref<Form> Create(WindowManager& manager, std::string name);

  // ---- Controls ----
  // Creates a control of type T in `container` (the form when null). Later controls are on top.
  template <class T>
  T& Add(std::string name, Control* container = nullptr) {
    Ref<T> c(new T(this, std::move(name)));
    AddControl(c, container);
    return *c;
  }
  // Creates element 0 of a control array of type T.
  template <class T>
  ControlArray& AddArray(std::string name, Control* container = nullptr) {
    Ref<T> c(new T(this, name));
    return AddArrayElement(c, container);
  }
  // A control or control array element by name ("Command1", "Area(3)"), any letter case; null
  // when there is none.
  Control* FindControl(std::string_view qualifiedName) const;
  ControlArray* FindArray(std::string_view name) const;
  // The control of that name and type; RuntimeError 424 ("Object required") when there is none.
  template <class T>
  T& Get(std::string_view qualifiedName) const {
    auto* c = dynamic_cast<T*>(FindControl(qualifiedName));
    if (!c) throw RuntimeError(kErrObjectRequired);
    return *c;
  }
  // Every control in creation order.
  const std::vector<Ref<Control>>& Controls() const { return controls_; }
  // Removes a control that is not an array element's template: used by ControlArray::Unload.
  void RemoveControl(Control& control);

  // ---- Window ----
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  BorderStyle GetBorderStyle() const { return borderStyle_; }
  void SetBorderStyle(BorderStyle style);
  // 1 twips, 3 pixels (others are kept but measured as twips).
  int ScaleMode() const { return scaleMode_; }
  void SetScaleMode(int mode);
  // The client area in scale units.
  double ScaleWidth() const;
  double ScaleHeight() const;
  std::uint32_t BackColor() const { return backColor_; }
  void SetBackColor(std::uint32_t color);
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool enable) { keyPreview_ = enable; }
  // A topmost window stays above the other windows of the desktop while shown.
  bool TopMost() const { return topMost_; }
  void SetTopMost(bool topMost);
  // The user moved the window to (left, top) twips: the form follows without moving it back.
  void WindowMovedTo(double left, double top);

  bool Loaded() const { return loaded_; }
  // Loads the form (runs the Load handler once); Show loads it first when needed.
  void Load();
  // Shows the form; modal: returns when it is hidden or unloaded (or the program quits).
  void Show(bool modal = false);
  void Hide();
  // Unloads: QueryUnload (which may cancel) then Unload; the window closes. Returns false when
  // cancelled. The controls stay for a later Load (as the classic form object's do).
  bool Unload();
  bool IsModal() const { return modal_; }
  // A message box or input box of the runtime (not a form of the program): it shows the
  // system's arrow, whatever pointer the program chose.
  bool IsStandardDialog() const { return standardDialog_; }
  void MarkStandardDialog() { standardDialog_ = true; }

  // Frame borders, caption and menu bar around the client area, in pixels.
  struct NonClient {
    int left = 0, top = 0, right = 0, bottom = 0;  // top includes caption and menu bar
    int menuBar = 0;                               // the menu bar's height (part of top)
  };
  NonClient NonClientPixels() const;

  // ---- Menus ----
  // Top-level menus of the bar in order (their children are the drop-down items).
  const std::vector<Menu*>& Menus() const { return menus_; }
  Menu& AddMenu(std::string name, Menu* parent = nullptr);
  ControlArray& AddMenuArray(std::string name, Menu* parent = nullptr);
  // True when at least one top-level menu is visible: the form shows a menu bar.
  bool HasMenuBar() const;
  // Called when a top-level menu is shown or hidden: the client area changes.
  void MenuBarChanged() { SyncWindow(); }
  // Called when the window manager's application title changes: a form without a caption shows
  // it as its desktop title.
  void ApplicationTitleChanged() {
    if (caption_.empty()) SyncWindow();
  }

  // ---- Focus and input ----
  Control* ActiveControl() const { return focus_; }
  void SetFocusTo(Control* control);
  // The control whose top-left corner is the origin of scripted coordinates (the frame picture
  // of the game window); null means the client area.
  Control* ScriptOrigin() const { return scriptOrigin_; }
  void SetScriptOrigin(Control* control) { scriptOrigin_ = control; }

  // ---- Drawing ----
  bool Dirty() const { return dirty_; }
  void MarkDirty() { dirty_ = true; }
  void ClearDirty() { dirty_ = false; }
  WindowId Window() const { return window_; }
  // Told by a control when a child window comes to it or leaves it.
  void ChildWindowHostChanged(Control& host);
  // Whether a child window of a control that shows has an out-of-date picture.
  bool ChildWindowsNeedRepaint() const;

  // Control overrides.
  bool IsContainer() const override { return true; }
  draw::Size ClientSize() const override;
  double ScaleToPixels() const override { return scaleMode_ == 3 ? 1.0 : draw::TwipsToPixels(1.0); }
  void Paint(draw::Surface& target, draw::Point origin) override;
  void Move(double left, double top, double width, double height) override;
  void SetVisible(bool visible) override;
  std::string TypeName() const override { return Name(); }

  static const DispatchTable<Form>& Members();
  WindowManager& GetManager() const { return manager_; }

 protected:
  ~Form() override;
  // Besides its own members a form answers the names of its controls and control arrays.
  DispId FindMember(std::string_view name) override;
  Variant InvokeMember(DispId id, std::uint8_t flags, std::span<Variant> args) override;

 private:
  friend class ControlArray;
  Form(WindowManager& manager, std::string name);
  void AddControl(Ref<Control> control, Control* container);
  ControlArray& AddArrayElement(Ref<Control> control, Control* container);
  void SyncWindow();
  WindowSpec Spec() const;

  static constexpr DispId kControlIdBase = 100000;
  WindowManager& manager_;
  std::vector<Ref<Control>> controls_;
  std::vector<std::string> scriptNames_;             // control names handed out as member ids
  std::map<std::string, Ref<ControlArray>> arrays_;  // lower-case name
  std::vector<Menu*> menus_;
  std::string caption_;
  bool standardDialog_ = false;
  BorderStyle borderStyle_ = BorderStyle::Sizable;
  int scaleMode_ = 1;
  std::uint32_t backColor_ = 0x8000000F;  // button face
  bool keyPreview_ = false;
  bool topMost_ = false;
  bool loaded_ = false;
  bool modal_ = false;
  bool dirty_ = true;
  WindowId window_ = 0;
  Control* focus_ = nullptr;
  Control* scriptOrigin_ = nullptr;
  std::vector<Control*> childWindowHosts_;  // controls that hold child windows
};

}  // namespace sl::ui
