// Wiring of one run: start-up through the title window, then the event loop until the end.
#include "player/player.h"

#include <cmath>

#include "player/exit_status.h"
#include "ui/control_array.h"
#include "ui/controls/label.h"
#include "ui/controls/timer_control.h"
#include "ui/draw/units.h"

namespace sl {

namespace {

// Ctrl+M mutes and unmutes all sound.
constexpr int kMuteKey = 'M';

}  // namespace

Player::Player(ui::Platform& platform, MessageBoxService& messages, std::string projectFolder)
    : project_(paths_, messages),
      windows_(platform),
      display_(platform, windows_.Loop(), messages, project_.Texts()),
      desktop_(platform, project_),
      scripting_({project_, variables_, windows_, display_, pictures_, desktop_}),
      title_(TitleContext{project_, windows_, display_, std::move(projectFolder),
                          [this]() -> Game& { return EnsureGame(); }, &subsystems_,
                          [this] { EndProgram(); }, &desktop_}),
      savedGames_(SavedGamesContext{project_, windows_, display_, variables_, title_,
                                    [this]() -> Game& { return EnsureGame(); }}) {
  project_.SetDisplayChecks(&display_);
  project_.SetCdLookup(&cd_);
  subsystems_.variables = &variables_;
  subsystems_.hotspots = &hotspots_;
  subsystems_.texts = &texts_;
  subsystems_.inventory = &inventory_;
  subsystems_.scripts = &scripting_;
  subsystems_.sound = &gameSound_;
  windows_.onProgramKey = [this](const ui::InputEvent& e) { return ProgramKey(e); };
  subsystems_.video = &video_;
  video_.SetSoundOutput(&sound_);
  subsystems_.savegame = &savedGames_;
  subsystems_.effects = &effects_;
  // The user closing the program (or a script's quit) ends it as the title window's Exit does.
  windows_.onQuit = [this] { title_.UnloadTitleWindow(); };
}

Player::~Player() {
  project_.SetDisplayChecks(nullptr);
  scripting_.ReleaseEngines();
  project_.SetCdLookup(nullptr);
  video_.CloseAll();
  game_.reset();
}

void Player::SetRequestObserver(RequestObserver* observer) {
  desktop_.SetObserver(observer);
  scripting_.SetObserver(observer);
}

Game& Player::EnsureGame() {
  if (!game_) {
    game_ = std::make_unique<Game>(GameContext{project_, windows_, display_, pictures_, title_,
                                               subsystems_, soundObserver_, gameObserver_});
    hotspots_.Attach(*game_);
    texts_.Attach(*game_);
    inventory_.Attach(*game_);
    scripting_.Attach(*game_);
    gameSound_.Attach(*game_);
    video_.Attach(*game_);
    effects_.Attach(*game_);
  }
  return *game_;
}

bool Player::ProgramKey(const ui::InputEvent& e) {
  if (e.keyCode == kMuteKey && e.shift == ui::kCtrlMask) {
    sound_.ToggleMute();
    return true;
  }
  return false;
}

void Player::EndProgram() {
  // Closing the title window ends the program at once, closing every window.
  if (game_ && game_->Loaded()) {
    game_->Form().onForm.unload = nullptr;
    game_->Form().Unload();
  }
  // The display size of the start is back whatever way the program ends.
  display_.RestoreDisplayMode();
  windows_.Loop().RequestQuit();
}

void Player::Start() {
  title_.Load();
  if (!title_.Ended() && !project_.Info().SkipTitleScreen) title_.ShowTitleWindow();
}

int Player::Run() {
  Start();
  ui::EventLoop& loop = windows_.Loop();
  while (!loop.QuitRequested() && !title_.Ended())
    loop.WaitEvents();
  return title_.SetUp() == SetUpResult::NotAGame ? kExitFailure : kExitNormal;
}

PlayerState Player::State() {
  PlayerState s;
  if (!game_) return s;
  Game& g = *game_;
  s.gameLoaded = g.Loaded();
  s.frame = g.CurrentFrameName;
  s.history = g.History().Names();
  for (const auto& v : variables_.Variables)
    s.variables.emplace_back(v->Name, v->Value);
  for (const auto& v : variables_.VariablesVariant)
    s.variants.emplace_back(v->Name, v->Value);
  for (const auto& d : variables_.Disappear)
    s.disappeared.emplace_back(d->Name, d->Value);
  if (ui::ControlArray* area = g.Form().FindArray("Area")) {
    for (const auto& [index, control] : area->Elements()) {
      if (index < 1) continue;
      HotspotState h;
      h.n = index;
      h.visible = control->Visible();
      h.rect[0] = static_cast<int>(std::lround(draw::TwipsToPixels(control->Left())));
      h.rect[1] = static_cast<int>(std::lround(draw::TwipsToPixels(control->Top())));
      h.rect[2] = static_cast<int>(std::lround(draw::TwipsToPixels(control->Width())));
      h.rect[3] = static_cast<int>(std::lround(draw::TwipsToPixels(control->Height())));
      s.hotspots.push_back(h);
    }
  }
  if (ui::ControlArray* texts = g.Form().FindArray("Text")) {
    for (const auto& [index, control] : texts->Elements()) {
      if (index < 1) continue;
      auto* label = dynamic_cast<ui::Label*>(control.get());
      s.texts.push_back({index, label ? label->Caption() : std::string(), control->Visible()});
    }
  }
  s.inventory = g.Subsystems().inventory->ItemNames();
  std::string text;
  if (g.Subsystems().texts->MessageShown(text)) s.message = text;
  s.menus = g.MenusShown();
  s.frameTimerEnabled = g.Timer1().TimerEnabled();
  s.frameTimerInterval = g.Timer1().Interval();
  s.frameTimerTarget = g.Timer1().Tag();
  s.timedEvents = g.Subsystems().scripts->TimedEventStates();
  return s;
}

}  // namespace sl
