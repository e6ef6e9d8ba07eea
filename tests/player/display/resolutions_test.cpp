// Display switching: codes, width-only comparison, refusal message, restoring at exit.
#include "player/display/resolutions.h"

#include <gtest/gtest.h>

#include "core/recording_message_box.h"
#include "player/startup/interface_texts.h"
#include "ui/event_loop.h"
#include "ui/fake_platform.h"

namespace sl {
namespace {

class RefusingPlatform : public ui::test::FakePlatform {
 public:
  bool SetDisplaySize(ui::Size size) override {
    if (size.width == 1024) return false;
    return FakePlatform::SetDisplaySize(size);
  }
};

struct Fixture {
  RefusingPlatform platform;
  ui::EventLoop loop{platform};
  RecordingMessageBoxService boxes;
  InterfaceTexts texts;
  Resolutions res{platform, loop, boxes, texts};
  int recentred = 0;
  Fixture() {
    texts.LoadBuiltInTexts(false);
    res.SetRecenter([this] { ++recentred; });
  }
};

TEST(ResolutionsTest, CodesSwitchTheVirtualDisplayAndRecentre) {
  Fixture f;
  f.platform.display = {1280, 1024};
  f.res.SaveDisplayMode();
  std::int64_t before = f.platform.clock.MonotonicMs();
  f.res.ChangeResolutionTo(2);
  EXPECT_EQ(f.res.ScreenWidth(), 800);
  EXPECT_EQ(f.res.ScreenHeight(), 600);
  EXPECT_EQ(f.recentred, 1);
  EXPECT_GE(f.platform.clock.MonotonicMs() - before, 1000);  // it lets a second pass
  f.res.ChangeResolutionTo(1);
  EXPECT_EQ(f.res.ScreenWidth(), 640);
  f.res.RestoreDisplayMode();
  EXPECT_EQ(f.res.ScreenWidth(), 1280);
  EXPECT_EQ(f.res.ScreenHeight(), 1024);
  EXPECT_TRUE(f.boxes.Shown().empty());
}

TEST(ResolutionsTest, OnlyTheWidthIsCompared) {
  Fixture f;
  f.platform.display = {800, 1024};
  f.res.ChangeResolutionTo(2);
  EXPECT_EQ(f.res.ScreenHeight(), 1024);
  EXPECT_EQ(f.recentred, 0);
}

TEST(ResolutionsTest, OtherCodesChangeNothing) {
  Fixture f;
  f.res.ChangeResolutionTo(0);
  f.res.ChangeResolutionTo(4);
  EXPECT_EQ(f.res.ScreenWidth(), 1024);
  EXPECT_TRUE(f.boxes.Shown().empty());
}

TEST(ResolutionsTest, RefusedSizeIsReportedAndNothingChanges) {
  Fixture f;
  f.platform.display = {800, 600};
  f.res.ChangeResolutionTo(3);
  EXPECT_EQ(f.res.ScreenWidth(), 800);
  ASSERT_EQ(f.boxes.Shown().size(), 1u);
  const MessageBoxRequest& box = f.boxes.Shown()[0];
  EXPECT_EQ(box.icon, MsgIcon::Critical);
  EXPECT_EQ(box.title, f.texts[29]);
  EXPECT_TRUE(box.text.ends_with(" Unable to change display resolution. Mode not supported."));
}

TEST(ResolutionsTest, RestoreOnlyWhenTheSizeDiffers) {
  Fixture f;
  f.res.SaveDisplayMode();
  int presentsBefore = f.platform.waits;
  f.res.RestoreDisplayMode();
  EXPECT_EQ(f.platform.waits, presentsBefore);
  EXPECT_EQ(f.res.ScreenWidth(), 1024);
}

}  // namespace
}  // namespace sl
