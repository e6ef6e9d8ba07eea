// The message display: a message shown inside the game as a band across the bottom of the
// frame (`FrameMessageBox` with `LabelMessageBox` inside) that goes away by itself after a time
// growing with the length of the text (`TimerMessageBox`) or at a click; or, outside the game,
// as a system message box with the information icon that waits until the player closes it.
//
// API:
//   MessageBand band(project);
//   band.Attach(game);                   // once the game window exists
//   band.ShowMessage("A locked door.", true);
//   band.EndMessage();                   // a click on the band or the timer's tick
//   std::string text; band.Shown(text);  // the text while the band shows
#pragma once

#include <cstdint>
#include <string>

namespace sl {

class Game;
class Project;
namespace ui {
class Frame;
class Label;
class TimerControl;
}  // namespace ui

class MessageBand {
 public:
  // The band is this much higher than its text.
  static constexpr double kBandPadding = 525;
  // The longest time a timer holds; longer messages stay this long.
  static constexpr std::int64_t kMaxShowTime = 65535;

  explicit MessageBand(Project& project) : project_(project) {}

  void Attach(Game& game) { game_ = &game; }
  void ShowMessage(const std::string& text, bool inGame);
  // Hides the band and its label and stops the timer.
  void EndMessage();
  // Empties the label and hides it and the band (game reset).
  void Reset();
  bool Shown(std::string& text);

  // How long a message stays: 70 ms a character (UTF-16 units) and one second, capped.
  static std::int64_t ShowTime(const std::string& text);

 private:
  void ShowInBand(const std::string& text);
  ui::Frame& Band();
  ui::Label& BandLabel();
  ui::TimerControl& Timer();

  Project& project_;
  Game* game_ = nullptr;
};

}  // namespace sl
