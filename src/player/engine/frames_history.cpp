// The visited-frames list.
#include "player/engine/frames_history.h"

namespace sl {

void FramesHistory::FramesHistoryAdd(const std::string& name) {
  if (names_.empty() || names_.back() != name) names_.push_back(name);
  while (names_.size() > kMaxEntries)
    names_.erase(names_.begin());
}

std::string FramesHistory::GoBack() {
  if (names_.size() <= 1) return {};
  names_.pop_back();
  return names_.back();
}

}  // namespace sl
