// Queued and default dialog answers (see dialog_answers.h).
#include "backend/headless/dialog_answers.h"

#include <algorithm>

#include "backend/headless/trace.h"
#include "core/recording_message_box.h"

namespace sl {

DialogAnswers::BoxAnswer DialogAnswers::TakeForMessageBox(const MessageBoxRequest& request) {
  BoxAnswer result{DefaultAnswer(request), true, {}, 0};
  if (boxes_.empty()) return result;
  MsgAnswer queued = boxes_.front().answer;
  result.line = boxes_.front().line;
  boxes_.pop_front();
  std::vector<MsgAnswer> set = ButtonsOf(request.buttons);
  if (std::find(set.begin(), set.end(), queued) == set.end()) {
    result.mismatch = "the queued answer '" + std::string(AnswerName(queued)) +
                      "' is no button of a '" + std::string(ButtonsName(request.buttons)) +
                      "' message box; its default button is taken";
    return result;
  }
  result.answer = queued;
  result.byDefault = false;
  return result;
}

DialogAnswers::TextAnswer DialogAnswers::TakeForInputBox() {
  if (inputs_.empty()) return {std::nullopt, true};
  TextAnswer result{std::move(inputs_.front()), false};
  inputs_.pop_front();
  return result;
}

}  // namespace sl
