// Timer rules and the event loop's re-entrancy and waiting, on a virtual clock.
#include "ui/timer.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/runtime_error.h"
#include "ui/event_loop.h"
#include "ui/fake_platform.h"

namespace sl::ui {
namespace {

struct TimerTest : ::testing::Test {
  test::FakePlatform platform;
  EventLoop loop{platform};
  void RunFor(std::int64_t ms) { loop.Sleep(ms); }
};

TEST_F(TimerTest, TicksEveryIntervalWhileEnabled) {
  Timer t(loop);
  std::vector<std::int64_t> at;
  t.SetHandler([&] { at.push_back(loop.NowMs()); });
  t.SetInterval(100);
  RunFor(350);
  EXPECT_EQ(at, (std::vector<std::int64_t>{100, 200, 300}));
  t.SetInterval(0);  // 0 stops the ticks but leaves Enabled alone
  RunFor(500);
  EXPECT_EQ(at.size(), 3u);
  EXPECT_TRUE(t.Enabled());
}

TEST_F(TimerTest, ReEnablingKeepsCountdownButDisableEnableRestartsIt) {
  Timer t(loop);
  std::vector<std::int64_t> at;
  t.SetHandler([&] { at.push_back(loop.NowMs()); });
  t.SetInterval(1000);
  RunFor(600);
  t.SetEnabled(true);  // already enabled: the tick still comes at 1000
  RunFor(500);
  ASSERT_EQ(at, (std::vector<std::int64_t>{1000}));
  RunFor(200);  // now 1300
  t.SetEnabled(false);
  t.SetEnabled(true);  // restarted: next tick at 2300, not 2000
  RunFor(800);
  EXPECT_EQ(at.size(), 1u);
  RunFor(300);
  EXPECT_EQ(at, (std::vector<std::int64_t>{1000, 2300}));
}

TEST_F(TimerTest, DisabledTimerNeverTicksAndBadIntervalIsError380) {
  Timer t(loop);
  int ticks = 0;
  t.SetHandler([&] { ++ticks; });
  t.SetEnabled(false);
  t.SetInterval(50);
  RunFor(1000);
  EXPECT_EQ(ticks, 0);
  try {
    t.SetInterval(-1);
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), 380);
  }
  EXPECT_THROW(t.SetInterval(65536), RuntimeError);
  EXPECT_EQ(t.Interval(), 50);
}

TEST_F(TimerTest, TickDoesNotOverlapItselfButOtherTimersKeepFiring) {
  Timer slow(loop), fast(loop);
  int slowTicks = 0, fastTicks = 0, maxNesting = 0, nesting = 0;
  slow.SetInterval(100);
  fast.SetInterval(30);
  fast.SetHandler([&] { ++fastTicks; });
  slow.SetHandler([&] {
    ++slowTicks;
    maxNesting = std::max(maxNesting, ++nesting);
    loop.Sleep(450);  // a handler that waits, letting events run
    --nesting;
  });
  RunFor(1000);
  EXPECT_EQ(maxNesting, 1);
  // The slow timer ticks at 100 (waiting till 550), then at once at 550 for the tick missed
  // meanwhile; that wait outlasts RunFor.
  EXPECT_EQ(slowTicks, 2);
  EXPECT_GE(fastTicks, 30);  // the fast one kept ticking inside the slow handler's waits
}

TEST_F(TimerTest, HandlerMayDestroyItsOwnTimerAndOthers) {
  auto a = std::make_unique<Timer>(loop);
  auto b = std::make_unique<Timer>(loop);
  int bTicks = 0;
  a->SetInterval(10);
  b->SetInterval(10);
  a->SetHandler([&] {
    b.reset();  // a timer due at the same moment, destroyed before it fires
    a.reset();
  });
  b->SetHandler([&] { ++bTicks; });
  RunFor(100);
  EXPECT_EQ(a, nullptr);
  EXPECT_EQ(bTicks, 0);
}

TEST_F(TimerTest, ChangingIntervalRestartsCountdown) {
  Timer t(loop);
  std::vector<std::int64_t> at;
  t.SetHandler([&] {
    at.push_back(loop.NowMs());
    if (at.size() == 1) t.SetInterval(1000);  // as a frame timer that re-arms itself
  });
  t.SetInterval(300);
  RunFor(1500);
  EXPECT_EQ(at, (std::vector<std::int64_t>{300, 1300}));
}

TEST_F(TimerTest, TenVirtualMinutesOfA100msTimerWaitOncePerTick) {
  Timer t(loop);
  t.SetInterval(100);
  t.SetHandler([] {});
  loop.Sleep(10 * 60 * 1000);
  EXPECT_EQ(t.TickCount(), 6000);
  // Each tick costs one platform wait: the loop sleeps instead of spinning.
  EXPECT_LE(platform.waits, 6001);
  EXPECT_GE(platform.waits, 6000);
}

TEST_F(TimerTest, WaitWakesForInputBeforeTheDeadline) {
  struct Client : EventLoop::Client {
    std::vector<std::int64_t> at;
    EventLoop* loop = nullptr;
    void HandleInput(const InputEvent&) override { at.push_back(loop->NowMs()); }
    void Repaint() override {}
  } client;
  client.loop = &loop;
  loop.SetClient(&client);
  InputEvent e;
  e.kind = InputKind::KeyDown;
  platform.Post(e, 250);
  loop.DoEventsWait(1000);
  EXPECT_EQ(client.at, (std::vector<std::int64_t>{250}));
  EXPECT_EQ(loop.NowMs(), 250);
  loop.SetClient(nullptr);
}

TEST_F(TimerTest, ReentrantDoEventsDispatchesLaterInputInsideAHandler) {
  struct Client : EventLoop::Client {
    EventLoop* loop = nullptr;
    std::vector<int> order;
    void HandleInput(const InputEvent& e) override {
      order.push_back(e.keyCode);
      if (e.keyCode == 1) {
        loop->Sleep(100);  // the second key arrives while the first is being handled
        order.push_back(-1);
      }
    }
    void Repaint() override {}
  } client;
  client.loop = &loop;
  loop.SetClient(&client);
  InputEvent e;
  e.kind = InputKind::KeyDown;
  e.keyCode = 1;
  platform.Post(e, 0);
  e.keyCode = 2;
  platform.Post(e, 50);
  loop.Sleep(200);
  EXPECT_EQ(client.order, (std::vector<int>{1, 2, -1}));
  EXPECT_EQ(loop.Depth(), 0);
  loop.SetClient(nullptr);
}

TEST_F(TimerTest, QuitEndsNestedLoops) {
  Timer t(loop);
  t.SetInterval(100);
  t.SetHandler([&] { loop.RequestQuit(); });
  loop.RunUntil([] { return false; });
  EXPECT_TRUE(loop.QuitRequested());
  EXPECT_EQ(loop.NowMs(), 100);
}

}  // namespace
}  // namespace sl::ui
