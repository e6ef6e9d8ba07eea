// The desktop for a run without --headless: whether one can be opened here, the message that
// says how to run headless when not, and the SDL platform itself.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/command_line.h"
#include "app/desktop_choices.h"
#include "ui/platform.h"

namespace sl {

// True when this build has a desktop and a display to open windows on; otherwise `why` says
// what is missing.
bool DesktopAvailable(std::string& why);
// What to tell the user when there is no desktop: why, and the headless command line instead.
std::string NoDesktopMessage(const std::string& why);
// Opens the desktop (the virtual display as --screen says, the game window and scaling as
// `choices` say); throws std::runtime_error saying why it cannot. `settings` must outlive the
// platform. `fullscreenChosen` hears when the person playing switches the game window.
std::unique_ptr<ui::Platform> OpenDesktop(const CommandLineOptions& options,
                                          ui::UserSettings& settings, const DesktopChoices& choices,
                                          std::function<void(bool)> fullscreenChosen);

}  // namespace sl
