// A message-box service for tests and scripted runs: it records every request and answers
// with the next queued answer, or with the request's default button when none is queued.
//
// API:
//   RecordingMessageBoxService boxes;
//   boxes.QueueAnswer(MsgAnswer::No);
//   ... code under test calls boxes.Show(request) ...
//   boxes.Shown()  -> every request, in order;  boxes.Answers() -> the answers given
//   DefaultAnswer(request) -> the answer of the request's default button
#pragma once

#include <deque>
#include <vector>

#include "core/message_box.h"

namespace sl {

MsgAnswer DefaultAnswer(const MessageBoxRequest& request);

class RecordingMessageBoxService final : public MessageBoxService {
 public:
  MsgAnswer Show(const MessageBoxRequest& request) override;

  void QueueAnswer(MsgAnswer answer) { queued_.push_back(answer); }
  const std::vector<MessageBoxRequest>& Shown() const noexcept { return shown_; }
  const std::vector<MsgAnswer>& Answers() const noexcept { return answers_; }
  void Clear() {
    shown_.clear();
    answers_.clear();
    queued_.clear();
  }

 private:
  std::vector<MessageBoxRequest> shown_;
  std::vector<MsgAnswer> answers_;
  std::deque<MsgAnswer> queued_;
};

}  // namespace sl
