// A message-box service for runs whose platform answers dialogs itself (headless runs driven by
// an event script): the platform's queued answer, else the box's default button. The platform
// is told of every answer, which is how the trace records message boxes.
#pragma once

#include "core/message_box.h"

namespace sl {
namespace ui {
class Platform;
}

class PlatformMessageBox final : public MessageBoxService {
 public:
  explicit PlatformMessageBox(ui::Platform& platform) : platform_(platform) {}
  MsgAnswer Show(const MessageBoxRequest& request) override;

 private:
  ui::Platform& platform_;
};

}  // namespace sl
