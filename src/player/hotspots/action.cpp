// The action of a hotspot (MakeAction): finding its record, reading it in order with the
// effects that happen while it is read, then the procedure, sounds, video, message and frame
// change in their fixed order; and AreaClick, the click entry point that wraps it.
#include "core/case_fold.h"
#include "core/data_file_reader.h"
#include "core/path_resolver.h"
#include "core/runtime_error.h"
#include "core/variant_convert.h"
#include "player/engine/game.h"
#include "player/hotspots/action_record.h"
#include "player/hotspots/hotspots.h"
#include "player/startup/project.h"
#include "player/startup/shared_routines.h"
#include "player/variables/variable_store.h"
#include "ui/control_array.h"
#include "ui/controls/menu.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/timer_control.h"
#include "ui/draw/units.h"
#include "ui/form.h"
#include "ui/window_manager.h"

namespace sl {

namespace {

constexpr int kHotspotSoundChannel = 6;
constexpr int kOneShotChannel = 7;
constexpr int kChannelLineValues = 5;
constexpr int kChannelLines = 7;
// Fields of a record's header. Item-use and hotspot-channel records have their key in the
// second field; the player reads past the others.
constexpr int kHeaderFields = 10;
constexpr int kHeaderFieldsAfterKey = kHeaderFields - 2;

bool Flag(DataFileReader& r) {
  return r.ReadInteger() != 0;
}

}  // namespace

ActionOutcome Hotspots::MakeAction(std::int16_t AreaIndex, std::int16_t ObjectIndex) {
  if (!game_) return ActionOutcome::NothingFurther;
  Game& g = *game_;
  g.InterruptWaits();
  g.ClearGameStopping();
  ActionRecord a;
  try {
    DataFileReader reader("");
    if (!OpenActionRecord(AreaIndex, ObjectIndex, reader)) return ActionOutcome::NothingFurther;
    if (ReadActionRecord(reader, AreaIndex, ObjectIndex, a)) return ActionOutcome::EndGame;
    return FinishAction(AreaIndex, ObjectIndex, a);
  } catch (const RuntimeError& e) {
    if (!g.GameStopping()) {
      project_.ShowError(" Unable to make the action associated with the hotspot #" +
                         std::to_string(AreaIndex) + ". " + e.Description());
    }
  }
  return ActionOutcome::NothingFurther;
}

bool Hotspots::OpenActionRecord(std::int16_t n, std::int16_t item, DataFileReader& reader) {
  Game& g = *game_;
  std::string base = project_.Folders().FramesDataFolder + g.CurrentFrameName;
  if (item != 0) {
    std::string name = Array("PickedObject").Item(item).Tag();
    std::string key = FoldCase(std::to_string(n) + "_" + name + ".drg");
    if (!FileExists(base + ".fm0")) return false;
    reader = OpenFile(base + ".fm0");
    while (!reader.Eof()) {
      if (g.GameStopping()) return false;
      reader.Skip(1);
      if (FoldCase(reader.ReadString()) == key) {
        reader.Skip(kHeaderFieldsAfterKey);
        return true;
      }
      reader.SkipRecord();
    }
    return false;
  }
  bool merged = FileExists(base + ".mr3");
  if (!merged && !FileExists(base + ".fm3")) return false;
  reader = OpenFile(base + (merged ? ".mr3" : ".fm3"));
  for (int skipped = 1; skipped < n && !reader.Eof(); ++skipped)
    reader.SkipRecord();
  if (reader.Eof()) return false;
  reader.Skip(kHeaderFields);
  return true;
}

namespace {

// The effects of reading a record on the game: variables, disappearance, the removal of a used
// item, the sounds stopped at once, the channel table and a picked-up item take effect while
// reading, so that the procedure sees them.
class GameActionEffects final : public ActionRecordEffects {
 public:
  GameActionEffects(Game& game, VariableStore& variables, std::int16_t n, std::int16_t item)
      : g_(game), variables_(variables), n_(n), item_(item) {}
  void ChangeVariable(const std::string& name, std::int16_t value) override {
    variables_.ChangeVariableValue(name, value);
  }
  void Disappear() override {
    if (item_ != 0) {
      g_.Subsystems().inventory->RemovePickedObject(item_);
    } else {
      variables_.Disappear.Add(g_.CurrentFrameName, n_);
    }
  }
  void StopHotspotSound() override { g_.Channels().PlayerOfChannel(kHotspotSoundChannel).Stop(); }
  void StopAllSounds() override { g_.Channels().StopAnyWavOrMP3(); }
  void SetFadeDuration(double seconds) override { g_.FadeDuration = seconds; }
  void SetChannel(int channel, const ChannelLine& line) override {
    SoundChannel& c = g_.Channels().Channel(channel);
    c.mode = line.mode;
    c.fade = line.fade;
    c.loop = line.loop;
    c.previousVolume = c.volume;
    c.volume = line.volume;
    c.file = line.file;
    c.keep = false;
  }
  void PickUp(const std::string& item) override {
    g_.Subsystems().inventory->AddPickedObject(item, false);
  }

 private:
  Game& g_;
  VariableStore& variables_;
  std::int16_t n_;
  std::int16_t item_;
};

}  // namespace

bool Hotspots::ReadActionRecord(DataFileReader& r, std::int16_t n, std::int16_t item,
                                ActionRecord& a) {
  GameActionEffects effects(*game_, variables_, n, item);
  return sl::ReadActionRecord(r, a, effects);
}

namespace {

// Field counts of the record's groups that the player reads past.
constexpr int kIgnoredLeadFields = 3;        // D1-D3, E1-E3, F1-F3
constexpr int kIgnoredBeforeFadeFields = 6;  // K1-K6

// A: variable, message, disappearance, end game and frame change. True when the game ends (the
// rest of the record is not read).
bool ReadMainGroup(DataFileReader& r, ActionRecord& a, ActionRecordEffects& effects) {
  std::int16_t changeOn = r.ReadInteger();
  std::string variable = r.ReadString();
  bool setFalse = Flag(r);
  bool setTrue = Flag(r);
  bool invert = Flag(r);
  if (!variable.empty() && changeOn != 0) {
    if (setFalse) effects.ChangeVariable(variable, 0);
    if (setTrue) effects.ChangeVariable(variable, 1);
    if (invert) effects.ChangeVariable(variable, -1);
  }
  a.showMessage = Flag(r);
  a.message = r.ReadString();
  r.ReadInteger();
  r.ReadString();
  if (Flag(r)) effects.Disappear();
  if (Flag(r)) return true;
  a.goToFrame = r.ReadInteger();
  a.targetFrame = r.ReadString();
  return false;
}

// The optional groups that follow. Each returns whether later groups may follow it.

// B: the sounds stopped at once, and the video.
bool ReadStopsAndVideo(DataFileReader& r, ActionRecord& a, ActionRecordEffects& effects) {
  a.restartHotspotSound = r.ReadInteger();
  if (a.restartHotspotSound != 0) effects.StopHotspotSound();
  a.stopAllSounds = r.ReadInteger();
  if (a.stopAllSounds != 0) effects.StopAllSounds();
  a.playVideo = r.ReadInteger();
  a.videoFile = r.ReadString();
  a.videoOwnSize = r.ReadBoolean();
  a.videoInCutSceneArea = r.ReadBoolean();
  a.videoLeft = r.ReadInteger();
  a.videoTop = r.ReadInteger();
  a.videoWidth = r.ReadInteger();
  a.videoHeight = r.ReadInteger();
  return true;
}

// C: the hotspot sound and the one-shot sound.
bool ReadSounds(DataFileReader& r, ActionRecord& a, ActionRecordEffects&) {
  a.stopOneShot = Flag(r);
  a.hotspotSoundOn = Flag(r);
  a.hotspotSound = r.ReadString();
  a.oneShotOn = Flag(r);
  a.oneShotSound = r.ReadString();
  return true;
}

// D: going back to the previous frame.
bool ReadPreviousFrame(DataFileReader& r, ActionRecord& a, ActionRecordEffects&) {
  r.Skip(kIgnoredLeadFields);
  a.previousFrame = Flag(r);
  return true;
}

// E: where the message shows.
bool ReadMessageOption(DataFileReader& r, ActionRecord& a, ActionRecordEffects&) {
  r.Skip(kIgnoredLeadFields);
  a.messageInGame = Flag(r);
  return true;
}

// F: the three lists of variables set to 0, set to 1 and inverted.
bool ReadVariableLists(DataFileReader& r, ActionRecord&, ActionRecordEffects& effects) {
  r.Skip(kIgnoredLeadFields);
  bool severalOn = r.ReadInteger() != 0;
  for (std::int16_t value : {0, 1, -1}) {
    std::int16_t count = r.ReadInteger();
    for (std::int16_t i = 0; i < count; ++i) {
      std::string name = r.ReadString();
      if (severalOn && !name.empty()) effects.ChangeVariable(name, value);
    }
  }
  return true;
}

// G: whether the hotspot sound loops.
bool ReadSoundLoop(DataFileReader& r, ActionRecord& a, ActionRecordEffects&) {
  a.loopHotspotSound = r.ReadBoolean();
  return true;
}

// H: the transition and its duration.
bool ReadTransition(DataFileReader& r, ActionRecord& a, ActionRecordEffects&) {
  a.transitionOn = r.ReadDouble();
  a.transitionDurationMs = r.ReadDouble();
  return true;
}

// I: the procedure.
bool ReadProcedure(DataFileReader& r, ActionRecord& a, ActionRecordEffects&) {
  a.runProcedure = r.ReadBoolean();
  a.procedure = r.ReadString();
  return true;
}

// J: the transition's number.
bool ReadTransitionNumber(DataFileReader& r, ActionRecord& a, ActionRecordEffects&) {
  a.transitionNumber = r.ReadInteger();
  return true;
}

// K: the fade duration and the sound-channel table. More values per line than a channel has
// end the reading here.
bool ReadChannelTable(DataFileReader& r, ActionRecord&, ActionRecordEffects& effects) {
  r.Skip(kIgnoredBeforeFadeFields);
  effects.SetFadeDuration(Val(r.ReadString()) / 1000);
  r.ReadInteger();
  std::int16_t perLine = r.ReadInteger();
  if (perLine > kChannelLineValues) return false;
  std::int16_t lines = r.ReadInteger();
  ChannelLine line;  // values a short line leaves out keep those of the line before
  for (std::int16_t l = 1; l <= lines; ++l) {
    if (perLine >= 1) line.mode = r.ReadInteger();
    if (perLine >= 2) line.fade = r.ReadBoolean();
    if (perLine >= 3) line.loop = r.ReadBoolean();
    if (perLine >= 4) line.volume = r.ReadDouble();
    if (perLine >= 5) line.file = r.ReadString();
    if (l > kChannelLines) continue;  // no such channel
    effects.SetChannel(l, line);
  }
  return true;
}

// L: an item picked up.
bool ReadPickUp(DataFileReader& r, ActionRecord&, ActionRecordEffects& effects) {
  bool pickUp = r.ReadBoolean();
  std::string itemName = r.ReadString();
  if (pickUp) effects.PickUp(itemName);
  return true;
}

using GroupReader = bool (*)(DataFileReader&, ActionRecord&, ActionRecordEffects&);

// The optional groups B to L in the record's order.
constexpr GroupReader kOptionalGroups[] = {
    ReadStopsAndVideo,    ReadSounds,       ReadPreviousFrame, ReadMessageOption,
    ReadVariableLists,    ReadSoundLoop,    ReadTransition,    ReadProcedure,
    ReadTransitionNumber, ReadChannelTable, ReadPickUp,
};

}  // namespace

bool ReadActionRecord(DataFileReader& r, ActionRecord& a, ActionRecordEffects& effects) {
  if (ReadMainGroup(r, a, effects)) return true;
  // An optional group is there when the record goes on; one that is not ends the record.
  for (GroupReader read : kOptionalGroups) {
    if (r.SeparatorOrEndNext() || !read(r, a, effects)) break;
  }
  return false;
}

ActionOutcome Hotspots::FinishAction(std::int16_t n, std::int16_t item, const ActionRecord& a) {
  Game& g = *game_;
  GameSubsystems& subs = g.Subsystems();
  auto running = [&g] { return !g.GameStopping(); };
  // The procedure; its quit request ends the action at once.
  if (running()) {
    subs.scripts->ResetModule();
    std::string text = UnescapeScriptText(a.procedure);
    if (!text.empty() && a.runProcedure) {
      subs.scripts->SetHotspotNumber(n);
      subs.scripts->ExecuteVBScript(text, false);
      if (subs.scripts->StopGameRequested()) return ActionOutcome::EndGame;
    }
  }
  if (running() && a.hotspotSoundOn && !a.hotspotSound.empty()) {
    MediaPlayer& p = g.Channels().PlayerOfChannel(kHotspotSoundChannel);
    // A hotspot sound that already plays goes on from where it is unless asked to restart.
    if (!p.Playing() || a.restartHotspotSound != 0) {
      p.Stop();
      p.SetFileName(project_.FindMediaFile(project_.Folders().AreasFolder + a.hotspotSound));
      p.SetPlayCount(a.loopHotspotSound ? 0 : 1);
      p.SetVolume(LevelToVolume(7));
      p.Play();
    }
  }
  if (running()) {
    MediaPlayer& p = g.Channels().PlayerOfChannel(kOneShotChannel);
    if (a.oneShotOn) {
      p.Stop();
      p.SetFileName(project_.FindMediaFile(project_.Folders().FramesFolder + a.oneShotSound));
      p.SetPlayCount(1);
      p.SetVolume(LevelToVolume(8));
      p.Play();
    } else if (a.stopOneShot && a.stopAllSounds == 0) {
      p.Stop();
    }
  }
  if (running() && a.stopAllSounds == 0 && item == 0) PlayHotspotChannels(n);
  bool frameChange = !subs.scripts->FrameToLoad().empty() || a.goToFrame != 0 ||
                     (a.previousFrame && g.History().Count() > 1);
  if (running() && (a.playVideo != 0 || !frameChange)) {
    subs.sound->ApplyChannelChanges();
    g.TimerAudioFade().SetEnabled(true);
  }
  if (running() && a.playVideo != 0) PlayActionVideo(a);
  if (running() && a.showMessage) subs.texts->ShowMessage(a.message, a.messageInGame);
  if (running() && a.playVideo != 0) WaitForActionVideo(frameChange);
  ActionOutcome result = ActionOutcome::NothingFurther;
  if (running()) result = ChangeFrame(a);
  if (running() && result != ActionOutcome::NewFrame) subs.scripts->StartTimedEvents();
  return result;
}

void Hotspots::PlayHotspotChannels(std::int16_t n) {
  std::string path = project_.Folders().FramesDataFolder + game_->CurrentFrameName + ".fm5";
  if (!FileExists(path)) return;
  DataFileReader r = OpenFile(path);
  while (!r.Eof()) {
    r.Skip(1);
    if (r.ReadInteger() == n) {
      r.Skip(kHeaderFieldsAfterKey);
      game_->Channels().PlaySoundChannels(r, [this](const std::string& file) {
        return project_.FindMediaFile(project_.Folders().AreasFolder + file);
      });
      return;
    }
    r.SkipRecord();
  }
}

void Hotspots::PlayActionVideo(const ActionRecord& a) {
  Game& g = *game_;
  VideoSubsystem& video = *g.Subsystems().video;
  g.HideMenus();
  g.CutSceneArea().SetVisible(false);
  std::string file = project_.FindMediaFile(project_.Folders().FramesFolder + a.videoFile);
  if (!a.videoInCutSceneArea) {
    if (a.videoOwnSize) {
      video.PlayMovieWithStop(file, g.PictureBox(), false, 0, 0, 0, 0);
    } else {
      video.PlayMovieWithStop(file, g.PictureBox(), true, a.videoLeft, a.videoTop, a.videoWidth,
                              a.videoHeight);
    }
    return;
  }
  ui::PictureBox& area = g.CutSceneArea();
  area.Move(draw::PixelsToTwips(a.videoLeft), draw::PixelsToTwips(a.videoTop),
            draw::PixelsToTwips(a.videoWidth), draw::PixelsToTwips(a.videoHeight));
  video.PlayMovieWithStop(file, area, false, 0, 0, 0, 0);
  area.ZOrder(0);
  windows_.Loop().DoEvents();
  area.SetVisible(true);
}

void Hotspots::WaitForActionVideo(bool frameChangeFollows) {
  Game& g = *game_;
  VideoSubsystem& video = *g.Subsystems().video;
  ui::EventLoop& loop = windows_.Loop();
  SetScreenPointerArrow();
  auto playing = [&video] {
    std::string status = FoldCase(video.Status());
    return status != "stopped" && !status.empty();
  };
  while (playing() && !g.MovieStopRequested() && !loop.QuitRequested()) {
    loop.WaitEvents();
    g.HideMenus();
    loop.DoEvents();
  }
  SetScreenPointerDefault();
  g.ClearMovieStop();
  if (frameChangeFollows) g.Subsystems().sound->StepFades(1);
}

bool Hotspots::OpenRequestedFrame() {
  if (!game_) return false;
  Game& g = *game_;
  GameSubsystems& subs = g.Subsystems();
  std::string frame = subs.scripts->FrameToLoad();
  if (EqualsIgnoreCase(frame, "last visited frame")) {
    frame.clear();
    std::vector<std::string> names = g.History().Names();
    if (names.size() >= 2) {
      names.pop_back();
      frame = names.back();
      g.SetFramesHistory(std::move(names));
    }
    subs.scripts->SetFrameToLoad(frame);
  }
  if (!frame.empty()) {
    double duration = subs.scripts->TransitionDuration();
    if (duration != 0) {
      int number = subs.scripts->TransitionNumber();
      subs.effects->TransitionStep1(number);
      g.OpenFrame(frame, FrameTransition{number, duration});
    } else {
      g.OpenFrame(frame);
    }
    return true;
  }
  return false;
}

ActionOutcome Hotspots::ChangeFrame(const ActionRecord& a) {
  Game& g = *game_;
  GameSubsystems& subs = g.Subsystems();
  if (OpenRequestedFrame()) return ActionOutcome::NewFrame;
  std::string target = a.targetFrame;
  if (a.goToFrame == 0) {
    if (!a.previousFrame || g.History().Count() <= 1) return ActionOutcome::NothingFurther;
    std::vector<std::string> names = g.History().Names();
    names.pop_back();
    target = names.back();
    g.SetFramesHistory(std::move(names));
  }
  if (a.transitionOn == 1) {
    subs.effects->TransitionStep1(a.transitionNumber);
    g.OpenFrame(target, FrameTransition{a.transitionNumber, a.transitionDurationMs / 1000});
  } else {
    g.OpenFrame(target);
  }
  return ActionOutcome::NewFrame;
}

void Hotspots::AreaClick(std::int16_t AreaIndex, int Button) {
  if (!game_) return;
  Game& g = *game_;
  GameSubsystems& subs = g.Subsystems();
  if (g.GameStopping()) return;
  g.InterruptWaits();
  if (FoldCase(subs.video->Status()) == "playing" || subs.inventory->Moving()) return;
  if (Button == 2) {
    if (!g.Menu("mnuExit").Visible()) {
      g.ShowMenus();
    } else if (!g.MenuOpen()) {
      g.HideMenus();
    }
    return;
  }
  if (g.MenuOpen()) {
    g.HideMenus();
    return;
  }
  g.HideMenus();
  subs.inventory->PickOrNotPickObject(AreaIndex);
  subs.sound->StepFades(1);
  ActionOutcome result = MakeAction(AreaIndex, 0);
  if (result != ActionOutcome::NewFrame) ShowOrNotShowAreas();
  g.CutSceneArea().SetVisible(false);
  subs.video->StopMovie();
  if (result == ActionOutcome::EndGame) g.StartUnloading();
}

}  // namespace sl
