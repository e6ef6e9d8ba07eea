// Where the program lies, which is the default project folder.
//
// API:
//   ExecutableFolder()           -> "/opt/game" (the folder of the running program)
//   ProjectFolderToUse(options)  -> PROJECT_DIR from the command line, else ExecutableFolder()
#pragma once

#include <string>

#include "app/command_line.h"

namespace sl {

std::string ExecutableFolder();
std::string ProjectFolderToUse(const CommandLineOptions& options);

}  // namespace sl
