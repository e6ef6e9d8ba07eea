// The Dictionary's table against a plain list searched from the front, through long random runs
// of adds, removals and renames (which exercise index growth, wrapped probe chains, removal from
// the middle of a chain and the squeezing out of removed entries), and its memory accounting.
#include "vbscript/builtins/dictionary_table.h"

#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/memory_budget.h"
#include "vbscript/builtins/builtin_test_support.h"
#include "vbscript/builtins/dictionary.h"
#include "vbscript/builtins/text.h"

namespace sl::vbs::test {
namespace {

// The reference: entries in a list, a key found by comparing it with each in turn.
class ListModel {
 public:
  explicit ListModel(CompareMode mode) : mode_(mode) {}

  std::optional<std::size_t> Position(const Variant& key) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      if (Same(entries_[i].first, key)) return i;
    }
    return std::nullopt;
  }
  bool Add(const Variant& key, const Variant& item) {
    if (Position(key)) return false;
    entries_.emplace_back(key, item);
    return true;
  }
  bool Remove(const Variant& key) {
    std::optional<std::size_t> at = Position(key);
    if (!at) return false;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(*at));
    return true;
  }
  DictionaryTable::RenameResult Rename(const Variant& oldKey, const Variant& newKey) {
    std::optional<std::size_t> at = Position(oldKey);
    if (!at) return DictionaryTable::RenameResult::kMissing;
    if (Position(newKey)) return DictionaryTable::RenameResult::kTaken;
    entries_[*at].first = newKey;
    return DictionaryTable::RenameResult::kRenamed;
  }
  void Clear() { entries_.clear(); }
  std::vector<std::pair<Variant, Variant>>& Entries() { return entries_; }

 private:
  bool Same(const Variant& a, const Variant& b) const {
    if (a.IsString() || b.IsString()) {
      return a.IsString() && b.IsString() &&
             CompareText(a.AsString().View(), b.AsString().View(), mode_) == 0;
    }
    if (a.IsNumber() || b.IsNumber()) {
      return a.IsNumber() && b.IsNumber() && ToDouble(a) == ToDouble(b);
    }
    if (a.IsObject() || b.IsObject()) {
      return a.IsObject() && b.IsObject() && a.AsObject() == b.AsObject();
    }
    return a.Type() == b.Type();
  }

  CompareMode mode_;
  std::vector<std::pair<Variant, Variant>> entries_;
};

// "Long 3", "String kEy7", "Object" with the object's place in the pool.
std::string Describe(const Variant& v, const std::vector<Ref<Object>>& objects) {
  if (v.IsObject()) {
    for (std::size_t i = 0; i < objects.size(); ++i) {
      if (objects[i].get() == v.AsObject()) return "Object " + std::to_string(i);
    }
    return "Object ?";
  }
  return Shown(v);
}

// Random keys from `keySpace` values: number n as Integer or Double (one key), text "key" + n
// with random letter case (one key in text mode only), Empty, Null and a few objects.
class KeyMaker {
 public:
  KeyMaker(unsigned seed, int keySpace) : random_(seed), keySpace_(keySpace) {
    for (int i = 0; i < 4; ++i)
      objects.push_back(MakeDictionary());
  }
  Variant Next() {
    int n = Below(keySpace_);
    switch (Below(20)) {
      case 0:
        return Variant();
      case 1:
        return Variant::Null();
      case 2:
        return Variant(objects[static_cast<std::size_t>(n % 4)]);
      case 3:
      case 4:
      case 5:
        return Variant(static_cast<double>(n));
      case 6:
      case 7:
      case 8:
      case 9:
        return I(n);
      default: {
        std::string text = "key" + std::to_string(n);
        for (char& c : text) {
          if (c >= 'a' && c <= 'z' && Below(2) == 0) c = static_cast<char>(c - 32);
        }
        return Variant(text);
      }
    }
  }
  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  std::vector<Ref<Object>> objects;

 private:
  std::mt19937 random_;
  int keySpace_;
};

struct RunShape {
  CompareMode mode;
  int keySpace;
  int steps;
  unsigned seed;
};

void RunAgainstModel(const RunShape& shape) {
  SCOPED_TRACE("key space " + std::to_string(shape.keySpace) + ", seed " +
               std::to_string(shape.seed));
  DictionaryTable table;
  table.SetCompareMode(shape.mode);
  ListModel model(shape.mode);
  KeyMaker keys(shape.seed, shape.keySpace);
  std::int32_t nextItem = 0;
  for (int step = 0; step < shape.steps; ++step) {
    Variant key = keys.Next();
    std::string what = "step " + std::to_string(step) + " key " + Describe(key, keys.objects);
    int choice = keys.Below(100);
    if (choice < 40) {
      Variant item(nextItem++);
      DictionaryTable::Slot slot = table.FindOrAdd(key);
      ASSERT_EQ(slot.added, model.Add(key, item)) << what;
      if (slot.added) slot.item = item;
    } else if (choice < 70) {
      ASSERT_EQ(table.Remove(key), model.Remove(key)) << what;
    } else if (choice < 80) {
      Variant newKey = keys.Next();
      ASSERT_EQ(table.Rename(key, newKey), model.Rename(key, newKey))
          << what << " to " << Describe(newKey, keys.objects);
    } else if (choice < 99) {
      Variant* found = table.Find(key);
      std::optional<std::size_t> at = model.Position(key);
      ASSERT_EQ(found != nullptr, at.has_value()) << what;
      if (found) {
        ASSERT_EQ(Shown(*found), Shown(model.Entries()[*at].second)) << what;
        *found = Variant(nextItem);  // items change in place
        model.Entries()[*at].second = Variant(nextItem++);
      }
    } else if (keys.Below(20) == 0) {
      table.Clear();
      model.Clear();
    }
    ASSERT_EQ(table.Count(), model.Entries().size()) << what;
    if (step % (shape.keySpace / 4 + 1) != 0) continue;
    std::vector<std::string> listed;
    table.ForEach([&](const Variant& k, const Variant& item) {
      listed.push_back(Describe(k, keys.objects) + " = " + Shown(item));
    });
    std::vector<std::string> expected;
    for (const auto& [k, item] : model.Entries())
      expected.push_back(Describe(k, keys.objects) + " = " + Shown(item));
    ASSERT_EQ(listed, expected) << what;
  }
}

TEST(DictionaryTableTest, AgreesWithAListThroughRandomAddsRemovalsAndRenames) {
  // Small key spaces keep the index at 8 to 64 slots, where probe chains wrap around its end
  // and removals in the middle of chains are frequent; the large one grows it many times.
  RunAgainstModel({CompareMode::kBinary, 12, 20000, 1});
  RunAgainstModel({CompareMode::kText, 12, 20000, 2});
  RunAgainstModel({CompareMode::kBinary, 60, 30000, 3});
  RunAgainstModel({CompareMode::kText, 60, 30000, 4});
  RunAgainstModel({CompareMode::kBinary, 1500, 30000, 5});
  RunAgainstModel({CompareMode::kText, 1500, 30000, 6});
}

TEST(DictionaryTableTest, NumbersOfEverySubtypeAreOneKeyByValue) {
  DictionaryTable table;
  table.FindOrAdd(Variant(0.0)).item = "zero";
  table.FindOrAdd(I(-1)).item = "minus one";
  table.FindOrAdd(Variant(2.5)).item = "two and a half";
  EXPECT_FALSE(table.FindOrAdd(Variant(-0.0)).added);  // -0 is 0
  EXPECT_FALSE(table.FindOrAdd(Variant(false)).added);
  EXPECT_FALSE(table.FindOrAdd(Variant(std::uint8_t{0})).added);
  EXPECT_FALSE(table.FindOrAdd(Variant(true)).added);  // True is -1
  EXPECT_FALSE(table.FindOrAdd(Variant(std::int32_t{-1})).added);
  EXPECT_FALSE(table.FindOrAdd(Variant::Currency(-10000)).added);  // -1.0000
  EXPECT_FALSE(table.FindOrAdd(Variant::Date(2.5)).added);
  EXPECT_FALSE(table.FindOrAdd(Variant(2.5f)).added);
  EXPECT_EQ(table.Count(), 3u);
  // Empty, Null and the empty text are neither 0 nor each other.
  EXPECT_EQ(table.Find(Variant()), nullptr);
  EXPECT_EQ(table.Find(Variant::Null()), nullptr);
  EXPECT_EQ(table.Find(Variant("")), nullptr);
  EXPECT_EQ(table.Find(Variant("0")), nullptr);
  EXPECT_TRUE(table.FindOrAdd(Variant()).added);
  EXPECT_TRUE(table.FindOrAdd(Variant::Null()).added);
  EXPECT_TRUE(table.FindOrAdd(Variant("")).added);
  EXPECT_EQ(table.Count(), 6u);
  EXPECT_EQ(ErrorOf([&] { table.FindOrAdd(Variant::Error(5)); }), 13);
  EXPECT_EQ(table.Count(), 6u);
}

// Keys that differ only in letter case, of lengths that fill whole groups of four code units
// and leave one to three over, in Latin, Latin-1, Greek and Cyrillic.
TEST(DictionaryTableTest, TextModeFindsEveryCaseVariantAndBinaryModeNone) {
  const std::u16string pairs[][2] = {
      {u"A", u"a"},
      {u"ABCD", u"abcd"},
      {u"KEY12", u"key12"},
      {u"\u00C4PFEL", u"\u00E4pfel"},
      {u"\u03A3\u039F\u03A6\u0399\u0391", u"\u03C3\u03BF\u03C6\u03B9\u03B1"},
      {u"\u0416\u0401\u041B\u0422\u042B\u0419", u"\u0436\u0451\u043B\u0442\u044B\u0439"},
      {u"MiXeD-CaSe-KeY", u"mIxEd-cAsE-kEy"},
  };
  for (CompareMode mode : {CompareMode::kText, CompareMode::kBinary}) {
    DictionaryTable table;
    table.SetCompareMode(mode);
    for (const auto& pair : pairs)
      table.FindOrAdd(Variant(std::u16string_view(pair[0]))).item = "upper";
    for (const auto& pair : pairs) {
      Variant lower{std::u16string_view(pair[1])};
      bool text = mode == CompareMode::kText;
      SCOPED_TRACE(ToUtf8(lower) + (text ? " text" : " binary"));
      EXPECT_EQ(table.Find(lower) != nullptr, text);
      EXPECT_EQ(table.FindOrAdd(lower).added, !text);
      EXPECT_EQ(table.Rename(lower, Variant(std::u16string_view(pair[0]))),
                DictionaryTable::RenameResult::kTaken);
    }
    EXPECT_EQ(table.Count(), mode == CompareMode::kText ? 7u : 14u);
    // A prefix or an extension of a key is another key.
    EXPECT_EQ(table.Find(Variant("ABC")), nullptr);
    EXPECT_EQ(table.Find(Variant("ABCDE")), nullptr);
  }
}

TEST(DictionaryTableTest, RenamedKeysAreFoundAfterTheTableIsSqueezedAndGrown) {
  DictionaryTable table;
  for (int i = 0; i < 100; ++i)
    table.FindOrAdd(I(i)).item = Variant(std::int32_t{i});
  ASSERT_EQ(table.Rename(I(50), "fifty"), DictionaryTable::RenameResult::kRenamed);
  ASSERT_EQ(table.Rename(I(51), I(50)), DictionaryTable::RenameResult::kRenamed);
  for (int i = 0; i < 100; ++i) {  // squeezes the removed entries out at least once
    if (i % 10 >= 3) {
      ASSERT_TRUE(table.Remove(I(i))) << i;
    }
  }
  for (int i = 1000; i < 1400; ++i)  // grows the index and adds chunks
    table.FindOrAdd(I(i));
  ASSERT_NE(table.Find("fifty"), nullptr);
  EXPECT_EQ(Shown(*table.Find("fifty")), "Long 50");
  ASSERT_NE(table.Find(I(50)), nullptr);
  EXPECT_EQ(Shown(*table.Find(I(50))), "Long 51");
  EXPECT_EQ(table.Find(I(51)), nullptr);
  std::vector<std::string> expected;
  for (int i = 0; i < 100; ++i) {
    if (i % 10 < 3) expected.push_back(i == 50 ? "fifty" : std::to_string(i == 51 ? 50 : i));
  }
  for (int i = 1000; i < 1400; ++i)
    expected.push_back(std::to_string(i));
  std::vector<std::string> order;
  table.ForEach([&](const Variant& key, const Variant&) { order.push_back(ToUtf8(key)); });
  EXPECT_EQ(order, expected);
}

// The chunks and the index are counted against the budget; removals give chunks back as the
// table is squeezed, and emptying the table gives back everything it took (the keys' own
// strings included, as nothing else holds them).
TEST(DictionaryTableTest, ManyRemovalsGiveMemoryBackToTheBudget) {
  MemoryBudget budget(std::size_t{1} << 30);
  {
    DictionaryTable table;
    constexpr int kKeys = 100000;
    for (int i = 0; i < kKeys; ++i)
      table.FindOrAdd(Variant("key" + std::to_string(i))).item = Variant(std::int32_t{i});
    std::int64_t full = budget.Used();
    EXPECT_GT(full, std::int64_t{kKeys} * 40);
    for (int i = 0; i < kKeys; ++i) {
      if (i % 1000 != 999) {
        ASSERT_TRUE(table.Remove(Variant("key" + std::to_string(i))));
      }
    }
    EXPECT_EQ(table.Count(), 100u);
    EXPECT_LT(budget.Used(), full / 4);
    int expected = 999;
    table.ForEach([&](const Variant& key, const Variant& item) {
      EXPECT_EQ(ToUtf8(key), "key" + std::to_string(expected));
      EXPECT_EQ(item.AsLong(), expected);
      expected += 1000;
    });
    EXPECT_EQ(expected, kKeys + 999);
    for (int i = 0; i < kKeys; ++i) {
      bool kept = i % 1000 == 999;
      ASSERT_EQ(table.Find(Variant("key" + std::to_string(i))) != nullptr, kept) << i;
    }
    for (int i = 999; i < kKeys; i += 1000)
      ASSERT_TRUE(table.Remove(Variant("key" + std::to_string(i))));
    EXPECT_EQ(table.Count(), 0u);
    EXPECT_EQ(budget.Used(), 0);
    table.FindOrAdd("again");
    EXPECT_GT(budget.Used(), 0);
    table.Clear();
    EXPECT_EQ(budget.Used(), 0);
    table.FindOrAdd("left in the table");
  }
  EXPECT_EQ(budget.Used(), 0);  // the destructor gives back what was left
}

TEST(DictionaryTableTest, AnAddThatTheBudgetRefusesLeavesTheTableAsItWas) {
  MemoryBudget budget(4096);
  DictionaryTable table;
  int added = 0;
  int error = 0;
  while (error == 0) {
    error = ErrorOf([&] { table.FindOrAdd(I(added)).item = I(added); });
    if (error == 0) ++added;
  }
  EXPECT_EQ(error, 7);
  EXPECT_GT(added, 8);
  EXPECT_EQ(table.Count(), static_cast<std::size_t>(added));
  for (int i = 0; i < added; ++i)
    ASSERT_NE(table.Find(I(i)), nullptr) << i;
  EXPECT_EQ(table.Find(I(added)), nullptr);
  ASSERT_TRUE(table.Remove(I(0)));
  EXPECT_EQ(table.Count(), static_cast<std::size_t>(added - 1));
}

}  // namespace
}  // namespace sl::vbs::test
