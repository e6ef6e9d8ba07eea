// MsgBox and InputBox: the prompt and options go to the host through BuiltinContext, which
// shows the box (or answers for it in a headless run) and returns the answer.
#include "vbscript/builtins/arguments.h"
#include "vbscript/builtins/families.h"

namespace sl::vbs {

namespace {

std::string OptionalText(std::span<Variant> a, std::size_t i) {
  return HasArg(a, i) ? ToUtf8(Variant(ToString(a[i]))) : std::string();
}

// MsgBox(prompt[, buttons[, title[, helpfile, context]]]): the answer code as an Integer. The
// help file arguments are accepted and ignored. An empty title lets the host use its own.
Variant MsgBox(BuiltinContext& context, std::span<Variant> a) {
  std::string prompt = ToUtf8(Variant(ToString(a[0])));
  std::int32_t buttons = LongArg(a, 1, 0);
  std::string title = OptionalText(a, 2);
  int answer = context.MessageBox(prompt, buttons, title);
  return Variant(static_cast<std::int16_t>(answer));
}

// InputBox(prompt[, title[, default[, xpos, ypos[, helpfile, context]]]]): the text entered,
// or Empty when the user cancels (which scripts test with IsEmpty).
Variant InputBox(BuiltinContext& context, std::span<Variant> a) {
  std::string prompt = ToUtf8(Variant(ToString(a[0])));
  std::string title = OptionalText(a, 1);
  std::string defaultText = OptionalText(a, 2);
  for (std::size_t i = 3; i < 5; ++i) {
    if (HasArg(a, i)) ToLong(a[i]);  // positions must be numbers even though they are unused
  }
  std::optional<std::string> answer = context.InputBox(prompt, title, defaultText);
  if (!answer) return Variant();
  return Variant(*answer);
}

constexpr BuiltinInfo kBoxes[] = {
    {"InputBox", InputBox, 1, 7},
    {"MsgBox", MsgBox, 1, 5},
};

}  // namespace

std::span<const BuiltinInfo> MessageBoxBuiltins() {
  return kBoxes;
}

}  // namespace sl::vbs
