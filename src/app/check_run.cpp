// The wiring of a game check (see check_run.h): the player is built on the headless platform,
// as for a headless run, but never started; its message boxes are only recorded, and no
// setting is written.
#include "app/check_run.h"

#include <cstdio>
#include <exception>

#include "app/game_folder.h"
#include "backend/headless/headless_platform.h"
#include "backend/headless/trace.h"
#include "core/recording_message_box.h"
#include "player/check/game_check.h"
#include "player/exit_status.h"
#include "player/player.h"

namespace sl {

namespace {

// Settings for a check: none are read (the check does not depend on the person's choices) and
// none are kept.
class NoUserSettings final : public ui::UserSettings {
 public:
  std::optional<std::string> Get(std::string_view, std::string_view, std::string_view) override {
    return std::nullopt;
  }
  void Save(std::string_view, std::string_view, std::string_view, std::string_view) override {}
  void Delete(std::string_view, std::string_view, std::string_view) override {}
};

std::string Counted(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::string CheckSummary(const std::string& projectFolder, std::size_t problems, int frames,
                         int scripts) {
  return projectFolder + ": " +
         (problems == 0 ? std::string("no problems") : Counted(problems, "problem", "problems")) +
         " found (" + Counted(static_cast<std::size_t>(frames), "frame", "frames") + ", " +
         Counted(static_cast<std::size_t>(scripts), "script", "scripts") + " checked)";
}

int RunCheck(const CommandLineOptions& options, const std::string& projectFolder) {
  try {
    Trace trace;
    NoUserSettings settings;
    HeadlessPlatform platform(trace, settings);
    RecordingMessageBoxService messages;
    Player player(platform, messages, projectFolder);
    player.Cd().SetCommandLineDrives(options.cdDrives);
    GameCheck check(player, messages, projectFolder);
    CheckResult result = check.Run();
    if (result.notAGame) {
      std::fputs(NotAGameMessage(projectFolder).c_str(), stderr);
      return kExitFailure;
    }
    for (const std::string& line : result.problems)
      std::printf("%s\n", line.c_str());
    std::printf(
        "%s\n",
        CheckSummary(projectFolder, result.problems.size(), result.frames, result.scripts).c_str());
    return result.problems.empty() ? kExitNormal : kExitFailure;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "storyloom: fatal error: %s\n", e.what());
    return kExitFailure;
  }
}

}  // namespace sl
