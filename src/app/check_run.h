// `storyloom --check`: checks a game folder without playing it and prints one line per problem,
// then a summary line, on standard output. Returns kExitNormal when no problem was found,
// kExitFailure when some were, or when the folder is not a game (told on standard error).
#pragma once

#include <string>

#include "app/command_line.h"

namespace sl {

int RunCheck(const CommandLineOptions& options, const std::string& projectFolder);

// The summary line (without its '\n'): "games/Hall: 2 problems found (12 frames, 30 scripts
// checked)".
std::string CheckSummary(const std::string& projectFolder, std::size_t problems, int frames,
                         int scripts);

}  // namespace sl
