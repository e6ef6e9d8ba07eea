#include "core/message_box.h"

#include <utility>

namespace sl {

std::vector<MsgAnswer> ButtonsOf(MsgButtons buttons) {
  using A = MsgAnswer;
  switch (buttons) {
    case MsgButtons::Ok:
      return {A::Ok};
    case MsgButtons::OkCancel:
      return {A::Ok, A::Cancel};
    case MsgButtons::AbortRetryIgnore:
      return {A::Abort, A::Retry, A::Ignore};
    case MsgButtons::YesNoCancel:
      return {A::Yes, A::No, A::Cancel};
    case MsgButtons::YesNo:
      return {A::Yes, A::No};
    case MsgButtons::RetryCancel:
      return {A::Retry, A::Cancel};
  }
  return {A::Ok};
}

MessageBoxRequest MessageBoxRequest::FromStyle(std::string title, std::string text, int style) {
  MessageBoxRequest r;
  r.title = std::move(title);
  r.text = std::move(text);
  int buttons = style & 0xF;
  r.buttons = buttons <= 5 ? static_cast<MsgButtons>(buttons) : MsgButtons::Ok;
  int icon = style & 0x70;
  r.icon = (icon == 16 || icon == 32 || icon == 48 || icon == 64) ? static_cast<MsgIcon>(icon)
                                                                  : MsgIcon::None;
  r.defaultButton = (style >> 8) & 0x3;
  if (r.defaultButton > 2) r.defaultButton = 0;
  return r;
}

}  // namespace sl
