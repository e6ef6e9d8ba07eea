// The message box as the game asks for it: a title, a text, a button set, an icon and a default
// button, answered with the code of the button taken. The window runtime implements the
// service; tests use a recording one.
#pragma once

#include <string>
#include <vector>

namespace sl {

enum class MsgButtons {
  Ok = 0,
  OkCancel = 1,
  AbortRetryIgnore = 2,
  YesNoCancel = 3,
  YesNo = 4,
  RetryCancel = 5
};
enum class MsgIcon { None = 0, Critical = 16, Question = 32, Exclamation = 48, Information = 64 };
enum class MsgAnswer { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct MessageBoxRequest {
  std::string title;
  std::string text;  // lines separated by CR LF (or LF)
  MsgButtons buttons = MsgButtons::Ok;
  MsgIcon icon = MsgIcon::None;
  int defaultButton = 0;  // 0 = first button, 1 = second, 2 = third

  // The classic style number: buttons + icon + 256 × default button.
  int Style() const {
    return static_cast<int>(buttons) + static_cast<int>(icon) + 256 * defaultButton;
  }
  static MessageBoxRequest FromStyle(std::string title, std::string text, int style);
};

// The buttons of a button set, left to right.
std::vector<MsgAnswer> ButtonsOf(MsgButtons buttons);

class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;
  // Shows the message box and waits (letting timers and window events run) until it is answered.
  virtual MsgAnswer Show(const MessageBoxRequest& request) = 0;
};

}  // namespace sl
