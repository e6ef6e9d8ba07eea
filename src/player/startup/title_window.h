// The title window `frmWelcome`: its load event is the program's start-up (project set-up, the
// title screen laid out from the project information and dressed by the scheme); its buttons
// start a new game, open the load dialog or end the program. It lives for the whole run; the
// game window hands control back to it when a game ends.
//
// API:
//   TitleWindow title(context);
//   title.Load();                  // the whole start-up; may end the program at once
//   title.ClickButton(0);          // Start
//   title.Ended()                  // true once the title window was unloaded (program over)
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "player/engine/game.h"
#include "player/startup/project.h"
#include "ui/form.h"

namespace sl {

class Project;
struct SchemeFile;
class Resolutions;
namespace ui {
class WindowManager;
class Label;
class CheckBox;
class Image;
class PictureBox;
}  // namespace ui

struct TitleContext {
  Project& project;
  ui::WindowManager& windows;
  Resolutions& display;
  // The project folder given on the command line (or the program's folder).
  std::string programFolder;
  // Creates the game window on first use.
  std::function<Game&()> game;
  // The subsystems of the game (the load-game dialog among them).
  GameSubsystems* subsystems = nullptr;
  // Called once when the program is to end (title window unloaded).
  std::function<void()> endProgram;
};

class TitleWindow final : public TitleLink {
 public:
  explicit TitleWindow(TitleContext context);
  ~TitleWindow() override;
  TitleWindow(const TitleWindow&) = delete;
  TitleWindow& operator=(const TitleWindow&) = delete;

  ui::Form& Form() { return *form_; }
  void Load();
  void ClickButton(int Index);
  void UseScheme(const std::string& SchemeName);
  bool Ended() const noexcept { return ended_; }
  // How the project set-up of the load went (Continue before it ran).
  SetUpResult SetUp() const noexcept { return setUp_; }
  // Whether the project offers the display switch and the player left its check box ticked
  // (and shown): a game started or loaded from here then switches the display.
  bool ResolutionSwitchChosen() const;

  void imgLogo_Click();
  void txtEmail_Click();
  void txtHomepage_Click();
  void lblResolution_Click();

  // TitleLink
  void ShowTitleWindow() override;
  void UnloadTitleWindow() override;

  // The logo style and placement flag the scheme gave (kept when it gives none).
  int LogoStyle() const noexcept { return logoStyle_; }
  bool LogoPlacement() const noexcept { return logoPlacement_; }

 private:
  void CreateControls();
  void Form_Load();
  void Form_Activate();
  void Form_DragStart();
  void Form_Unload();
  void LayOutRows(bool& failed);
  void PlaceLogo();
  void CenterWindow();
  void ApplySchemePictures(const SchemeFile& scheme);
  void ShowTextButtons(bool onlyWithoutPicture);
  void TileBackground();
  void StartGame();
  MsgAnswer AskAboutLink(const std::string& title, const std::string& text, MsgIcon icon);
  ui::Label& L(const char* name);
  ui::Image& Img(int index);
  ui::Label& lblButton(int index);

  TitleContext c_;
  Ref<ui::Form> form_;
  ui::CheckBox* chkResolution_ = nullptr;
  ui::Image* imgLogo_ = nullptr;
  ui::PictureBox* backdrop_ = nullptr;
  int logoStyle_ = 0;
  bool logoPlacement_ = false;
  bool ended_ = false;
  SetUpResult setUp_ = SetUpResult::Continue;
};

}  // namespace sl
