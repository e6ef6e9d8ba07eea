// The media object's command strings.
#include "player/media/mmedia.h"

#include <exception>

#include "core/variant_convert.h"
#include "vbscript/builtins/random.h"

namespace sl {

namespace {

constexpr char kQuote = '"';
// Video aliases are drawn from 1 to this number.
constexpr int kVideoAliases = 50;
// A Single has 7 significant digits as text.
constexpr int kSingleDigits = 7;

std::string LastCharacters(const std::string& text, std::size_t count) {
  return text.size() <= count ? text : text.substr(text.size() - count);
}

}  // namespace

void Mmedia::OpenDevice(const std::string& sthefile, const char* deviceType) {
  if (!alias_.empty()) mmClose();
  alias_ = LastCharacters(sthefile, 3) + std::to_string(host_.GetClock().Now().minute);
  std::string quoted = kQuote + sthefile + kQuote;
  host_.SendString("Open " + quoted + " ALIAS " + alias_ + " TYPE " + deviceType + " wait");
}

void Mmedia::mmOpen(const std::string& sthefile) {
  OpenDevice(sthefile, "Sequencer");
}

void Mmedia::mmOpenWave(const std::string& sthefile) {
  OpenDevice(sthefile, "Waveaudio");
}

void Mmedia::mmClose() {
  if (alias_.empty()) return;
  host_.SendString("Close " + alias_);
  alias_.clear();
  fileName_.clear();
}

void Mmedia::mmPause() {
  if (!alias_.empty()) host_.SendString("Pause " + alias_);
}

void Mmedia::mmPlay() {
  if (alias_.empty()) return;
  host_.SendString("Play " + alias_ + (wait_ ? " wait" : ""));
}

void Mmedia::mmStop() {
  if (!alias_.empty()) host_.SendString("Stop " + alias_);
}

void Mmedia::mmSeek(float nPosition) {
  host_.SendString("Seek " + alias_ + " to " + FormatGeneralNumber(nPosition, kSingleDigits));
}

float Mmedia::Length() {
  if (alias_.empty()) return 0;
  return static_cast<float>(Val(host_.SendString("Status " + alias_ + " length")));
}

float Mmedia::Position() {
  if (alias_.empty()) return 0;
  return static_cast<float>(Val(host_.SendString("Status " + alias_ + " position")));
}

std::string Mmedia::Status() {
  return host_.SendString("Status " + alias_ + " mode");
}

void Mmedia::StopMovie() {
  host_.SendString("Stop " + alias_);
  host_.SendString("Close " + alias_);
  host_.DoEvents();
}

void Mmedia::PlayMovie(const std::string& FileName, ui::Control& WhereToPlay, bool bStretched,
                       std::int32_t lLeft, std::int32_t lTop, std::int32_t lWidth,
                       std::int32_t lHeight) {
  try {
    if (!host_.FileExists(FileName)) return;
    std::string quoted = kQuote + FileName + kQuote;
    vbs::Randomize(random_, std::nullopt, host_.GetClock());
    float r = vbs::NextRandom(random_);
    alias_ = std::to_string(static_cast<int>(r * kVideoAliases) + 1);
    host_.SendString("Open " + quoted + " ALIAS " + alias_ + " TYPE AviVideo wait" + " parent " +
                     std::to_string(host_.WindowHandle(WhereToPlay)) + " style child");
    if (bStretched) {
      host_.SendString("put " + alias_ + " window at " + std::to_string(lLeft) + " " +
                       std::to_string(lTop) + " " + std::to_string(lWidth) + " " +
                       std::to_string(lHeight));
    }
    host_.SendString("play " + alias_ + " window");
  } catch (const std::exception&) {
    // Playing a video never raises an error of its own.
  }
}

}  // namespace sl
