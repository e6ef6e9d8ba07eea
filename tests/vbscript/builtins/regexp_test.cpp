// RegExp: options, matches and their submatches, global replacement with $ references, errors.
#include "vbscript/builtins/regexp.h"
#include "vbscript/builtins/builtin_test_support.h"

namespace sl::vbs::test {
namespace {

class RegExpTest : public ::testing::Test {
 protected:
  Ref<Object> re = MakeRegExp();

  void Set(const char* pattern, bool global = false, bool ignoreCase = false,
           bool multiline = false) {
    re->LetProperty("Pattern", Variant(pattern));
    re->LetProperty("Global", Variant(global));
    re->LetProperty("IgnoreCase", Variant(ignoreCase));
    re->LetProperty("Multiline", Variant(multiline));
  }
  bool Test(const char* subject) {
    std::vector<Variant> args = {Variant(subject)};
    return re->CallMethod("Test", args).AsBool();
  }
  std::string Replace(const char* subject, const char* with) {
    std::vector<Variant> args = {Variant(subject), Variant(with)};
    return ToUtf8(re->CallMethod("Replace", args));
  }
  Ref<Object> Execute(const char* subject) {
    std::vector<Variant> args = {Variant(subject)};
    Variant v = re->CallMethod("Execute", args);
    return Ref<Object>(v.AsObject());
  }
  // "value@index/length[sub1|sub2]" for each match.
  std::string Describe(const char* subject) {
    Ref<Object> matches = Execute(subject);
    std::string out;
    Ref<Enumerator> e = matches->NewEnum();
    for (Variant m; e->Next(m);) {
      Object* match = m.AsObject();
      out += ToUtf8(match->GetProperty("Value")) + "@" + ToUtf8(match->GetProperty("FirstIndex")) +
             "/" + ToUtf8(match->GetProperty("Length"));
      Variant subs = match->GetProperty("SubMatches");
      int count = subs.AsObject()->GetProperty("Count").AsLong();
      for (int i = 0; i < count; ++i) {
        std::vector<Variant> index = {Variant(i)};
        Variant sub = subs.AsObject()->Invoke(kDispIdValue, kInvokeGet, index);
        out += (i ? "|" : "[") + (sub.IsEmpty() ? std::string("<empty>") : ToUtf8(sub));
      }
      out += count ? "] " : " ";
    }
    return out;
  }
};

TEST_F(RegExpTest, TestWithOptions) {
  Set("^h.llo$");
  EXPECT_TRUE(Test("hello"));
  EXPECT_FALSE(Test("HELLO"));
  EXPECT_FALSE(Test("hello\n"));  // $ is the very end without Multiline
  Set("^h.llo$", false, true);
  EXPECT_TRUE(Test("HELLO"));
  Set("^b$", false, false, true);
  EXPECT_TRUE(Test("a\nb\nc"));
  Set("a.c");
  EXPECT_FALSE(Test("a\nc"));  // . does not match a line break
  Set("\\u0041\\x42\\d\\s\\w");
  EXPECT_TRUE(Test("AB1 _"));
  Set("");
  EXPECT_TRUE(Test("anything"));
}

TEST_F(RegExpTest, ExecuteGivesMatchesWithSubMatches) {
  Set("(\\w+)@(\\w+)(\\.com)?", true);
  EXPECT_EQ(Describe("ann@home.com, bob@work"),
            "ann@home.com@0/12[ann|home|.com] bob@work@14/8[bob|work|<empty>] ");
  Set("o", false);
  EXPECT_EQ(Describe("foo boo"), "o@1/1 ");  // without Global only the first
  Set("x", true);
  Ref<Object> none = Execute("abc");
  EXPECT_EQ(none->GetProperty("Count").AsLong(), 0);
  Set("b", true);
  Ref<Object> matches = Execute("abcb");
  std::vector<Variant> index = {Variant(1)};
  Variant second = matches->Invoke(kDispIdValue, kInvokeGet, index);
  EXPECT_EQ(ToUtf8(second.AsObject()->GetProperty("FirstIndex")), "3");
  std::vector<Variant> beyond = {Variant(2)};
  EXPECT_EQ(ErrorOf([&] { matches->Invoke(kDispIdValue, kInvokeGet, beyond); }), 5);
  EXPECT_EQ(ToUtf8(Variant(second)), "b");  // a Match's default member is its Value
  Set("(a)(b)");
  Ref<Object> pair = Execute("ab");
  index = {Variant(0)};
  Variant match = pair->Invoke(kDispIdValue, kInvokeGet, index);
  std::vector<Variant> sub = {Variant(1)};  // m.SubMatches(1)
  Object* m = match.AsObject();
  EXPECT_EQ(ToUtf8(m->Invoke(m->GetIdOfName("SubMatches"), kInvokeGet, sub)), "b");
}

TEST_F(RegExpTest, EmptyMatchesAdvance) {
  Set("x*", true);
  EXPECT_EQ(Replace("abc", "-"), "-a-b-c-");
  Set("b*", true);
  EXPECT_EQ(Replace("abc", "-"), "-a--c-");
  EXPECT_EQ(Describe("ab"), "@0/0 b@1/1 @2/0 ");
}

TEST_F(RegExpTest, ReplaceExpandsReferences) {
  Set("(\\w+) (\\w+)", true);
  EXPECT_EQ(Replace("John Smith", "$2, $1"), "Smith, John");
  EXPECT_EQ(Replace("ab cd", "[$&]"), "[ab cd]");
  EXPECT_EQ(Replace("ab cd", "$$1 $3 $0 $"), "$1 $3 $0 $");
  Set("b");
  EXPECT_EQ(Replace("abc", "<$`|$'>"), "a<a|c>c");
  Set("o");
  EXPECT_EQ(Replace("foo", "0"), "f0o");  // not Global: the first only
  Set("O", true, true);
  EXPECT_EQ(Replace("foo", "0"), "f00");
  Set("(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)");
  EXPECT_EQ(Replace("abcdefghijk", "$11$10$1"), "kja");
  Set("(a)");
  EXPECT_EQ(Replace("a", "$10"), "a0");  // no group 10: group 1 then "0"
}

// Stands for a script function: joins the arguments it is called with.
class JoinArgs : public Object {
 public:
  std::string TypeName() const override { return "Object"; }
  Variant Invoke(DispId id, std::uint8_t, std::span<Variant> args) override {
    if (id != kDispIdValue) throw RuntimeError(438);
    std::string out = "<";
    for (const Variant& a : args)
      out += (a.IsEmpty() ? std::string("?") : ToUtf8(a)) + ";";
    return Variant(out + ">");
  }
};

TEST_F(RegExpTest, ReplaceCallsAFunction) {
  Set("(\\d)(x)?", true);
  std::vector<Variant> args = {Variant("a1b2x"), Variant(MakeRef<JoinArgs>())};
  EXPECT_EQ(ToUtf8(re->CallMethod("Replace", args)), "a<1;1;?;1;a1b2x;>b<2x;2;x;3;a1b2x;>");
}

TEST_F(RegExpTest, PropertiesAndErrors) {
  Set("a+", true, true, false);
  EXPECT_EQ(ToUtf8(re->GetProperty("Pattern")), "a+");
  EXPECT_TRUE(re->GetProperty("Global").AsBool());
  EXPECT_TRUE(re->GetProperty("IgnoreCase").AsBool());
  EXPECT_FALSE(re->GetProperty("Multiline").AsBool());
  EXPECT_EQ(re->TypeName(), "IRegExp2");
  re->LetProperty("Pattern", Variant("(unclosed"));
  EXPECT_EQ(ErrorOf([&] { Test("x"); }), 5017);
  re->LetProperty("Pattern", Variant("(a+)+$"));
  std::string evil(40, 'a');
  evil += "!";
  EXPECT_EQ(ErrorOf([&] { Test(evil.c_str()); }), 28);  // runaway backtracking is stopped
  EXPECT_EQ(ErrorOf([&] { re->CallMethod("Test"); }), 450);
  EXPECT_EQ(ErrorOf([&] { re->LetProperty("Test", Variant(1)); }), 438);
}

}  // namespace
}  // namespace sl::vbs::test
