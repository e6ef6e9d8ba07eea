// Scripting.Dictionary. Members: Item (the default; reading a missing key adds it with an Empty
// item), Add, Exists, Items, Keys, Remove, RemoveAll, Count, CompareMode, Key. For Each gives the
// keys. Removed entries leave holes that are squeezed out once they are half the table.
#include "vbscript/builtins/dictionary.h"

#include <cstring>
#include <functional>
#include <unordered_map>
#include <vector>

#include "core/memory_budget.h"
#include "core/runtime_error.h"
#include "vbscript/builtins/arguments.h"
#include "vbscript/builtins/collection.h"
#include "vbscript/builtins/text.h"

namespace sl::vbs {

namespace {

constexpr int kElementNotFound = 32811;
// What one entry takes besides its key and item values (the entry and its index node), as
// counted against the script's memory budget.
constexpr std::size_t kEntryBytes = 96;

enum Member : DispId {
  kItem,
  kAdd,
  kExists,
  kItems,
  kKeys,
  kRemove,
  kRemoveAll,
  kCount,
  kCompareMode,
  kKey
};
constexpr std::string_view kMemberNames[] = {"Item",   "Add",       "Exists", "Items",       "Keys",
                                             "Remove", "RemoveAll", "Count",  "CompareMode", "Key"};

// A key reduced to what makes two keys equal.
struct KeyValue {
  enum class Kind : std::uint8_t { kEmpty, kNull, kNumber, kText, kObject } kind = Kind::kEmpty;
  double number = 0;
  SharedString text;
  const Object* object = nullptr;

  friend bool operator==(const KeyValue& a, const KeyValue& b) {
    if (a.kind != b.kind) return false;
    switch (a.kind) {
      case Kind::kNumber:
        return a.number == b.number;
      case Kind::kText:
        return a.text.View() == b.text.View();
      case Kind::kObject:
        return a.object == b.object;
      default:
        return true;
    }
  }
};

struct KeyHash {
  std::size_t operator()(const KeyValue& k) const noexcept {
    switch (k.kind) {
      case KeyValue::Kind::kNumber:
        return std::hash<double>()(k.number == 0 ? 0.0 : k.number);
      case KeyValue::Kind::kText:
        return std::hash<std::u16string_view>()(k.text.View());
      case KeyValue::Kind::kObject:
        return std::hash<const void*>()(k.object);
      default:
        return static_cast<std::size_t>(k.kind);
    }
  }
};

class Dictionary final : public Object {
 public:
  std::string TypeName() const override { return "Dictionary"; }
  DispId GetIdOfName(std::string_view name) override { return FindMember(kMemberNames, name); }
  Variant Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) override;
  Ref<Enumerator> NewEnum() override { return MakeListEnumerator(Column(&Entry::key)); }
  void GiveUpValues(std::vector<Variant>& out) override;
  ~Dictionary() override;

 private:
  struct Entry {
    Variant key;
    Variant item;
    bool alive = true;
  };

  KeyValue Reduce(const Variant& key) const;
  Entry* Find(const Variant& key);
  Entry& Insert(const Variant& key, Variant item);
  void Remove(const Variant& key);
  void Rename(const Variant& oldKey, const Variant& newKey);
  void SetCompareMode(const Variant& mode);
  Variant ItemMember(std::uint8_t flags, std::span<Variant> args);
  std::vector<Variant> Column(Variant Entry::*field) const;
  void Compact();
  void Clear();

  std::vector<Entry> entries_;
  std::unordered_map<KeyValue, std::size_t, KeyHash> index_;
  std::size_t removed_ = 0;
  std::size_t counted_ = 0;  // entries counted against the memory budget
  bool textMode_ = false;
  std::int32_t compareMode_ = 0;
};

KeyValue Dictionary::Reduce(const Variant& key) const {
  KeyValue k;
  switch (key.Type()) {
    case VarType::Empty:
      break;
    case VarType::Null:
      k.kind = KeyValue::Kind::kNull;
      break;
    case VarType::String:
      k.kind = KeyValue::Kind::kText;
      k.text = textMode_ ? SharedString(LowerText(key.AsString().View())) : key.AsString();
      break;
    case VarType::Object:
      k.kind = KeyValue::Kind::kObject;
      k.object = key.AsObject();
      break;
    case VarType::Array:
    case VarType::Error:
      throw RuntimeError(kErrTypeMismatch);
    default:
      k.kind = KeyValue::Kind::kNumber;
      k.number = ToDouble(key);
      break;
  }
  return k;
}

Dictionary::Entry* Dictionary::Find(const Variant& key) {
  auto it = index_.find(Reduce(key));
  return it == index_.end() ? nullptr : &entries_[it->second];
}

Dictionary::Entry& Dictionary::Insert(const Variant& key, Variant item) {
  MemoryBudget::Take(kEntryBytes);
  ++counted_;
  index_.emplace(Reduce(key), entries_.size());
  entries_.push_back(Entry{key, std::move(item)});
  return entries_.back();
}

void Dictionary::Remove(const Variant& key) {
  auto it = index_.find(Reduce(key));
  if (it == index_.end()) throw RuntimeError(kElementNotFound, "Element not found");
  Entry& entry = entries_[it->second];
  entry = Entry{Variant(), Variant(), false};
  index_.erase(it);
  MemoryBudget::Give(kEntryBytes);
  --counted_;
  if (++removed_ > 16 && removed_ * 2 > entries_.size()) Compact();
}

void Dictionary::Compact() {
  std::vector<Entry> kept;
  kept.reserve(index_.size());
  for (Entry& e : entries_) {
    if (e.alive) kept.push_back(std::move(e));
  }
  entries_ = std::move(kept);
  index_.clear();
  for (std::size_t i = 0; i < entries_.size(); ++i)
    index_.emplace(Reduce(entries_[i].key), i);
  removed_ = 0;
}

// Key(old) = new: the entry keeps its place and item under the new key.
void Dictionary::Rename(const Variant& oldKey, const Variant& newKey) {
  auto it = index_.find(Reduce(oldKey));
  if (it == index_.end()) throw RuntimeError(kElementNotFound, "Element not found");
  KeyValue reduced = Reduce(newKey);
  if (index_.count(reduced)) throw RuntimeError(kErrDuplicateKey);
  std::size_t position = it->second;
  index_.erase(it);
  index_.emplace(std::move(reduced), position);
  entries_[position].key = newKey;
}

// The mode may change only while the dictionary is empty: 0 binary, 1 text, and 2 or more
// (database and locale modes) compare as text.
void Dictionary::SetCompareMode(const Variant& mode) {
  std::int32_t m = ToLong(mode);
  if (m < 0 || !index_.empty()) InvalidArgument();
  compareMode_ = m;
  textMode_ = m != 0;
  entries_.clear();
  removed_ = 0;
}

std::vector<Variant> Dictionary::Column(Variant Entry::*field) const {
  std::vector<Variant> out;
  out.reserve(index_.size());
  for (const Entry& e : entries_) {
    if (e.alive) out.push_back(e.*field);
  }
  return out;
}

Variant Dictionary::ItemMember(std::uint8_t flags, std::span<Variant> args) {
  if (flags & (kInvokeLet | kInvokeSet)) {
    CheckArgCount(args, 2, 2);
    if (Entry* e = Find(args[0])) {
      e->item = args[1];
    } else {
      Insert(args[0], args[1]);
    }
    return Variant();
  }
  CheckArgCount(args, 1, 1);
  if (Entry* e = Find(args[0])) return e->item;
  Insert(args[0], Variant());
  return Variant();
}

// Dictionaries nested in dictionaries (or in arrays) to any depth go one after another.
Dictionary::~Dictionary() {
  std::vector<Variant> values;
  GiveUpValues(values);
  ReleaseNested(values);
}

void Dictionary::GiveUpValues(std::vector<Variant>& out) {
  for (Entry& e : entries_) {
    out.push_back(std::move(e.key));
    out.push_back(std::move(e.item));
  }
  Clear();
}

void Dictionary::Clear() {
  entries_.clear();
  index_.clear();
  removed_ = 0;
  MemoryBudget::Give(counted_ * kEntryBytes);
  counted_ = 0;
}

Variant Dictionary::Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) {
  bool assigning = flags & (kInvokeLet | kInvokeSet);
  if (assigning && id != kItem && id != kCompareMode && id != kKey)
    throw RuntimeError(kErrNoSuchMember);
  switch (id) {
    case kItem:
      return ItemMember(flags, args);
    case kAdd:
      CheckArgCount(args, 2, 2);
      if (Find(args[0])) throw RuntimeError(kErrDuplicateKey);
      Insert(args[0], args[1]);
      return Variant();
    case kExists:
      CheckArgCount(args, 1, 1);
      return Variant(Find(args[0]) != nullptr);
    case kItems:
      CheckArgCount(args, 0, 0);
      return MakeArray(Column(&Entry::item));
    case kKeys:
      CheckArgCount(args, 0, 0);
      return MakeArray(Column(&Entry::key));
    case kRemove:
      CheckArgCount(args, 1, 1);
      Remove(args[0]);
      return Variant();
    case kRemoveAll:
      CheckArgCount(args, 0, 0);
      Clear();
      return Variant();
    case kCount:
      CheckArgCount(args, 0, 0);
      return Variant(static_cast<std::int32_t>(index_.size()));
    case kCompareMode:
      if (!assigning) return Variant(compareMode_);
      CheckArgCount(args, 1, 1);
      SetCompareMode(args[0]);
      return Variant();
    case kKey:
      if (!assigning) throw RuntimeError(kErrNoSuchMember);
      CheckArgCount(args, 2, 2);
      Rename(args[0], args[1]);
      return Variant();
    default:
      throw RuntimeError(kErrNoSuchMember);
  }
}

}  // namespace

Ref<Object> MakeDictionary() {
  return MakeRef<Dictionary>();
}

}  // namespace sl::vbs
