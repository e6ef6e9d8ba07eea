// Event-script commands as input events (see script_input.h).
#include "backend/headless/script_input.h"

namespace sl {

namespace {

ui::InputEvent Mouse(ui::InputKind kind, int x, int y, int button) {
  ui::InputEvent e;
  e.kind = kind;
  e.space = ui::CoordSpace::Script;
  e.x = x;
  e.y = y;
  e.button = button;
  return e;
}

int ButtonOf(ScriptButton b) {
  return b == ScriptButton::Right ? ui::kButtonRight : ui::kButtonLeft;
}

void AddClick(std::vector<ui::InputEvent>& out, int x, int y, int button, int clicks) {
  ui::InputEvent down = Mouse(ui::InputKind::MouseDown, x, y, button);
  down.clicks = clicks;
  out.push_back(down);
  out.push_back(Mouse(ui::InputKind::MouseUp, x, y, button));
}

ui::InputEvent Named(ui::InputKind kind, const ScriptTarget& target) {
  ui::InputEvent e;
  e.kind = kind;
  e.target = target.name;
  // Appended piece by piece: "(" + std::to_string(...) makes GCC 12 at -O3 warn falsely of an
  // overlapping copy (-Wrestrict).
  if (target.index) e.target.append(1, '(').append(std::to_string(*target.index)).append(1, ')');
  return e;
}

}  // namespace

std::vector<ui::InputEvent> InputEventsFor(const ScriptCommand& c) {
  using K = ScriptCommandKind;
  std::vector<ui::InputEvent> out;
  switch (c.kind) {
    case K::Click:
      AddClick(out, c.x, c.y, ButtonOf(c.button), 1);
      break;
    case K::DblClick:
      AddClick(out, c.x, c.y, ui::kButtonLeft, 1);
      AddClick(out, c.x, c.y, ui::kButtonLeft, 2);
      break;
    case K::Press:
      out.push_back(Mouse(ui::InputKind::MouseDown, c.x, c.y, ButtonOf(c.button)));
      break;
    case K::Release:
      out.push_back(Mouse(ui::InputKind::MouseUp, c.x, c.y, ButtonOf(c.button)));
      break;
    case K::Move:
      out.push_back(Mouse(ui::InputKind::MouseMove, c.x, c.y, 0));
      break;
    case K::Drag:
      out.push_back(Mouse(ui::InputKind::MouseDown, c.x, c.y, ui::kButtonLeft));
      for (int step = 1; step <= kDragSteps; ++step) {
        int x = c.x + (c.x2 - c.x) * step / kDragSteps;
        int y = c.y + (c.y2 - c.y) * step / kDragSteps;
        out.push_back(Mouse(ui::InputKind::MouseMove, x, y, ui::kButtonLeft));
      }
      out.push_back(Mouse(ui::InputKind::MouseUp, c.x2, c.y2, ui::kButtonLeft));
      break;
    case K::Key: {
      ui::InputEvent e;
      e.kind = ui::InputKind::KeyDown;
      e.keyCode = c.key.keyCode;
      e.shift = (c.key.shift ? ui::kShiftMask : 0) | (c.key.ctrl ? ui::kCtrlMask : 0) |
                (c.key.alt ? ui::kAltMask : 0);
      out.push_back(e);
      e.kind = ui::InputKind::KeyUp;
      out.push_back(e);
      break;
    }
    case K::Type: {
      ui::InputEvent e;
      e.kind = ui::InputKind::Text;
      e.text = c.text;
      out.push_back(e);
      break;
    }
    case K::Control: {
      ui::InputEvent e = Named(ui::InputKind::ControlAction, c.target);
      e.action = c.action == ControlAction::DblClick ? ui::ControlActionKind::DblClick
                 : c.action == ControlAction::Right  ? ui::ControlActionKind::RightClick
                                                     : ui::ControlActionKind::Click;
      out.push_back(e);
      break;
    }
    case K::Select: {
      ui::InputEvent e = Named(ui::InputKind::SelectItem, c.target);
      e.text = c.text;
      out.push_back(e);
      break;
    }
    case K::Menu:
      out.push_back(Named(ui::InputKind::MenuCommand, c.target));
      break;
    case K::Quit: {
      ui::InputEvent e;
      e.kind = ui::InputKind::Quit;
      out.push_back(e);
      break;
    }
    case K::Wait:
    case K::Answer:
    case K::Input:
    case K::InputCancel:
    case K::Dump:
    case K::Screenshot:
      break;
  }
  return out;
}

}  // namespace sl
