// Message boxes answered by the platform.
#include "player/platform_message_box.h"

#include "core/recording_message_box.h"
#include "ui/platform.h"

namespace sl {

MsgAnswer PlatformMessageBox::Show(const MessageBoxRequest& request) {
  MsgAnswer answer = platform_.AnswerMessageBox(request).value_or(DefaultAnswer(request));
  platform_.MessageBoxClosed(request, answer);
  return answer;
}

}  // namespace sl
