#include "vbscript/register_stack.h"

#include <algorithm>

#include "core/memory_budget.h"

namespace sl::vbs {

namespace {

// Registers per chunk (64 KB); a frame larger than that gets a chunk of its own size.
constexpr std::size_t kChunkRegisters = 4096;

}  // namespace

RegisterStack::~RegisterStack() {
  for (const Chunk& chunk : chunks_)
    MemoryBudget::Give(chunk.size * sizeof(Variant));
}

// Back to an earlier chunk: the chunk after it stays for the next call that needs one, those
// beyond are given back.
void RegisterStack::GoBack(const Mark& mark) noexcept {
  chunk_ = mark.chunk;
  top_ = mark.top;
  end_ = mark.end;
  DropChunksFrom(end_ ? chunk_ + 2 : 1);
}

// Gives back the chunks from `first` on.
void RegisterStack::DropChunksFrom(std::size_t first) noexcept {
  while (chunks_.size() > first) {
    MemoryBudget::Give(chunks_.back().size * sizeof(Variant));
    chunks_.pop_back();
  }
}

void RegisterStack::NextChunk(std::size_t count) {
  std::size_t next = end_ ? chunk_ + 1 : 0;
  if (next < chunks_.size() && chunks_[next].size < count) {
    // The chunk kept there is too small for this frame: it and those after it go.
    DropChunksFrom(next);
  }
  if (next == chunks_.size()) {
    std::size_t size = std::max(kChunkRegisters, count);
    MemoryBudget::Take(size * sizeof(Variant));
    chunks_.push_back({std::make_unique<Variant[]>(size), size});
  }
  chunk_ = next;
  top_ = chunks_[next].registers.get();
  end_ = top_ + chunks_[next].size;
}

}  // namespace sl::vbs
