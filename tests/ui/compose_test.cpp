// Drawing: a sample form composed and compared with a reference picture (set
// STORYLOOM_UPDATE_REFERENCES=1 to rewrite it), the picture box canvas, menus and tool-tips.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/path_resolver.h"
#include "ui/controls/check_box.h"
#include "ui/controls/command_button.h"
#include "ui/controls/file_list_box.h"
#include "ui/controls/frame.h"
#include "ui/controls/image.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/controls/menu.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/text_box.h"
#include "ui/draw/image_compare.h"
#include "ui/draw/png_io.h"
#include "ui/ui_fixture.h"

namespace sl::ui {
namespace {

using test::UiFixture;

draw::Picture Checker(int w, int h, bool holes) {
  draw::Surface s(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      bool dark = ((x / 4) + (y / 4)) % 2 == 0;
      if (holes && dark) continue;  // transparent, as a GIF's transparent colour
      s.SetPixel(x, y, dark ? draw::OpaquePixel(40, 60, 160) : draw::OpaquePixel(240, 200, 40));
    }
  }
  s.UpdateOpacity();
  return draw::Picture(std::move(s));
}

struct ComposeTest : UiFixture {
  void BuildSample() {
    form->Move(0, 0, 320 * 15, 240 * 15);
    Menu& file = form->AddMenu("mnuFile");
    file.SetCaption("&File");
    form->AddMenu("mnuSave", &file).SetCaption("&Save");
    form->AddMenu("mnuHelp").SetCaption("&Help");

    auto& pic = Place(form->Add<PictureBox>("PictureBox"), 8, 8, 140, 100);
    pic.SetBackColor(0x00804000);  // &HBBGGRR: a dark teal
    auto& hotspot = Place(form->Add<Image>("Area", &pic), 90, 50, 0, 0);
    hotspot.SetPicture(Checker(60, 30, true));  // sticks out of its container: clipped
    auto& stretched = Place(form->Add<Image>("Stretched", &pic), 6, 6, 40, 40);
    stretched.SetStretch(true);
    stretched.SetPicture(Checker(8, 8, false));
    auto& label = Place(form->Add<Label>("Text", &pic), 10, 60, 120, 30);
    label.SetBackStyle(0);
    label.SetForeColor(0x00FFFFFF);
    label.SetCaption("Transparent label over the picture");

    auto& frame = Place(form->Add<Frame>("Frame1"), 160, 4, 150, 104);
    frame.SetCaption("Options");
    auto& check = Place(form->Add<CheckBox>("Check1", &frame), 8, 20, 130, 18);
    check.SetCaption("Transitions");
    check.SetValue(1);
    auto& text = Place(form->Add<TextBox>("Text1", &frame), 8, 44, 130, 21);
    text.SetText("slot one");
    auto& button = Place(form->Add<CommandButton>("Command1", &frame), 8, 72, 75, 23);
    button.SetCaption("OK");
    button.SetDefault(true);

    auto& list = Place(form->Add<ListBox>("List1"), 8, 116, 140, 70);
    for (const char* s : {"Beach", "Lighthouse", "Cellar"})
      list.Items().Add(s);
    list.SetListIndex(1);
    auto& caption = Place(form->Add<Label>("Caption"), 160, 116, 150, 60);
    caption.SetWordWrap(true);
    caption.SetAlignment(2);
    caption.SetCaption("A centred label whose caption wraps at its width");
  }
};

TEST_F(ComposeTest, SampleFormMatchesItsReferencePicture) {
  BuildSample();
  form->Show();
  const draw::Surface& frame = wm.Compose(*form);
  int bar = form->NonClientPixels().menuBar;
  EXPECT_GT(bar, 0);
  EXPECT_EQ(frame.Height(), form->ClientSize().height + bar);
  std::filesystem::path reference =
      std::filesystem::path(STORYLOOM_SOURCE_DIR) / "tests/ui/data/sample_form.png";
  const char* update = std::getenv("STORYLOOM_UPDATE_REFERENCES");
  if (update && *update == '1') draw::SavePng(frame, reference);
  draw::ReferenceCheck check =
      draw::CompareWithReference(frame, reference, STORYLOOM_BINARY_DIR, {24, 0.01});
  EXPECT_TRUE(check.match) << check.message;
}

TEST_F(ComposeTest, PictureBoxCanvasKeepsDrawingUntilCls) {
  form->Move(0, 0, 200 * 15, 100 * 15);
  auto& pic = Place(form->Add<PictureBox>("Pic"), 0, 0, 100, 50);
  pic.SetBorderStyle(0);
  pic.SetBackColor(0x000000FF);  // red
  pic.SetScaleMode(3);
  pic.PaintPicture(Checker(8, 8, false), {10, 10, 20, 20}, {});
  form->Show();
  const draw::Surface& s1 = wm.Compose(*form);
  EXPECT_EQ(s1.GetPixel(1, 1), draw::OpaquePixel(255, 0, 0));
  EXPECT_EQ(s1.GetPixel(10, 10), draw::OpaquePixel(40, 60, 160));  // stretched 2x: dark block
  EXPECT_EQ(s1.GetPixel(21, 10), draw::OpaquePixel(240, 200, 40));
  pic.SetCurrentX(2);
  pic.SetCurrentY(30);
  pic.Print("Hi");
  EXPECT_GT(pic.CurrentY(), 30);
  EXPECT_EQ(pic.CurrentX(), 0);
  pic.Cls();
  const draw::Surface& s2 = wm.Compose(*form);
  EXPECT_EQ(s2.GetPixel(10, 10), draw::OpaquePixel(255, 0, 0));
  EXPECT_EQ(pic.CurrentY(), 0);
}

// The canvas follows the box's size: what was drawn stays where it still fits (a shrink clips it
// for good), and a box resized before anything is drawn on it has a blank canvas of its size.
TEST_F(ComposeTest, PictureBoxCanvasFollowsResizes) {
  form->Move(0, 0, 200 * 15, 100 * 15);
  auto& blank = Place(form->Add<PictureBox>("Blank"), 0, 0, 20, 10);
  blank.SetBorderStyle(0);
  Place(blank, 0, 0, 60, 30);
  EXPECT_EQ(blank.Canvas().Width(), 60);
  EXPECT_EQ(blank.Canvas().Height(), 30);
  EXPECT_EQ(blank.Canvas().GetPixel(59, 29), draw::kTransparent);

  auto& pic = Place(form->Add<PictureBox>("Pic"), 0, 0, 100, 50);
  pic.SetBorderStyle(0);
  pic.SetScaleMode(3);
  pic.PaintPicture(Checker(8, 8, false), {0, 0, 40, 40}, {});
  Place(pic, 0, 0, 120, 60);
  EXPECT_EQ(pic.Canvas().GetPixel(0, 0), draw::OpaquePixel(40, 60, 160));
  EXPECT_EQ(pic.Canvas().GetPixel(110, 55), draw::kTransparent);
  Place(pic, 0, 0, 20, 20);
  Place(pic, 0, 0, 100, 50);
  EXPECT_EQ(pic.Canvas().GetPixel(0, 0), draw::OpaquePixel(40, 60, 160));
  EXPECT_EQ(pic.Canvas().GetPixel(30, 30), draw::kTransparent);  // clipped by the shrink
  pic.Cls();
  Place(pic, 0, 0, 30, 30);
  EXPECT_EQ(pic.Canvas().Width(), 30);
  EXPECT_EQ(pic.Canvas().GetPixel(0, 0), draw::kTransparent);
}

TEST_F(ComposeTest, MenuBarTakesRoomFromTheClientAreaAndDropDownsWork) {
  form->SetBorderStyle(BorderStyle::FixedSingle);
  Menu& options = form->AddMenu("mnuOptions");
  options.SetCaption("Options");
  Menu& trans = form->AddMenu("mnuDisableTransitions", &options);
  trans.SetCaption("Disable transitions");
  int clicks = 0, titleClicks = 0;
  trans.on.click = [&](Control&) { ++clicks; };
  options.on.click = [&](Control&) { ++titleClicks; };
  form->Show();
  int withBar = form->ClientSize().height;
  options.SetVisible(false);
  EXPECT_FALSE(form->HasMenuBar());
  EXPECT_EQ(form->ClientSize().height, withBar + wm.MenuBarPixels());
  options.SetVisible(true);

  // A press on the title opens its drop-down; Esc closes it.
  InputEvent press;
  press.kind = InputKind::MouseDown;
  press.space = CoordSpace::Frame;
  press.x = 12;
  press.y = 5;
  press.button = kButtonLeft;
  platform.Post(press);
  wm.Loop().DoEvents();
  EXPECT_EQ(wm.OpenMenu(), &options);
  EXPECT_EQ(titleClicks, 1);
  Key(kKeyEscape);
  EXPECT_EQ(wm.OpenMenu(), nullptr);
  // Keyboard choice in an open drop-down.
  platform.Post(press);
  wm.Loop().DoEvents();
  Key(kKeyDown);
  Key(kKeyReturn);
  EXPECT_EQ(clicks, 1);
  // An event script's menu command runs even a hidden entry.
  options.SetVisible(false);
  InputEvent cmd;
  cmd.kind = InputKind::MenuCommand;
  cmd.target = "mnuDisableTransitions";
  platform.Post(cmd);
  wm.Loop().DoEvents();
  EXPECT_EQ(clicks, 2);
}

TEST_F(ComposeTest, ToolTipIsDrawnNearThePointer) {
  form->Move(0, 0, 200 * 15, 100 * 15);
  form->SetBackColor(0x00FFFFFF);
  auto& img = Place(form->Add<Image>("Img"), 0, 0, 60, 40);
  img.SetToolTipText("Key");
  form->Show();
  Mouse(InputKind::MouseMove, 10, 10, 0);
  wm.Loop().Sleep(600);
  ASSERT_EQ(wm.ToolTipShowing(), "Key");
  const auto& w = platform.windows[form->Window()];
  // The tip's background (info colour) shows below the pointer.
  std::size_t at = (static_cast<std::size_t>(33) * w.frameWidth + 14) * 4;
  draw::Rgba info = draw::SystemColorRgba(draw::SystemColor::kInfoBackground);
  EXPECT_EQ(w.pixels[at], info.r);
  EXPECT_EQ(w.pixels[at + 1], info.g);
  EXPECT_EQ(w.pixels[at + 2], info.b);
}

TEST_F(ComposeTest, FileListBoxListsMatchingFilesSortedWithoutRegardToCase) {
  std::filesystem::path dir = std::filesystem::path(STORYLOOM_BINARY_DIR) / "file_list_test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "sub.sav");
  for (const char* n : {"beta.sav", "Alpha.SAV", "gamma.sav", "notes.txt", ".sav"}) {
    std::ofstream(dir / n) << "x";
  }
  auto& files = form->Add<FileListBox>("File1");
  files.SetPath(dir.string());
  files.SetPattern("*.sav");
  std::vector<std::string> names;
  for (int i = 0; i < files.Items().Count(); ++i)
    names.push_back(files.Items().At(i));
  EXPECT_EQ(names, (std::vector<std::string>{".sav", "Alpha.SAV", "beta.sav", "gamma.sav"}));
  std::ofstream(dir / "Delta.sav") << "x";
  EXPECT_EQ(files.Items().Count(), 4);
  files.Refresh();
  EXPECT_EQ(files.Items().At(3), "Delta.sav");
  EXPECT_THROW(files.SetPath((dir / "missing").string()), RuntimeError);
  // With a path resolver the folder may be named as on Windows.
  PathResolver paths(dir.parent_path().string());
  wm.SetPaths(&paths);
  files.SetPath("FILE_LIST_TEST");
  files.SetPattern("*.SAV;*.txt");
  EXPECT_EQ(files.Items().Count(), 6);
  EXPECT_EQ(files.Items().At(5), "notes.txt");
  wm.SetPaths(nullptr);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace sl::ui
