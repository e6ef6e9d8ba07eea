// Game reset and new game: the window brought to a clean state, then the initial frame.
#include "core/ini_file.h"
#include "core/path_resolver.h"
#include "core/runtime_error.h"
#include "core/variant.h"
#include "core/variant_convert.h"
#include "player/engine/game.h"
#include "player/startup/project.h"
#include "ui/controls/file_list_box.h"
#include "ui/controls/frame.h"
#include "ui/controls/image.h"
#include "ui/controls/label.h"
#include "ui/controls/menu.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/timer_control.h"
#include "ui/draw/units.h"
#include "ui/window_manager.h"

namespace sl {

namespace {

// Runs one statement of a part whose errors are ignored statement by statement.
template <class F>
void IgnoringErrors(F&& statement) {
  try {
    statement();
  } catch (const std::exception&) {
  }
}

}  // namespace

void Game::ResetAll() {
  const ProjectInformation& info = project_.Info();
  try {
    timer1_->SetEnabled(false);
    timer1_->SetInterval(0);
    timerRipplingWater_->SetEnabled(false);
    subs_.scripts->ResetTimedEvents();
    subs_.variables->ClearAll();
    subs_.inventory->ClearItems();
    history_.Clear();
    SyncHistoryList();
    form_->SetBackColor(0);
    pictureBox_->SetBackColor(0);
    subs_.sound->ResetOneShot();
    subs_.effects->ResetOneShot();
    subs_.savegame->ResetLoadGameResolution();
    ControlsReferencesMode = kControlsReferencesUndecided;
    cutSceneArea_->SetVisible(false);
    subs_.video->StopMovie();
    InterruptWaits();
    picRipplingWater_->SetVisible(false);
    ClearGameStopping();
    CenterWindowAndPictureBox();
    backImage_->Move(0, 0, draw::PixelsToTwips(info.PictureWidth),
                     draw::PixelsToTwips(info.PictureHeight));
    subs_.texts->ResetMessageBox();
    subs_.hotspots->ResetDefaultPointer();
    ResetInventoryBar();
  } catch (const RuntimeError& e) {
    ShowStandardError(" Unable to initialize the program. " + e.Description());
    return;
  }
  IgnoringErrors([&] { BuildDebugFrameList(); });
  IgnoringErrors([&] { subs_.scripts->LoadProcedures(); });
  IgnoringErrors(
      [&] { Menu("mnuDisableTransitions").SetChecked(ReadBooleanSetting("DisableTransitions")); });
  IgnoringErrors(
      [&] { Menu("mnuDisableEffects").SetChecked(ReadBooleanSetting("DisableEffects")); });
  IgnoringErrors([&] { channels_.StopAllSounds(); });
  IgnoringErrors([&] {
    std::string text = ReadProfileString(project_.Paths(), project_.Folders().ConfigFolder + "More",
                                         "General", "ScriptTimeOut");
    std::int16_t t = RoundToInteger(Val(text));
    if (t != 0) subs_.scripts->SetTimeOut(static_cast<std::int32_t>(t) * 1000);
  });
}

void Game::ResetInventoryBar() {
  const ProjectInformation& info = project_.Info();
  ui::Control& template0 = pickedObject_->Item(0);
  if (info.InventoryAnimated) {
    double h = info.InventoryMargin * 30.0 + 480;
    inventory1_->Move(0, -h, draw::PixelsToTwips(info.PictureWidth), h);
    inventory1_->SetVisible(true);
    inventory2_->Move(0, 0, inventory2_->Width(), inventory2_->Height());
    template0.SetContainer(inventory1_);
    subs_.inventory->Load_InventoryBackground();
    inventory2_->SetVisible(!info.InventoryHideWhenEmpty);
  } else {
    template0.SetContainer(pictureBox_);
    inventory1_->SetVisible(false);
    inventory2_->SetVisible(false);
  }
}

void Game::BuildDebugFrameList() {
  std::vector<int> loaded;
  for (const auto& [index, control] : mnuFrameName_->Elements()) {
    if (index != 0) loaded.push_back(index);
  }
  for (int index : loaded)
    mnuFrameName_->Unload(index);
  std::vector<std::string> names =
      project_.Paths().ListFiles(project_.Folders().FramesFolder + "*.fme");
  file1_->Items().Assign(names);
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string& n = names[i];
    if (n.size() <= 4) continue;
    auto& item = static_cast<ui::Menu&>(mnuFrameName_->Load(static_cast<int>(i) + 1));
    item.SetVisible(true);
    item.SetCaption(n.substr(0, n.size() - 4));
  }
}

bool Game::ReadBooleanSetting(const std::string& key) {
  std::optional<std::string> value =
      windows_.GetPlatform().Settings().Get("Software", project_.Info().ProjectName, key);
  if (!value) return false;
  try {
    return ToBoolean(Variant(*value));
  } catch (const RuntimeError&) {
    return false;
  }
}

void Game::StartNewGame() {
  subs_.variables->LoadVariables();
  OpenFrame(project_.Info().InitialFrame);
}

}  // namespace sl
