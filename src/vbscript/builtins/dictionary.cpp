// Scripting.Dictionary. Members: Item (the default; reading a missing key adds it with an Empty
// item), Add, Exists, Items, Keys, Remove, RemoveAll, Count, CompareMode, Key. For Each gives the
// keys. The keys and items are kept by a DictionaryTable.
#include "vbscript/builtins/dictionary.h"

#include <vector>

#include "core/runtime_error.h"
#include "vbscript/builtins/arguments.h"
#include "vbscript/builtins/collection.h"
#include "vbscript/builtins/dictionary_table.h"

namespace sl::vbs {

namespace {

constexpr int kElementNotFound = 32811;

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

class Dictionary final : public Object {
 public:
  std::string TypeName() const override { return "Dictionary"; }
  DispId GetIdOfName(std::string_view name) override { return FindMember(kMemberNames, name); }
  const void* MemberTable() const override { return kMemberNames; }
  Variant Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) override;
  Ref<Enumerator> NewEnum() override { return MakeListEnumerator(Keys()); }
  void GiveUpValues(std::vector<Variant>& out) override { table_.GiveUpValues(out); }
  ~Dictionary() override;

 private:
  void Add(const Variant& key, const Variant& item);
  void Remove(const Variant& key);
  void Rename(const Variant& oldKey, const Variant& newKey);
  void SetCompareMode(const Variant& mode);
  Variant ItemMember(std::uint8_t flags, std::span<Variant> args);
  std::vector<Variant> Keys() const;
  std::vector<Variant> Items() const;

  DictionaryTable table_;
  std::int32_t compareMode_ = 0;
};

void Dictionary::Add(const Variant& key, const Variant& item) {
  DictionaryTable::Slot slot = table_.FindOrAdd(key);
  if (!slot.added) throw RuntimeError(kErrDuplicateKey);
  slot.item = item;
}

void Dictionary::Remove(const Variant& key) {
  if (!table_.Remove(key)) throw RuntimeError(kElementNotFound, "Element not found");
}

// Key(old) = new: the entry keeps its place and item under the new key.
void Dictionary::Rename(const Variant& oldKey, const Variant& newKey) {
  switch (table_.Rename(oldKey, newKey)) {
    case DictionaryTable::RenameResult::kMissing:
      throw RuntimeError(kElementNotFound, "Element not found");
    case DictionaryTable::RenameResult::kTaken:
      throw RuntimeError(kErrDuplicateKey);
    case DictionaryTable::RenameResult::kRenamed:
      break;
  }
}

// The mode may change only while the dictionary is empty: 0 binary, 1 text, and 2 or more
// (database and locale modes) compare as text.
void Dictionary::SetCompareMode(const Variant& mode) {
  std::int32_t m = ToLong(mode);
  if (m < 0 || table_.Count() != 0) InvalidArgument();
  compareMode_ = m;
  table_.SetCompareMode(m == 0 ? CompareMode::kBinary : CompareMode::kText);
}

std::vector<Variant> Dictionary::Keys() const {
  std::vector<Variant> out;
  out.reserve(table_.Count());
  table_.ForEach([&](const Variant& key, const Variant&) { out.push_back(key); });
  return out;
}

std::vector<Variant> Dictionary::Items() const {
  std::vector<Variant> out;
  out.reserve(table_.Count());
  table_.ForEach([&](const Variant&, const Variant& item) { out.push_back(item); });
  return out;
}

Variant Dictionary::ItemMember(std::uint8_t flags, std::span<Variant> args) {
  if (flags & (kInvokeLet | kInvokeSet)) {
    CheckArgCount(args, 2, 2);
    table_.FindOrAdd(args[0]).item = args[1];
    return Variant();
  }
  CheckArgCount(args, 1, 1);
  return table_.FindOrAdd(args[0]).item;
}

// Dictionaries nested in dictionaries (or in arrays) to any depth go one after another.
Dictionary::~Dictionary() {
  std::vector<Variant> values;
  table_.GiveUpValues(values);
  ReleaseNested(values);
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
      Add(args[0], args[1]);
      return Variant();
    case kExists:
      CheckArgCount(args, 1, 1);
      return Variant(table_.Find(args[0]) != nullptr);
    case kItems:
      CheckArgCount(args, 0, 0);
      return MakeArray(Items());
    case kKeys:
      CheckArgCount(args, 0, 0);
      return MakeArray(Keys());
    case kRemove:
      CheckArgCount(args, 1, 1);
      Remove(args[0]);
      return Variant();
    case kRemoveAll:
      CheckArgCount(args, 0, 0);
      table_.Clear();
      return Variant();
    case kCount:
      CheckArgCount(args, 0, 0);
      return Variant(static_cast<std::int32_t>(table_.Count()));
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
