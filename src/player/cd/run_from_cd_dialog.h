// The dialog `frmRunFromCD` that asks for a game's CD: the request (`lblMessage`) in a frame
// (`Frame1`), the drive label (`lblDrive`), the drive list with editable text (`Combo1`: the
// mapped letters with their kinds and folders), OK (`Command3`) and Cancel (`Command4`). OK
// takes the letter the text starts with when it names an existing folder, remembers it as the
// game's "DriveLetter" setting and closes; otherwise it says the device is unavailable and
// stays. Cancel tells the game to stop and closes. Dragging the dialog's body, its frame or its
// labels moves it.
//
// API:
//   RunFromCdDialog dialog({project, windows, display, drives, [&] { game.SetGameStopping(); }});
//   dialog.ShowModal("Please insert the CD# 2 ...", "D:\\")  -> DriveChoice::Chosen on OK
#pragma once

#include <functional>
#include <string>

#include "core/object.h"

namespace sl {

class DriveMap;
class Project;
class Resolutions;
namespace ui {
class ComboBox;
class CommandButton;
class Control;
class Form;
class Frame;
class Label;
class WindowManager;
}  // namespace ui

// How the dialog was left: OK on a drive that is there, or any other way.
enum class DriveChoice { Chosen, Cancelled };

struct RunFromCdContext {
  Project& project;
  ui::WindowManager& windows;
  Resolutions& display;
  const DriveMap& drives;
  std::function<void()> cancelled;  // the person playing gave up: the game stops
};

class RunFromCdDialog {
 public:
  explicit RunFromCdDialog(RunFromCdContext context);
  ~RunFromCdDialog();
  RunFromCdDialog(const RunFromCdDialog&) = delete;
  RunFromCdDialog& operator=(const RunFromCdDialog&) = delete;

  ui::Form& Form() { return *form_; }
  // Loads the dialog, sets the request and the drive text, shows it modally and unloads it
  // once it is closed.
  DriveChoice ShowModal(const std::string& message, const std::string& driveText);

  void Command3_Click();  // OK
  void Command4_Click();  // Cancel

 private:
  void Form_Load();
  void Form_Activate();
  void FillDriveList();
  void DragStart();
  void ShowUnavailable();

  RunFromCdContext c_;
  Ref<ui::Form> form_;
  ui::Frame* frame1_ = nullptr;
  ui::Label* lblMessage_ = nullptr;
  ui::Label* lblDrive_ = nullptr;
  ui::ComboBox* combo1_ = nullptr;
  ui::CommandButton* command3_ = nullptr;
  ui::CommandButton* command4_ = nullptr;
  DriveChoice choice_ = DriveChoice::Cancelled;
};

}  // namespace sl
