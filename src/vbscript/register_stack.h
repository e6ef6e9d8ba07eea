// The registers of compiled procedure calls: each call's frame lies just above its caller's, in
// chunks that never move (a parameter passed by reference points into its caller's registers).
// Registers above the top are Empty, so a new frame needs no setting up; a frame given back
// releases what it holds, last register first, as a frame of its own would when it ends.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "core/variant.h"
#include "vbscript/interpreter_support.h"

namespace sl::vbs {

class RegisterStack {
 public:
  RegisterStack() = default;
  ~RegisterStack();
  RegisterStack(const RegisterStack&) = delete;
  RegisterStack& operator=(const RegisterStack&) = delete;

  // Where the stack stands, to go back to when a frame is given back.
  struct Mark {
    std::size_t chunk = 0;
    Variant* top = nullptr;
    Variant* end = nullptr;
  };
  Mark Top() const noexcept { return {chunk_, top_, end_}; }

  // `count` Empty registers above the top. A new chunk counts against the memory budget
  // (RuntimeError 7 beyond it).
  Variant* Push(std::size_t count) {
    if (static_cast<std::size_t>(end_ - top_) < count) NextChunk(count);
    Variant* registers = top_;
    top_ += count;
    return registers;
  }

  // Releases the topmost frame `registers .. registers + count` (a release may run a
  // Class_Terminate, whose calls lie above it meanwhile) and goes back to `mark`.
  void Pop(Variant* registers, std::size_t count, const Mark& mark) noexcept {
    // Last register first: a string, object or array is released, the rest (numbers and
    // Empty, whose bits are the whole value) just become Empty.
    for (std::size_t i = count; i-- > 0;) {
      if (IsReference(registers[i])) {
        registers[i].Clear();
      } else {
        Overwrite(registers[i], Variant());
      }
    }
    if (mark.chunk == chunk_ && mark.end == end_) {
      top_ = mark.top;
      return;
    }
    GoBack(mark);
  }

 private:
  void NextChunk(std::size_t count);
  void GoBack(const Mark& mark) noexcept;
  void DropChunksFrom(std::size_t first) noexcept;

  struct Chunk {
    std::unique_ptr<Variant[]> registers;
    std::size_t size = 0;
  };
  std::vector<Chunk> chunks_;
  std::size_t chunk_ = 0;   // the chunk the top is in
  Variant* top_ = nullptr;  // null before the first chunk
  Variant* end_ = nullptr;
};

}  // namespace sl::vbs
