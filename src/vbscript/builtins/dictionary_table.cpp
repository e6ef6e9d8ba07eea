#include "vbscript/builtins/dictionary_table.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>
#include <utility>

#include "core/memory_budget.h"
#include "core/runtime_error.h"
#include "core/variant_convert.h"
#include "vbscript/builtins/text.h"

namespace sl::vbs {

namespace {

// Entry positions are stored plus one in 32-bit slots and chunk sizes double, so positions stay
// below 2^31 (a count no memory budget lets a script reach).
constexpr std::uint32_t kMaxEntries = (std::uint32_t{1} << 31) - 1;
constexpr std::size_t kMinSlots = 8;
constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15;  // 2^64 divided by the golden ratio
constexpr std::uint64_t kEmptyKeyHash = 1;
constexpr std::uint64_t kNullKeyHash = 2;

// Spreads every bit of `x` over the 32 bits returned.
std::uint32_t Finish(std::uint64_t x) noexcept {
  x ^= x >> 32;
  x *= kMultiplier;
  x ^= x >> 29;
  x *= kMultiplier;
  return static_cast<std::uint32_t>(x >> 32);
}

// Code units as they are compared: unchanged, or lower-cased in text mode.
struct BinaryUnits {
  static char16_t Unit(char16_t c) noexcept { return c; }
  static std::uint64_t Word(const char16_t* p) noexcept {
    std::uint64_t w;
    std::memcpy(&w, p, sizeof(w));
    return w;
  }
};
struct TextUnits {
  static char16_t Unit(char16_t c) noexcept { return LowerChar(c); }
  static std::uint64_t Word(const char16_t* p) noexcept {
    std::uint64_t w = 0;
    for (int k = 0; k < 4; ++k)
      w |= std::uint64_t{LowerChar(p[k])} << (16 * k);
    return w;
  }
};

// The text taken four code units at a time.
template <class Units>
std::uint32_t HashUnits(std::u16string_view text) noexcept {
  std::uint64_t h = text.size() * kMultiplier;
  std::size_t i = 0;
  for (; i + 4 <= text.size(); i += 4)
    h = std::rotl((h ^ Units::Word(text.data() + i)) * kMultiplier, 29);
  std::uint64_t tail = 0;
  for (int shift = 0; i < text.size(); ++i, shift += 16)
    tail |= std::uint64_t{Units::Unit(text[i])} << shift;
  return Finish((h ^ tail) * kMultiplier);
}

std::uint32_t HashText(std::u16string_view text, CompareMode mode) noexcept {
  return mode == CompareMode::kText ? HashUnits<TextUnits>(text) : HashUnits<BinaryUnits>(text);
}

bool SameText(std::u16string_view a, std::u16string_view b, CompareMode mode) noexcept {
  if (a.size() != b.size()) return false;
  if (a.empty()) return true;  // the empty text may have no storage to compare
  if (mode == CompareMode::kBinary)
    return std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && LowerChar(a[i]) != LowerChar(b[i])) return false;
  }
  return true;
}

// Memory counted against the budget before it is allocated; error 7 when either fails.
void* AllocateCounted(std::size_t bytes) {
  MemoryBudget::Take(bytes);
  void* memory = std::malloc(bytes);
  if (!memory) {
    MemoryBudget::Give(bytes);
    throw RuntimeError(kErrOutOfMemory);
  }
  return memory;
}

void FreeCounted(void* memory, std::size_t bytes) noexcept {
  std::free(memory);
  MemoryBudget::Give(bytes);
}

}  // namespace

struct DictionaryTable::Probe {
  enum class Kind : std::uint8_t { kEmpty, kNull, kNumber, kText, kObject };
  Kind kind = Kind::kEmpty;
  std::uint32_t hash = 0;
  double number = 0;
  std::u16string_view text;
  const Object* object = nullptr;
};

DictionaryTable::~DictionaryTable() {
  Clear();
}

void DictionaryTable::SetCompareMode(CompareMode mode) {
  Clear();  // only removed entries can be left
  mode_ = mode;
}

DictionaryTable::Entry& DictionaryTable::At(std::uint32_t position) const noexcept {
  std::uint32_t biased = position + kFirstChunkEntries;
  std::size_t chunk = static_cast<std::size_t>(std::bit_width(biased)) - 1 - kFirstChunkShift;
  return chunks_[chunk][biased - (kFirstChunkEntries << chunk)];
}

DictionaryTable::Probe DictionaryTable::MakeProbe(const Variant& key) const {
  Probe p;
  switch (key.Type()) {
    case VarType::Empty:
      p.hash = Finish(kEmptyKeyHash);
      break;
    case VarType::Null:
      p.kind = Probe::Kind::kNull;
      p.hash = Finish(kNullKeyHash);
      break;
    case VarType::String:
      p.kind = Probe::Kind::kText;
      p.text = key.AsString().View();
      p.hash = HashText(p.text, mode_);
      break;
    case VarType::Object:
      p.kind = Probe::Kind::kObject;
      p.object = key.AsObject();
      p.hash = Finish(reinterpret_cast<std::uintptr_t>(p.object));
      break;
    case VarType::Array:
    case VarType::Error:
      throw RuntimeError(kErrTypeMismatch);
    default:
      p.kind = Probe::Kind::kNumber;
      p.number = ToDouble(key);
      if (p.number == 0) p.number = 0;  // -0 and 0 are one key
      p.hash = Finish(std::bit_cast<std::uint64_t>(p.number));
      break;
  }
  return p;
}

bool DictionaryTable::Matches(const Entry& entry, const Probe& probe) const noexcept {
  const Variant& key = entry.key;
  switch (probe.kind) {
    case Probe::Kind::kEmpty:
      return key.IsEmpty();
    case Probe::Kind::kNull:
      return key.IsNull();
    case Probe::Kind::kNumber:
      return key.IsNumber() && ToDouble(key) == probe.number;
    case Probe::Kind::kText:
      return key.IsString() && SameText(key.AsString().View(), probe.text, mode_);
    case Probe::Kind::kObject:
      return key.IsObject() && key.AsObject() == probe.object;
  }
  return false;
}

std::uint32_t DictionaryTable::Search(const Probe& probe) const noexcept {
  for (std::uint32_t s = Home(probe.hash);; s = (s + 1) & mask_) {
    std::uint32_t held = slots_[s];
    if (held == kEmptySlot) return s;
    const Entry& e = At(held - 1);
    if (e.hash == probe.hash && Matches(e, probe)) return s;
  }
}

void DictionaryTable::PlaceInIndex(std::uint32_t position, std::uint32_t hash) noexcept {
  std::uint32_t s = Home(hash);
  while (slots_[s] != kEmptySlot)
    s = (s + 1) & mask_;
  slots_[s] = position + 1;
}

// Empties `slot` and moves back each later slot of the chain that its search would otherwise
// no longer reach: one whose home is not cyclically within (slot, later].
void DictionaryTable::EraseSlot(std::uint32_t slot) noexcept {
  std::uint32_t hole = slot;
  for (std::uint32_t s = (hole + 1) & mask_; slots_[s] != kEmptySlot; s = (s + 1) & mask_) {
    std::uint32_t home = Home(At(slots_[s] - 1).hash);
    bool reachable = hole <= s ? (hole < home && home <= s) : (hole < home || home <= s);
    if (reachable) continue;
    slots_[hole] = slots_[s];
    hole = s;
  }
  slots_[hole] = kEmptySlot;
}

Variant* DictionaryTable::Find(const Variant& key) {
  Probe probe = MakeProbe(key);
  if (!slots_) return nullptr;
  std::uint32_t held = slots_[Search(probe)];
  return held == kEmptySlot ? nullptr : &At(held - 1).item;
}

DictionaryTable::Slot DictionaryTable::FindOrAdd(const Variant& key) {
  Probe probe = MakeProbe(key);
  if (slots_) {
    std::uint32_t held = slots_[Search(probe)];
    if (held != kEmptySlot) return {At(held - 1).item, false};
  }
  ReserveForOneMore();
  std::uint32_t position = used_;
  Entry* e = new (&At(position)) Entry{key, Variant(), probe.hash, true};
  ++used_;
  ++live_;
  PlaceInIndex(position, probe.hash);
  return {e->item, true};
}

// Room for one more entry in the chunks and the index; on error 7 nothing has changed but
// perhaps the index's size.
void DictionaryTable::ReserveForOneMore() {
  if (used_ >= kMaxEntries) throw RuntimeError(kErrOutOfMemory);
  std::size_t slotCount = slots_ ? std::size_t{mask_} + 1 : 0;
  if ((std::size_t{live_} + 1) * 2 > slotCount) RebuildIndex(std::max(kMinSlots, slotCount * 2));
  std::size_t capacity = (std::size_t{kFirstChunkEntries} << chunks_.size()) - kFirstChunkEntries;
  if (used_ == capacity) {
    std::size_t bytes = ChunkEntries(chunks_.size()) * sizeof(Entry);
    chunks_.reserve(chunks_.size() + 1);
    chunks_.push_back(static_cast<Entry*>(AllocateCounted(bytes)));
  }
}

// A fresh index of `slotCount` slots holding every entry not removed. The old index is freed
// once the new one is allocated, so an error leaves the table as it was.
void DictionaryTable::RebuildIndex(std::size_t slotCount) {
  if (slotCount > (std::size_t{1} << 32)) throw RuntimeError(kErrOutOfMemory);
  std::size_t bytes = slotCount * sizeof(std::uint32_t);
  auto* fresh = static_cast<std::uint32_t*>(AllocateCounted(bytes));
  FreeIndex();
  slots_ = fresh;
  mask_ = static_cast<std::uint32_t>(slotCount - 1);
  FillIndex();
}

void DictionaryTable::FillIndex() noexcept {
  std::memset(slots_, 0, (std::size_t{mask_} + 1) * sizeof(std::uint32_t));
  for (std::uint32_t p = 0; p < used_; ++p) {
    const Entry& e = At(p);
    if (e.alive) PlaceInIndex(p, e.hash);
  }
}

void DictionaryTable::FreeIndex() noexcept {
  if (!slots_) return;
  std::size_t bytes = (std::size_t{mask_} + 1) * sizeof(std::uint32_t);
  FreeCounted(slots_, bytes);
  slots_ = nullptr;
  mask_ = 0;
}

bool DictionaryTable::Remove(const Variant& key) {
  Probe probe = MakeProbe(key);
  if (!slots_) return false;
  std::uint32_t slot = Search(probe);
  if (slots_[slot] == kEmptySlot) return false;
  Entry& e = At(slots_[slot] - 1);
  EraseSlot(slot);
  // Released on return, once the table is whole again: releasing an object can run script
  // code that uses this dictionary.
  Variant removedKey = std::move(e.key);
  Variant removedItem = std::move(e.item);
  e.alive = false;
  --live_;
  std::uint32_t holes = used_ - live_;
  if (live_ == 0) {
    Clear();
  } else if (holes > 16 && holes * 2 > used_) {
    Compact();
  }
  return true;
}

// Moves the entries not removed to the front, keeping their order, frees the chunks no longer
// needed and fills the index again. The index keeps its size.
void DictionaryTable::Compact() noexcept {
  std::uint32_t kept = 0;
  for (std::uint32_t p = 0; p < used_; ++p) {
    Entry& e = At(p);
    if (!e.alive) continue;
    if (kept != p) {
      Entry& to = At(kept);
      to.key = std::move(e.key);
      to.item = std::move(e.item);
      to.hash = e.hash;
      to.alive = true;
      e.alive = false;
    }
    ++kept;
  }
  for (std::uint32_t p = kept; p < used_; ++p)
    At(p).~Entry();
  used_ = kept;
  std::size_t chunksNeeded = 0;
  while ((std::size_t{kFirstChunkEntries} << chunksNeeded) - kFirstChunkEntries < kept)
    ++chunksNeeded;
  FreeChunksFrom(chunksNeeded);
  FillIndex();
}

void DictionaryTable::FreeChunksFrom(std::size_t firstFreed) noexcept {
  for (std::size_t c = firstFreed; c < chunks_.size(); ++c) {
    std::size_t bytes = ChunkEntries(c) * sizeof(Entry);
    FreeCounted(chunks_[c], bytes);
  }
  chunks_.resize(std::min(firstFreed, chunks_.size()));
}

DictionaryTable::RenameResult DictionaryTable::Rename(const Variant& oldKey,
                                                      const Variant& newKey) {
  Probe oldProbe = MakeProbe(oldKey);
  if (!slots_) return RenameResult::kMissing;
  std::uint32_t oldSlot = Search(oldProbe);
  if (slots_[oldSlot] == kEmptySlot) return RenameResult::kMissing;
  Probe newProbe = MakeProbe(newKey);
  if (slots_[Search(newProbe)] != kEmptySlot) return RenameResult::kTaken;
  std::uint32_t position = slots_[oldSlot] - 1;
  EraseSlot(oldSlot);
  Entry& e = At(position);
  Variant replaced = std::move(e.key);  // released on return, as in Remove
  e.key = newKey;
  e.hash = newProbe.hash;
  PlaceInIndex(position, newProbe.hash);
  return RenameResult::kRenamed;
}

// The storage is detached before any value is released, so script code run by a released
// object finds an empty table.
void DictionaryTable::Clear() noexcept {
  std::vector<Entry*> chunks = std::move(chunks_);
  chunks_ = {};
  std::uint32_t used = used_;
  used_ = 0;
  live_ = 0;
  FreeIndex();
  for (std::size_t c = 0, first = 0; c < chunks.size(); first += ChunkEntries(c), ++c) {
    for (std::size_t i = 0; i < ChunkEntries(c) && first + i < used; ++i)
      chunks[c][i].~Entry();
    std::size_t bytes = ChunkEntries(c) * sizeof(Entry);
    FreeCounted(chunks[c], bytes);
  }
}

void DictionaryTable::GiveUpValues(std::vector<Variant>& out) {
  out.reserve(out.size() + 2 * std::size_t{live_});
  for (std::uint32_t p = 0; p < used_; ++p) {
    Entry& e = At(p);
    if (!e.alive) continue;
    out.push_back(std::move(e.key));
    out.push_back(std::move(e.item));
  }
  Clear();
}

}  // namespace sl::vbs
