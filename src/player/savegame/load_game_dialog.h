// The load dialog `frmLoadGame`: the saved games (`List1`), the prompt (`Label1`), LOAD
// (`Command2`, also a double click on an entry) and Cancel (`Command1`). LOAD loads the
// selected saved game and the window unloads itself; closing the window in any other way,
// Cancel or its close box, counts as cancelling.
#pragma once

#include "player/savegame/saved_games_dialog.h"

namespace sl {

class LoadGameDialog final : public SavedGamesDialog {
 public:
  explicit LoadGameDialog(SavedGamesDialogContext context);

  void Command2_Click() override;  // LOAD
  void Command1_Click() override;  // Cancel
  void List1_DblClick() override { Command2_Click(); }

 private:
  void SetCaptions() override;
};

}  // namespace sl
