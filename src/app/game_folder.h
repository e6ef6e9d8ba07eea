// Which folder a run plays: the one the command line names; without one, the program's own
// folder when it holds a game, else the last game played, which the per-user settings
// remember (section "Storyloom Player", key "LastGame").
//
// API:
//   ExecutableFolder()                        -> "/opt/game" (the folder of the running program)
//   IsGameFolder("/home/me/game")             -> true when it holds Config/General (any case)
//   GameFolderChoice c = ChooseGameFolder(options, ExecutableFolder(), settings);
//   if (c.folder.empty()) { print c.problem and Usage(); exit kExitUsage }
//   RememberLastGame(settings, c.folder)      // once the folder is known to be a game
//   NotAGameMessage("/tmp/x")                 -> the line for standard error (with its '\n')
#pragma once

#include <string>

#include "app/command_line.h"

namespace sl {

class SettingsStore;

struct GameFolderChoice {
  std::string folder;   // empty when there is no game to play
  std::string problem;  // why not, in one line (without its '\n')
};

std::string ExecutableFolder();
bool IsGameFolder(const std::string& folder);
GameFolderChoice ChooseGameFolder(const CommandLineOptions& options,
                                  const std::string& executableFolder,
                                  const SettingsStore& settings);
void RememberLastGame(SettingsStore& settings, const std::string& folder);
std::string NotAGameMessage(const std::string& folder);

}  // namespace sl
