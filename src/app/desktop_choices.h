// What the person playing chose for a game on the desktop, remembered per game in the per-user
// settings (section "Storyloom Desktop GAME_FOLDER"): full screen or a window for the game
// window, and how pictures are scaled. The command line's --fullscreen, --windowed and --scale
// choose anew and are remembered too; F11 and Alt+Enter on the game window are remembered.
//
// API:
//   DesktopChoices c = ChooseDesktop(options, settings, "/home/me/game");
//   c.fullscreen   -> nullopt: as the game asks; c.scale -> ui::ScaleMode
//   RememberFullscreen(settings, "/home/me/game", true);
#pragma once

#include <optional>
#include <string>

#include "app/command_line.h"
#include "ui/scale_mode.h"

namespace sl {

class SettingsStore;

struct DesktopChoices {
  std::optional<bool> fullscreen;
  ui::ScaleMode scale = ui::ScaleMode::Auto;
};

// The remembered choices for the game, overridden (and remembered) by the command line's.
DesktopChoices ChooseDesktop(const CommandLineOptions& options, SettingsStore& settings,
                             const std::string& gameFolder);
void RememberFullscreen(SettingsStore& settings, const std::string& gameFolder, bool fullscreen);

}  // namespace sl
