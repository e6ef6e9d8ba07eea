// The memory one script run may take. While a budget is active on a thread (the script engine
// activates one for each call from its host), the values scripts build in bulk - strings and
// arrays, and the containers and objects of the engine - count the bytes they take and give
// back. Taking more than the limit fails with RuntimeError 7 "Out of memory" before anything is
// allocated, so a script cannot run the player out of memory however it combines values.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sl {

class MemoryBudget {
 public:
  // Activates a budget of `limit` bytes on this thread until destroyed; the budget active
  // before (if any) is restored then.
  explicit MemoryBudget(std::size_t limit) noexcept;
  ~MemoryBudget();
  MemoryBudget(const MemoryBudget&) = delete;
  MemoryBudget& operator=(const MemoryBudget&) = delete;

  // Counts `bytes` taken against the active budget; RuntimeError 7 when that goes beyond its
  // limit. Without an active budget nothing is counted.
  static void Take(std::size_t bytes);
  // Counts `bytes` given back (they may have been taken before the budget began).
  static void Give(std::size_t bytes) noexcept;

  // Bytes taken and not given back since the budget began (negative when more was freed).
  std::int64_t Used() const noexcept { return used_; }
  // The most that was in use at once.
  std::int64_t Peak() const noexcept { return peak_; }

 private:
  static thread_local MemoryBudget* active_;
  MemoryBudget* previous_;
  std::int64_t limit_;
  std::int64_t used_ = 0;
  std::int64_t peak_ = 0;
};

}  // namespace sl
