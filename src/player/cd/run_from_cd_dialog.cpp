// The insert-CD dialog's controls and handlers.
#include "player/cd/run_from_cd_dialog.h"

#include <filesystem>
#include <system_error>

#include "core/message_box.h"
#include "player/cd/drive_map.h"
#include "player/display/resolutions.h"
#include "player/startup/project.h"
#include "ui/controls/combo_box.h"
#include "ui/controls/command_button.h"
#include "ui/controls/frame.h"
#include "ui/controls/label.h"
#include "ui/draw/units.h"
#include "ui/form.h"
#include "ui/platform.h"
#include "ui/window_manager.h"

namespace sl {

namespace {

constexpr int kClientWidth = 400;
constexpr int kClientHeight = 164;
constexpr const char* kDriveLetterKey = "DriveLetter";
constexpr const char* kDriveRoot = ":\\";

void Place(ui::Control& control, int x, int y, int width, int height) {
  control.Move(draw::PixelsToTwips(x), draw::PixelsToTwips(y), draw::PixelsToTwips(width),
               draw::PixelsToTwips(height));
}

bool FolderExists(const std::string& folder) {
  std::error_code ec;
  return std::filesystem::is_directory(folder, ec);
}

}  // namespace

RunFromCdDialog::RunFromCdDialog(RunFromCdContext context) : c_(std::move(context)) {
  form_ = ui::Form::Create(c_.windows, "frmRunFromCD");
  ui::Form& f = *form_;
  f.SetBorderStyle(ui::BorderStyle::FixedDialog);
  ui::Form::NonClient n = f.NonClientPixels();
  f.Move(0, 0, draw::PixelsToTwips(kClientWidth + n.left + n.right),
         draw::PixelsToTwips(kClientHeight + n.top + n.bottom));
  frame1_ = &f.Add<ui::Frame>("Frame1");
  Place(*frame1_, 10, 6, kClientWidth - 20, 76);
  lblMessage_ = &f.Add<ui::Label>("lblMessage", frame1_);
  Place(*lblMessage_, 10, 18, kClientWidth - 40, 50);
  lblMessage_->SetWordWrap(true);
  lblDrive_ = &f.Add<ui::Label>("lblDrive");
  Place(*lblDrive_, 10, 94, 110, 18);
  combo1_ = &f.Add<ui::ComboBox>("Combo1");
  Place(*combo1_, 120, 90, kClientWidth - 130, 22);
  command3_ = &f.Add<ui::CommandButton>("Command3");
  Place(*command3_, kClientWidth - 232, 126, 106, 26);
  command3_->SetDefault(true);
  command4_ = &f.Add<ui::CommandButton>("Command4");
  Place(*command4_, kClientWidth - 116, 126, 106, 26);
  command4_->SetCancel(true);

  f.onForm.load = [this](ui::Form&) { Form_Load(); };
  f.onForm.activate = [this](ui::Form&) { Form_Activate(); };
  command3_->on.click = [this](ui::Control&) { Command3_Click(); };
  command4_->on.click = [this](ui::Control&) { Command4_Click(); };
  auto drag = [this](ui::Control&, const ui::MouseArgs& a) {
    if (a.button == ui::kButtonLeft) DragStart();
  };
  for (ui::Control* c :
       std::initializer_list<ui::Control*>{form_.get(), frame1_, lblMessage_, lblDrive_})
    c->on.mouseMove = drag;
}

RunFromCdDialog::~RunFromCdDialog() {
  c_.windows.RemoveForm(form_.get());
}

DriveChoice RunFromCdDialog::ShowModal(const std::string& message, const std::string& driveText) {
  choice_ = DriveChoice::Cancelled;
  form_->Load();
  combo1_->SetText(driveText);
  lblMessage_->SetCaption(message);
  form_->Show(true);
  form_->Unload();
  return choice_;
}

void RunFromCdDialog::Form_Load() {
  ui::Form& f = *form_;
  double screenWidth = draw::PixelsToTwips(c_.display.ScreenWidth());
  double screenHeight = draw::PixelsToTwips(c_.display.ScreenHeight());
  f.Move(screenWidth / 2 - f.Width() / 2, screenHeight / 2 - f.Height() / 2, f.Width(), f.Height());
  const InterfaceTexts& t = c_.project.Texts();
  f.SetCaption(c_.project.Info().GameTitle);
  lblDrive_->SetCaption(t[37]);
  command3_->SetCaption("OK");
  command4_->SetCaption(t[11]);
  FillDriveList();
}

void RunFromCdDialog::FillDriveList() {
  combo1_->Items().Clear();
  for (const Drive& drive : c_.drives.Listed()) {
    std::string kind = DriveKindDescription(drive.kind);
    if (kind.empty()) continue;  // a folder that is not there
    std::string root = std::string(1, drive.letter) + kDriveRoot;
    combo1_->Items().Add(root + " " + kind + " " + drive.folder);
    // The last CD drive is the one offered.
    if (drive.kind == DriveKind::CdRom) combo1_->SetText(root);
  }
}

void RunFromCdDialog::Form_Activate() {
  form_->SetTopMost(true);
}

void RunFromCdDialog::DragStart() {
  // The platform moves the window until the button is released; that release never reaches
  // the control pressed, so it must not keep the mouse.
  c_.windows.ReleaseCapture();
  c_.windows.GetPlatform().BeginWindowDrag(form_->Window());
}

void RunFromCdDialog::Command3_Click() {
  try {
    const std::string& text = combo1_->Text();
    if (!text.empty()) {
      std::optional<std::string> folder = c_.drives.FolderOf(text[0]);
      if (folder && FolderExists(*folder)) {
        c_.windows.GetPlatform().Settings().Save("Software", c_.project.Info().ProjectName,
                                                 kDriveLetterKey, std::string(1, text[0]));
        choice_ = DriveChoice::Chosen;
        form_->Hide();
        return;
      }
    }
  } catch (const std::exception&) {
    // A setting that cannot be written leaves the dialog open, as a wrong drive does.
  }
  ShowUnavailable();
}

void RunFromCdDialog::ShowUnavailable() {
  MessageBoxRequest box;
  box.title = c_.project.Info().GameTitle;
  box.text = c_.project.Texts()[38];
  box.icon = MsgIcon::Exclamation;
  c_.project.Messages().Show(box);
}

void RunFromCdDialog::Command4_Click() {
  if (c_.cancelled) c_.cancelled();
  form_->Hide();
}

}  // namespace sl
