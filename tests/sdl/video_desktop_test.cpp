// The program on the desktop of a private Xvfb plays a frame's early video: the video covers the
// frame picture while it plays and is gone after its end, as the screen itself shows.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "sdl/program_process.h"
#include "sdl/xvfb_display.h"
#include "support/temp_folder.h"

// Xlib's macros (None, Status, ...) must come after the test framework's headers.
#include <X11/Xlib.h>

namespace sl::sdl {
namespace {

// Reads single pixels of the screen through Xlib, loaded at run time.
class ScreenReader {
 public:
  ScreenReader() {
    x11_ = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!x11_) return;
    auto open = reinterpret_cast<Display* (*)(const char*)>(dlsym(x11_, "XOpenDisplay"));
    close_ = reinterpret_cast<int (*)(Display*)>(dlsym(x11_, "XCloseDisplay"));
    getImage_ = reinterpret_cast<GetImageFn>(dlsym(x11_, "XGetImage"));
    if (open && close_ && getImage_) display_ = open(nullptr);
  }
  ~ScreenReader() {
    if (display_) close_(display_);
    if (x11_) dlclose(x11_);
  }
  bool Available() const { return display_ != nullptr; }
  // The pixel at (x, y) of the screen as 0xRRGGBB.
  unsigned long Pixel(int x, int y) {
    XImage* image =
        getImage_(display_, DefaultRootWindow(display_), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return 0;
    unsigned long p = image->f.get_pixel(image, 0, 0);
    image->f.destroy_image(image);
    return p & 0xFFFFFF;
  }

 private:
  using GetImageFn = XImage* (*)(Display*, Drawable, int, int, unsigned, unsigned, unsigned long,
                                 int);
  void* x11_ = nullptr;
  Display* display_ = nullptr;
  int (*close_)(Display*) = nullptr;
  GetImageFn getImage_ = nullptr;
};

bool IsMagenta(unsigned long p) {
  return (p >> 16 & 0xFF) > 200 && (p >> 8 & 0xFF) < 60 && (p & 0xFF) > 200;
}
bool IsGreen(unsigned long p) {
  return (p >> 16 & 0xFF) < 60 && (p >> 8 & 0xFF) > 200 && (p & 0xFF) < 60;
}

// Polls the screen's centre until `want` holds or `ms` pass.
bool WaitForCentre(ScreenReader& screen, bool (*want)(unsigned long), int ms) {
  for (int waited = 0; waited < ms; waited += 40) {
    if (want(screen.Pixel(512, 384))) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
  }
  return false;
}

TEST(VideoDesktop, AnEarlyVideoShowsOverTheFrameAndIsGoneAfterItsEnd) {
  test::XvfbDisplay xvfb("1024x768x24");
  if (!xvfb.Installed()) GTEST_SKIP() << "skipped: " << xvfb.Reason();
  ASSERT_TRUE(xvfb.Available()) << xvfb.Reason();
  ScreenReader screen;
  ASSERT_TRUE(screen.Available());

  test::TempFolder temp;
  pid_t pid = test::StartProgram(
      {"--settings", temp / "settings.ini", STORYLOOM_TEST_PROJECTS "/video_desktop"});
  ASSERT_NE(pid, 0);

  // The 3-second video covers the whole frame picture in the middle of the screen...
  bool shown = WaitForCentre(screen, IsMagenta, 20000);
  auto start = std::chrono::steady_clock::now();
  // ...and once it has ended the frame's own green shows.
  bool gone = shown && WaitForCentre(screen, IsGreen, 20000);
  auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  test::EndProgram(pid);
  EXPECT_TRUE(shown) << "the video never showed; centre pixel " << std::hex
                     << screen.Pixel(512, 384);
  EXPECT_TRUE(gone) << "the video did not go";
  if (gone) {
    EXPECT_GT(seconds, 1.5) << "the video ended long before its 3 seconds";
  }
}

}  // namespace
}  // namespace sl::sdl
