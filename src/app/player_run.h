// One run of the player as the command line asks for it: checks the event script, opens the
// trace and the settings, sets up the project and plays it on the headless platform until the
// program ends. Returns the process's exit status: 0 when the program ended normally, 2 for a
// malformed event script, 1 for a fatal error.
#pragma once

#include <string>

#include "app/command_line.h"

namespace sl {

// `executableFolder` is the project folder when the command line names none. `desktopMissing`
// says the user asked for a window this build cannot show yet: the run is headless, with the
// trace on standard output unless --trace says otherwise.
int RunPlayer(const CommandLineOptions& options, const std::string& executableFolder,
              bool desktopMissing);

}  // namespace sl
