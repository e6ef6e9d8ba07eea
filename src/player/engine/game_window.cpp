// The game window's controls, layout, menus, keys, mouse, frame timer and exit.
#include <algorithm>
#include <array>
#include <cmath>

#include "core/case_fold.h"
#include "core/message_box.h"
#include "player/display/resolutions.h"
#include "player/engine/game.h"
#include "player/media/media_player_control.h"
#include "player/startup/project.h"
#include "ui/controls/animated_picture.h"
#include "ui/controls/check_box.h"
#include "ui/controls/file_list_box.h"
#include "ui/controls/frame.h"
#include "ui/controls/image.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/controls/menu.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/text_box.h"
#include "ui/controls/timer_control.h"
#include "ui/draw/units.h"
#include "ui/window_manager.h"

namespace sl {

namespace {

constexpr int kKeyEsc = 27;
constexpr int kShiftCtrl = 2;
constexpr int kButtonRight = 2;
// The function-key sequence that reveals the debug menu.
constexpr std::array<int, 4> kDebugKeys = {113, 118, 120, 116};

template <class T>
T* Find(ui::Form& form, std::string_view name) {
  return dynamic_cast<T*>(form.FindControl(name));
}

}  // namespace

Game::Game(GameContext c)
    : project_(c.project),
      windows_(c.windows),
      display_(c.display),
      pictures_(c.pictures),
      title_(c.title),
      subs_(c.subsystems),
      observer_(c.observer) {
  if (!subs_.hotspots) subs_.hotspots = &null_.hotspots;
  if (!subs_.texts) subs_.texts = &null_.texts;
  if (!subs_.variables) subs_.variables = &null_.variables;
  if (!subs_.scripts) subs_.scripts = &null_.scripts;
  if (!subs_.sound) subs_.sound = &null_.sound;
  if (!subs_.video) subs_.video = &null_.video;
  if (!subs_.effects) subs_.effects = &null_.effects;
  if (!subs_.inventory) subs_.inventory = &null_.inventory;
  if (!subs_.savegame) subs_.savegame = &null_.savegame;
  players_.SetObserver(c.sound);
  project_.SetActivityTargets(this);
  project_.SetGameStoppingQuery([this] { return GameStopping(); });
  form_ = ui::Form::Create(windows_, "Game");
  CreateControls();
  CreateMenus();
  form_->onForm.load = [this](ui::Form&) { Form_Load(); };
  form_->onForm.unload = [this](ui::Form&) { Form_Unload(); };
}

Game::~Game() {
  project_.SetActivityTargets(nullptr);
  project_.SetGameStoppingQuery(nullptr);
  display_.SetRecenter(nullptr);
  windows_.RemoveForm(form_.get());
}

// The sound players as controls, invisible in their frame: elements 1 to 7 of `MPlayer` stand
// for the seven players, so scripts that reach the window reach the sounds.
void Game::CreateMediaPlayers() {
  ui::Form& f = *form_;
  auto& frame = f.Add<ui::Frame>("FrameMediaPlayers");
  frame.SetCaption("Media Players");
  frame.SetVisible(false);
  ui::ControlArray& array = f.AddArray<MediaPlayerControl>("MPlayer", &frame);
  for (int i = 1; i <= MediaPlayers::kCount; ++i) {
    static_cast<MediaPlayerControl&>(array.Load(i)).Bind(&players_(i));
  }
}

// Controls in declaration order; later ones lie above earlier ones.
void Game::CreateControls() {
  ui::Form& f = *form_;
  f.SetBorderStyle(ui::BorderStyle::FixedSingle);
  f.SetKeyPreview(true);
  f.SetBackColor(0);
  timerAudioFade_ = &f.Add<ui::TimerControl>("TimerAudioFade");
  timerAudioFade_->SetInterval(100);
  timerAudioFade_->SetEnabled(false);
  timerAudioFade_->on.timer = [this](ui::Control&) {
    if (!subs_.sound->TimerAudioFade_Timer()) timerAudioFade_->SetEnabled(false);
  };
  f.Add<ui::Frame>("Frame1").SetVisible(false);
  CreateMediaPlayers();
  f.Add<ui::PictureBox>("PicBox").SetVisible(false);
  f.Add<ui::ListBox>("ListBox").SetVisible(false);
  f.Add<ui::CheckBox>("CheckBox").SetVisible(false);
  f.Add<ui::TextBox>("TextBox").SetVisible(false);
  f.Add<ui::Image>("ImgBox").SetVisible(false);
  for (const char* name : {"picWhere", "picStart", "picEnd"}) {
    f.Add<ui::PictureBox>(name).SetVisible(false);
  }
  timerUnloadMe_ = &f.Add<ui::TimerControl>("TimerUnloadMe");
  timerUnloadMe_->SetEnabled(false);
  timerUnloadMe_->on.timer = [this](ui::Control&) { TimerUnloadMe_Timer(); };
  auto& timerInventory = f.Add<ui::TimerControl>("TimerInventory");
  timerInventory.SetInterval(2000);
  timerInventory.SetEnabled(false);
  timerInventory.on.timer = [this](ui::Control&) { subs_.inventory->InventoryTick(); };
  auto& timerMessageBox = f.Add<ui::TimerControl>("TimerMessageBox");
  timerMessageBox.SetEnabled(false);
  timerMessageBox.on.timer = [this](ui::Control&) { subs_.texts->TimerMessageBox_Timer(); };
  file1_ = &f.Add<ui::FileListBox>("File1");
  file1_->SetVisible(false);
  timer1_ = &f.Add<ui::TimerControl>("Timer1");
  timer1_->SetEnabled(false);
  timer1_->on.timer = [this](ui::Control&) { Timer1_Timer(); };
  pictureBox_ = &f.Add<ui::PictureBox>("PictureBox");
  pictureBox_->SetBorderStyle(0);
  pictureBox_->SetBackColor(0);
  pictureBox_->SetAutoRedraw(true);
  f.AddArray<ui::TimerControl>("TimedEvent").Item(0).SetEnabled(false);
  f.AddArray<ui::TimerControl>("TimerObject").Item(0).SetEnabled(false);
  timerRipplingWater_ = &f.Add<ui::TimerControl>("TimerRipplingWater");
  timerRipplingWater_->SetInterval(30);
  timerRipplingWater_->SetEnabled(false);
  timerRipplingWater_->on.timer = [this](ui::Control&) { subs_.effects->RipplingTick(); };
  picRipplingWater_ = &f.Add<ui::PictureBox>("PicRipplingWater", pictureBox_);
  picRipplingWater_->SetVisible(false);
  for (const char* name : {"PicMask", "PicMasked", "PicOriginal"}) {
    f.Add<ui::PictureBox>(name).SetVisible(false);
  }
  inventory1_ = &f.Add<ui::PictureBox>("Inventory1", pictureBox_);
  inventory1_->SetVisible(false);
  inventory2_ = &f.Add<ui::Image>("Inventory2", pictureBox_);
  inventory2_->SetVisible(false);
  inventoryBackground_ = &f.Add<ui::Image>("Inventory_Background", inventory1_);
  pickedObject_ = &f.AddArray<ui::Image>("PickedObject", inventory1_);
  pickedObject_->Item(0).SetVisible(false);
  CreateMessageBand();
  framesHistoryList_ = &f.Add<ui::ListBox>("FramesHistory");
  framesHistoryList_->SetVisible(false);
  f.AddArray<ui::PictureBox>("AniGifBox", pictureBox_).Item(0).SetVisible(false);
  f.AddArray<ui::AnimatedPicture>("AniGif", pictureBox_).Item(0).SetVisible(false);
  cutSceneArea_ = &f.Add<ui::PictureBox>("CutSceneArea", pictureBox_);
  cutSceneArea_->SetVisible(false);
  cutSceneArea_->SetBorderStyle(0);
  cutSceneArea_->SetBackColor(0);
  imageTile_ = &f.Add<ui::Image>("ImageTile", pictureBox_);
  imageTile_->SetVisible(false);
  // Text boxes: transparent labels sized to their text; element 0 is the hidden template.
  auto& textTemplate = static_cast<ui::Label&>(f.AddArray<ui::Label>("Text", pictureBox_).Item(0));
  textTemplate.SetVisible(false);
  textTemplate.SetBackStyle(0);
  textTemplate.SetAutoSize(true);
  backImage_ = &f.Add<ui::Image>("BackImage", pictureBox_);
  backImage_->SetStretch(true);
  f.AddArray<ui::Image>("Area", pictureBox_).Item(0).SetVisible(false);
  // Clicks on the background and on the window around the picture end a video wait and open
  // or close the menus; the hotspot subsystem may take over the background's handler.
  auto press = [this](ui::Control&, const ui::MouseArgs& a) { WindowMouseDown(a.button); };
  f.on.mouseDown = press;
  backImage_->on.mouseDown = press;
  cutSceneArea_->on.mouseDown = press;  // a click on a cut scene ends it
  textTemplate.on.mouseDown = press;    // every text box inherits it
  // A press on the cover of a transition ends the animation, then opens or closes the menus.
  if (ui::Control* cover = f.FindControl("picWhere")) {
    cover->on.mouseDown = [this](ui::Control&, const ui::MouseArgs& a) {
      InterruptTransition();
      MenuMouseDown(a.button);
    };
  }
  f.on.keyDown = [this](ui::Control&, int& key, int shift) { Form_KeyDown(key, shift); };
  f.SetScriptOrigin(pictureBox_);
}

// The message band: a dark strip across the bottom of the frame with its text centred in a
// light, bold face, so that it reads over any picture.
void Game::CreateMessageBand() {
  ui::Form& f = *form_;
  auto& band = f.Add<ui::Frame>("FrameMessageBox", pictureBox_);
  band.SetVisible(false);
  band.SetBorderStyle(0);
  band.SetBackColor(0x00201818);
  band.on.click = [this](ui::Control&) { subs_.texts->FrameMessageBox_Click(); };
  auto& label = f.Add<ui::Label>("LabelMessageBox", &band);
  label.SetVisible(false);
  label.SetBackStyle(0);
  label.SetAlignment(2);
  label.SetForeColor(0x00C8F0FF);
  draw::FontSpec font;
  font.name = "Arial";
  font.size = 12;
  font.bold = true;
  label.SetFontSpec(font);
  label.SetAutoSize(true);
  label.Move(0, 255, label.Width(), label.Height());
  label.on.click = [this](ui::Control&) { subs_.texts->LabelMessageBox_Click(); };
}

void Game::CreateMenus() {
  ui::Form& f = *form_;
  auto menu = [&](const char* name, const char* caption, ui::Menu* parent) -> ui::Menu& {
    ui::Menu& m = f.AddMenu(name, parent);
    m.SetCaption(caption);
    return m;
  };
  menu("mnuExit", "Exit", nullptr).on.click = [this](ui::Control&) { mnuExit_Click(); };
  menu("mnuSaveGame", "Save", nullptr).on.click = [this](ui::Control&) { mnuSaveGame_Click(); };
  menu("mnuLoadGame", "Load", nullptr).on.click = [this](ui::Control&) { mnuLoadGame_Click(); };
  ui::Menu& options = menu("mnuOptions", "Options", nullptr);
  options.on.click = [this](ui::Control&) {
    if (!project_.Info().MenusAlwaysShown) menuOpen_ = true;
  };
  menu("mnuDisableTransitions", "Disable transitions", &options).on.click = [this](ui::Control&) {
    subs_.effects->EnableOrDisableTransitions();
  };
  menu("mnuDisableEffects", "Disable effects", &options).on.click = [this](ui::Control&) {
    subs_.effects->EnableOrDisableEffects();
  };
  menu("mnuCancel", "Cancel", &options).on.click = [this](ui::Control&) { HideMenus(); };
  ui::Menu& debug = menu("mnuDebug", "Debug", nullptr);
  debug.on.click = [this](ui::Control&) {
    if (!project_.Info().MenusAlwaysShown) menuOpen_ = true;
  };
  ui::Menu& goTo = menu("mnuGoToFrame", "Go to frame", &debug);
  mnuFrameName_ = &f.AddMenuArray("mnuFrameName", &goTo);
  ui::Menu& template0 = static_cast<ui::Menu&>(mnuFrameName_->Item(0));
  template0.SetCaption("-");
  template0.SetVisible(false);
  template0.on.click = [this](ui::Control& c) { mnuFrameName_Click(c.Index()); };
  menu("mnuExecuteVBScript", "Execute VBS code...", &debug).on.click = [this](ui::Control&) {
    subs_.scripts->ExecuteVBScriptWindow();
  };
  menu("mnuEditProcedures", "Edit VBS Procedures...", &debug).on.click = [this](ui::Control&) {
    subs_.scripts->EditProcedures();
  };
  menu("mnuViewVariables", "View variables status...", &debug).on.click = [this](ui::Control&) {
    subs_.variables->ViewVariablesStatus();
  };
  menu("mnuNone", "", &debug).SetVisible(false);
  for (const char* name : {"mnuExit", "mnuSaveGame", "mnuLoadGame", "mnuOptions", "mnuDebug"}) {
    Menu(name).SetVisible(false);
  }
}

ui::Menu& Game::Menu(const std::string& name) {
  auto* m = Find<ui::Menu>(*form_, name);
  if (!m) throw RuntimeError(kErrObjectRequired);
  return *m;
}

void Game::Load() {
  form_->Load();
}
void Game::Show() {
  form_->Show(false);
}
bool Game::Loaded() const {
  return form_->Loaded();
}

void Game::Form_Load() {
  form_->Move(0, 0, form_->Width(), form_->Height());
  subs_.effects->NameTransitions();
  const InterfaceTexts& t = project_.Texts();
  const std::pair<const char*, int> captions[] = {{"mnuLoadGame", 2},
                                                  {"mnuSaveGame", 8},
                                                  {"mnuExit", 12},
                                                  {"mnuOptions", 49},
                                                  {"mnuDisableTransitions", 50},
                                                  {"mnuDisableEffects", 51}};
  for (const auto& [name, index] : captions) {
    if (!t[index].empty()) Menu(name).SetCaption(t[index]);
  }
  display_.SetRecenter([this] { CenterWindowAndPictureBox(); });
}

void Game::CenterWindowAndPictureBox() {
  const ProjectInformation& info = project_.Info();
  ui::Form& f = *form_;
  double screenW = draw::PixelsToTwips(display_.ScreenWidth());
  double screenH = draw::PixelsToTwips(display_.ScreenHeight());
  double width = 0;
  double height = 0;
  if (info.MenusAlwaysShown) {
    ShowMenus();
    f.SetBorderStyle(ui::BorderStyle::FixedSingle);
    f.SetCaption(info.GameTitle + " ");
    height = (f.Height() - f.ScaleHeight()) + draw::PixelsToTwips(info.PictureHeight);
    width = (f.Width() - f.ScaleWidth()) + draw::PixelsToTwips(info.PictureWidth);
  } else {
    f.SetCaption("");
    f.SetBorderStyle(ui::BorderStyle::None);
    HideMenus();
    height = screenH;
    width = screenW;
  }
  f.Move(screenW / 2 - width / 2, screenH / 2 - height / 2, width, height);
  double pw = draw::PixelsToTwips(info.PictureWidth);
  double ph = draw::PixelsToTwips(info.PictureHeight);
  double left = std::floor(f.ScaleWidth() / 2) - pw / 2;
  double top = std::max(0.0, std::nearbyint(std::floor(f.ScaleHeight() / 2) - ph / 2));
  pictureBox_->Move(left, top, pw, ph);
}

bool Game::MenusShown() const {
  return form_->HasMenuBar();
}

void Game::ShowMenus() {
  const ProjectInformation& info = project_.Info();
  if (info.MenusNeverShown) return;
  Menu("mnuExit").SetVisible(true);
  Menu("mnuSaveGame").SetVisible(!info.HideSaveButton);
  Menu("mnuLoadGame").SetVisible(!info.HideLoadButton);
  if (info.HideTransitionsOption && info.HideEffectsOption) {
    Menu("mnuOptions").SetVisible(false);
  } else {
    Menu("mnuOptions").SetVisible(true);
    Menu("mnuDisableTransitions").SetVisible(!info.HideTransitionsOption);
    Menu("mnuDisableEffects").SetVisible(!info.HideEffectsOption);
  }
  Menu("mnuDebug").SetVisible(false);
  menuOpen_ = false;
}

void Game::HideMenus() {
  if (!project_.Info().MenusAlwaysShown && !GameStopping()) {
    for (const char* name : {"mnuExit", "mnuSaveGame", "mnuLoadGame", "mnuOptions", "mnuDebug"}) {
      ui::Menu& m = Menu(name);
      if (m.Visible()) m.SetVisible(false);
    }
  }
  menuOpen_ = false;
}

void Game::mnuExit_Click() {
  MessageBoxRequest box;
  box.title = project_.Info().GameTitle;
  box.text = project_.Texts()[10];
  box.buttons = MsgButtons::YesNo;
  box.icon = MsgIcon::Question;
  if (project_.Messages().Show(box) == MsgAnswer::Yes) StartUnloading();
}

void Game::mnuSaveGame_Click() {
  subs_.savegame->ShowSaveGameWindow(SaveGameCaller::GameMenu);
}

void Game::mnuLoadGame_Click() {
  subs_.savegame->ShowLoadGameWindow(LoadGameCaller::GameMenu);
}

void Game::mnuFrameName_Click(int index) {
  auto* item = dynamic_cast<ui::Menu*>(mnuFrameName_->Find(index));
  if (item) OpenFrame(item->Caption());
}

void Game::Form_KeyDown(int keyCode, int shift) {
  const ProjectInformation& info = project_.Info();
  if (!subs_.video->VideoIsPlaying() && keyCode == kKeyEsc &&
      !subs_.effects->TransitionInProgress()) {
    if (Menu("mnuExit").Visible()) {
      HideMenus();
    } else {
      ShowMenus();
    }
  }
  if (keyCode == kKeyEsc) {
    InterruptWaits();
  }
  if (shift == kShiftCtrl) {
    if (keyCode == 'L' && !info.HideLoadButton) mnuLoadGame_Click();
    if (keyCode == 'S' && !info.HideSaveButton) mnuSaveGame_Click();
    if (keyCode == 'Q') mnuExit_Click();
  }
  if (keyCode == kDebugKeys[static_cast<std::size_t>(debugKeyState_)]) {
    if (++debugKeyState_ == static_cast<int>(kDebugKeys.size())) {
      debugKeyState_ = 0;
      Menu("mnuDebug").SetVisible(true);
    }
  } else {
    debugKeyState_ = 0;
  }
}

void Game::WindowMouseDown(int button) {
  InterruptWaits();
  if (subs_.video->VideoIsPlaying()) return;
  MenuMouseDown(button);
}

void Game::MenuMouseDown(int button) {
  if (button == kButtonRight) {
    if (!Menu("mnuExit").Visible()) {
      ShowMenus();
    } else if (!menuOpen_) {
      HideMenus();
    }
  } else {
    HideMenus();
  }
}

void Game::Timer1_Timer() {
  if (subs_.inventory->Moving()) {
    timer1_->SetInterval(1000);
    return;
  }
  if (GameStopping()) {
    timer1_->SetEnabled(false);
    return;
  }
  subs_.sound->StepFades(1);
  std::string target = timer1_->Tag();
  if (target.empty()) return;
  std::string name = target;
  if (FoldCase(target) == "[last visited frame]") {
    name = history_.GoBack();
    SyncHistoryList();
    if (name.empty()) return;
  }
  if (TimerWithTransition) {
    subs_.effects->TransitionStep1(TimerTransitionNumber);
    OpenFrame(name, FrameTransition{TimerTransitionNumber, TimerTransitionDuration / 1000.0});
  } else {
    OpenFrame(name);
  }
}

void Game::HaltActivity() {
  InterruptWaits();
  windows_.Loop().DoEvents();
  timer1_->SetEnabled(false);
  if (ui::TimerControl* t = TimerMessageBox()) t->SetEnabled(false);
  subs_.scripts->PauseTimedEvents();
  subs_.video->StopMovie();
  channels_.StopAllSounds();
}

void Game::StopEverything() {
  SetGameStopping();
  pictureBox_->SetVisible(false);
  HaltActivity();
  ShowMenus();
}

ui::TimerControl* Game::TimerMessageBox() {
  return Find<ui::TimerControl>(*form_, "TimerMessageBox");
}

void Game::StartUnloading() {
  InterruptWaits();
  timerRipplingWater_->SetEnabled(false);
  timerUnloadMe_->SetInterval(100);
  timerUnloadMe_->SetEnabled(true);
}

void Game::TimerUnloadMe_Timer() {
  timerUnloadMe_->SetEnabled(false);
  form_->Unload();
}

void Game::Form_Unload() {
  form_->Hide();
  windows_.Loop().DoEvents();
  project_.HaltActivity();
  try {
    if (auto* aniGif = form_->FindArray("AniGif")) {
      std::vector<int> indexes;
      for (const auto& [index, control] : aniGif->Elements()) {
        if (index != 0) indexes.push_back(index);
      }
      for (auto it = indexes.rbegin(); it != indexes.rend(); ++it)
        aniGif->Unload(*it);
    }
  } catch (const std::exception&) {
    // Tear-down goes on whatever an animated picture does.
  }
  display_.SetRecenter(nullptr);
  display_.RestoreDisplayMode();
  if (project_.Info().SkipTitleScreen) {
    title_.UnloadTitleWindow();
  } else {
    windows_.Loop().DoEvents();
    title_.ShowTitleWindow();
  }
}

}  // namespace sl
