// The exit statuses of the program, as `storyloom --help` and the README list them.
#pragma once

namespace sl {

// The program ended normally: the person playing or the game ended it, an event script ran
// out, or it ended itself right after a message that ends it.
constexpr int kExitNormal = 0;
// A fatal error, or the folder to play is not a game.
constexpr int kExitFailure = 1;
// A bad command line or event script, or no game to play was given or found.
constexpr int kExitUsage = 2;

}  // namespace sl
