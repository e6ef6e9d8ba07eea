// Windows the user moves, under a private Xvfb: a moved window reports its new position and the
// runtime's position follows without moving it back; the title window is always on top and its
// body drags it with the real pointer.
#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>

#include "backend/sdl/sdl_platform.h"
#include "core/recording_message_box.h"
#include "player/player.h"
#include "player/startup/title_window.h"
#include "sdl/x11_user.h"
#include "sdl/xvfb_display.h"
#include "ui/fake_platform.h"
#include "ui/form.h"
#include "ui/window_manager.h"

namespace sl::sdl {
namespace {

#define SKIP_WITHOUT_XVFB(xvfb)                                            \
  if (!(xvfb).Installed()) GTEST_SKIP() << "skipped: " << (xvfb).Reason(); \
  ASSERT_TRUE((xvfb).Available()) << (xvfb).Reason()

ui::WindowSpec Spec(int left, int top, const char* title) {
  ui::WindowSpec s;
  s.name = "frmTest";
  s.title = title;
  s.left = left;
  s.top = top;
  s.width = 200;
  s.height = 150;
  s.frame = ui::WindowFrame::Fixed;
  return s;
}

SDL_Point PositionOf(SdlPlatform& platform, ui::WindowId id) {
  SDL_Point p{0, 0};
  SDL_GetWindowPosition(SDL_GetWindowFromID(platform.NativeId(id)), &p.x, &p.y);
  return p;
}

// Lets the window system deliver what it has and keeps the window moves reported.
std::vector<ui::InputEvent> Moves(SdlPlatform& platform, bool take = true) {
  platform.WaitEvent(platform.GetClock().MonotonicMs() + 150);
  std::vector<ui::InputEvent> moves;
  ui::InputEvent e;
  while (take && platform.PollEvent(e)) {
    if (e.kind == ui::InputKind::WindowMoved) moves.push_back(e);
  }
  return moves;
}

TEST(WindowMoves, AMovedWindowReportsItsPositionAndIsNotMovedBack) {
  test::XvfbDisplay xvfb;
  SKIP_WITHOUT_XVFB(xvfb);
  ui::test::FakeSettings settings;
  SdlOptions options;
  options.display = {640, 480};  // twice its size on 1280x1024, 32 rows of border above
  SdlPlatform platform(settings, options);
  ui::WindowId id = platform.CreateWindow(Spec(100, 80, "Test"));
  platform.ShowWindow(id, true);
  EXPECT_TRUE(Moves(platform).empty());  // placed where the runtime asked: nothing to report

  test::X11User user(SDL_GetWindowFromID(platform.NativeId(id)));
  if (!user.Available()) GTEST_SKIP() << "skipped: libXtst is not installed";
  user.MoveWindow(500, 400);
  Moves(platform, false);  // seen by the platform, not yet taken by the runtime
  // A change sent before the runtime took the move still names the old place: it stays.
  platform.UpdateWindow(id, Spec(100, 80, "Renamed"));
  EXPECT_EQ(PositionOf(platform, id).x, 500);
  EXPECT_EQ(PositionOf(platform, id).y, 400);
  std::vector<ui::InputEvent> moves = Moves(platform);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].window, id);
  EXPECT_EQ(moves[0].x, 250);
  EXPECT_EQ(moves[0].y, (400 - 32) / 2);
  // Once taken, a position the runtime asks for is meant, the old one included.
  platform.UpdateWindow(id, Spec(250, 184, "Renamed"));
  EXPECT_EQ(PositionOf(platform, id).x, 500);
  platform.UpdateWindow(id, Spec(100, 80, "Renamed"));
  Moves(platform);
  EXPECT_EQ(PositionOf(platform, id).x, 200);
  EXPECT_EQ(PositionOf(platform, id).y, 32 + 160);
}

TEST(WindowMoves, TheFormFollowsAWindowTheUserMoved) {
  test::XvfbDisplay xvfb;
  SKIP_WITHOUT_XVFB(xvfb);
  ui::test::FakeSettings settings;
  SdlOptions options;
  options.display = {640, 480};
  SdlPlatform platform(settings, options);
  ui::WindowManager wm(platform);
  Ref<ui::Form> form = ui::Form::Create(wm, "frmTest");
  form->SetBorderStyle(ui::BorderStyle::FixedSingle);
  form->Move(60 * 15, 40 * 15, 200 * 15, 150 * 15);
  form->Show();
  wm.Loop().Sleep(150);
  SDL_Window* window = SDL_GetWindowFromID(platform.NativeId(form->Window()));
  test::X11User user(window);
  if (!user.Available()) GTEST_SKIP() << "skipped: libXtst is not installed";
  user.MoveWindow(300, 232);
  wm.Loop().Sleep(150);
  EXPECT_EQ(form->Left(), 150 * 15);
  EXPECT_EQ(form->Top(), 100 * 15);
  // A later change of the form keeps the window where the user put it.
  form->SetCaption("Moved");
  wm.Loop().Sleep(100);
  SDL_Point p{0, 0};
  SDL_GetWindowPosition(window, &p.x, &p.y);
  EXPECT_EQ(p.x, 300);
  EXPECT_EQ(p.y, 232);
  form->Unload();
  wm.RemoveForm(form.get());
}

TEST(WindowMoves, TheTitleWindowIsOnTopAndItsBodyDragsIt) {
  test::XvfbDisplay xvfb;
  SKIP_WITHOUT_XVFB(xvfb);
  ui::test::FakeSettings settings;
  SdlPlatform platform(settings);  // 1024x768 at its own size on 1280x1024
  RecordingMessageBoxService boxes;
  Player player(platform, boxes, std::string(STORYLOOM_TEST_PROJECTS) + "/game_frames");
  player.Start();
  ui::EventLoop& loop = player.Windows().Loop();
  loop.Sleep(200);
  ui::Form& title = player.Title().Form();
  SDL_Window* window = SDL_GetWindowFromID(platform.NativeId(title.Window()));
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_BORDERLESS);
  EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_ALWAYS_ON_TOP);

  test::X11User pointer(window);
  if (!pointer.Available()) GTEST_SKIP() << "skipped: libXtst is not installed";
  SDL_Point start{0, 0};
  SDL_GetWindowPosition(window, &start.x, &start.y);
  double left = title.Left(), top = title.Top();
  // Press on the game title, move: the drag starts there and follows the pointer.
  pointer.MoveTo(start.x + 100, start.y + 30);
  loop.Sleep(100);
  pointer.Left(true);
  loop.Sleep(100);
  pointer.MoveTo(start.x + 110, start.y + 40);
  loop.Sleep(100);
  pointer.MoveTo(start.x + 150, start.y + 80);
  loop.Sleep(100);
  pointer.MoveTo(start.x + 190, start.y + 100);
  loop.Sleep(100);
  pointer.Left(false);
  loop.Sleep(150);
  SDL_Point end{0, 0};
  SDL_GetWindowPosition(window, &end.x, &end.y);
  EXPECT_EQ(end.x - start.x, 80);
  EXPECT_EQ(end.y - start.y, 60);
  EXPECT_EQ(title.Left(), left + 80 * 15);
  EXPECT_EQ(title.Top(), top + 60 * 15);
  // The pointer moves on without the button: the window stays.
  pointer.MoveTo(start.x + 300, start.y + 200);
  loop.Sleep(100);
  SDL_GetWindowPosition(window, &end.x, &end.y);
  EXPECT_EQ(end.x - start.x, 80);
  EXPECT_TRUE(boxes.Shown().empty());
}

}  // namespace
}  // namespace sl::sdl
