// The save dialog's controls and handlers.
#include "player/savegame/save_game_dialog.h"

#include "player/savegame/save_name.h"
#include "player/savegame/saved_games.h"
#include "player/startup/project.h"
#include "ui/controls/command_button.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/controls/text_box.h"
#include "ui/form.h"

namespace sl {

namespace {

constexpr int kClientHeight = 268;

}  // namespace

SaveGameDialog::SaveGameDialog(SavedGamesDialogContext context)
    : SavedGamesDialog(context, "frmSaveGame", "Label2", kClientHeight) {
  ui::Form& f = *form_;
  text1_ = &f.Add<ui::TextBox>("Text1");
  Place(*text1_, 12, 34, 282, 22);
  Place(*list1_, 12, 64, 282, 192);
  command3_ = &f.Add<ui::CommandButton>("Command3");
  Place(*command3_, 306, 230, 102, 26);
  f.onForm.activate = [this](ui::Form&) { Form_Activate(); };
  command3_->on.click = [this](ui::Control&) { Command3_Click(); };
  list1_->on.click = [this](ui::Control&) { List1_Click(); };
}

void SaveGameDialog::SetCaptions() {
  const InterfaceTexts& t = c_.project.Texts();
  form_->SetCaption(t[21]);
  command3_->SetCaption(t[22]);
  prompt_->SetCaption(t[23]);
  command2_->SetCaption(t[25]);
  command1_->SetCaption(t[11]);
  // A window loaded again starts with an empty name, as a freshly made one does.
  text1_->SetText("");
}

void SaveGameDialog::Form_Activate() {
  form_->SetFocusTo(text1_);
}

void SaveGameDialog::List1_Click() {
  if (const SavedGameFile* file = Selected()) text1_->SetText(file->name);
}

void SaveGameDialog::List1_DblClick() {
  const SavedGameFile* file = Selected();
  if (!file) return;
  text1_->SetText(file->name);
  Command2_Click();
}

bool SaveGameDialog::NameAccepted(const std::string& name) {
  const InterfaceTexts& t = c_.project.Texts();
  switch (CheckSaveName(name)) {
    case SaveNameCheck::RefusedCharacter:
      ShowInformation(t[35] + "\r\n" + kRefusedCharacterList, c_.project.Info().GameTitle);
      // Back to the name, to mend it.
      form_->SetFocusTo(text1_);
      return false;
    case SaveNameCheck::Empty:
      ShowInformation(t[23], t[21]);
      form_->SetFocusTo(text1_);
      return false;
    case SaveNameCheck::Accepted:
      break;
  }
  if (c_.folders.Find(name)) return AskOkCancel("'" + name + "' " + t[24], t[21]);
  return true;
}

void SaveGameDialog::Command2_Click() {
  std::string name = text1_->Text();
  if (!NameAccepted(name)) return;
  if (c_.savedGames.SaveGame(name)) form_->Hide();
}

void SaveGameDialog::Command1_Click() {
  form_->Hide();
}

void SaveGameDialog::Command3_Click() {
  const InterfaceTexts& t = c_.project.Texts();
  const SavedGameFile* selected = Selected();
  if (!selected) {
    ShowInformation(t[9], t[26]);
    return;
  }
  std::string path = selected->path;
  if (!AskOkCancel(t[27] + " '" + path + "'?", t[26])) return;
  if (!c_.folders.Delete(path)) {
    c_.project.ShowError(" Unable to remove '" + path + "'.");
    return;
  }
  LoadSaveGames();
}

}  // namespace sl
