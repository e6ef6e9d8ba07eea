// Speed of the built-in functions scripts call most: dictionary inserts and look-ups, string
// replacement and splitting, number and date text, regular expression replacement.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/clock.h"
#include "core/variant_convert.h"
#include "vbscript/builtins/builtin.h"
#include "vbscript/builtins/dictionary.h"
#include "vbscript/builtins/regexp.h"

namespace {

using namespace sl;
using namespace sl::vbs;

class BenchContext : public BuiltinContext {
 public:
  const Clock& GetClock() override { return clock_; }
  RandomState& Random() override { return random_; }
  int MessageBox(const std::string&, int, const std::string&) override { return 1; }
  std::optional<std::string> InputBox(const std::string&, const std::string&,
                                      const std::string&) override {
    return std::nullopt;
  }
  Ref<Object> CreateHostObject(std::string_view) override { return {}; }

 private:
  VirtualClock clock_{CivilTime{2004, 3, 7, 14, 5, 9, 0}};
  RandomState random_;
};

Variant Call(BenchContext& context, const char* name, std::vector<Variant> args) {
  return FindBuiltin(name)->function(context, args);
}

void BM_DictionaryAddAndLookUp(benchmark::State& state) {
  std::vector<Variant> keys;
  for (int i = 0; i < 1000; ++i)
    keys.emplace_back("key" + std::to_string(i));
  for (auto _ : state) {
    Ref<Object> d = MakeDictionary();
    DispId add = d->GetIdOfName("Add");
    for (int i = 0; i < 1000; ++i) {
      std::vector<Variant> args = {keys[i], Variant(i)};
      d->Invoke(add, kInvokeCall, args);
    }
    std::int64_t sum = 0;
    for (int i = 0; i < 1000; ++i) {
      std::vector<Variant> args = {keys[i]};
      sum += d->Invoke(kDispIdValue, kInvokeGet, args).AsLong();
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(BM_DictionaryAddAndLookUp);

void BM_ReplaceAndSplit(benchmark::State& state) {
  BenchContext context;
  std::string text;
  for (int i = 0; i < 100; ++i)
    text += "word" + std::to_string(i) + ", ";
  Variant subject(text);
  for (auto _ : state) {
    Variant replaced = Call(context, "Replace", {subject, ", ", ";"});
    Variant parts = Call(context, "Split", {replaced, ";"});
    benchmark::DoNotOptimize(Call(context, "Join", {parts, "|"}));
  }
}
BENCHMARK(BM_ReplaceAndSplit);

void BM_NumberText(benchmark::State& state) {
  BenchContext context;
  double x = 1.0;
  for (auto _ : state) {
    x = x * 1.0001 + 0.37;
    benchmark::DoNotOptimize(ToString(Variant(x)));
    benchmark::DoNotOptimize(Call(context, "FormatNumber", {Variant(x), Variant(2)}));
  }
}
BENCHMARK(BM_NumberText);

void BM_DateText(benchmark::State& state) {
  BenchContext context;
  Variant text("March 7, 2004 2:05:09 PM");
  for (auto _ : state) {
    Variant date = Call(context, "CDate", {text});
    benchmark::DoNotOptimize(Call(context, "DateAdd", {"m", Variant(1), date}));
  }
}
BENCHMARK(BM_DateText);

void BM_RegExpGlobalReplace(benchmark::State& state) {
  Ref<Object> re = MakeRegExp();
  re->LetProperty("Pattern", Variant("(\\w+)@(\\w+)"));
  re->LetProperty("Global", Variant(true));
  std::string text;
  for (int i = 0; i < 50; ++i)
    text += "user" + std::to_string(i) + "@host" + std::to_string(i) + " ";
  std::vector<Variant> args = {Variant(text), Variant("$2:$1")};
  DispId replace = re->GetIdOfName("Replace");
  for (auto _ : state)
    benchmark::DoNotOptimize(re->Invoke(replace, kInvokeCall, args));
}
BENCHMARK(BM_RegExpGlobalReplace);

}  // namespace
