// Event scripts: the input of a headless run, one command a line (see docs/headless.md). The
// whole script is parsed before the run starts, so a typing error in line 40 is reported at once
// and not after the game has run for a while.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/message_box.h"

namespace sl {

enum class ScriptCommandKind {
  Wait,
  Click,
  DblClick,
  Press,
  Release,
  Move,
  Drag,
  Key,
  Type,
  Control,
  Select,
  Menu,
  Answer,
  Input,
  InputCancel,
  Dump,
  Screenshot,
  Quit
};

enum class ScriptButton { Left, Right };
enum class ControlAction { Click, DblClick, Right };

// A control or menu entry by name, with the index when it is an element of a control array.
struct ScriptTarget {
  std::string name;
  std::optional<int> index;

  friend bool operator==(const ScriptTarget&, const ScriptTarget&) = default;
};

struct ScriptKey {
  int keyCode = 0;  // classic key code: 'A'..'Z', '0'..'9', 13 Enter, 27 Esc, 112 F1, ...
  bool ctrl = false;
  bool shift = false;
  bool alt = false;
};

struct ScriptCommand {
  ScriptCommandKind kind = ScriptCommandKind::Quit;
  int line = 0;
  std::int64_t ms = 0;  // Wait
  int x = 0, y = 0;     // mouse commands; the start of Drag
  int x2 = 0, y2 = 0;   // the end of Drag
  ScriptButton button = ScriptButton::Left;
  ScriptKey key;        // Key
  std::string text;     // Type, Select (the entry), Input, Screenshot (the file)
  ScriptTarget target;  // Control, Select, Menu
  ControlAction action = ControlAction::Click;  // Control
  MsgAnswer answer = MsgAnswer::Ok;             // Answer
};

// A malformed script; what() reads "events.txt:12: unknown command 'clik'".
class EventScriptError : public std::runtime_error {
 public:
  EventScriptError(const std::string& source, int line, const std::string& message);
  int Line() const noexcept { return line_; }

 private:
  int line_;
};

// Parses a whole script; `source` names it in error messages. Throws EventScriptError.
std::vector<ScriptCommand> ParseEventScript(std::string_view text, std::string_view source);
// Reads and parses a script file; an unreadable file is an EventScriptError of line 0.
std::vector<ScriptCommand> LoadEventScript(const std::filesystem::path& file);

// The classic key code of a key name of the script ("Esc", "f5", "a", "7"), if it is one.
std::optional<int> KeyCodeFromName(std::string_view name);
// The answer named by `answer`'s argument ("ok", "Yes", ...), if it is one.
std::optional<MsgAnswer> AnswerFromName(std::string_view name);

}  // namespace sl
