// The text boxes of the current frame: fixed texts with their own position, font and colour,
// drawn over the frame picture as the elements 1 upwards of the game window's `Text` label
// array. They are read from the frame's text box file (".fm1", or the merged ".mr1" when it
// exists) and removed again before the next frame loads.
//
// API:
//   TextBoxes boxes(project);
//   boxes.Attach(game);                 // once the game window exists
//   boxes.ResetFrameTexts();            // removes the previous frame's text boxes
//   boxes.LoadTexts();                  // creates those of game.CurrentFrameName
//   boxes.MergedTextIndex               // first flagged text box after the first one, or 1
#pragma once

#include <cstdint>
#include <string>

namespace sl {

class Game;
class Project;
class DataFileReader;
namespace ui {
class ControlArray;
}

class TextBoxes {
 public:
  explicit TextBoxes(Project& project) : project_(project) {}

  void Attach(Game& game) { game_ = &game; }
  void LoadTexts();
  void ResetFrameTexts();

  std::int16_t MergedTextIndex = 1;

 private:
  // Reads one record into a new element of `Text`; false when no element could be made.
  bool LoadOneText(DataFileReader& reader, ui::ControlArray& texts, int record);
  void ReportLoadError(const std::string& description);

  Project& project_;
  Game* game_ = nullptr;
};

}  // namespace sl
