// The plain title window (see plain_title_window.h).
#include "app/plain_title_window.h"

#include "ui/controls/label.h"

namespace sl {

namespace {
constexpr int kTwipsPerPixel = 15;
}

PlainTitleWindow::PlainTitleWindow(ui::WindowManager& windows, const std::string& gameTitle)
    : windows_(windows), form_(ui::Form::Create(windows, "frmWelcome")) {
  ui::Size display = windows.GetPlatform().DisplaySize();
  form_->SetCaption(gameTitle);
  form_->SetBorderStyle(ui::BorderStyle::FixedSingle);
  form_->Move((display.width - kWidthPixels) / 2 * kTwipsPerPixel,
              (display.height - kHeightPixels) / 2 * kTwipsPerPixel, kWidthPixels * kTwipsPerPixel,
              kHeightPixels * kTwipsPerPixel);
  auto& title = form_->Add<ui::Label>("lblTitle");
  title.SetCaption(gameTitle);
  title.SetAlignment(2);
  title.SetBackStyle(0);
  title.Move(0, (kHeightPixels / 2 - 20) * kTwipsPerPixel, form_->ScaleWidth(),
             40 * kTwipsPerPixel);
}

PlainTitleWindow::~PlainTitleWindow() {
  form_->Unload();
  windows_.RemoveForm(form_.get());
}

}  // namespace sl
