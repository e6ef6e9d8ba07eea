// FluidSynth set-up and the pool of synthesisers.
#include "av/midi_synths.h"

#include <fluidsynth.h>

#include <filesystem>
#include <mutex>

namespace sl::av {

namespace {

// General MIDI sound fonts of common systems, best first.
constexpr const char* kSystemSoundFonts[] = {
    "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf3/default-GM.sf3",
    "/usr/share/soundfonts/FluidR3_GM.sf2", "/usr/share/soundfonts/default.sf2",
};
constexpr double kSynthGain = 0.5;
// Idle synthesisers kept for the next MIDI sound.
constexpr std::size_t kMaxIdle = 2;

bool IsFile(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

void QuietSynth() {
  static std::once_flag quieted;
  std::call_once(quieted, [] {
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
      fluid_set_log_function(level, nullptr, nullptr);
  });
}

}  // namespace

std::string FindSoundFont(const std::string& chosen) {
  if (IsFile(chosen)) return chosen;
  for (const char* path : kSystemSoundFonts) {
    if (IsFile(path)) return path;
  }
  return {};
}

MidiSynths::MidiSynths(std::string soundFont, int sampleRate)
    : soundFont_(std::move(soundFont)), sampleRate_(sampleRate) {
  QuietSynth();
  settings_ = new_fluid_settings();
  if (!settings_) return;
  fluid_settings_setnum(settings_, "synth.sample-rate", sampleRate);
  // Only the samples a piece uses are loaded, and nothing is locked in memory.
  fluid_settings_setint(settings_, "synth.dynamic-sample-loading", 1);
  fluid_settings_setint(settings_, "synth.lock-memory", 0);
  // Each synthesiser is used by one thread at a time; the mixer's lock orders the rest.
  fluid_settings_setint(settings_, "synth.threadsafe-api", 0);
  fluid_settings_setint(settings_, "synth.cpu-cores", 1);
  // The synthesiser's own default is very quiet next to sound files; this brings a General MIDI
  // piece of a few voices to about the level of a wave file recorded with headroom.
  fluid_settings_setnum(settings_, "synth.gain", kSynthGain);
  // The file player keeps time by the samples rendered, not by a clock of its own, and leaves
  // the synthesiser as it is when it starts (Release resets it).
  fluid_settings_setstr(settings_, "player.timing-source", "sample");
  fluid_settings_setint(settings_, "player.reset-synth", 0);
}

MidiSynths::~MidiSynths() {
  if (preload_.joinable()) preload_.join();
  for (fluid_synth_t* s : idle_)
    delete_fluid_synth(s);
  if (settings_) delete_fluid_settings(settings_);
}

void MidiSynths::Preload() {
  if (preload_.joinable() || !settings_ || soundFont_.empty()) return;
  preload_ = std::thread([this] {
    if (fluid_synth_t* synth = Load()) Release(synth);
  });
}

// A new synthesiser with the sound font, or nullptr (and the font marked as failing).
fluid_synth_t* MidiSynths::Load() {
  fluid_synth_t* synth = new_fluid_synth(settings_);
  if (synth && fluid_synth_sfload(synth, soundFont_.c_str(), 1) != FLUID_FAILED) return synth;
  if (synth) delete_fluid_synth(synth);
  std::lock_guard lock(mutex_);
  fontFailed_ = true;
  return nullptr;
}

fluid_synth_t* MidiSynths::Acquire(std::string* error) {
  if (preload_.joinable()) preload_.join();
  {
    std::lock_guard lock(mutex_);
    if (!idle_.empty()) {
      fluid_synth_t* s = idle_.back();
      idle_.pop_back();
      return s;
    }
    if (fontFailed_ || !settings_ || soundFont_.empty()) {
      if (error)
        *error = soundFont_.empty() ? "no General MIDI sound font is installed"
                                    : "the sound font " + soundFont_ + " cannot be loaded";
      return nullptr;
    }
  }
  fluid_synth_t* synth = Load();
  if (!synth && error) *error = "the sound font " + soundFont_ + " cannot be loaded";
  return synth;
}

void MidiSynths::Release(fluid_synth_t* synth) {
  if (!synth) return;
  fluid_synth_system_reset(synth);
  {
    std::lock_guard lock(mutex_);
    if (idle_.size() < kMaxIdle) {
      idle_.push_back(synth);
      return;
    }
  }
  delete_fluid_synth(synth);
}

}  // namespace sl::av
