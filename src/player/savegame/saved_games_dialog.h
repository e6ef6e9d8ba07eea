// What the save dialog and the load dialog share: a small modal window with a fixed dialog
// frame, centred on the screen when it loads, with a prompt, the saved games (`List1`, filled
// by LoadSaveGames through the hidden file list `File1`), its action button (`Command2`) and
// Cancel (`Command1`). Each dialog places the list, adds its own controls and handles the
// buttons.
#pragma once

#include <string>
#include <vector>

#include "core/object.h"
#include "player/savegame/save_folders.h"

namespace sl {

class Project;
class Resolutions;
class SavedGames;
namespace ui {
class Form;
class Control;
class Label;
class ListBox;
class FileListBox;
class CommandButton;
class WindowManager;
}  // namespace ui

struct SavedGamesDialogContext {
  Project& project;
  ui::WindowManager& windows;
  Resolutions& display;
  SaveFolders& folders;
  SavedGames& savedGames;
};

class SavedGamesDialog {
 public:
  SavedGamesDialog(const SavedGamesDialog&) = delete;
  SavedGamesDialog& operator=(const SavedGamesDialog&) = delete;

  ui::Form& Form() { return *form_; }
  // Loads the window (it centres itself and takes its captions), fills its list and shows it
  // modally; returns once it is closed, and then makes sure it is unloaded.
  void ShowModal();
  // Fills `List1` with the saved games, oldest first.
  void LoadSaveGames();
  // The saved game selected in `List1`, or null when none is.
  const SavedGameFile* Selected() const;

  virtual void Command2_Click() = 0;  // SAVE or LOAD
  virtual void Command1_Click() = 0;  // Cancel
  virtual void List1_DblClick() = 0;

 protected:
  // `promptName` names the prompt label; the window's client area is `clientHeight` pixels high.
  SavedGamesDialog(SavedGamesDialogContext context, const char* formName, const char* promptName,
                   int clientHeight);
  virtual ~SavedGamesDialog();

  // Places a control at (x, y) with the given size, in pixels of the client area.
  static void Place(ui::Control& control, int x, int y, int width, int height);
  // Sets the captions from the interface texts (part of loading the window).
  virtual void SetCaptions() = 0;
  // An information message with OK.
  void ShowInformation(const std::string& text, const std::string& title);
  // A question with OK and Cancel; true for OK.
  bool AskOkCancel(const std::string& text, const std::string& title);

  SavedGamesDialogContext c_;
  Ref<ui::Form> form_;
  ui::Label* prompt_ = nullptr;
  ui::ListBox* list1_ = nullptr;
  ui::FileListBox* file1_ = nullptr;
  ui::CommandButton* command1_ = nullptr;  // Cancel
  ui::CommandButton* command2_ = nullptr;  // SAVE or LOAD

 private:
  void Form_Load();

  std::vector<SavedGameFile> listed_;  // in the order of List1
};

}  // namespace sl
