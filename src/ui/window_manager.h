// WindowManager: the forms of the program and everything between them and the platform. It
// routes input to the control under the pointer (or the one holding the mouse capture), runs
// drag and drop, keeps the keyboard focus, chooses the pointer to show, shows tool-tips after a
// hover delay, and recomposes and presents the forms that changed. It is the event loop's client.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/object.h"
#include "ui/control.h"
#include "ui/draw/font.h"
#include "ui/draw/picture.h"
#include "ui/draw/surface.h"
#include "ui/event_loop.h"
#include "ui/platform.h"

namespace sl {
class PathResolver;
}

namespace sl::ui {

class Control;
class Form;
class Menu;

class WindowManager final : public EventLoop::Client {
 public:
  explicit WindowManager(Platform& platform);
  ~WindowManager() override;
  WindowManager(const WindowManager&) = delete;
  WindowManager& operator=(const WindowManager&) = delete;

  EventLoop& Loop() { return loop_; }
  Platform& GetPlatform() { return platform_; }
  draw::FontSystem& Fonts();

  // What happens on a quit request (the user closes the program); by default the loop quits.
  std::function<void()> onQuit;
  // Told when a named command of an event script names nothing that exists.
  std::function<void(const std::string&)> onInputError;
  // Keys of the program itself (the mute key), offered before any window sees them; returns
  // true when it took the key.
  std::function<bool(const InputEvent&)> onProgramKey;

  // ---- Forms ----
  void AddForm(Form* form);
  void RemoveForm(Form* form);
  const std::vector<Form*>& Forms() const { return forms_; }
  Form* FindForm(std::string_view name) const;
  // The form input goes to: the topmost shown modal form, else the active one.
  Form* ActiveForm() const;
  void Activate(Form* form);
  // Called by forms when shown or hidden, and when a control goes away.
  void FormShown(Form* form, bool shown);
  void ControlRemoved(Control& control);
  // Height of a menu bar in pixels.
  int MenuBarPixels();
  // The desktop's title of windows whose caption is empty (borderless ones among them), so that
  // task bars and window switchers name the program: the game's title.
  const std::string& ApplicationTitle() const { return applicationTitle_; }
  void SetApplicationTitle(std::string title);
  // The resolver of Windows-style paths that file list boxes use (none: paths are native).
  PathResolver* Paths() const { return paths_; }
  void SetPaths(PathResolver* paths) { paths_ = paths; }

  // ---- Pointer ----
  // The screen-wide pointer; non-zero overrides every control's pointer.
  int ScreenPointer() const { return screenPointer_; }
  void SetScreenPointer(int pointer);
  const draw::Picture& ScreenMouseIcon() const { return screenIcon_; }
  void SetScreenMouseIcon(draw::Picture icon);
  // The pointer number currently shown (after the screen, drag and control rules).
  int ShownPointer() const { return shownPointer_; }
  // Re-evaluates the pointer for the control under the mouse (after a pointer property changed).
  void UpdatePointer();
  // The pointer shown over menus and message boxes: the system's arrow.
  static constexpr int kArrowPointer = 0;

  // ---- Drag and drop ----
  void BeginDrag(Control& source);
  void CancelDrag(Control& source);
  // Drops at the current pointer position.
  void EndDrag(Control& source);
  Control* DragSource() const { return dragSource_.get(); }

  // ---- Tool-tips ----
  static constexpr int kToolTipDelayMs = 500;
  static constexpr int kToolTipShowMs = 5000;
  // The text of the tool-tip showing, or "" when none shows.
  const std::string& ToolTipShowing() const { return toolTipText_; }

  // ---- Notices ----
  // A line the desktop tells the person playing (where a screenshot went), shown across the
  // bottom of a form's client area for kNoticeShowMs.
  static constexpr int kNoticeShowMs = 4000;
  void ShowNotice(Form& form, std::string text);
  // The text of the notice showing, or "" when none shows.
  const std::string& NoticeShowing() const { return noticeText_; }

  // ---- Mouse state ----
  Control* Capture() const { return capture_.get(); }
  // Lets go of the mouse capture: the buttons held no longer belong to the control pressed.
  void ReleaseCapture();
  Control* ControlUnderPointer() const { return hover_.get(); }
  // The control of `form` under the client point (pixels), following the hit-testing rules;
  // null outside the client area.
  Control* HitTest(Form& form, draw::Point clientPoint) const;

  // ---- Drawing ----
  // Recomposes a form into its frame now (menu bar and client area).
  const draw::Surface& Compose(Form& form);
  // Composes and presents every shown form that changed.
  void Repaint() override;

  // EventLoop::Client
  void HandleInput(const InputEvent& event) override;
  std::int64_t NextDeadline() override;
  void DeadlinePassed(std::int64_t nowMs) override;

  // Menus: the drop-down open (nullptr when none), opened by a press on the bar.
  Menu* OpenMenu() const { return openMenu_; }
  void CloseMenus();

 private:
  struct FormFrame {
    Form* form;
    draw::Surface surface;
  };
  FormFrame& FrameOf(Form& form);
  void HandleMouse(Form& form, const InputEvent& event, draw::Point clientPoint);
  void HandleKey(Form& form, const InputEvent& event);
  void HandleControlAction(Form& form, const InputEvent& event);
  void HandleMenuCommand(Form& form, const InputEvent& event);
  bool HandleMenuMouse(Form& form, const InputEvent& event, draw::Point framePoint);
  void HandleMenuKey(int key);
  draw::Rect DropDownRect(Form& form, int& titleIndex) const;
  void MoveFocus(Form& form, int step, bool buttonsOnly);
  // Presses the button whose caption marks `key` as its access key (Alt+letter, or the letter
  // alone where no control takes typing); false when none does.
  bool PressAccessKey(Form& form, int key, int shift);
  void DeliverMouse(Control& control, InputKind kind, int button, int shift,
                    draw::Point clientPoint);
  draw::Point RelativeTo(const Control& c, draw::Point clientPoint) const;
  MouseArgs ArgsFor(const Control& c, int button, int shift, draw::Point clientPoint) const;
  draw::Point ScriptToClient(Form& form, draw::Point p) const;
  void ReportInputError(const std::string& message);
  void Drop(draw::Point clientPoint, Form& form);
  void SetHover(Control* control, std::int64_t now);
  // Finds the control under the pointer again where it stands (after the form changed).
  void RefreshHover();
  void HideToolTip();
  void ShowCursor(int pointer, const draw::Picture* icon);
  void DrawMenus(Form& form, draw::Surface& target, int menuBarHeight);
  void DrawToolTip(draw::Surface& target, int clientTop);
  void DrawNotice(draw::Surface& target, int clientTop);
  void HideNotice();

  Platform& platform_;
  EventLoop loop_;
  std::string applicationTitle_;
  PathResolver* paths_ = nullptr;
  std::unique_ptr<draw::FontSystem> fonts_;
  std::vector<Form*> forms_;
  std::vector<Form*> shownOrder_;  // shown forms, last shown last
  std::vector<FormFrame> frames_;
  Form* active_ = nullptr;
  Ref<Control> capture_;
  int captureButtons_ = 0;
  bool pressWasDouble_ = false;
  Ref<Control> hover_;
  Ref<Control> dragSource_;
  Form* pointerForm_ = nullptr;
  bool pointerOnMenu_ = false;
  draw::Point pointerClient_;
  int screenPointer_ = 0;
  draw::Picture screenIcon_;
  int shownPointer_ = -1;
  const void* shownIcon_ = nullptr;
  std::int64_t hoverSince_ = 0;
  std::string toolTipText_;
  draw::Point toolTipAt_;
  std::int64_t toolTipUntil_ = 0;
  std::string noticeText_;
  Form* noticeForm_ = nullptr;
  std::int64_t noticeUntil_ = 0;
  Menu* openMenu_ = nullptr;
  Form* openMenuForm_ = nullptr;
  int menuHighlight_ = -1;
};

}  // namespace sl::ui
