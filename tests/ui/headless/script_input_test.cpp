// Script commands as input events: the sequences a click, a double click, a drag and the named
// commands stand for.
#include "backend/headless/script_input.h"

#include <gtest/gtest.h>

namespace sl {
namespace {

std::vector<ui::InputEvent> EventsOf(std::string_view line) {
  return InputEventsFor(ParseEventScript(line, "e").at(0));
}

TEST(ScriptInput, DoubleClickCountsTheSecondPress) {
  auto e = EventsOf("dblclick 4 5");
  ASSERT_EQ(e.size(), 4u);
  EXPECT_EQ(e[0].kind, ui::InputKind::MouseDown);
  EXPECT_EQ(e[0].clicks, 1);
  EXPECT_EQ(e[1].kind, ui::InputKind::MouseUp);
  EXPECT_EQ(e[2].kind, ui::InputKind::MouseDown);
  EXPECT_EQ(e[2].clicks, 2);
  EXPECT_EQ(e[3].kind, ui::InputKind::MouseUp);
  for (const auto& ev : e) {
    EXPECT_EQ(ev.x, 4);
    EXPECT_EQ(ev.y, 5);
    EXPECT_EQ(ev.button, ui::kButtonLeft);
  }
}

TEST(ScriptInput, DragPressesMovesWithTheButtonHeldAndReleases) {
  auto e = EventsOf("drag 0 0 100 -40");
  ASSERT_EQ(e.size(), 2u + kDragSteps);
  EXPECT_EQ(e.front().kind, ui::InputKind::MouseDown);
  EXPECT_EQ(e.front().x, 0);
  for (int i = 1; i <= kDragSteps; ++i) {
    EXPECT_EQ(e[i].kind, ui::InputKind::MouseMove);
    EXPECT_EQ(e[i].button, ui::kButtonLeft);
  }
  EXPECT_EQ(e[kDragSteps].x, 100);
  EXPECT_EQ(e[kDragSteps].y, -40);
  EXPECT_EQ(e.back().kind, ui::InputKind::MouseUp);
  EXPECT_EQ(e.back().x, 100);
  EXPECT_EQ(e.back().y, -40);
}

TEST(ScriptInput, SingleMouseEvents) {
  auto e = EventsOf("press 1 2 right");
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].kind, ui::InputKind::MouseDown);
  EXPECT_EQ(e[0].button, ui::kButtonRight);
  e = EventsOf("release 1 2");
  EXPECT_EQ(e.at(0).kind, ui::InputKind::MouseUp);
  e = EventsOf("move 7 8");
  EXPECT_EQ(e.at(0).kind, ui::InputKind::MouseMove);
  EXPECT_EQ(e.at(0).button, 0);
}

TEST(ScriptInput, NamedCommands) {
  auto e = EventsOf("control Area(3) right");
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].kind, ui::InputKind::ControlAction);
  EXPECT_EQ(e[0].target, "Area(3)");
  EXPECT_EQ(e[0].action, ui::ControlActionKind::RightClick);
  EXPECT_EQ(EventsOf("control Command2 dblclick").at(0).action, ui::ControlActionKind::DblClick);
  EXPECT_EQ(EventsOf("control Command2").at(0).target, "Command2");
  e = EventsOf("select lstSaves My save");
  EXPECT_EQ(e.at(0).kind, ui::InputKind::SelectItem);
  EXPECT_EQ(e.at(0).target, "lstSaves");
  EXPECT_EQ(e.at(0).text, "My save");
  e = EventsOf("menu mnuFrameName(2)");
  EXPECT_EQ(e.at(0).kind, ui::InputKind::MenuCommand);
  EXPECT_EQ(e.at(0).target, "mnuFrameName(2)");
  EXPECT_EQ(EventsOf("key F5 alt").at(0).shift, ui::kAltMask);
  for (std::string_view none :
       {"wait 5", "answer ok", "input x", "input-cancel", "dump", "screenshot a.png"})
    EXPECT_TRUE(EventsOf(none).empty()) << none;
}

}  // namespace
}  // namespace sl
