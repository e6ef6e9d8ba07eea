// The command strings of the media command interpreter.
#include "player/media/mci_interpreter.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>

#include "core/case_fold.h"
#include "player/media/sound_device.h"
#include "ui/event_loop.h"

namespace sl {

namespace {

// Window numbers start here and go up by two, as window handles do.
constexpr std::int64_t kFirstWindowHandle = 0x10010;
constexpr std::int64_t kWindowHandleStep = 2;
// Window positions and sizes beyond this many pixels are refused.
constexpr std::int64_t kMaxWindowSide = 32767;

enum class DeviceKind { Video, Sequencer, WaveAudio, None };

DeviceKind KindOfType(const std::string& type) {
  if (type == "avivideo" || type == "mpegvideo" || type == "digitalvideo") return DeviceKind::Video;
  if (type == "sequencer") return DeviceKind::Sequencer;
  if (type == "waveaudio") return DeviceKind::WaveAudio;
  return DeviceKind::None;
}

// A file opened without a type gets the device its ending names.
DeviceKind KindOfFile(const std::string& file) {
  std::string lower = FoldCase(file);
  auto endsWith = [&](std::string_view e) { return lower.ends_with(e); };
  if (endsWith(".mid") || endsWith(".midi") || endsWith(".rmi")) return DeviceKind::Sequencer;
  if (endsWith(".wav")) return DeviceKind::WaveAudio;
  return DeviceKind::Video;
}

std::optional<std::int64_t> Number(const std::string& text) {
  std::int64_t value = 0;
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || p != end) return std::nullopt;
  return value;
}

const char* ModeText(MciMode mode) {
  switch (mode) {
    case MciMode::Playing:
      return "playing";
    case MciMode::Paused:
      return "paused";
    case MciMode::Stopped:
      break;
  }
  return "stopped";
}

}  // namespace

// A command split into words; a word in double quotes may hold blanks.
struct MciInterpreter::Command {
  std::string verb;                // lower case
  std::string device;              // as written
  std::vector<std::string> words;  // the rest, as written
  std::vector<std::string> lower;  // the rest in lower case

  explicit Command(const std::string& text) {
    std::vector<std::string> all;
    std::size_t i = 0;
    while (i < text.size()) {
      if (std::isspace(static_cast<unsigned char>(text[i]))) {
        ++i;
        continue;
      }
      std::string word;
      if (text[i] == '"') {
        std::size_t close = text.find('"', i + 1);
        if (close == std::string::npos) close = text.size();
        word = text.substr(i + 1, close - i - 1);
        i = close + 1;
      } else {
        while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i])))
          word += text[i++];
      }
      all.push_back(std::move(word));
    }
    if (!all.empty()) verb = FoldCase(all[0]);
    if (all.size() > 1) device = all[1];
    for (std::size_t k = 2; k < all.size(); ++k) {
      words.push_back(all[k]);
      lower.push_back(FoldCase(all[k]));
    }
  }

  // The word after keyword `key`, if both are there.
  std::optional<std::string> After(std::string_view key) const {
    for (std::size_t k = 0; k + 1 < lower.size(); ++k) {
      if (lower[k] == key) return words[k + 1];
    }
    return std::nullopt;
  }
  bool Has(std::string_view key) const {
    return std::find(lower.begin(), lower.end(), key) != lower.end();
  }
};

MciInterpreter::MciInterpreter(ui::EventLoop& loop, Resolver resolve, VideoPacing pacing)
    : loop_(loop), resolve_(std::move(resolve)), pacing_(pacing) {}

MciInterpreter::~MciInterpreter() {
  CloseAll();
}

void MciInterpreter::CloseAll() {
  devices_.clear();
  windows_.clear();
}

MciDevice* MciInterpreter::Device(const std::string& alias) {
  auto it = devices_.find(FoldCase(alias));
  return it == devices_.end() ? nullptr : it->second.get();
}

std::int64_t MciInterpreter::WindowHandle(ui::Control& control) {
  for (const auto& [handle, c] : windows_) {
    if (c == &control) return handle;
  }
  std::int64_t handle = kFirstWindowHandle + kWindowHandleStep * std::ssize(windows_);
  windows_.emplace_back(handle, &control);
  return handle;
}

ui::Control* MciInterpreter::WindowOf(std::int64_t handle) const {
  for (const auto& [h, c] : windows_) {
    if (h == handle) return c;
  }
  return nullptr;
}

std::string MciInterpreter::SendString(const std::string& command) {
  if (observer_) observer_->MciCommandSent(command);
  Command c(command);
  if (c.verb == "open") return Open(c);
  std::string key = FoldCase(c.device);
  if (key == "all" && (c.verb == "close" || c.verb == "stop")) {
    if (c.verb == "close") devices_.clear();
    for (auto& [alias, device] : devices_)
      device->Stop();
    return {};
  }
  auto it = devices_.find(key);
  if (it == devices_.end()) return {};
  if (c.verb == "close") {
    devices_.erase(it);
    return {};
  }
  return Run(c, *it->second);
}

std::string MciInterpreter::Open(const Command& c) {
  if (c.device.empty()) return {};
  std::string alias = c.After("alias").value_or(c.device);
  std::string key = FoldCase(alias);
  if (devices_.contains(key)) return {};
  std::optional<std::string> type = c.After("type");
  DeviceKind kind = type ? KindOfType(FoldCase(*type)) : KindOfFile(c.device);
  if (kind == DeviceKind::None) return {};
  std::optional<std::string> path = resolve_(c.device);
  if (!path) return {};
  try {
    if (kind == DeviceKind::Video) {
      auto video = std::make_unique<VideoDevice>(loop_, *path, pacing_, observer_, soundOutput_);
      if (std::optional<std::string> parent = c.After("parent")) {
        if (std::optional<std::int64_t> handle = Number(*parent))
          video->SetParent(WindowOf(*handle));
      }
      devices_[key] = std::move(video);
    } else {
      SoundKind sound = kind == DeviceKind::Sequencer ? SoundKind::Midi : SoundKind::Wave;
      devices_[key] = std::make_unique<SoundDevice>(loop_, *path, sound, soundOutput_);
    }
  } catch (const av::MediaError&) {
    return {};  // a file no device can play opens nothing
  }
  return {};
}

std::string MciInterpreter::Run(const Command& c, MciDevice& device) {
  if (c.verb == "play") {
    if (std::optional<std::string> from = c.After("from")) {
      if (std::optional<std::int64_t> ms = Number(*from)) device.Seek(*ms);
    }
    if (auto* video = dynamic_cast<VideoDevice*>(&device)) video->ShowWindow();
    device.Play();
    if (c.Has("wait")) PlayAndWait(c.device);
  } else if (c.verb == "pause") {
    device.Pause();
  } else if (c.verb == "resume") {
    if (device.Mode() == MciMode::Paused) device.Play();
  } else if (c.verb == "stop") {
    device.Stop();
  } else if (c.verb == "seek") {
    std::optional<std::string> to = c.After("to");
    if (c.Has("start") || (to && FoldCase(*to) == "start")) {
      device.Seek(0);
    } else if (c.Has("end") || (to && FoldCase(*to) == "end")) {
      device.Seek(device.LengthMs());
    } else if (to) {
      // Positions are whole milliseconds; a fraction is dropped.
      device.Seek(static_cast<std::int64_t>(std::strtod(to->c_str(), nullptr)));
    }
  } else if (c.verb == "status") {
    return Status(c, device);
  } else if (c.verb == "setaudio") {
    SetAudio(c, device);
  } else if (c.verb == "put") {
    // "put ALIAS window at LEFT TOP WIDTH HEIGHT" (or "destination at ...").
    auto at = std::find(c.lower.begin(), c.lower.end(), "at");
    auto first = static_cast<std::size_t>(at - c.lower.begin()) + 1;
    if (at == c.lower.end() || first + 4 > c.words.size()) return {};
    int v[4];
    for (std::size_t k = 0; k < 4; ++k) {
      std::optional<std::int64_t> n = Number(c.words[first + k]);
      if (!n || *n < -kMaxWindowSide || *n > kMaxWindowSide) return {};
      v[k] = static_cast<int>(*n);
    }
    device.PutWindow({v[0], v[1], v[2], v[3]});
  }
  return {};
}

std::string MciInterpreter::Status(const Command& c, MciDevice& device) {
  if (c.lower.empty()) return {};
  const std::string& item = c.lower[0];
  if (item == "mode") return ModeText(device.Mode());
  if (item == "length") return std::to_string(device.LengthMs());
  if (item == "position") return std::to_string(device.PositionMs());
  if (item == "ready") return "true";
  if (item == "volume") return std::to_string(device.Volume());
  if (item == "time" && c.lower.size() > 1 && c.lower[1] == "format") return "milliseconds";
  return {};
}

// "setaudio ALIAS volume to N" (0 to 1000), "setaudio ALIAS off" and "... on". Other forms
// ("left volume to", "treble to", ...) change nothing.
void MciInterpreter::SetAudio(const Command& c, MciDevice& device) {
  if (c.lower.size() == 1 && (c.lower[0] == "on" || c.lower[0] == "off")) {
    device.SetAudioOn(c.lower[0] == "on");
    return;
  }
  if (c.lower.size() != 3 || c.lower[0] != "volume" || c.lower[1] != "to") return;
  if (std::optional<std::int64_t> n = Number(c.words[2])) {
    device.SetVolume(static_cast<int>(std::clamp<std::int64_t>(*n, 0, MciDevice::kFullVolume)));
  }
}

// "play ... wait" returns when the device stops; the program's events go on meanwhile, so its
// windows do not freeze.
void MciInterpreter::PlayAndWait(const std::string& alias) {
  loop_.RunUntil([&] {
    MciDevice* d = Device(alias);
    return !d || d->Mode() != MciMode::Playing;
  });
}

}  // namespace sl
