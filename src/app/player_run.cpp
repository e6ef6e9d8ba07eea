// The wiring of a run (see player_run.h).
#include "app/player_run.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <optional>

#include "app/desktop.h"
#include "app/game_folder.h"
#include "app/player_trace.h"
#include "backend/headless/answering_message_boxes.h"
#include "backend/headless/event_script.h"
#include "backend/headless/headless_platform.h"
#include "backend/headless/store_user_settings.h"
#include "backend/headless/trace.h"
#include "core/path_resolver.h"
#include "core/settings_store.h"
#include "player/exit_status.h"
#include "player/player.h"
#include "ui/event_loop.h"
#include "ui/standard_dialogs.h"
#include "ui/window_manager.h"

namespace sl {

namespace {

// The player's message boxes. Once the window runtime exists they are its own dialogs, which a
// headless platform answers and the desktop shows for the user to answer; before that the
// platform's answer (or the box's default button) is taken.
class PlayerMessageBoxes final : public MessageBoxService {
 public:
  explicit PlayerMessageBoxes(ui::Platform& platform) : early_(platform) {}
  void UseDialogs(ui::WindowManager& windows) { dialogs_.emplace(windows); }
  MsgAnswer Show(const MessageBoxRequest& request) override {
    return dialogs_ ? dialogs_->Show(request) : early_.Show(request);
  }

 private:
  AnsweringMessageBoxService early_;
  std::optional<ui::StandardDialogs> dialogs_;
};

std::unique_ptr<Trace> OpenTrace(const CommandLineOptions& options, bool desktopMissing) {
  if (options.traceFile) return Trace::Open(*options.traceFile, nullptr);
  if (desktopMissing) return Trace::Open("-", nullptr);
  return std::make_unique<Trace>();
}

int Play(const CommandLineOptions& options, const std::string& projectFolder,
         std::vector<ScriptCommand> script, Trace& trace, bool desktopMissing) {
  SettingsStore store(options.settingsFile.value_or(SettingsStore::DefaultPath()));
  store.SetObserver([&trace](const std::string& section, const std::string& key,
                             const std::string& value) { trace.Setting(section, key, value); });
  StoreUserSettings settings(store);
  settings.SetDeleteObserver([&trace](std::string_view section, std::string_view key) {
    trace.SettingDeleted(section, key);
  });

  // Without --headless the desktop plays the game; the event script is a headless feature.
  std::unique_ptr<ui::Platform> desktop;
  std::unique_ptr<HeadlessPlatform> headlessPlatform;
  if (!options.headless && !desktopMissing) {
    desktop = OpenDesktop(options, settings, ChooseDesktop(options, store, projectFolder),
                          [&store, &projectFolder](bool fullscreen) {
                            RememberFullscreen(store, projectFolder, fullscreen);
                          });
    if (options.eventsFile)
      std::fputs("storyloom: event scripts are played in headless runs only; ignored\n", stderr);
  } else {
    HeadlessOptions headless;
    headless.start = options.clock.value_or(DefaultHeadlessClock());
    if (options.screen) headless.display = {options.screen->width, options.screen->height};
    headlessPlatform = std::make_unique<HeadlessPlatform>(trace, settings, headless);
    headlessPlatform->SetScript(std::move(script), options.eventsFile.value_or("events"));
  }
  ui::Platform& platform = desktop ? *desktop : static_cast<ui::Platform&>(*headlessPlatform);
  // A desktop trace counts real time from the start; the headless platform sets its own clock.
  struct DesktopTraceClock {
    Trace& trace;
    bool attached;
    ~DesktopTraceClock() {
      if (attached) trace.SetClock(nullptr);
    }
  } traceClock{trace, desktop != nullptr};
  if (desktop) trace.SetClock(&desktop->GetClock());
  // A display size given on the command line is the first thing the trace tells.
  if (options.screen) trace.Display(options.screen->width, options.screen->height);

  PlayerMessageBoxes messages(platform);
  Player player(platform, messages, projectFolder);
  player.Sound().SetOptions({.mute = options.mute, .soundFont = options.soundFont.value_or("")});
  player.Cd().SetCommandLineDrives(options.cdDrives);
  messages.UseDialogs(player.Windows());
  PlayerTrace playerTrace(trace, player);
  // On a virtual clock videos are decoded only when a picture of them is drawn.
  if (headlessPlatform) player.Video().SetPacing(VideoPacing::OnDemand);
  ui::WindowManager& windows = player.Windows();
  ui::EventLoop& loop = windows.Loop();
  if (headlessPlatform) headlessPlatform->SetGiveUpHandler([&loop] { loop.RequestQuit(); });
  // A command that names nothing that exists is a broken script, as a typing error is: the run
  // ends with the line and the status of one.
  windows.onInputError = [&](const std::string& message) {
    if (!headlessPlatform) return;
    headlessPlatform->ReportInputError(message);
    loop.RequestQuit();
  };

  PathResolver& paths = player.GetProject().Paths();
  trace.SetProjectDir(PathResolver(projectFolder).ProjectFolder());
  paths.SetFileObserver([&trace](FileOperation op, const std::string& realPath) {
    trace.File(op == FileOperation::Write ? FileOp::Write : FileOp::Delete, realPath);
  });
  int code = player.Run();
  if (player.Title().SetUp() == SetUpResult::NotAGame)
    std::fputs(NotAGameMessage(projectFolder).c_str(), stderr);
  return headlessPlatform && headlessPlatform->ScriptFailed() ? kExitUsage : code;
}

}  // namespace

int RunPlayer(const CommandLineOptions& options, const std::string& projectFolder,
              bool desktopMissing) {
  std::vector<ScriptCommand> script;
  if (options.eventsFile) {
    try {
      script = LoadEventScript(*options.eventsFile);
    } catch (const EventScriptError& e) {
      std::fprintf(stderr, "storyloom: %s\n", e.what());
      return kExitUsage;
    }
  }
  std::unique_ptr<Trace> trace;
  try {
    trace = OpenTrace(options, desktopMissing);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "storyloom: %s\n", e.what());
    return kExitFailure;
  }
  if (desktopMissing)
    std::fputs(
        "storyloom: the desktop window comes in a later version; running without a "
        "window\n",
        stderr);

  int code = kExitFailure;
  try {
    code = Play(options, projectFolder, std::move(script), *trace, desktopMissing);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "storyloom: fatal error: %s\n", e.what());
  }
  trace->Exit(code);
  return code;
}

}  // namespace sl
