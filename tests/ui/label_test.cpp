// Labels with captions of any length: a caption of a million characters once built a surface as
// wide as its text (3.5 GB); only the part that shows is drawn.
#include "ui/controls/label.h"

#include <gtest/gtest.h>

#include "support/memory_growth.h"
#include "ui/ui_fixture.h"

namespace sl::ui {
namespace {

using LabelTest = test::UiFixture;

std::string Sentences(std::size_t bytes) {
  std::string text;
  while (text.size() < bytes)
    text += "The lighthouse keeper climbs the stairs. ";
  return text;
}

TEST_F(LabelTest, AMillionCharacterCaptionDrawsWhatShows) {
  form->Show();
  auto& huge = Place(form->Add<Label>("Huge"), 10, 10, 100, 20);
  huge.SetAutoSize(true);
  std::string text = Sentences(1000000);
  long grown = sl::test::PeakMemoryGrowthMiB([&] {
    huge.SetCaption(text);
    wm.Compose(*form);
  });
  EXPECT_GE(grown, 0);
  EXPECT_LT(grown, sl::test::kModestGrowthMiB);
  huge.SetCaption(text);
  EXPECT_GT(huge.Width() / 15, 1000000);  // it is as wide as its text, as a label sizes itself
  draw::Surface withHuge = wm.Compose(*form);
  // What shows is what a label of the first few hundred characters shows.
  huge.SetCaption(text.substr(0, 300));
  draw::Surface withStart = wm.Compose(*form);
  EXPECT_TRUE(withHuge == withStart);
}

TEST_F(LabelTest, ALabelTallerThanItsWindowDrawsWhatShows) {
  form->Show();
  auto& tall = Place(form->Add<Label>("Tall"), 0, 0, 300, 20);
  tall.SetAutoSize(true);
  std::string lines;
  for (int i = 0; i < 100000; ++i)
    lines += "line " + std::to_string(i) + "\r\n";
  long grown = sl::test::PeakMemoryGrowthMiB([&] {
    tall.SetCaption(lines);
    wm.Compose(*form);
  });
  EXPECT_GE(grown, 0);
  EXPECT_LT(grown, sl::test::kModestGrowthMiB);
  tall.SetCaption(lines);
  draw::Surface withAll = wm.Compose(*form);
  tall.SetCaption(lines.substr(0, lines.find("line 60\r\n")));
  EXPECT_TRUE(wm.Compose(*form) == withAll);
}

TEST_F(LabelTest, AnEllipsisEndsWhatTheBoxCuts) {
  form->Show();
  int twoLines = 2 * wm.Fonts().Get(draw::FontSpec{}).Height() + 1;
  auto& cut = Place(form->Add<Label>("Cut"), 0, 0, 300, twoLines);
  auto& fits = Place(form->Add<Label>("Fits"), 0, 100, 300, twoLines);
  cut.SetEllipsis(true);
  cut.SetCaption("one\r\ntwo\r\nthree\r\nfour");
  fits.SetCaption("one\r\ntwo\xE2\x80\xA6");
  draw::Surface s = wm.Compose(*form);
  EXPECT_TRUE(s.Crop({0, 0, 300, twoLines}) == s.Crop({0, 100, 300, twoLines}));
  // An auto-sized label stays within its limit.
  auto& limited = Place(form->Add<Label>("Limited"), 0, 200, 10, 10);
  limited.SetAutoSize(true);
  limited.SetAutoSizeLimit(200 * 15, 50 * 15);
  limited.SetCaption(Sentences(5000) + "\r\nsecond\r\nthird\r\nfourth\r\nfifth");
  EXPECT_LE(limited.Width(), 200 * 15);
  EXPECT_GT(limited.Width(), 150 * 15);
  EXPECT_LE(limited.Height(), 50 * 15);
}

}  // namespace
}  // namespace sl::ui
