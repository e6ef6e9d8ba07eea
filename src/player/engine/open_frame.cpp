// Opening a frame: the frame file's header and hotspot count, the visited-frames history, and
// the OpenFrame sequence with its checkpoints, in the order games rely on.
#include <cmath>

#include "core/case_fold.h"
#include "core/data_file_reader.h"
#include "core/path_resolver.h"
#include "core/runtime_error.h"
#include "core/variant_convert.h"
#include "player/engine/game.h"
#include "player/startup/project.h"
#include "player/startup/shared_routines.h"
#include "ui/controls/image.h"
#include "ui/controls/list_box.h"
#include "ui/controls/menu.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/timer_control.h"
#include "ui/draw/picture_cache.h"
#include "ui/draw/units.h"
#include "ui/window_manager.h"

namespace sl {

namespace {

// Thrown at a checkpoint when the game is stopping: the opening ends quietly.
struct OpeningStopped {};

// How long an opening waits for a running tick of the rippling water to finish.
constexpr std::int64_t kRipplingTickWaitMs = 5000;

DataFileReader OpenDataFile(PathResolver& paths, const std::string& path) {
  std::optional<std::string> real = paths.Find(path);
  if (!real) throw RuntimeError(kErrFileNotFound);
  return DataFileReader::FromFile(*real);
}

}  // namespace

std::string Game::ErrorLead() const {
  return project_.Texts().ErrorLead();
}

void Game::ShowStandardError(const std::string& sentence, MsgIcon icon) {
  project_.ShowError(sentence, icon);
}

void Game::ClearFrameInfo() {
  CurrentFrameName.clear();
  auxFrameString_.clear();
  BackgroundSource.clear();
  HotspotCount = 0;
  BackgroundKind = 0;
  BackgroundTiled = false;
}

void Game::LoadFrameHeader(const std::string& name) {
  CurrentFrameName = name;
  auxFrameString_.clear();
  try {
    DataFileReader reader =
        OpenDataFile(project_.Paths(), project_.Folders().FramesFolder + name + ".fme");
    FrameHeader h = ReadFrameHeader(reader);
    BackgroundKind = h.BackgroundKind;
    BackgroundSource = h.BackgroundSource;
    BackgroundTiled = h.BackgroundTiled;
  } catch (const RuntimeError& e) {
    ShowStandardError(" Unable to load the frame called '" + name + "'. " + e.Description());
  }
  if (observer_) observer_->FrameHeaderLoaded(name);
  HotspotCount = GetFrameHotspotCount(name);
}

std::int16_t Game::GetFrameHotspotCount(const std::string& name) {
  std::string path = project_.Folders().FramesFolder + name + ".lks";
  try {
    if (!project_.Paths().FileExists(path)) return 0;
    DataFileReader reader = OpenDataFile(project_.Paths(), path);
    return reader.ReadInteger();
  } catch (const RuntimeError& e) {
    MessageBoxRequest box;
    box.title = "Error";
    box.text = "Error reading the hotspots count from the file \"" + path + "\".\r\n\r\n" +
               e.Description();
    box.icon = MsgIcon::Exclamation;
    project_.Messages().Show(box);
    return 0;
  }
}

void Game::FramesHistoryAdd(const std::string& FrameName) {
  history_.FramesHistoryAdd(FrameName);
  SyncHistoryList();
}

void Game::SetFramesHistory(std::vector<std::string> names) {
  history_.Assign(std::move(names));
  SyncHistoryList();
}

void Game::SyncHistoryList() {
  framesHistoryList_->Items().Assign(history_.Names());
}

bool Game::EffectsEnabled() {
  return !Menu("mnuDisableEffects").Checked();
}

bool Game::TransitionsEnabled() {
  return !Menu("mnuDisableTransitions").Checked();
}

void Game::OpenFrame(const std::string& CurrentFrame, std::optional<FrameTransition> transition) {
  // However the opening ends, what a transition's first step showed does not outlive it.
  struct TransitionGuard {
    EffectsSubsystem& effects;
    bool withTransition;
    ~TransitionGuard() {
      if (withTransition) effects.AbandonTransition();
    }
  } guard{*subs_.effects, transition.has_value()};
  OpenFrameChecked(CurrentFrame, transition);
}

void Game::OpenFrameChecked(const std::string& CurrentFrame,
                            const std::optional<FrameTransition>& transition) {
  if (CurrentFrame.empty()) {
    ShowStandardError(" A program link is broken.");
    return;
  }
  if (!project_.Paths().FileExists(project_.Folders().FramesFolder + CurrentFrame + ".fme")) {
    ShowStandardError(" A program link is broken. The frame named \"" + CurrentFrame +
                      "\" was not found. Verify that the 'Initial Frame' exists and that the 'Go "
                      "to another frame' option in the Hotspot Properties is linked to an "
                      "existing frame.");
    return;
  }
  std::string description;
  try {
    OpenFrameSteps(CurrentFrame, transition);
    return;
  } catch (const OpeningStopped&) {
    return;
  } catch (const RuntimeError& e) {
    description = e.Description();
  } catch (const std::bad_alloc&) {
    description = std::string(RuntimeError::StandardDescription(kErrOutOfMemory));
  }
  if (!GameStopping()) {
    ShowStandardError(" Unable to load the frame called '" + CurrentFrame +
                      "'. Verify that the 'Initial Frame' exists and that the 'Go to another "
                      "frame' option in the Hotspot Properties is linked to an existing frame. " +
                      description);
  }
}

void Game::OpenFrameSteps(const std::string& name,
                          const std::optional<FrameTransition>& transition) {
  ForgetCurrentFrame();
  LoadHeaderAndRecordVisit(name);
  FrameFile f = ReadCurrentFrameFile();
  FinishRipplingWater();
  CheckOpeningGoesOn();
  if (!f.VideoFile.empty() && f.VideoBeforeFrame && !transition) {
    StopRunningVideo();
    CheckOpeningGoesOn();
    StartFrameVideo(f);
  }
  StopFrameSoundsAndPlayMusic(f);
  ReplaceFrameContents();
  if (RunOpeningScript(f)) {
    StartUnloading();
    return;
  }
  CheckOpeningGoesOn();
  subs_.hotspots->ShowOrNotShowAreas();
  subs_.inventory->BringToFront();  // the inventory stays above the new hotspots
  PlayFrameChannelsAndSound(f);
  CheckOpeningGoesOn();
  bool lateVideo = !f.VideoFile.empty() && (!f.VideoBeforeFrame || transition);
  if (lateVideo) StopRunningVideo();
  CheckOpeningGoesOn();
  StartFrameEffects(name, transition);
  CheckOpeningGoesOn();
  if (lateVideo) StartFrameVideo(f);
  CheckOpeningGoesOn();
  WaitForVideo();
  CheckOpeningGoesOn();
  StartRipplingWater();
  CheckOpeningGoesOn();
  ArmFrameTimer(f);
  subs_.scripts->StartTimedEvents();
}

void Game::CheckOpeningGoesOn() const {
  if (GameStopping()) throw OpeningStopped{};
}

void Game::ForgetCurrentFrame() {
  timer1_->SetEnabled(false);
  timer1_->SetInterval(0);
  subs_.scripts->ResetTimedEvents();
  subs_.hotspots->ResetMergedIndex();
  subs_.texts->ResetMergedIndex();
  ClearFrameInfo();
}

void Game::LoadHeaderAndRecordVisit(const std::string& name) {
  LoadFrameHeader(name);
  CheckOpeningGoesOn();
  if (ControlsReferencesMode == kControlsReferencesUndecided) {
    ControlsReferencesMode = subs_.variables->HasVariable(kControlsReferencesVariable)
                                 ? kControlsReferencesAllowed
                                 : kControlsReferencesRefused;
  }
  FramesHistoryAdd(name);
  CheckOpeningGoesOn();
}

FrameFile Game::ReadCurrentFrameFile() {
  FrameFile f;
  DataFileReader reader =
      OpenDataFile(project_.Paths(), project_.Folders().FramesFolder + CurrentFrameName + ".fme");
  ReadFrameFile(reader, f, channels_);
  if (f.AnyChannelFades) FadeDuration = f.FadeDurationMs / 1000.0;
  // What the frame timer's jump will use.
  TimerWithTransition = f.TimerWithTransition;
  TimerTransitionDuration = f.TimerTransitionDuration;
  TimerTransitionNumber = f.TimerTransitionNumber;
  return f;
}

void Game::FinishRipplingWater() {
  if (timerRipplingWater_->TimerEnabled()) {
    timerRipplingWater_->SetEnabled(false);
    ui::EventLoop& loop = windows_.Loop();
    std::int64_t deadline = loop.NowMs() + kRipplingTickWaitMs;
    while (subs_.effects->RipplingTickRunning() && loop.NowMs() < deadline &&
           !loop.QuitRequested()) {
      loop.DoEventsWait(deadline);
    }
  }
  RipplingWaterActive = false;
  picRipplingWater_->SetVisible(false);
}

void Game::StopRunningVideo() {
  cutSceneArea_->SetVisible(false);
  subs_.video->StopMovie();
}

void Game::StartFrameVideo(const FrameFile& f) {
  HideMenus();
  ClearMovieStop();
  PlayFrameVideo(f);
}

void Game::StopFrameSoundsAndPlayMusic(const FrameFile& f) {
  CheckOpeningGoesOn();
  if (f.StopAllWaves) channels_.StopAnyWavOrMP3();
  CheckOpeningGoesOn();
  if (f.FrameSound.empty() && f.StopFrameSoundWhenNone) {
    channels_.PlayerOfChannel(SoundChannels::kFrameSoundChannel).Stop();
  }
  CheckOpeningGoesOn();
  PlayFrameMusic(f);
}

void Game::ReplaceFrameContents() {
  CheckOpeningGoesOn();
  subs_.texts->ResetFrameTexts();
  CheckOpeningGoesOn();
  subs_.hotspots->ResetFrameAreas();
  CheckOpeningGoesOn();
  DrawBackground();
  CheckOpeningGoesOn();
  subs_.texts->LoadTexts();
  HotspotCount = GetFrameHotspotCount(CurrentFrameName);
  CheckOpeningGoesOn();
  subs_.hotspots->LoadAreas();
  CheckOpeningGoesOn();
}

bool Game::RunOpeningScript(const FrameFile& f) {
  subs_.scripts->ResetModule();
  if (!f.RunScript) return false;
  std::string script = UnescapeScriptText(f.Script);
  if (script.empty()) return false;
  subs_.scripts->SetHotspotNumber(0);
  subs_.scripts->ExecuteVBScript(script, true);
  // Only the script's quit request is acted on here.
  return subs_.scripts->StopGameRequested();
}

void Game::PlayFrameChannelsAndSound(const FrameFile& f) {
  CheckOpeningGoesOn();
  std::string chn = project_.Folders().FramesFolder + CurrentFrameName + ".chn";
  if (!f.StopAllWaves && project_.Paths().FileExists(chn)) {
    DataFileReader reader = OpenDataFile(project_.Paths(), chn);
    channels_.PlaySoundChannels(reader, [this](const std::string& file) {
      return project_.FindMediaFile(project_.Folders().AreasFolder + file);
    });
  }
  CheckOpeningGoesOn();
  PlayFrameSound(f);
}

void Game::StartFrameEffects(const std::string& name,
                             const std::optional<FrameTransition>& transition) {
  if (EffectsEnabled() && BackgroundKind == 1 && !BackgroundTiled) {
    if (subs_.effects->LoadWaveEffectIfAny(name)) RipplingWaterActive = true;
  }
  subs_.sound->ApplyChannelChanges();
  if (!transition) {
    timerAudioFade_->SetEnabled(true);
  } else {
    subs_.effects->TransitionStep2(transition->number, transition->durationSeconds);
  }
}

void Game::StartRipplingWater() {
  if (EffectsEnabled() && RipplingWaterActive) {
    subs_.effects->VexelTime(1);
    timerRipplingWater_->SetEnabled(true);
  }
}

void Game::PlayFrameMusic(const FrameFile& f) {
  MediaPlayer& music = channels_.PlayerOfChannel(SoundChannels::kMusicChannel);
  if (f.StopMusic) music.Stop();
  if (f.MusicFile.empty()) return;
  std::string p = project_.FindMediaFile(project_.Folders().AreasFolder + f.MusicFile);
  // The same music goes on uninterrupted from frame to frame unless the frame stops it.
  if (channels_.IsFilePlaying(p) && !f.StopMusic) return;
  music.Stop();
  music.SetFileName(p);
  music.SetPlayCount(f.MusicLoops ? 0 : 1);
  music.SetVolume(LevelToVolume(7));
  music.Play();
}

void Game::PlayFrameSound(const FrameFile& f) {
  if (f.FrameSound.empty()) return;
  MediaPlayer& sound = channels_.PlayerOfChannel(SoundChannels::kFrameSoundChannel);
  sound.Stop();
  sound.SetFileName(project_.FindMediaFile(project_.Folders().FramesFolder + f.FrameSound));
  sound.SetPlayCount(1);
  sound.SetVolume(LevelToVolume(8));
  sound.Play();
}

void Game::DrawBackground() {
  const ProjectInformation& info = project_.Info();
  ui::PictureBox& box = *pictureBox_;
  if (BackgroundKind == 0) {
    box.Cls();
    auto colour = static_cast<std::uint32_t>(RoundToLong(Val(BackgroundSource)));
    if (colour != box.BackColor()) box.SetBackColor(colour);
    return;
  }
  if (BackgroundKind != 1) return;
  std::string path = project_.FindMediaFile(project_.Folders().FramesFolder + BackgroundSource);
  std::optional<std::string> real = project_.Paths().Find(path);
  if (!real) return;  // FindMediaFile has said so; the opening goes on
  draw::Picture picture = pictures_.Load(*real);
  if (!BackgroundTiled) {
    box.PaintPicture(picture, {0, 0, info.PictureWidth, info.PictureHeight}, {});
    return;
  }
  imageTile_->SetPicture(picture);
  int w = picture.Width();
  int h = picture.Height();
  draw::Size area = box.ClientSize();
  // Both bounds are inclusive, as the classic loop is; an empty tile draws nothing.
  if (w > 0 && h > 0) {
    for (int x = 0; x <= area.width; x += w) {
      for (int y = 0; y <= area.height; y += h)
        box.PaintPicture(picture, {x, y, w, h}, {});
    }
  }
  imageTile_->SetPicture(draw::Picture());
}

void Game::PlayFrameVideo(const FrameFile& f) {
  std::string file = project_.FindMediaFile(project_.Folders().FramesFolder + f.VideoFile);
  if (f.VideoInCutSceneArea) {
    cutSceneArea_->Move(draw::PixelsToTwips(f.VideoLeft), draw::PixelsToTwips(f.VideoTop),
                        draw::PixelsToTwips(f.VideoWidth), draw::PixelsToTwips(f.VideoHeight));
    subs_.video->PlayMovieWithStop(file, *cutSceneArea_, false, 0, 0, 0, 0);
    cutSceneArea_->ZOrder(0);
    windows_.Loop().DoEvents();
    cutSceneArea_->SetVisible(true);
  } else if (f.VideoOwnSize) {
    subs_.video->PlayMovieWithStop(file, *pictureBox_, false, 0, 0, 0, 0);
  } else {
    subs_.video->PlayMovieWithStop(file, *pictureBox_, true, f.VideoLeft, f.VideoTop, f.VideoWidth,
                                   f.VideoHeight);
  }
}

void Game::WaitForVideo() {
  ui::EventLoop& loop = windows_.Loop();
  subs_.hotspots->SetScreenPointerArrow();
  auto playing = [this] {
    std::string status = FoldCase(subs_.video->Status());
    return status != "stopped" && !status.empty();
  };
  while (playing() && !MovieStopRequested() && !loop.QuitRequested()) {
    loop.WaitEvents();
    HideMenus();
    loop.DoEvents();
  }
  subs_.hotspots->SetScreenPointerDefault();
  cutSceneArea_->SetVisible(false);
  subs_.video->StopMovie();
  ClearMovieStop();
}

void Game::ArmFrameTimer(const FrameFile& f) {
  if (!f.TimerEnabled) return;
  try {
    timer1_->SetTag(f.TimerTarget);
    timer1_->SetEnabled(true);
    timer1_->SetInterval(RoundToLong(f.TimerDelaySeconds * 1000));
  } catch (const RuntimeError&) {
    ShowStandardError(" Unable to load timer duration.");
  }
}

}  // namespace sl
