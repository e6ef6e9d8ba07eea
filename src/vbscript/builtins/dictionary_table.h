// The storage of a Scripting.Dictionary: entries (key, item) in the order they were added, found
// by key through an open-addressing index. Keys compare by value: every number by its Double
// value (1, 1.0 and True's -1 against -1), strings by their code units or, in text mode,
// without regard to letter case, objects by identity, Empty and Null each equal only to
// themselves.
//
// Layout: entries live in chunks that double in size (8, 16, 32, ... entries) and are never
// moved, so growing never holds two copies of the entries; each entry caches its key's hash.
// The index is an array of 32-bit entry positions (0 is an empty slot), at most half full,
// probed linearly; a removal shifts the chain after it back, so the index has no tombstones.
// Removed entries leave holes in the order, squeezed out in place once they are half of it.
// Chunks and index count against the script's memory budget.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/variant.h"
#include "vbscript/builtins/arguments.h"

namespace sl::vbs {

class DictionaryTable {
 public:
  DictionaryTable() = default;
  ~DictionaryTable();
  DictionaryTable(const DictionaryTable&) = delete;
  DictionaryTable& operator=(const DictionaryTable&) = delete;

  // How string keys compare. Changing it requires an empty table (Count() == 0).
  void SetCompareMode(CompareMode mode);
  CompareMode GetCompareMode() const noexcept { return mode_; }

  std::size_t Count() const noexcept { return live_; }

  // The item stored under `key`, or nullptr. Error 13 for keys that are arrays or errors.
  Variant* Find(const Variant& key);

  struct Slot {
    Variant& item;
    bool added;
  };
  // The item of `key`, adding the key at the end with an Empty item when it is missing. Error 13
  // for keys that are arrays or errors, error 7 when the memory budget is spent; on either error
  // the table is unchanged.
  Slot FindOrAdd(const Variant& key);

  // Removes `key` and its item; false when the key is missing.
  bool Remove(const Variant& key);

  enum class RenameResult { kRenamed, kMissing, kTaken };
  // Gives the entry of `oldKey` the key `newKey`, keeping its place and item. kMissing when
  // `oldKey` is absent, kTaken when `newKey` is present (even as `oldKey` itself); error 13 for
  // a `newKey` that is an array or error. Only kRenamed changes the table.
  RenameResult Rename(const Variant& oldKey, const Variant& newKey);

  // Removes everything and gives the memory back.
  void Clear() noexcept;

  // Calls visit(key, item) for each entry, first added first.
  template <class Visit>
  void ForEach(Visit&& visit) const {
    for (std::uint32_t p = 0; p < used_; ++p) {
      const Entry& e = At(p);
      if (e.alive) visit(e.key, e.item);
    }
  }

  // Moves every key and item (key, item, key, item...) to `out` and empties the table.
  void GiveUpValues(std::vector<Variant>& out);

 private:
  struct Entry {
    Variant key;
    Variant item;
    std::uint32_t hash;
    bool alive;
  };
  // A key reduced to what decides equality, with its hash.
  struct Probe;

  static constexpr std::uint32_t kFirstChunkShift = 3;  // the first chunk holds 8 entries
  static constexpr std::uint32_t kFirstChunkEntries = 1u << kFirstChunkShift;
  static constexpr std::uint32_t kEmptySlot = 0;

  static std::size_t ChunkEntries(std::size_t chunk) noexcept {
    return kFirstChunkEntries << chunk;
  }
  Entry& At(std::uint32_t position) const noexcept;

  Probe MakeProbe(const Variant& key) const;
  bool Matches(const Entry& entry, const Probe& probe) const noexcept;
  std::uint32_t Home(std::uint32_t hash) const noexcept { return hash & mask_; }
  // The slot holding the entry of `probe`, or else the empty slot where its search ended.
  std::uint32_t Search(const Probe& probe) const noexcept;
  void EraseSlot(std::uint32_t slot) noexcept;
  void PlaceInIndex(std::uint32_t position, std::uint32_t hash) noexcept;

  void ReserveForOneMore();
  void RebuildIndex(std::size_t slotCount);
  void FillIndex() noexcept;
  void FreeIndex() noexcept;
  void FreeChunksFrom(std::size_t firstFreed) noexcept;
  void Compact() noexcept;

  std::vector<Entry*> chunks_;
  std::uint32_t* slots_ = nullptr;
  std::uint32_t mask_ = 0;  // slot count - 1 while an index exists
  std::uint32_t used_ = 0;  // entry positions taken, removed ones included
  std::uint32_t live_ = 0;  // entries not removed
  CompareMode mode_ = CompareMode::kBinary;
};

}  // namespace sl::vbs
