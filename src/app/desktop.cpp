// The desktop for a run (see desktop.h).
#include "app/desktop.h"

#include <stdexcept>

#if STORYLOOM_DESKTOP
#include "backend/sdl/sdl_platform.h"
#endif

namespace sl {

bool DesktopAvailable(std::string& why) {
#if STORYLOOM_DESKTOP
  return sdl::DesktopAvailable(why);
#else
  why = "this build has no desktop window (it was built without SDL2)";
  return false;
#endif
}

std::string NoDesktopMessage(const std::string& why) {
  return "storyloom: cannot open a window: " + why +
         ".\n"
         "To play without a window, run headless, for example:\n"
         "  storyloom --headless --events EVENTS_FILE --trace - PROJECT_DIR\n"
         "('storyloom --help' lists the options.)\n";
}

// Without the desktop backend the parameters go unused.
std::unique_ptr<ui::Platform> OpenDesktop(
    [[maybe_unused]] const CommandLineOptions& options, [[maybe_unused]] ui::UserSettings& settings,
    [[maybe_unused]] const DesktopChoices& choices,
    [[maybe_unused]] std::function<void(bool)> fullscreenChosen) {
#if STORYLOOM_DESKTOP
  sdl::SdlOptions desktop;
  if (options.screen) desktop.display = {options.screen->width, options.screen->height};
  desktop.gameFullscreen = choices.fullscreen;
  desktop.scale = choices.scale;
  desktop.fullscreenChosen = std::move(fullscreenChosen);
  return std::make_unique<sdl::SdlPlatform>(settings, desktop);
#else
  throw std::runtime_error("this build has no desktop window");
#endif
}

}  // namespace sl
