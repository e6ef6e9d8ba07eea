// Controls, forms, Screen and App reached by name through the late-bound object interface, as
// scripts reach them.
#include <gtest/gtest.h>

#include <vector>

#include "core/runtime_error.h"
#include "core/variant_convert.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/controls/picture_box.h"
#include "ui/screen_object.h"
#include "ui/ui_fixture.h"

namespace sl::ui {
namespace {

using test::UiFixture;

int ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const RuntimeError& e) {
    return e.Number();
  }
  return 0;
}

struct DispatchTest : UiFixture {};

TEST_F(DispatchTest, PropertiesAndMethodsByNameInAnyLetterCase) {
  Label& l = form->Add<Label>("Label1");
  l.LetProperty("CAPTION", Variant("Hello"));
  EXPECT_EQ(l.Caption(), "Hello");
  EXPECT_EQ(ToUtf8(l.GetProperty("caption")), "Hello");
  l.LetProperty("Left", Variant(300.0));
  l.LetProperty("FontBold", Variant(true));
  EXPECT_TRUE(l.FontSpec().bold);
  std::vector<Variant> args{Variant(15.0), Variant(30.0), Variant(150.0)};
  l.CallMethod("Move", args);
  EXPECT_EQ(l.Left(), 15);
  EXPECT_EQ(l.Top(), 30);
  EXPECT_EQ(l.Width(), 150);
  EXPECT_EQ(ToDouble(l.GetProperty("Height")), 255);  // an omitted argument keeps the value
  // The default member of a label is its caption.
  Variant text("Default");
  l.Invoke(kDispIdValue, kInvokeLet, {&text, 1});
  EXPECT_EQ(ToUtf8(l.Invoke(kDispIdValue, kInvokeGet, {})), "Default");
  EXPECT_EQ(l.TypeName(), "Label");
}

TEST_F(DispatchTest, ClassicErrorsForWrongNamesArgumentsAndValues) {
  Label& l = form->Add<Label>("Label1");
  EXPECT_EQ(l.GetIdOfName("NoSuchThing"), kDispIdUnknown);
  EXPECT_EQ(ErrorOf([&] { l.GetProperty("NoSuchThing"); }), 438);
  EXPECT_EQ(ErrorOf([&] { l.LetProperty("Name", Variant("x")); }), 383);
  std::vector<Variant> three(3, Variant(std::int16_t{1}));
  EXPECT_EQ(ErrorOf([&] { l.CallMethod("ZOrder", three); }), 450);
  EXPECT_EQ(ErrorOf([&] { l.LetProperty("Alignment", Variant(std::int16_t{7})); }), 380);
  EXPECT_EQ(ErrorOf([&] { l.LetProperty("Caption", Variant::Null()); }), 94);
  EXPECT_EQ(ErrorOf([&] { l.GetProperty("Index"); }), 343);
}

TEST_F(DispatchTest, FormMembersIncludeItsControlsAndArrays) {
  ControlArray& area = form->AddArray<Label>("Area");
  area.Load(2);
  form->Add<Label>("Title");
  Object& f = *form;
  // Game.Area(2).Caption = "x"
  Variant two(std::int16_t{2});
  Variant element = f.Invoke(f.GetIdOfName("area"), kInvokeGet | kInvokeCall, {&two, 1});
  ASSERT_TRUE(element.IsObject());
  element.AsObject()->LetProperty("Caption", Variant("x"));
  EXPECT_EQ(static_cast<Label&>(area.Item(2)).Caption(), "x");
  // Game.Title = "t" assigns the label's default member.
  Variant t("t");
  f.Invoke(f.GetIdOfName("Title"), kInvokeLet, {&t, 1});
  EXPECT_EQ(static_cast<Label*>(form->FindControl("Title"))->Caption(), "t");
  Variant missing(std::int16_t{9});
  EXPECT_EQ(ErrorOf([&] { f.Invoke(f.GetIdOfName("Area"), kInvokeGet, {&missing, 1}); }), 340);
  EXPECT_EQ(ToInteger(f.GetProperty("Area").AsObject()->GetProperty("Count")), 2);
  form->LetProperty("Caption", Variant("The Lighthouse"));
  EXPECT_EQ(form->Caption(), "The Lighthouse");
}

TEST_F(DispatchTest, ListBoxEntriesAndSelection) {
  ListBox& list = form->Add<ListBox>("List1");
  int clicks = 0;
  list.on.click = [&](Control&) { ++clicks; };
  for (const char* s : {"b", "a", "c"}) {
    std::vector<Variant> a{Variant(s)};
    list.CallMethod("AddItem", a);
  }
  std::vector<Variant> at{Variant("first"), Variant(std::int16_t{0})};
  list.CallMethod("AddItem", at);
  EXPECT_EQ(ToInteger(list.GetProperty("ListCount")), 4);
  Variant i(std::int16_t{1});
  EXPECT_EQ(ToUtf8(list.GetProperty("List", {&i, 1})), "b");
  list.LetProperty("ListIndex", Variant(std::int16_t{2}));
  EXPECT_EQ(ToUtf8(list.GetProperty("Text")), "a");
  EXPECT_EQ(clicks, 1);
  std::vector<Variant> rm{Variant(std::int16_t{0})};
  list.CallMethod("RemoveItem", rm);
  EXPECT_EQ(ToInteger(list.GetProperty("ListIndex")), 1);  // the selection moves with its entry
  EXPECT_EQ(ErrorOf([&] { list.LetProperty("ListIndex", Variant(std::int16_t{5})); }), 380);
}

TEST_F(DispatchTest, PixelScaledPictureBoxMeasuresItsChildrenInPixels) {
  PictureBox& pic = form->Add<PictureBox>("PictureBox");
  pic.LetProperty("ScaleMode", Variant(std::int16_t{3}));
  Label& l = form->Add<Label>("Text", &pic);
  l.LetProperty("Left", Variant(std::int16_t{20}));
  EXPECT_EQ(l.Left(), 300);  // kept in twips
  EXPECT_EQ(ToDouble(l.GetProperty("Left")), 20);
}

TEST_F(DispatchTest, ScreenAndAppObjects) {
  Ref<ScreenObject> screenRef = MakeRef<ScreenObject>(wm);
  ScreenObject& screen = *screenRef;
  EXPECT_EQ(ToDouble(screen.GetProperty("Width")), 1024 * 15);
  EXPECT_EQ(ToDouble(screen.GetProperty("height")), 768 * 15);
  screen.LetProperty("MousePointer", Variant(std::int16_t{11}));
  EXPECT_EQ(platform.cursor, 11);
  EXPECT_EQ(ErrorOf([&] { screen.LetProperty("MousePointer", Variant(std::int16_t{50})); }), 380);
  form->Show();
  EXPECT_EQ(screen.GetProperty("ActiveForm").AsObject(), form.get());
  Ref<AppObject> app = MakeRef<AppObject>(AppInfo{"/games/keeper", "Keeper", "storyloom", 1, 2, 3});
  EXPECT_EQ(ToUtf8(app->GetProperty("Path")), "/games/keeper");
  EXPECT_EQ(ToInteger(app->GetProperty("Revision")), 3);
  app->LetProperty("Title", Variant("New"));
  EXPECT_EQ(app->Info().title, "New");
}

}  // namespace
}  // namespace sl::ui
