// Message boxes answered by the platform (see answering_message_boxes.h).
#include "backend/headless/answering_message_boxes.h"

#include "core/recording_message_box.h"

namespace sl {

MsgAnswer AnsweringMessageBoxService::Show(const MessageBoxRequest& request) {
  MsgAnswer answer = platform_.AnswerMessageBox(request).value_or(DefaultAnswer(request));
  platform_.MessageBoxClosed(request, answer);
  return answer;
}

}  // namespace sl
