// The answers an event script queues for the message boxes and input boxes to come, and the
// default answer of a box nobody answered: its default button (Cancel for an input box).
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/message_box.h"

namespace sl {

class DialogAnswers {
 public:
  struct BoxAnswer {
    MsgAnswer answer = MsgAnswer::Ok;
    bool byDefault = false;
    // Set when a queued answer did not fit the box (a "yes" for an OK box): the box took its
    // default instead, and this says why, for a warning naming the script line.
    std::string mismatch;
    int line = 0;
  };
  struct TextAnswer {
    std::optional<std::string> text;  // nullopt: Cancel
    bool byDefault = false;
  };

  // `line` is the script line that queued the answer, for warnings.
  void QueueMessageBox(MsgAnswer answer, int line = 0) { boxes_.push_back({answer, line}); }
  void QueueInputBox(std::optional<std::string> text) { inputs_.push_back(std::move(text)); }

  // The answer for a box being shown now; takes the first queued answer.
  BoxAnswer TakeForMessageBox(const MessageBoxRequest& request);
  TextAnswer TakeForInputBox();

  std::size_t PendingMessageBoxes() const { return boxes_.size(); }
  std::size_t PendingInputBoxes() const { return inputs_.size(); }

 private:
  struct Queued {
    MsgAnswer answer;
    int line;
  };
  std::deque<Queued> boxes_;
  std::deque<std::optional<std::string>> inputs_;
};

}  // namespace sl
