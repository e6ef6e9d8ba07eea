#include "core/memory_budget.h"

#include "core/runtime_error.h"

namespace sl {

thread_local MemoryBudget* MemoryBudget::active_ = nullptr;

MemoryBudget::MemoryBudget(std::size_t limit) noexcept
    : previous_(active_), limit_(static_cast<std::int64_t>(limit)) {
  active_ = this;
}

MemoryBudget::~MemoryBudget() {
  active_ = previous_;
}

void MemoryBudget::Take(std::size_t bytes) {
  MemoryBudget* budget = active_;
  if (!budget) return;
  std::int64_t used = budget->used_ + static_cast<std::int64_t>(bytes);
  if (used > budget->limit_) throw RuntimeError(kErrOutOfMemory);
  budget->used_ = used;
  if (used > budget->peak_) budget->peak_ = used;
}

void MemoryBudget::Give(std::size_t bytes) noexcept {
  if (MemoryBudget* budget = active_) budget->used_ -= static_cast<std::int64_t>(bytes);
}

}  // namespace sl
