// storyloom-vbs: runs .vbs files as a console script host. The files are added in order to one
// engine as separate code blocks sharing one global scope. Scripts get a WScript object (Echo,
// Quit, Arguments, StdOut) and MsgBox prints "MsgBox: text" ("MsgBox [buttons=N title=T]: text"
// when the script chose buttons or a title). An error prints
// "FILE(LINE, COL) Microsoft VBScript runtime error: DESCRIPTION" ("compilation error", or the
// source Err.Raise named) on standard error and ends the program with status 1.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "core/variant_convert.h"
#include "vbscript/engine.h"

namespace {

using sl::DispId;
using sl::Object;
using sl::Ref;
using sl::Variant;

void WriteOut(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
}

// WScript.Arguments: Count, Length, Item(i) (the default), and For Each.
class ArgumentsObject final : public Object {
 public:
  explicit ArgumentsObject(std::vector<std::string> args) : args_(std::move(args)) {}
  std::string TypeName() const override { return "Object"; }
  DispId GetIdOfName(std::string_view name) override {
    if (sl::NamesEqual(name, "Item")) return 1;
    if (sl::NamesEqual(name, "Count") || sl::NamesEqual(name, "Length")) return 2;
    return sl::kDispIdUnknown;
  }
  Variant Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) override {
    if (flags & (sl::kInvokeLet | sl::kInvokeSet)) throw sl::RuntimeError(sl::kErrNoSuchMember);
    if (id == 2) return Variant(static_cast<std::int32_t>(args_.size()));
    if (id == 1 || id == sl::kDispIdValue) {
      if (args.size() != 1) throw sl::RuntimeError(sl::kErrWrongArgCount);
      std::int32_t i = sl::ToLong(args[0]);
      if (i < 0 || static_cast<std::size_t>(i) >= args_.size())
        throw sl::RuntimeError(sl::kErrSubscript);
      return Variant(args_[static_cast<std::size_t>(i)]);
    }
    throw sl::RuntimeError(sl::kErrNoSuchMember);
  }
  Ref<sl::Enumerator> NewEnum() override {
    class Items final : public sl::Enumerator {
     public:
      explicit Items(Ref<ArgumentsObject> owner) : owner_(std::move(owner)) {}
      bool Next(Variant& out) override {
        if (i_ >= owner_->args_.size()) return false;
        out = Variant(owner_->args_[i_++]);
        return true;
      }

     private:
      Ref<ArgumentsObject> owner_;
      std::size_t i_ = 0;
    };
    return Ref<sl::Enumerator>(new Items(Ref<ArgumentsObject>(this)));
  }

 private:
  std::vector<std::string> args_;
};

// WScript.StdOut: Write and WriteLine.
class StdOutObject final : public Object {
 public:
  std::string TypeName() const override { return "TextStream"; }
  DispId GetIdOfName(std::string_view name) override {
    if (sl::NamesEqual(name, "Write")) return 1;
    if (sl::NamesEqual(name, "WriteLine")) return 2;
    if (sl::NamesEqual(name, "WriteBlankLines")) return 3;
    return sl::kDispIdUnknown;
  }
  Variant Invoke(DispId id, std::uint8_t, std::span<Variant> args) override {
    switch (id) {
      case 1:
        if (args.size() != 1) throw sl::RuntimeError(sl::kErrWrongArgCount);
        WriteOut(sl::ToUtf8(args[0]));
        return Variant();
      case 2:
        if (args.size() > 1) throw sl::RuntimeError(sl::kErrWrongArgCount);
        WriteOut((args.empty() ? std::string() : sl::ToUtf8(args[0])) + "\n");
        return Variant();
      case 3:
        if (args.size() != 1) throw sl::RuntimeError(sl::kErrWrongArgCount);
        for (std::int32_t i = sl::ToLong(args[0]); i > 0; --i)
          WriteOut("\n");
        return Variant();
      default:
        throw sl::RuntimeError(sl::kErrNoSuchMember);
    }
  }
};

class WScriptObject final : public Object {
 public:
  WScriptObject(std::vector<std::string> args, std::string scriptName)
      : arguments_(new ArgumentsObject(std::move(args))),
        stdOut_(new StdOutObject),
        scriptName_(std::move(scriptName)) {}
  std::string TypeName() const override { return "Object"; }
  DispId GetIdOfName(std::string_view name) override {
    static const char* const kNames[] = {"Echo",       "Quit",           "Arguments", "StdOut",
                                         "ScriptName", "ScriptFullName", "Sleep",     "Name"};
    for (int i = 0; i < 8; ++i) {
      if (sl::NamesEqual(name, kNames[i])) return i + 1;
    }
    return sl::kDispIdUnknown;
  }
  Variant Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) override {
    if (flags & (sl::kInvokeLet | sl::kInvokeSet)) throw sl::RuntimeError(sl::kErrNoSuchMember);
    switch (id) {
      case 1: {
        std::string line;
        for (std::size_t i = 0; i < args.size(); ++i) {
          if (i) line += ' ';
          line += args[i].IsNull() ? std::string("Null") : sl::ToUtf8(args[i]);
        }
        WriteOut(line + "\n");
        return Variant();
      }
      case 2:
        std::fflush(stdout);
        throw sl::vbs::ScriptAbort(args.empty() ? 0 : sl::ToLong(args[0]));
      case 3:
        if (!args.empty()) return arguments_->Invoke(sl::kDispIdValue, flags, args);
        return Variant(arguments_);
      case 4:
        return Variant(stdOut_);
      case 5:
        return Variant(scriptName_);
      case 6:
        return Variant(scriptName_);
      case 7:
        return Variant();  // Sleep: nothing waits for time in this host
      case 8:
        return Variant("storyloom-vbs");
      default:
        throw sl::RuntimeError(sl::kErrNoSuchMember);
    }
  }

 private:
  Ref<Object> arguments_;
  Ref<Object> stdOut_;
  std::string scriptName_;
};

class ConsoleHost final : public sl::vbs::EngineHost {
 public:
  // Buttons and title are shown only when the script chose them, so tests see the defaults.
  int MessageBox(const std::string& prompt, int buttons, const std::string& title) override {
    std::string options;
    if (buttons != 0) options += " buttons=" + std::to_string(buttons);
    if (!title.empty()) options += " title=" + title;
    WriteOut("MsgBox" + (options.empty() ? "" : " [" + options.substr(1) + "]") + ": " + prompt +
             "\n");
    return 1;
  }
  std::optional<std::string> InputBox(const std::string& prompt, const std::string&,
                                      const std::string& defaultText) override {
    WriteOut("InputBox: " + prompt + "\n");
    return defaultText;
  }
};

bool ReadFile(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  out = buffer.str();
  // A UTF-8 byte order mark is not part of the script.
  if (out.size() >= 3 && out.compare(0, 3, "\xEF\xBB\xBF") == 0) out.erase(0, 3);
  return true;
}

int Usage() {
  std::fputs("usage: storyloom-vbs [--time-limit SECONDS] FILE... [-- ARGUMENT...]\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  double timeLimit = 0;
  std::vector<std::string> files;
  std::vector<std::string> scriptArgs;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--time-limit") {
      if (++i >= argc) return Usage();
      char* end = nullptr;
      timeLimit = std::strtod(argv[i], &end);
      if (!end || *end || timeLimit < 0) return Usage();
    } else if (arg == "--") {
      for (++i; i < argc; ++i)
        scriptArgs.emplace_back(argv[i]);
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Usage();
    } else {
      files.push_back(arg);
    }
  }
  if (files.empty()) return Usage();

  ConsoleHost host;
  int status = 0;
  {
    sl::vbs::Engine engine;
    engine.SetHost(&host);
    if (timeLimit > 0) engine.SetTimeLimit(static_cast<std::int64_t>(timeLimit * 1000));
    engine.AddObject("WScript", Ref<Object>(new WScriptObject(scriptArgs, files.front())));
    try {
      for (const std::string& file : files) {
        std::string code;
        if (!ReadFile(file, code)) {
          std::fflush(stdout);
          std::fprintf(stderr, "storyloom-vbs: cannot read %s\n", file.c_str());
          return 1;
        }
        engine.AddCode(code, file);
      }
    } catch (const sl::vbs::ScriptError& e) {
      std::fflush(stdout);
      const std::string& kind = e.Source();
      std::fprintf(stderr, "%s(%d, %d) %s: %s\n", e.Block().c_str(), e.Line(), e.Column(),
                   kind.c_str(), e.FullDescription().c_str());
      status = 1;
    } catch (const sl::vbs::ScriptAbort& a) {
      status = a.ExitCode();
    }
  }
  std::fflush(stdout);
  return status;
}
