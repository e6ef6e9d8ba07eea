// The save dialog `frmSaveGame`: the name to save under (`Text1`), the saved games (`List1`),
// the prompt (`Label2`), SAVE (`Command2`), Cancel (`Command1`) and Remove Selected
// (`Command3`). SAVE checks the name, asks before replacing a saved game and writes the game;
// Remove Selected deletes the selected saved game after asking. SAVE and Cancel hide the window;
// whoever showed it unloads it.
#pragma once

#include "player/savegame/saved_games_dialog.h"

namespace sl {

namespace ui {
class TextBox;
}

class SaveGameDialog final : public SavedGamesDialog {
 public:
  explicit SaveGameDialog(SavedGamesDialogContext context);

  void Command2_Click() override;  // SAVE
  void Command1_Click() override;  // Cancel
  void Command3_Click();           // Remove Selected
  void List1_Click();
  void List1_DblClick() override;

 private:
  void SetCaptions() override;
  void Form_Activate();
  // The checks before writing, in order; false when the name is refused or replacing declined.
  bool NameAccepted(const std::string& name);

  ui::TextBox* text1_ = nullptr;
  ui::CommandButton* command3_ = nullptr;
};

}  // namespace sl
