// The sound device, the mixer, sound lengths on the clock, master volume and mute.
#include "player/media/sound_engine.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "av/midi_synths.h"
#include "av/sound_file.h"
#include "av/volume.h"
#include "core/path_resolver.h"
#include "ui/event_loop.h"
#include "ui/platform.h"
#include "ui/timer.h"

namespace sl {

namespace {

constexpr const char* kVolumeKey = "Volume";
constexpr const char* kMutedKey = "Muted";
constexpr const char* kSoundFontKey = "SoundFont";
// The settings store belongs to the application as a whole; its "application" part is this.
constexpr const char* kSettingsApp = "Software";
// The longest interval a timer takes; longer sounds re-arm it.
constexpr std::int64_t kMaxTimerInterval = 65535;
constexpr int kFullVolumePercent = 100;

}  // namespace

PlayingSound::PlayingSound(SoundEngine& engine, av::VoiceId voice)
    : engine_(engine), voice_(voice) {}

PlayingSound::~PlayingSound() {
  if (voice_ != 0 && engine_.mixer_) engine_.mixer_->Stop(voice_);
}

void PlayingSound::SetVolume(std::int32_t hundredthsDb) {
  if (voice_ != 0 && engine_.mixer_)
    engine_.mixer_->SetGain(voice_, av::GainOfVolume(hundredthsDb));
}

void PlayingSound::ArmEnd(std::int64_t dueMs, std::function<void()> ended) {
  dueMs_ = dueMs;
  ended_ = std::move(ended);
  endTimer_ = std::make_unique<ui::Timer>(engine_.loop_);
  endTimer_->SetHandler([this] { EndTick(); });
  endTimer_->SetEnabled(false);
  std::int64_t left = dueMs_ - engine_.loop_.NowMs();
  endTimer_->SetInterval(std::clamp<std::int64_t>(left, 1, kMaxTimerInterval));
  endTimer_->SetEnabled(true);
}

void PlayingSound::EndTick() {
  std::int64_t left = dueMs_ - engine_.loop_.NowMs();
  if (left > 0) {
    endTimer_->SetInterval(std::min(left, kMaxTimerInterval));
    return;
  }
  endTimer_->SetEnabled(false);
  // The voice is left alone: what still sounds (a synthesiser's release, the last moment the
  // device has not played yet) plays out, and a stop of the player still silences it.
  // The callback may destroy this sound; nothing is touched after it.
  std::function<void()> ended = std::move(ended_);
  ended();
}

SoundEngine::SoundEngine(ui::EventLoop& loop, PathResolver& paths)
    : loop_(loop), paths_(paths), settings_(loop.GetPlatform().Settings()) {
  LoadSettings();
}

SoundEngine::~SoundEngine() {
  // The device stops pulling before the mixer goes.
  if (mixer_) {
    if (ui::AudioOutput* audio = loop_.GetPlatform().Audio()) audio->Stop();
  }
}

void SoundEngine::LoadSettings() {
  if (auto v = settings_.Get(kSettingsApp, kSoundSettingsSection, kVolumeKey)) {
    try {
      masterVolume_ = std::clamp(std::stoi(*v), 0, kFullVolumePercent);
    } catch (const std::exception&) {
      masterVolume_ = kFullVolumePercent;
    }
  }
  if (auto v = settings_.Get(kSettingsApp, kSoundSettingsSection, kMutedKey)) muted_ = *v == "1";
  if (auto v = settings_.Get(kSettingsApp, kSoundSettingsSection, kSoundFontKey)) {
    options_.soundFont = *v;
  }
}

void SoundEngine::SetOptions(const SoundOptions& options) {
  if (!options.soundFont.empty()) options_.soundFont = options.soundFont;
  options_.mute = options.mute;
  ApplyMaster();
}

void SoundEngine::ApplyMaster() {
  if (!mixer_) return;
  mixer_->SetMasterGain(static_cast<float>(masterVolume_) / kFullVolumePercent);
  mixer_->SetMuted(muted_ || options_.mute);
}

void SoundEngine::SetMasterVolume(int percent) {
  masterVolume_ = std::clamp(percent, 0, kFullVolumePercent);
  settings_.Save(kSettingsApp, kSoundSettingsSection, kVolumeKey, std::to_string(masterVolume_));
  ApplyMaster();
}

void SoundEngine::SetMuted(bool muted) {
  // Unmuting also ends a mute asked for on the command line.
  if (!muted) options_.mute = false;
  muted_ = muted;
  settings_.Save(kSettingsApp, kSoundSettingsSection, kMutedKey, muted ? "1" : "0");
  ApplyMaster();
}

av::Mixer* SoundEngine::Mixer() {
  if (mixer_ || deviceTried_) return mixer_.get();
  deviceTried_ = true;
  ui::AudioOutput* audio = loop_.GetPlatform().Audio();
  if (!audio) return nullptr;
  mixer_ = std::make_unique<av::Mixer>(av::AudioFormat{audio->SampleRate(), audio->Channels()});
  ApplyMaster();
  audio->Start(&av::Mixer::Pull, mixer_.get());
  // The MIDI synthesiser loads its sound font meanwhile, so that music starts without a wait.
  std::string font = av::FindSoundFont(options_.soundFont);
  if (!options_.soundFont.empty() && font != options_.soundFont) {
    std::fprintf(stderr, "storyloom: the sound font %s does not exist; using %s\n",
                 options_.soundFont.c_str(), font.empty() ? "none" : font.c_str());
  }
  synths_ = std::make_shared<av::MidiSynths>(font, mixer_->Output().sampleRate);
  synths_->Preload();
  return mixer_.get();
}

std::shared_ptr<av::MidiSynths> SoundEngine::MidiSynths() {
  Mixer();
  return synths_;
}

std::optional<double> SoundEngine::Length(const std::string& realPath) {
  auto known = lengths_.find(realPath);
  if (known != lengths_.end()) return known->second;
  std::optional<double> seconds = av::SoundFileLength(realPath);
  if (seconds) lengths_.emplace(realPath, *seconds);
  return seconds;
}

std::unique_ptr<PlayingSound> SoundEngine::Start(const std::string& path, int plays,
                                                 std::int32_t volume, std::function<void()> ended) {
  std::optional<std::string> real = paths_.Find(path);
  double seconds = 0;
  av::VoiceId voice = 0;
  if (real) {
    if (av::Mixer* mixer = Mixer()) {
      bool midi = av::IsMidiFile(*real);
      av::OpenedSound opened = av::OpenSoundFile(*real, midi ? MidiSynths() : nullptr);
      // MIDI music without a sound font still lasts its length, silently.
      seconds = opened.seconds;
      if (opened.source) {
        voice = mixer->Play(std::move(opened.source),
                            {.plays = std::max(plays, 0), .gain = av::GainOfVolume(volume)});
      } else if (midi && opened.seconds > 0 && !midiProblemTold_) {
        midiProblemTold_ = true;
        std::fprintf(stderr, "storyloom: MIDI music cannot play: %s\n", opened.error.c_str());
      }
    } else {
      seconds = Length(*real).value_or(0);
    }
  }
  std::unique_ptr<PlayingSound> sound(new PlayingSound(*this, voice));
  if (plays == 0 && seconds > 0) return sound;  // plays without end
  std::int64_t ms = std::llround(seconds * 1000.0 * std::max(plays, 1));
  if (ms <= 0) {
    ended();
    return sound;
  }
  sound->ArmEnd(loop_.NowMs() + ms, std::move(ended));
  return sound;
}

}  // namespace sl
