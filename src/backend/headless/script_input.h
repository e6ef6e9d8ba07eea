// The input events a command of an event script stands for: a click is a press and a release,
// a double click two of them with the second press counted as the double, a drag a press, a few
// moves with the button held and a release, a key a key-down and a key-up. Mouse positions are in
// the window's script coordinates, which the window runtime maps (the game window's frame
// picture, else the client area).
#pragma once

#include <vector>

#include "backend/headless/event_script.h"
#include "ui/input_event.h"

namespace sl {

// The events of an input command (mouse, key, type, control, select, menu, quit); none for the
// commands that are no input (wait, answer, input, dump, screenshot).
std::vector<ui::InputEvent> InputEventsFor(const ScriptCommand& command);

// How many moves a scripted drag makes between its press and its release.
constexpr int kDragSteps = 4;

}  // namespace sl
