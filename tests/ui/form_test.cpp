// Forms and controls: control arrays, z-order and hit testing, mouse capture, drag and drop,
// pointers and tool-tips, keyboard focus.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/runtime_error.h"
#include "support/error_number.h"
#include "ui/controls/check_box.h"
#include "ui/controls/combo_box.h"
#include "ui/controls/command_button.h"
#include "ui/controls/frame.h"
#include "ui/controls/image.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/controls/list_items.h"
#include "ui/controls/menu.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/text_box.h"
#include "ui/controls/timer_control.h"
#include "ui/ui_fixture.h"

namespace sl::ui {
namespace {

using test::UiFixture;

struct FormTest : UiFixture {
  FormTest() { form->Show(); }
};

template <class Kind>
void ExpectLoadedElementOfSameKind(Form& form, const std::string& name) {
  ControlArray& array = form.AddArray<Kind>(name);
  Control& element = array.Load(1);
  EXPECT_NE(dynamic_cast<Kind*>(&element), nullptr) << name;
  EXPECT_EQ(element.Kind(), array.Item(0).Kind()) << name;
  EXPECT_EQ(element.Name(), name);
  EXPECT_EQ(element.GetForm(), &form);
}

TEST_F(FormTest, LoadedArrayElementsAreOfTheTemplatesKind) {
  ExpectLoadedElementOfSameKind<Label>(*form, "Labels");
  ExpectLoadedElementOfSameKind<PictureBox>(*form, "Pictures");
  ExpectLoadedElementOfSameKind<CommandButton>(*form, "Buttons");
  ExpectLoadedElementOfSameKind<TextBox>(*form, "Texts");
  ExpectLoadedElementOfSameKind<TimerControl>(*form, "Timers");
  ExpectLoadedElementOfSameKind<Image>(*form, "Images");
  ExpectLoadedElementOfSameKind<CheckBox>(*form, "Checks");
  ExpectLoadedElementOfSameKind<ComboBox>(*form, "Combos");
  ExpectLoadedElementOfSameKind<ListBox>(*form, "Lists");
  ExpectLoadedElementOfSameKind<Frame>(*form, "Frames");
  ExpectLoadedElementOfSameKind<Menu>(*form, "Menus");
}

TEST(ListItemsTest, SortedEntriesIgnoreAsciiCaseAndPutOtherLettersLast) {
  ListItems items;
  items.sorted = true;
  for (const char* text : {"zebra",
                           "\xC3\x89"
                           "cole",
                           "apple", "Banana", "banana"})
    items.Add(text);
  ASSERT_EQ(items.Count(), 5);
  EXPECT_EQ(items.At(0), "apple");
  EXPECT_EQ(items.At(1), "Banana");  // equal without case: the later one goes after
  EXPECT_EQ(items.At(2), "banana");
  EXPECT_EQ(items.At(3), "zebra");
  EXPECT_EQ(items.At(4),
            "\xC3\x89"
            "cole");
}

TEST_F(FormTest, LoadedArrayElementsCopyTheTemplateAndStartHidden) {
  ControlArray& area = form->AddArray<Label>("Area");
  auto& tmpl = static_cast<Label&>(area.Item(0));
  tmpl.SetCaption("template");
  tmpl.SetTag("t");
  tmpl.SetMousePointer(99);
  tmpl.SetBackStyle(0);
  int clicks = 0;
  tmpl.on.click = [&](Control& c) { clicks += c.Index(); };
  Place(tmpl, 5, 6, 50, 20);

  auto& el = static_cast<Label&>(area.Load(3));
  EXPECT_EQ(el.Index(), 3);
  EXPECT_EQ(el.Caption(), "template");
  EXPECT_EQ(el.Tag(), "t");
  EXPECT_EQ(el.MousePointer(), 99);
  EXPECT_EQ(el.BackStyle(), 0);
  EXPECT_EQ(el.PixelBounds(), (draw::Rect{5, 6, 50, 20}));
  EXPECT_FALSE(el.Visible());
  EXPECT_EQ(form->FindControl("area(3)"), &el);
  // An index that is not a number, or one too large for one, names no control.
  EXPECT_EQ(form->FindControl("area(x)"), nullptr);
  EXPECT_EQ(form->FindControl("area()"), nullptr);
  EXPECT_EQ(form->FindControl("area(99999999999)"), nullptr);
  el.SetVisible(true);
  el.ZOrder(0);
  Click(10, 10);
  EXPECT_EQ(clicks, 3);  // element 3 got the template's handler with its own index
  EXPECT_EQ(area.Count(), 2);
  EXPECT_EQ(area.UBound(), 3);
}

TEST_F(FormTest, ControlArrayErrorsAreTheClassicOnes) {
  ControlArray& area = form->AddArray<Image>("Area");
  area.Load(1);
  std::string d;
  EXPECT_EQ(sl::test::ErrorNumberOf([&] { area.Load(1); }), 360);
  EXPECT_EQ(sl::test::ErrorNumberOf([&] { area.Item(7); }, &d), 340);
  EXPECT_EQ(d, "Control array element '7' doesn't exist");
  EXPECT_EQ(sl::test::ErrorNumberOf([&] { area.Unload(5); }), 340);
  EXPECT_EQ(sl::test::ErrorNumberOf([&] { area.Unload(0); }), 362);
  area.Unload(1);
  EXPECT_EQ(form->FindControl("Area(1)"), nullptr);
  EXPECT_NO_THROW(area.Load(1));  // the index is free again
  // Through the script interface: Area(7) is the same 340.
  Variant idx(std::int16_t{7});
  EXPECT_EQ(sl::test::ErrorNumberOf([&] {
              area.Invoke(kDispIdValue, kInvokeGet | kInvokeCall, {&idx, 1});
            }),
            340);
}

TEST_F(FormTest, UnloadingAContainerElementRemovesItsChildren) {
  ControlArray& boxes = form->AddArray<PictureBox>("Box");
  auto& box = static_cast<PictureBox&>(boxes.Load(1));
  auto& inner = form->Add<Label>("Inner", &box);
  Ref<Control> keep(&inner);
  boxes.Unload(1);
  EXPECT_EQ(form->FindControl("Inner"), nullptr);
  EXPECT_EQ(inner.Container(), nullptr);
}

TEST_F(FormTest, HitTestingFollowsZOrderClippingVisibilityAndEnabledState) {
  auto& pic = Place(form->Add<PictureBox>("Pic"), 10, 10, 100, 100);
  pic.SetBorderStyle(0);
  auto& inner = Place(form->Add<Image>("Inner", &pic), 80, 80, 50, 50);
  auto& a = Place(form->Add<Label>("A"), 200, 200, 50, 50);
  auto& b = Place(form->Add<Label>("B"), 220, 220, 50, 50);

  EXPECT_EQ(wm.HitTest(*form, {100, 100}), &inner);
  EXPECT_EQ(wm.HitTest(*form, {120, 120}), form.get());  // clipped away by its container
  EXPECT_EQ(wm.HitTest(*form, {50, 50}), &pic);
  EXPECT_EQ(wm.HitTest(*form, {230, 230}), &b);  // added later: on top
  b.ZOrder(1);
  EXPECT_EQ(wm.HitTest(*form, {230, 230}), &a);
  a.SetVisible(false);
  EXPECT_EQ(wm.HitTest(*form, {230, 230}), &b);
  b.SetEnabled(false);  // a disabled control hands the mouse to its container, not to siblings
  EXPECT_EQ(wm.HitTest(*form, {230, 230}), form.get());
  pic.SetEnabled(false);
  EXPECT_EQ(wm.HitTest(*form, {100, 100}), form.get());
  pic.SetEnabled(true);
  pic.SetVisible(false);
  EXPECT_EQ(wm.HitTest(*form, {100, 100}), form.get());
  EXPECT_EQ(wm.HitTest(*form, {700, 10}), nullptr);
}

TEST_F(FormTest, MouseIsCapturedByTheControlThatGotThePress) {
  auto& a = Place(form->Add<Image>("A"), 0, 0, 50, 50);
  auto& b = Place(form->Add<Image>("B"), 100, 0, 50, 50);
  std::vector<std::string> log;
  auto record = [&](const char* what) {
    return [&log, what](Control& c, const MouseArgs& m) {
      log.push_back(c.Name() + " " + what + " " + std::to_string(static_cast<int>(m.x)));
    };
  };
  for (Control* c : {static_cast<Control*>(&a), static_cast<Control*>(&b)}) {
    c->on.mouseDown = record("down");
    c->on.mouseMove = record("move");
    c->on.mouseUp = record("up");
    c->on.click = [&log](Control& k) { log.push_back(k.Name() + " click"); };
  }
  Mouse(InputKind::MouseDown, 10, 10);
  Mouse(InputKind::MouseMove, 110, 10, kButtonLeft);
  Mouse(InputKind::MouseUp, 110, 10);
  // Positions are twips relative to the control that has the capture; no click outside it.
  EXPECT_EQ(log, (std::vector<std::string>{"A down 150", "A move 1650", "A up 1650"}));
  log.clear();
  Click(120, 20);
  EXPECT_EQ(log, (std::vector<std::string>{"B move 300", "B down 300", "B up 300", "B click"}));
}

TEST_F(FormTest, DoubleClickRaisesDblClickInsteadOfASecondPress) {
  auto& a = Place(form->Add<Image>("A"), 0, 0, 50, 50);
  std::vector<std::string> log;
  a.on.mouseDown = [&](Control&, const MouseArgs&) { log.push_back("down"); };
  a.on.click = [&](Control&) { log.push_back("click"); };
  a.on.dblClick = [&](Control&) { log.push_back("dblclick"); };
  Mouse(InputKind::MouseDown, 5, 5);
  Mouse(InputKind::MouseUp, 5, 5);
  Mouse(InputKind::MouseDown, 5, 5, kButtonLeft, 2);
  Mouse(InputKind::MouseUp, 5, 5);
  EXPECT_EQ(log, (std::vector<std::string>{"down", "click", "dblclick"}));
}

draw::Picture Square(int size, draw::Point hot = {}) {
  return draw::Picture(draw::Surface(size, size, draw::OpaquePixel(200, 0, 0)),
                       draw::PictureKind::kCursor, hot);
}

TEST_F(FormTest, DragShowsTheDragIconAndDropsOnTheControlUnderThePointer) {
  auto& item = Place(form->Add<Image>("Item"), 0, 0, 32, 32);
  auto& hotspot = Place(form->Add<Image>("Hotspot"), 300, 100, 100, 100);
  item.SetDragIcon(Square(16, {3, 4}));
  item.on.mouseDown = [](Control& c, const MouseArgs&) { c.Drag(1); };
  std::string dropped;
  double dx = -1, dy = -1;
  hotspot.on.dragDrop = [&](Control& target, Control& source, double x, double y) {
    dropped = source.Name() + " on " + target.Name();
    dx = x;
    dy = y;
  };
  bool itemGotUp = false;
  item.on.mouseUp = [&](Control&, const MouseArgs&) { itemGotUp = true; };

  Mouse(InputKind::MouseDown, 10, 10);
  EXPECT_EQ(wm.DragSource(), &item);
  EXPECT_EQ(platform.cursor, 99);
  ASSERT_TRUE(platform.cursorImage);
  EXPECT_EQ(platform.cursorImage->hotX, 3);
  EXPECT_EQ(platform.cursorImage->hotY, 4);
  Mouse(InputKind::MouseMove, 310, 120, kButtonLeft);
  Mouse(InputKind::MouseUp, 310, 120);
  EXPECT_EQ(dropped, "Item on Hotspot");
  EXPECT_EQ(dx, 150);  // (310 - 300) px in twips
  EXPECT_EQ(dy, 300);
  EXPECT_FALSE(itemGotUp);
  EXPECT_EQ(wm.DragSource(), nullptr);
  EXPECT_EQ(platform.cursor, 0);
}

TEST_F(FormTest, AutomaticDragModeStartsADragOnPressAndItemMayDropOnItself) {
  auto& item = Place(form->Add<Image>("Item"), 0, 0, 32, 32);
  item.SetDragMode(1);
  bool pressed = false;
  item.on.mouseDown = [&](Control&, const MouseArgs&) { pressed = true; };
  Control* target = nullptr;
  item.on.dragDrop = [&](Control& t, Control&, double, double) { target = &t; };
  Mouse(InputKind::MouseDown, 5, 5);
  Mouse(InputKind::MouseUp, 6, 6);
  EXPECT_FALSE(pressed);
  EXPECT_EQ(target, &item);
}

TEST_F(FormTest, ScreenPointerOverridesControlPointersAndCustomCursorsUseTheirHotSpot) {
  auto& a = Place(form->Add<Image>("A"), 0, 0, 50, 50);
  auto& b = Place(form->Add<Image>("B"), 100, 0, 50, 50);
  a.SetMousePointer(2);
  b.SetMousePointer(99);
  b.SetMouseIcon(Square(32, {16, 2}));
  Mouse(InputKind::MouseMove, 10, 10, 0);
  EXPECT_EQ(platform.cursor, 2);
  Mouse(InputKind::MouseMove, 110, 10, 0);
  EXPECT_EQ(platform.cursor, 99);
  ASSERT_TRUE(platform.cursorImage);
  EXPECT_EQ(platform.cursorImage->width, 32);
  EXPECT_EQ(platform.cursorImage->hotX, 16);
  wm.SetScreenPointer(11);
  EXPECT_EQ(platform.cursor, 11);
  Mouse(InputKind::MouseMove, 10, 10, 0);
  EXPECT_EQ(platform.cursor, 11);
  wm.SetScreenPointer(0);
  EXPECT_EQ(platform.cursor, 2);
  Mouse(InputKind::MouseMove, 300, 300, 0);
  EXPECT_EQ(platform.cursor, 0);
  EXPECT_THROW(a.SetMousePointer(42), RuntimeError);
}

TEST_F(FormTest, ToolTipShowsAfterTheHoverDelayAndGoesOnPress) {
  auto& a = Place(form->Add<Image>("A"), 0, 0, 50, 50);
  a.SetToolTipText("Old key");
  Mouse(InputKind::MouseMove, 10, 10, 0);
  wm.Loop().Sleep(300);
  EXPECT_EQ(wm.ToolTipShowing(), "");
  Mouse(InputKind::MouseMove, 12, 10, 0);  // moving restarts the delay
  wm.Loop().Sleep(400);
  EXPECT_EQ(wm.ToolTipShowing(), "");
  wm.Loop().Sleep(150);
  EXPECT_EQ(wm.ToolTipShowing(), "Old key");
  Mouse(InputKind::MouseDown, 12, 10);
  EXPECT_EQ(wm.ToolTipShowing(), "");
  Mouse(InputKind::MouseUp, 12, 10);
  Mouse(InputKind::MouseMove, 300, 300, 0);
  wm.Loop().Sleep(1000);
  EXPECT_EQ(wm.ToolTipShowing(), "");
}

TEST_F(FormTest, KeysGoToPreviewThenFocusThenDefaultAndCancelButtons) {
  auto& text = Place(form->Add<TextBox>("Text1"), 0, 0, 100, 20);
  auto& ok = Place(form->Add<CommandButton>("OK"), 0, 40, 80, 25);
  auto& cancel = Place(form->Add<CommandButton>("Cancel"), 100, 40, 80, 25);
  ok.SetDefault(true);
  cancel.SetCancel(true);
  std::vector<std::string> log;
  ok.on.click = [&](Control&) { log.push_back("ok"); };
  cancel.on.click = [&](Control&) { log.push_back("cancel"); };
  form->SetKeyPreview(true);
  form->on.keyDown = [&](Control&, int& key, int) {
    log.push_back("form " + std::to_string(key));
    if (key == kKeyF1) key = 0;  // swallowed
  };
  form->SetFocusTo(&text);
  InputEvent typed;
  typed.kind = InputKind::Text;
  typed.text = "Ab";
  platform.Post(typed);
  wm.Loop().DoEvents();
  Key(kKeyBackspace);
  EXPECT_EQ(text.Text(), "A");
  Key(kKeyF1);
  Key(kKeyReturn);
  Key(kKeyEscape);
  EXPECT_EQ(log,
            (std::vector<std::string>{"form 8", "form 112", "form 13", "ok", "form 27", "cancel"}));
  Key(kKeyTab);
  EXPECT_EQ(form->ActiveControl(), &ok);
  Key(kKeyRight);
  EXPECT_EQ(form->ActiveControl(), &cancel);
}

TEST_F(FormTest, TimerControlsTickThroughTheFormsLoopAndArraysCopyThemDisabled) {
  ControlArray& events = form->AddArray<TimerControl>("TimedEvent");
  auto& t0 = static_cast<TimerControl&>(events.Item(0));
  t0.SetEnabled(false);
  t0.SetInterval(0);
  std::vector<int> ticks;
  t0.on.timer = [&](Control& c) { ticks.push_back(c.Index()); };
  auto& t1 = static_cast<TimerControl&>(events.Load(1));
  EXPECT_FALSE(t1.TimerEnabled());
  t1.SetInterval(200);
  t1.SetEnabled(true);
  wm.Loop().Sleep(450);
  EXPECT_EQ(ticks, (std::vector<int>{1, 1}));
  t1.on.timer = [&](Control& c) {
    ticks.push_back(-c.Index());
    static_cast<ControlArray*>(c.Array())->Unload(1);  // a timer may unload itself
  };
  wm.Loop().Sleep(500);
  EXPECT_EQ(ticks, (std::vector<int>{1, 1, -1}));
}

TEST_F(FormTest, UnloadingAFormStopsItsTimers) {
  auto& timer = form->Add<TimerControl>("Timer1");
  int ticks = 0;
  timer.on.timer = [&](Control&) { ++ticks; };
  timer.SetInterval(100);
  timer.SetEnabled(true);
  wm.Loop().Sleep(250);
  EXPECT_EQ(ticks, 2);
  ASSERT_TRUE(form->Unload());
  wm.Loop().Sleep(500);
  EXPECT_EQ(ticks, 2);
  EXPECT_FALSE(timer.TimerEnabled());
}

TEST_F(FormTest, ChangesMarkTheFormDirtyAndOnlyDirtyFormsArePresented) {
  auto& l = Place(form->Add<Label>("L"), 0, 0, 50, 20);
  wm.Loop().DoEvents();
  int presents = platform.presents;
  wm.Loop().DoEvents();
  EXPECT_EQ(platform.presents, presents);
  l.SetCaption("x");
  wm.Loop().DoEvents();
  EXPECT_EQ(platform.presents, presents + 1);
  auto& w = platform.windows[form->Window()];
  EXPECT_EQ(w.frameWidth, 640);
  EXPECT_EQ(w.frameHeight, 480);
}

}  // namespace
}  // namespace sl::ui
