// The visited frames, oldest first: at most 20 names, never the same name twice in a row. The
// frame timer and actions go back through it ("[last visited frame]"); saved games store it.
#pragma once

#include <string>
#include <vector>

namespace sl {

class FramesHistory {
 public:
  static constexpr std::size_t kMaxEntries = 20;

  // Appends unless the last entry is exactly `name` (case-sensitive), then drops the oldest
  // entries beyond 20.
  void FramesHistoryAdd(const std::string& name);
  // Going back: removes the last entry (the current frame) and returns the one now last; empty
  // (and nothing removed) when the history holds one name or none.
  std::string GoBack();

  void Clear() { names_.clear(); }
  // Replaces the whole list as a saved game stores it (no trimming, no de-duplication).
  void Assign(std::vector<std::string> names) { names_ = std::move(names); }
  const std::vector<std::string>& Names() const noexcept { return names_; }
  std::size_t Count() const noexcept { return names_.size(); }

 private:
  std::vector<std::string> names_;
};

}  // namespace sl
