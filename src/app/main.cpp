// Entry point of the player: reads the command line, chooses the game and runs it.
#include <cstdio>
#include <string>
#include <vector>

#include "app/check_run.h"
#include "app/command_line.h"
#include "app/desktop.h"
#include "app/game_folder.h"
#include "app/player_run.h"
#include "core/settings_store.h"
#include "player/exit_status.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  sl::CommandLineResult parsed = sl::ParseCommandLine(args);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "storyloom: %s\nTry 'storyloom --help' for more information.\n",
                 parsed.error.c_str());
    return sl::kExitUsage;
  }
  const sl::CommandLineOptions& options = parsed.options;
  if (options.help) {
    std::fputs(sl::Usage().c_str(), stdout);
    return sl::kExitNormal;
  }
  if (options.version) {
    std::printf("storyloom %s\n%s\n", STORYLOOM_VERSION, STORYLOOM_HOMEPAGE);
    return sl::kExitNormal;
  }
  sl::SettingsStore settings(options.settingsFile.value_or(sl::SettingsStore::DefaultPath()));
  sl::GameFolderChoice game = sl::ChooseGameFolder(options, sl::ExecutableFolder(), settings);
  if (game.folder.empty()) {
    std::fprintf(stderr, "storyloom: %s\n\n%s", game.problem.c_str(), sl::Usage().c_str());
    return sl::kExitUsage;
  }
  if (options.check) return sl::RunCheck(options, game.folder);
  // Without --headless the game plays in windows on the desktop; with no display to open them
  // on, say so and how to run headless instead.
  if (!options.headless) {
    std::string why;
    if (!sl::DesktopAvailable(why)) {
      std::fputs(sl::NoDesktopMessage(why).c_str(), stderr);
      return sl::kExitFailure;
    }
  }
  if (sl::IsGameFolder(game.folder)) sl::RememberLastGame(settings, game.folder);
  return sl::RunPlayer(options, game.folder, false);
}
