// The window, list and buttons the two saved-game dialogs share.
#include "player/savegame/saved_games_dialog.h"

#include "core/message_box.h"
#include "player/display/resolutions.h"
#include "player/startup/project.h"
#include "ui/controls/command_button.h"
#include "ui/controls/file_list_box.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/draw/units.h"
#include "ui/form.h"
#include "ui/window_manager.h"

namespace sl {

namespace {

constexpr int kClientWidth = 420;
constexpr int kButtonLeft = 306;
constexpr int kButtonTop = 34;
constexpr int kButtonWidth = 102;
constexpr int kButtonHeight = 26;
constexpr int kButtonStep = 32;

}  // namespace

SavedGamesDialog::SavedGamesDialog(SavedGamesDialogContext context, const char* formName,
                                   const char* promptName, int clientHeight)
    : c_(context) {
  form_ = ui::Form::Create(c_.windows, formName);
  ui::Form& f = *form_;
  f.SetBorderStyle(ui::BorderStyle::FixedDialog);
  ui::Form::NonClient n = f.NonClientPixels();
  f.Move(0, 0, draw::PixelsToTwips(kClientWidth + n.left + n.right),
         draw::PixelsToTwips(clientHeight + n.top + n.bottom));
  file1_ = &f.Add<ui::FileListBox>("File1");
  file1_->SetVisible(false);
  prompt_ = &f.Add<ui::Label>(promptName);
  Place(*prompt_, 12, 10, kClientWidth - 24, 18);
  list1_ = &f.Add<ui::ListBox>("List1");
  command2_ = &f.Add<ui::CommandButton>("Command2");
  Place(*command2_, kButtonLeft, kButtonTop, kButtonWidth, kButtonHeight);
  command2_->SetDefault(true);
  command1_ = &f.Add<ui::CommandButton>("Command1");
  Place(*command1_, kButtonLeft, kButtonTop + kButtonStep, kButtonWidth, kButtonHeight);
  command1_->SetCancel(true);
  f.onForm.load = [this](ui::Form&) { Form_Load(); };
  command2_->on.click = [this](ui::Control&) { Command2_Click(); };
  command1_->on.click = [this](ui::Control&) { Command1_Click(); };
  list1_->on.dblClick = [this](ui::Control&) { List1_DblClick(); };
}

SavedGamesDialog::~SavedGamesDialog() {
  c_.windows.RemoveForm(form_.get());
}

void SavedGamesDialog::Place(ui::Control& control, int x, int y, int width, int height) {
  control.Move(draw::PixelsToTwips(x), draw::PixelsToTwips(y), draw::PixelsToTwips(width),
               draw::PixelsToTwips(height));
}

void SavedGamesDialog::Form_Load() {
  ui::Form& f = *form_;
  double screenWidth = draw::PixelsToTwips(c_.display.ScreenWidth());
  double screenHeight = draw::PixelsToTwips(c_.display.ScreenHeight());
  f.Move((screenWidth - f.Width()) / 2, (screenHeight - f.Height()) / 2, f.Width(), f.Height());
  SetCaptions();
}

void SavedGamesDialog::ShowModal() {
  form_->Load();
  LoadSaveGames();
  form_->Show(true);
  form_->Unload();
}

void SavedGamesDialog::LoadSaveGames() {
  list1_->Items().Clear();
  list1_->Invalidate();
  listed_.clear();
  try {
    listed_ = ListSavedGames(*file1_, c_.folders);
  } catch (const std::exception&) {
    // An unreadable folder gives an empty or partial list.
  }
  for (const SavedGameFile& file : listed_)
    list1_->Items().Add(file.name);
}

void SavedGamesDialog::ShowInformation(const std::string& text, const std::string& title) {
  MessageBoxRequest box;
  box.title = title;
  box.text = text;
  box.icon = MsgIcon::Information;
  c_.project.Messages().Show(box);
}

bool SavedGamesDialog::AskOkCancel(const std::string& text, const std::string& title) {
  MessageBoxRequest box;
  box.title = title;
  box.text = text;
  box.buttons = MsgButtons::OkCancel;
  box.icon = MsgIcon::Question;
  return c_.project.Messages().Show(box) == MsgAnswer::Ok;
}

const SavedGameFile* SavedGamesDialog::Selected() const {
  int n = list1_->Items().selected;
  if (n < 0 || n >= static_cast<int>(listed_.size())) return nullptr;
  const SavedGameFile& file = listed_[static_cast<std::size_t>(n)];
  return file.name == list1_->Items().At(n) ? &file : nullptr;
}

}  // namespace sl
