// A message box service for platforms that answer message boxes themselves (a headless run):
// it asks the platform for the answer, takes the box's default button when the platform gives
// none, and tells the platform the box has closed (which writes its trace record). It shows
// nothing; the window runtime's own service draws boxes on the desktop.
#pragma once

#include "core/message_box.h"
#include "ui/platform.h"

namespace sl {

class AnsweringMessageBoxService final : public MessageBoxService {
 public:
  explicit AnsweringMessageBoxService(ui::Platform& platform) : platform_(platform) {}
  MsgAnswer Show(const MessageBoxRequest& request) override;

 private:
  ui::Platform& platform_;
};

}  // namespace sl
