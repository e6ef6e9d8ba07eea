// The load dialog's controls and handlers.
#include "player/savegame/load_game_dialog.h"

#include "player/savegame/saved_games.h"
#include "player/startup/project.h"
#include "ui/controls/command_button.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/form.h"

namespace sl {

namespace {

constexpr int kClientHeight = 244;

}  // namespace

LoadGameDialog::LoadGameDialog(SavedGamesDialogContext context)
    : SavedGamesDialog(context, "frmLoadGame", "Label1", kClientHeight) {
  ui::Form& f = *form_;
  Place(*list1_, 12, 34, 282, 198);
  // However the window closes (Cancel, its close box, a load), that counts as cancelling until
  // a load has gone through.
  f.onForm.unload = [this](ui::Form&) { c_.savedGames.SetLoadCancelled(true); };
}

void LoadGameDialog::SetCaptions() {
  const InterfaceTexts& t = c_.project.Texts();
  form_->SetCaption(t[17]);
  prompt_->SetCaption(t[18]);
  command2_->SetCaption(t[19]);
  command1_->SetCaption(t[11]);
}

void LoadGameDialog::Command2_Click() {
  const SavedGameFile* selected = Selected();
  if (!selected) {
    const InterfaceTexts& t = c_.project.Texts();
    ShowInformation(t[9], t[17]);
    return;
  }
  // A copy: loading unloads this window and may refill its list.
  SavedGameFile file = *selected;
  c_.savedGames.LoadGame(file);
}

void LoadGameDialog::Command1_Click() {
  c_.savedGames.SetLoadCancelled(true);
  form_->Unload();
}

}  // namespace sl
