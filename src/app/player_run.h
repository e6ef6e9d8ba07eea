// One run of the player as the command line asks for it: checks the event script, opens the
// trace and the settings, sets up the project and plays it on the headless platform until the
// program ends. Returns the process's exit status (player/exit_status.h): kExitNormal when the
// program ended normally, kExitUsage for a malformed event script, kExitFailure for a fatal
// error or a folder that is not a game (told on standard error after the classic message).
#pragma once

#include <string>

#include "app/command_line.h"

namespace sl {

// `projectFolder` is the folder to play (see game_folder.h). `desktopMissing`
// says the user asked for a window this build cannot show yet: the run is headless, with the
// trace on standard output unless --trace says otherwise.
int RunPlayer(const CommandLineOptions& options, const std::string& projectFolder,
              bool desktopMissing);

}  // namespace sl
