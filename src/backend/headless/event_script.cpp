// Parsing of event scripts (see event_script.h).
#include "backend/headless/event_script.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>
#include <utility>

#include "core/case_fold.h"

namespace sl {

namespace {

// The longest single wait, and the longest a whole script may let pass: far beyond any
// walkthrough, and far from where the clock or the dates it gives could overflow.
constexpr std::int64_t kMaxWaitMs = 24 * 60 * 60 * 1000LL;
constexpr std::int64_t kMaxScriptMs = 366 * kMaxWaitMs;

bool IsSpace(char c) {
  return c == ' ' || c == '\t';
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiLower(x) == AsciiLower(y);
         });
}

// One line being parsed: words are taken from the front; the rest of the line stays available
// for the commands whose last argument is free text.
class LineReader {
 public:
  explicit LineReader(std::string_view line) : rest_(line) {}

  std::string_view NextWord() {
    SkipSpace();
    std::size_t end = 0;
    while (end < rest_.size() && !IsSpace(rest_[end]))
      ++end;
    std::string_view word = rest_.substr(0, end);
    rest_.remove_prefix(end);
    return word;
  }
  // The rest of the line after the one blank that separates it from the previous word, so
  // text that starts with spaces keeps them.
  std::string_view RestVerbatim() {
    if (!rest_.empty() && IsSpace(rest_[0])) rest_.remove_prefix(1);
    return std::exchange(rest_, {});
  }
  std::string_view RestTrimmed() {
    SkipSpace();
    std::string_view r = std::exchange(rest_, {});
    while (!r.empty() && IsSpace(r.back()))
      r.remove_suffix(1);
    return r;
  }
  bool AtEnd() {
    SkipSpace();
    return rest_.empty();
  }

 private:
  void SkipSpace() {
    while (!rest_.empty() && IsSpace(rest_[0]))
      rest_.remove_prefix(1);
  }
  std::string_view rest_;
};

class ScriptParser {
 public:
  ScriptParser(std::string_view source, int line) : source_(source), line_(line) {}

  ScriptCommand Parse(std::string_view text);

 private:
  [[noreturn]] void Fail(const std::string& message) const {
    throw EventScriptError(std::string(source_), line_, message);
  }
  std::string_view Require(LineReader& r, std::string_view command, std::string_view what) {
    std::string_view word = r.NextWord();
    if (word.empty()) {
      // Built by appending: a C string put in front of a temporary string makes GCC 12 at -O3
      // warn falsely of an overlapping copy (-Wrestrict).
      std::string message(1, '\'');
      message.append(command).append("' needs ").append(what);
      Fail(message);
    }
    return word;
  }
  std::int64_t Integer(std::string_view word, std::string_view what) const;
  void Point(LineReader& r, std::string_view command, int& x, int& y);
  ScriptButton Button(LineReader& r);
  ScriptTarget Target(std::string_view word) const;
  void ParseKey(LineReader& r, ScriptCommand& cmd);
  void ParseControl(LineReader& r, ScriptCommand& cmd);
  void ExpectEnd(LineReader& r, std::string_view command) {
    if (!r.AtEnd())
      Fail("too many arguments for '" + std::string(command) + "': '" +
           std::string(r.RestTrimmed()) + "'");
  }

  std::string_view source_;
  int line_;
};

std::int64_t ScriptParser::Integer(std::string_view word, std::string_view what) const {
  std::int64_t value = 0;
  const char* first = word.data();
  if (!word.empty() && word[0] == '+') ++first;
  auto [end, ec] = std::from_chars(first, word.data() + word.size(), value);
  if (ec != std::errc() || end != word.data() + word.size() || first == end)
    Fail("bad " + std::string(what) + " '" + std::string(word) + "'");
  return value;
}

void ScriptParser::Point(LineReader& r, std::string_view command, int& x, int& y) {
  constexpr std::int64_t kLimit = 1'000'000;
  for (int* coord : {&x, &y}) {
    std::string_view word = Require(r, command, "the coordinates X Y");
    std::int64_t v = Integer(word, "coordinate");
    if (v < -kLimit || v > kLimit) Fail("coordinate out of range '" + std::string(word) + "'");
    *coord = static_cast<int>(v);
  }
}

ScriptButton ScriptParser::Button(LineReader& r) {
  std::string_view word = r.NextWord();
  if (word.empty() || EqualsNoCase(word, "left")) return ScriptButton::Left;
  if (EqualsNoCase(word, "right")) return ScriptButton::Right;
  Fail("unknown mouse button '" + std::string(word) + "' (left or right)");
}

// "Command2", "Area(3)", "mnuFrameName(2)".
ScriptTarget ScriptParser::Target(std::string_view word) const {
  ScriptTarget target;
  std::size_t open = word.find('(');
  if (open == std::string_view::npos) {
    if (word.find(')') != std::string_view::npos) Fail("bad name '" + std::string(word) + "'");
    target.name = word;
    return target;
  }
  if (open == 0 || word.back() != ')') Fail("bad name '" + std::string(word) + "'");
  std::string_view index = word.substr(open + 1, word.size() - open - 2);
  std::int64_t value = Integer(index, "index");
  if (value < 0 || value > 32767) Fail("index out of range in '" + std::string(word) + "'");
  target.name = word.substr(0, open);
  target.index = static_cast<int>(value);
  return target;
}

void ScriptParser::ParseKey(LineReader& r, ScriptCommand& cmd) {
  std::string_view name = Require(r, "key", "a key name");
  std::optional<int> code = KeyCodeFromName(name);
  if (!code) Fail("unknown key '" + std::string(name) + "'");
  cmd.key.keyCode = *code;
  for (std::string_view mod = r.NextWord(); !mod.empty(); mod = r.NextWord()) {
    if (EqualsNoCase(mod, "ctrl")) {
      cmd.key.ctrl = true;
    } else if (EqualsNoCase(mod, "shift")) {
      cmd.key.shift = true;
    } else if (EqualsNoCase(mod, "alt")) {
      cmd.key.alt = true;
    } else {
      Fail("unknown key modifier '" + std::string(mod) + "' (ctrl, shift or alt)");
    }
  }
}

void ScriptParser::ParseControl(LineReader& r, ScriptCommand& cmd) {
  cmd.target = Target(Require(r, "control", "a control name"));
  std::string_view action = r.NextWord();
  if (action.empty() || EqualsNoCase(action, "click")) {
    cmd.action = ControlAction::Click;
  } else if (EqualsNoCase(action, "dblclick")) {
    cmd.action = ControlAction::DblClick;
  } else if (EqualsNoCase(action, "right")) {
    cmd.action = ControlAction::Right;
  } else {
    Fail("unknown control action '" + std::string(action) + "' (click, dblclick or right)");
  }
  ExpectEnd(r, "control");
}

ScriptCommand ScriptParser::Parse(std::string_view text) {
  LineReader r(text);
  std::string_view word = r.NextWord();
  std::string name = ToLowerAscii(word);
  ScriptCommand cmd;
  cmd.line = line_;
  using K = ScriptCommandKind;
  if (name == "wait") {
    cmd.kind = K::Wait;
    std::string_view ms = Require(r, name, "a time in milliseconds");
    cmd.ms = Integer(ms, "time");
    if (cmd.ms < 0) Fail("negative time '" + std::string(ms) + "'");
    if (cmd.ms > kMaxWaitMs)
      Fail("time too long '" + std::string(ms) + "' (at most " + std::to_string(kMaxWaitMs) +
           " ms, a day)");
  } else if (name == "click" || name == "press" || name == "release") {
    cmd.kind = name == "click" ? K::Click : name == "press" ? K::Press : K::Release;
    Point(r, name, cmd.x, cmd.y);
    cmd.button = Button(r);
  } else if (name == "dblclick" || name == "move") {
    cmd.kind = name == "move" ? K::Move : K::DblClick;
    Point(r, name, cmd.x, cmd.y);
  } else if (name == "drag") {
    cmd.kind = K::Drag;
    Point(r, name, cmd.x, cmd.y);
    Point(r, name, cmd.x2, cmd.y2);
  } else if (name == "key") {
    cmd.kind = K::Key;
    ParseKey(r, cmd);
  } else if (name == "type") {
    cmd.kind = K::Type;
    cmd.text = r.RestVerbatim();
    if (cmd.text.empty()) Fail("'type' needs a text");
    return cmd;
  } else if (name == "control") {
    cmd.kind = K::Control;
    ParseControl(r, cmd);
    return cmd;
  } else if (name == "select") {
    cmd.kind = K::Select;
    cmd.target = Target(Require(r, name, "a list name and an entry"));
    cmd.text = r.RestVerbatim();
    if (cmd.text.empty()) Fail("'select' needs the text of an entry");
    return cmd;
  } else if (name == "menu") {
    cmd.kind = K::Menu;
    cmd.target = Target(Require(r, name, "a menu entry name"));
  } else if (name == "answer") {
    cmd.kind = K::Answer;
    std::string_view button = Require(r, name, "a button");
    std::optional<MsgAnswer> answer = AnswerFromName(button);
    if (!answer)
      Fail("unknown button '" + std::string(button) +
           "' (ok, cancel, yes, no, abort, retry or ignore)");
    cmd.answer = *answer;
  } else if (name == "input") {
    cmd.kind = K::Input;
    cmd.text = r.RestVerbatim();  // may be empty: the user clears the box and presses OK
    return cmd;
  } else if (name == "input-cancel" || name == "dump" || name == "quit") {
    cmd.kind = name == "dump" ? K::Dump : name == "quit" ? K::Quit : K::InputCancel;
  } else if (name == "screenshot") {
    cmd.kind = K::Screenshot;
    cmd.text = r.RestTrimmed();
    if (cmd.text.empty()) Fail("'screenshot' needs a file name");
    return cmd;
  } else {
    Fail("unknown command '" + std::string(word) + "'");
  }
  ExpectEnd(r, name);
  return cmd;
}

}  // namespace

EventScriptError::EventScriptError(const std::string& source, int line, const std::string& message)
    : std::runtime_error(line > 0 ? source + ":" + std::to_string(line) + ": " + message
                                  : source + ": " + message),
      line_(line) {}

std::vector<ScriptCommand> ParseEventScript(std::string_view text, std::string_view source) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::vector<ScriptCommand> commands;
  int lineNumber = 0;
  std::int64_t scriptMs = 0;  // the waits so far
  while (!text.empty()) {
    ++lineNumber;
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::size_t first = 0;
    while (first < line.size() && IsSpace(line[first]))
      ++first;
    if (first == line.size() || line[first] == '#') continue;
    commands.push_back(ScriptParser(source, lineNumber).Parse(line.substr(first)));
    if (commands.back().kind == ScriptCommandKind::Wait) {
      scriptMs += commands.back().ms;
      if (scriptMs > kMaxScriptMs)
        throw EventScriptError(std::string(source), lineNumber,
                               "the waits add up to more than a year");
    }
  }
  return commands;
}

std::vector<ScriptCommand> LoadEventScript(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw EventScriptError(file.string(), 0, "cannot read the event script");
  std::ostringstream text;
  text << in.rdbuf();
  return ParseEventScript(text.str(), file.string());
}

std::optional<int> KeyCodeFromName(std::string_view name) {
  if (name.size() == 1) {
    char c = AsciiLower(name[0]);
    if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
    if (c >= '0' && c <= '9') return c;
    return std::nullopt;
  }
  struct Named {
    std::string_view name;
    int code;
  };
  static constexpr Named kKeys[] = {{"esc", 27},      {"enter", 13},  {"tab", 9},   {"space", 32},
                                    {"backspace", 8}, {"delete", 46}, {"up", 38},   {"down", 40},
                                    {"left", 37},     {"right", 39},  {"home", 36}, {"end", 35}};
  for (const Named& k : kKeys)
    if (EqualsNoCase(name, k.name)) return k.code;
  if ((name[0] == 'f' || name[0] == 'F') && name.size() <= 3) {
    int n = 0;
    auto [end, ec] = std::from_chars(name.data() + 1, name.data() + name.size(), n);
    if (ec == std::errc() && end == name.data() + name.size() && name[1] != '0' && n >= 1 &&
        n <= 12)
      return 111 + n;  // F1 is 112
  }
  return std::nullopt;
}

std::optional<MsgAnswer> AnswerFromName(std::string_view name) {
  struct Named {
    std::string_view name;
    MsgAnswer answer;
  };
  static constexpr Named kAnswers[] = {{"ok", MsgAnswer::Ok},         {"cancel", MsgAnswer::Cancel},
                                       {"abort", MsgAnswer::Abort},   {"retry", MsgAnswer::Retry},
                                       {"ignore", MsgAnswer::Ignore}, {"yes", MsgAnswer::Yes},
                                       {"no", MsgAnswer::No}};
  for (const Named& a : kAnswers)
    if (EqualsNoCase(name, a.name)) return a.answer;
  return std::nullopt;
}

}  // namespace sl
