// A small BuiltinContext for the built-in function tests: a virtual clock, its own random
// state, scripted message box and input box answers, and an optional host object.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/runtime_error.h"
#include "core/variant_convert.h"
#include "vbscript/builtins/builtin.h"

namespace sl::vbs::test {

class FakeContext : public BuiltinContext {
 public:
  FakeContext() : clock(CivilTime{2004, 3, 7, 14, 5, 9, 250}) {}

  const Clock& GetClock() override { return clock; }
  RandomState& Random() override { return random; }
  int MessageBox(const std::string& prompt, int buttons, const std::string& title) override {
    messages.push_back({prompt, buttons, title});
    return messageAnswer;
  }
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override {
    inputs.push_back({prompt, 0, title + "|" + defaultText});
    return inputAnswer;
  }
  Ref<Object> CreateHostObject(std::string_view progId) override {
    return NamesEqual(progId, hostProgId) ? hostObject : Ref<Object>();
  }

  struct Shown {
    std::string prompt;
    int buttons;
    std::string title;
  };
  VirtualClock clock;
  RandomState random;
  std::vector<Shown> messages;
  std::vector<Shown> inputs;
  int messageAnswer = 1;
  std::optional<std::string> inputAnswer;
  std::string hostProgId;
  Ref<Object> hostObject;
};

// Calls a built-in by name as the interpreter would, checking the argument count.
inline Variant Call(BuiltinContext& context, std::string_view name, std::vector<Variant> args) {
  const BuiltinInfo* info = FindBuiltin(name);
  if (!info) throw std::logic_error("no built-in " + std::string(name));
  int count = static_cast<int>(args.size());
  if (count < info->minArgs || (info->maxArgs >= 0 && count > info->maxArgs))
    throw std::logic_error("wrong argument count for " + std::string(name));
  return info->function(context, args);
}

// The error number a call raises, or 0.
template <class F>
int ErrorOf(F&& f) {
  try {
    f();
  } catch (const RuntimeError& e) {
    return e.Number();
  }
  return 0;
}

// The value as CStr shows it, with its TypeName: "Integer 2".
inline std::string Shown(const Variant& v) {
  if (v.IsNull()) return "Null";
  if (v.IsEmpty()) return "Empty";
  if (v.IsArray()) return "Array";
  if (v.IsObject()) return "Object";
  static const char* const kNames[] = {"Empty",  "Null",   "Integer",  "Long",
                                       "Single", "Double", "Currency", "Date",
                                       "String", "Object", "Error",    "Boolean"};
  auto t = static_cast<int>(v.Type());
  std::string name = t <= 11 ? kNames[t] : t == 17 ? "Byte" : "?";
  return name + " " + ToUtf8(v);
}

// A test fixture with a context and a short way to call built-ins.
class BuiltinTest : public ::testing::Test {
 protected:
  Variant Run(std::string_view name, std::vector<Variant> args = {}) {
    return Call(context, name, std::move(args));
  }
  std::string Show(std::string_view name, std::vector<Variant> args = {}) {
    return Shown(Run(name, std::move(args)));
  }
  int Error(std::string_view name, std::vector<Variant> args = {}) {
    return ErrorOf([&] { Run(name, args); });
  }
  FakeContext context;
};

inline Variant I(int v) {
  return Variant(static_cast<std::int16_t>(v));
}

}  // namespace sl::vbs::test
