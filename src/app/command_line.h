// The program's command line: storyloom [OPTIONS] [PROJECT_DIR].
//
// API:
//   CommandLineResult r = ParseCommandLine({"--headless", "--screen", "800x600", "game"});
//   if (!r.error.empty()) { print r.error and UsageHint(); exit 2 }
//   r.options.headless, r.options.projectDir, r.options.screen->width, ...
//   Usage()    -> the --help text
// Options take their value as the next argument or after '=' (--seed=5). "--" ends the
// options. An option that is given twice keeps its last value, except --cd, which adds a CD
// each time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/date_time.h"
#include "player/cd/drive_map.h"
#include "ui/scale_mode.h"

namespace sl {

struct ScreenSize {
  int width = 0;
  int height = 0;
};

struct CommandLineOptions {
  std::string projectDir;  // empty: none given (see app/game_folder.h)
  bool headless = false;
  std::optional<std::string> eventsFile;
  std::optional<std::string> traceFile;  // "-" = standard output
  std::optional<std::string> settingsFile;
  std::optional<ScreenSize> screen;
  std::optional<CivilTime> clock;  // headless only
  std::optional<std::int64_t> seed;
  bool mute = false;
  std::optional<bool> fullscreen;      // desktop: --fullscreen (true) or --windowed (false)
  std::optional<ui::ScaleMode> scale;  // desktop: --scale
  std::optional<std::string> soundFont;
  std::vector<DriveFolder> cdDrives;  // --cd, in the order given
  bool check = false;                 // --check: check the game instead of playing it
  bool help = false;
  bool version = false;
};

struct CommandLineResult {
  CommandLineOptions options;
  std::string error;  // empty when the command line is good
};

CommandLineResult ParseCommandLine(const std::vector<std::string>& args);
std::string Usage();
// The wall-clock start of a headless run without --clock.
CivilTime DefaultHeadlessClock();

}  // namespace sl
