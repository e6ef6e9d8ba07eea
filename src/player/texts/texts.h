// The texts subsystem as the game window sees it: the frame's text boxes and the message band
// behind one TextSubsystem.
//
// API:
//   Texts texts(project);
//   subsystems.texts = &texts;          // before the game window is created
//   texts.Attach(game);                 // once it exists
#pragma once

#include "player/game_subsystems.h"
#include "player/texts/message_band.h"
#include "player/texts/text_boxes.h"

namespace sl {

class Texts final : public TextSubsystem {
 public:
  explicit Texts(Project& project) : boxes_(project), band_(project) {}

  void Attach(Game& game) {
    boxes_.Attach(game);
    band_.Attach(game);
  }

  // TextSubsystem
  void ResetMergedIndex() override { boxes_.MergedTextIndex = 1; }
  void ResetFrameTexts() override { boxes_.ResetFrameTexts(); }
  void LoadTexts() override { boxes_.LoadTexts(); }
  std::int16_t GetMergedTextIndex() override { return boxes_.MergedTextIndex; }
  void ResetMessageBox() override { band_.Reset(); }
  bool MessageShown(std::string& text) override { return band_.Shown(text); }
  void ShowMessage(const std::string& text, bool inGame) override {
    band_.ShowMessage(text, inGame);
  }
  void FrameMessageBox_Click() override { band_.EndMessage(); }
  void LabelMessageBox_Click() override { band_.EndMessage(); }
  void TimerMessageBox_Timer() override { band_.EndMessage(); }

 private:
  TextBoxes boxes_;
  MessageBand band_;
};

}  // namespace sl
