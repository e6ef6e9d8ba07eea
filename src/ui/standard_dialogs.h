// The runtime's own dialogs: the message box (title, multi-line text, icon, one of the classic
// button sets, a default button; it sizes itself to its text) and the input box (title, prompt,
// default text, OK and Cancel). Both are modal: they run a nested loop in which timers keep
// firing. A platform that answers dialogs itself (a headless run) is asked first and the box is
// then not shown; the platform is told every answer either way.
#pragma once

#include <optional>
#include <string>

#include "core/message_box.h"
#include "ui/platform.h"

namespace sl::ui {

class WindowManager;

class StandardDialogs final : public MessageBoxService {
 public:
  explicit StandardDialogs(WindowManager& manager) : manager_(manager) {}

  MsgAnswer Show(const MessageBoxRequest& request) override;
  // The text entered, or nullopt when cancelled.
  std::optional<std::string> InputBox(const InputBoxRequest& request);

  // The buttons of a set in order, with the answer each gives.
  static std::vector<MsgAnswer> ButtonsOf(MsgButtons buttons);
  // The answer Esc (or closing the window) gives, if the set allows leaving it that way.
  static std::optional<MsgAnswer> EscapeAnswer(MsgButtons buttons);
  static std::string CaptionOf(MsgAnswer answer);

 private:
  MsgAnswer ShowBox(const MessageBoxRequest& request);
  InputBoxAnswer ShowInput(const InputBoxRequest& request);

  WindowManager& manager_;
};

}  // namespace sl::ui
