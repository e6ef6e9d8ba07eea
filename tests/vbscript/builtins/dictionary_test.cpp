// Scripting.Dictionary: order, key equality, the default Item member, errors and enumeration.
#include "vbscript/builtins/dictionary.h"
#include "vbscript/builtins/builtin_test_support.h"
#include "vbscript/builtins/regexp.h"

namespace sl::vbs::test {
namespace {

class DictionaryTest : public BuiltinTest {
 protected:
  Ref<Object> d = MakeDictionary();

  Variant Call(std::string_view member, std::vector<Variant> args = {}) {
    return d->CallMethod(member, args);
  }
  void Add(Variant key, Variant item) { Call("Add", {std::move(key), std::move(item)}); }
  void LetItem(Variant key, Variant item) {
    std::vector<Variant> args = {std::move(key), std::move(item)};
    d->Invoke(kDispIdValue, kInvokeLet, args);
  }
  Variant GetItem(Variant key) {
    std::vector<Variant> args = {std::move(key)};
    return d->Invoke(kDispIdValue, kInvokeGet, args);
  }
  std::string Joined(const char* member) { return ToUtf8(Run("Join", {Call(member), ","})); }
  int Count() { return d->GetProperty("Count").AsLong(); }
};

TEST_F(DictionaryTest, KeepsInsertionOrderThroughRemovals) {
  for (int i = 0; i < 40; ++i)
    Add(Variant(i), Variant(std::to_string(i * 10)));
  for (int i = 0; i < 40; i += 2)
    Call("Remove", {Variant(i)});
  Add("x", Variant(1));
  EXPECT_EQ(Count(), 21);
  std::string keys = Joined("Keys");
  EXPECT_EQ(keys.substr(0, 9), "1,3,5,7,9");
  EXPECT_EQ(keys.substr(keys.size() - 7), "37,39,x");
  EXPECT_EQ(ToUtf8(GetItem(Variant(39))), "390");
  EXPECT_EQ(Joined("Items").substr(0, 9), "10,30,50,");
}

TEST_F(DictionaryTest, KeysCompareByValue) {
  Add(I(1), "one");
  EXPECT_TRUE(Call("Exists", {Variant(1.0)}).AsBool());  // Integer 1 and Double 1 are one key
  EXPECT_FALSE(Call("Exists", {"1"}).AsBool());          // the text "1" is another
  Add("Key", "text");
  EXPECT_FALSE(Call("Exists", {"key"}).AsBool());
  Ref<Object> other = MakeDictionary();
  Add(Variant(other), "object");
  EXPECT_TRUE(Call("Exists", {Variant(other)}).AsBool());
  EXPECT_FALSE(Call("Exists", {Variant(MakeDictionary())}).AsBool());
  EXPECT_EQ(ErrorOf([&] { Add(Run("Array", {}), I(1)); }), 13);
}

TEST_F(DictionaryTest, TextCompareModeOnlyWhileEmpty) {
  d->LetProperty("CompareMode", Variant(1));
  EXPECT_EQ(d->GetProperty("CompareMode").AsLong(), 1);
  Add("Key", "v");
  EXPECT_TRUE(Call("Exists", {"KEY"}).AsBool());
  EXPECT_EQ(ErrorOf([&] { Add("kEy", "w"); }), 457);
  EXPECT_EQ(ToUtf8(Call("Keys").AsArray()->Data()[0]), "Key");  // the key as first written
  EXPECT_EQ(ErrorOf([&] { d->LetProperty("CompareMode", Variant(0)); }), 5);
  Call("RemoveAll");
  d->LetProperty("CompareMode", Variant(0));
  Add("Key", "v");
  EXPECT_FALSE(Call("Exists", {"KEY"}).AsBool());
}

TEST_F(DictionaryTest, ItemReadAddsMissingKeysAndLetAddsOrReplaces) {
  EXPECT_TRUE(GetItem("missing").IsEmpty());
  EXPECT_TRUE(Call("Exists", {"missing"}).AsBool());  // reading a missing item adds its key
  LetItem("a", I(1));
  LetItem("a", I(2));
  EXPECT_EQ(Shown(GetItem("a")), "Integer 2");
  EXPECT_EQ(Count(), 2);
  std::vector<Variant> key = {"a"};
  EXPECT_EQ(Shown(d->GetProperty("Item", key)), "Integer 2");
}

TEST_F(DictionaryTest, ErrorsOfTheClassicDictionary) {
  Add("a", I(1));
  EXPECT_EQ(ErrorOf([&] { Add("a", I(2)); }), 457);
  EXPECT_EQ(ErrorOf([&] { Call("Remove", {"zz"}); }), 32811);
  EXPECT_EQ(ErrorOf([&] { Call("Add", {"only key"}); }), 450);
  EXPECT_EQ(ErrorOf([&] { d->LetProperty("Count", I(3)); }), 438);
  EXPECT_EQ(d->GetIdOfName("NoSuchMember"), kDispIdUnknown);
}

TEST_F(DictionaryTest, KeyRenamesInPlace) {
  Add("a", I(1));
  Add("b", I(2));
  std::vector<Variant> args = {"a", "c"};
  d->Invoke(d->GetIdOfName("Key"), kInvokeLet, args);
  EXPECT_EQ(Joined("Keys"), "c,b");
  EXPECT_EQ(Shown(GetItem("c")), "Integer 1");
  std::vector<Variant> clash = {"c", "b"};
  EXPECT_EQ(ErrorOf([&] { d->Invoke(d->GetIdOfName("Key"), kInvokeLet, clash); }), 457);
  std::vector<Variant> missing = {"zz", "y"};
  EXPECT_EQ(ErrorOf([&] { d->Invoke(d->GetIdOfName("Key"), kInvokeLet, missing); }), 32811);
}

TEST_F(DictionaryTest, ForEachGivesASnapshotOfTheKeys) {
  Add("x", I(1));
  Add("y", I(2));
  Ref<Enumerator> e = d->NewEnum();
  Call("RemoveAll");
  std::string seen;
  for (Variant v; e->Next(v);)
    seen += ToUtf8(v);
  EXPECT_EQ(seen, "xy");
  EXPECT_EQ(Count(), 0);
}

TEST_F(DictionaryTest, CreateObjectMakesDictionariesAndAsksTheHostFirst) {
  Variant made = Run("CreateObject", {"scripting.dictionary"});
  EXPECT_EQ(Show("TypeName", {made}), "String Dictionary");
  context.hostProgId = "Scripting.Dictionary";
  context.hostObject = MakeRegExp();
  EXPECT_EQ(Show("TypeName", {Run("CreateObject", {"Scripting.Dictionary"})}), "String IRegExp2");
  EXPECT_EQ(Error("CreateObject", {"Excel.Application"}), 429);
  EXPECT_EQ(Error("GetObject", {"", "Excel.Application"}), 429);
  EXPECT_EQ(Show("TypeName", {Run("CreateObject", {"VBScript.RegExp"})}), "String IRegExp2");
}

}  // namespace
}  // namespace sl::vbs::test
