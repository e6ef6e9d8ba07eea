// Recording message-box service.
#include "core/recording_message_box.h"

namespace sl {

MsgAnswer DefaultAnswer(const MessageBoxRequest& request) {
  static constexpr MsgAnswer kButtons[6][3] = {
      {MsgAnswer::Ok, MsgAnswer::Ok, MsgAnswer::Ok},
      {MsgAnswer::Ok, MsgAnswer::Cancel, MsgAnswer::Ok},
      {MsgAnswer::Abort, MsgAnswer::Retry, MsgAnswer::Ignore},
      {MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Cancel},
      {MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Yes},
      {MsgAnswer::Retry, MsgAnswer::Cancel, MsgAnswer::Retry}};
  int set = static_cast<int>(request.buttons);
  if (set < 0 || set > 5) set = 0;
  int index = request.defaultButton >= 0 && request.defaultButton <= 2 ? request.defaultButton : 0;
  return kButtons[set][index];
}

MsgAnswer RecordingMessageBoxService::Show(const MessageBoxRequest& request) {
  shown_.push_back(request);
  MsgAnswer answer = DefaultAnswer(request);
  if (!queued_.empty()) {
    answer = queued_.front();
    queued_.pop_front();
  }
  answers_.push_back(answer);
  return answer;
}

}  // namespace sl
