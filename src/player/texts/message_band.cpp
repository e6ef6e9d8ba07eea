// The message band at the bottom of the frame and the system message box variant.
#include "player/texts/message_band.h"

#include <algorithm>

#include "core/message_box.h"
#include "core/runtime_error.h"
#include "player/engine/game.h"
#include "player/startup/project.h"
#include "ui/controls/frame.h"
#include "ui/controls/label.h"
#include "ui/controls/picture_box.h"
#include "ui/controls/timer_control.h"
#include "ui/form.h"

namespace sl {

namespace {

constexpr std::int64_t kMsPerCharacter = 70;
constexpr std::int64_t kMinShowTime = 1000;

// The length of a UTF-8 text in UTF-16 code units, as the classic string length counts it.
std::int64_t Utf16Length(const std::string& utf8) {
  std::int64_t n = 0;
  for (unsigned char c : utf8) {
    if ((c & 0xC0) != 0x80) ++n;  // a lead byte starts a character
    if (c >= 0xF0) ++n;           // beyond the basic plane: a surrogate pair
  }
  return n;
}

}  // namespace

std::int64_t MessageBand::ShowTime(const std::string& text) {
  return std::min(Utf16Length(text) * kMsPerCharacter + kMinShowTime, kMaxShowTime);
}

void MessageBand::ShowMessage(const std::string& text, bool inGame) {
  try {
    if (!inGame) {
      MessageBoxRequest box;
      box.title = project_.Info().GameTitle;
      box.text = text;
      box.icon = MsgIcon::Information;
      project_.Messages().Show(box);
      return;
    }
    ShowInBand(text);
  } catch (const RuntimeError&) {
    project_.ShowError(" Unable to display text message.");
  }
}

void MessageBand::ShowInBand(const std::string& text) {
  if (!game_) throw RuntimeError(kErrObjectNotSet);
  ui::Frame& band = Band();
  ui::Label& label = BandLabel();
  ui::Control& picture = game_->PictureBox();
  band.SetLeft(0);
  band.SetWidth(picture.Width());
  label.SetAutoSize(true);
  // However long the text, the band stays within the frame: what does not fit ends in "…".
  label.SetAutoSizeLimit(band.Width(), std::max(picture.Height() - kBandPadding, 0.0));
  label.SetEllipsis(true);
  label.SetCaption("");
  label.SetLeft(band.Width() / 2);
  label.SetCaption(text);
  // A centred label that sizes itself grows equally to both sides: its middle stays where the
  // empty label stood, the middle of the band.
  label.SetLeft(band.Width() / 2 - label.Width() / 2);
  band.SetHeight(label.Height() + kBandPadding);
  band.SetTop(picture.Height() - band.Height());
  label.SetVisible(true);
  band.SetVisible(true);
  band.ZOrder(0);
  ui::TimerControl& timer = Timer();
  timer.SetInterval(ShowTime(text));
  timer.SetEnabled(false);
  timer.SetEnabled(true);
}

void MessageBand::EndMessage() {
  if (!game_) return;
  Band().SetVisible(false);
  BandLabel().SetVisible(false);
  Timer().SetEnabled(false);
  Timer().SetInterval(0);
}

void MessageBand::Reset() {
  if (!game_) return;
  BandLabel().SetCaption("");
  BandLabel().SetVisible(false);
  Band().SetVisible(false);
  // Nothing is left to hide once the game starts again.
  Timer().SetEnabled(false);
}

bool MessageBand::Shown(std::string& text) {
  if (!game_) return false;
  ui::Label& label = BandLabel();
  if (!Band().Visible() || !label.Visible()) return false;
  text = label.Caption();
  return true;
}

ui::Frame& MessageBand::Band() {
  return game_->Form().Get<ui::Frame>("FrameMessageBox");
}

ui::Label& MessageBand::BandLabel() {
  return game_->Form().Get<ui::Label>("LabelMessageBox");
}

ui::TimerControl& MessageBand::Timer() {
  return game_->Form().Get<ui::TimerControl>("TimerMessageBox");
}

}  // namespace sl
