// The title window: start-up sequence, layout, buttons, links and the way back from a game.
#include "player/startup/title_window.h"

#include <cmath>

#include "core/message_box.h"
#include "core/path_resolver.h"
#include "core/runtime_error.h"
#include "core/variant.h"
#include "core/variant_convert.h"
#include "player/desktop/desktop_requests.h"
#include "player/display/resolutions.h"
#include "player/startup/project.h"
#include "player/startup/scheme.h"
#include "player/startup/title_logos.h"
#include "player/startup/title_window_caption.h"
#include "ui/controls/check_box.h"
#include "ui/controls/command_button.h"
#include "ui/controls/image.h"
#include "ui/controls/label.h"
#include "ui/controls/list_box.h"
#include "ui/controls/picture_box.h"
#include "ui/draw/units.h"
#include "ui/window_manager.h"

namespace sl {

namespace {

constexpr double kWindowWidth = 4800;
constexpr double kFirstRowTop = 3000;
constexpr double kRowStep = 255;
constexpr double kBottomMargin = 150;
constexpr double kCheckBoxOffset = 45;
constexpr double kExitTopWithoutLoad = 1560;
constexpr std::uint32_t kDesignBackColor = 0x00402010;  // deep blue, &HBBGGRR
constexpr std::uint32_t kDesignForeColor = 0x00E0F0F0;
constexpr const char* kProductTitle = "Storyloom";

// Runs one start-up statement; an error is remembered for the summary message and the next
// statement runs.
template <class F>
void Step(bool& failed, F&& statement) {
  try {
    statement();
  } catch (const std::exception&) {
    failed = true;
  }
}

}  // namespace

TitleWindow::TitleWindow(TitleContext context) : c_(std::move(context)) {
  form_ = ui::Form::Create(c_.windows, "frmWelcome");
  CreateControls();
  form_->onForm.load = [this](ui::Form&) { Form_Load(); };
  form_->onForm.unload = [this](ui::Form&) { Form_Unload(); };
  form_->onForm.activate = [this](ui::Form&) { Form_Activate(); };
}

TitleWindow::~TitleWindow() {
  c_.windows.RemoveForm(form_.get());
}

ui::Label& TitleWindow::L(const char* name) {
  auto* label = dynamic_cast<ui::Label*>(form_->FindControl(name));
  if (!label) throw RuntimeError(kErrObjectRequired);
  return *label;
}

ui::Image& TitleWindow::Img(int index) {
  return static_cast<ui::Image&>(form_->FindArray("Img")->Item(index));
}

ui::Label& TitleWindow::lblButton(int index) {
  return static_cast<ui::Label&>(form_->FindArray("lblButton")->Item(index));
}

void TitleWindow::CreateControls() {
  ui::Form& f = *form_;
  f.SetBorderStyle(ui::BorderStyle::None);
  f.SetKeyPreview(true);
  f.SetBackColor(kDesignBackColor);
  f.Move(0, 0, kWindowWidth, 4200);
  backdrop_ = &f.Add<ui::PictureBox>("picBackdrop");
  backdrop_->SetBorderStyle(0);
  backdrop_->SetBackColor(kDesignBackColor);
  backdrop_->SetAutoRedraw(true);
  auto label = [&](const char* name, double left, double top, double width, int align) {
    ui::Label& l = f.Add<ui::Label>(name);
    l.Move(left, top, width, 255);
    l.SetBackStyle(0);
    l.SetForeColor(kDesignForeColor);
    l.SetAlignment(align);
    return &l;
  };
  ui::Label* title = label("txtAdventureName", 240, 240, 4320, 2);
  title->SetHeight(720);
  title->SetWordWrap(true);
  draw::FontSpec big = title->FontSpec();
  big.size = 14;
  big.bold = true;
  title->SetFontSpec(big);
  label("txtVersion", 240, kFirstRowTop, 4320, 2)->SetVisible(false);
  for (const char* row : {"Author", "Email", "Homepage"}) {
    label(("lbl" + std::string(row)).c_str(), 240, kFirstRowTop, 1260, 0)->SetVisible(false);
    label(("txt" + std::string(row)).c_str(), 1560, kFirstRowTop, 3000, 0)->SetVisible(false);
  }
  chkResolution_ = &f.Add<ui::CheckBox>("chkResolution");
  chkResolution_->Move(240, kFirstRowTop + kCheckBoxOffset, 210, 195);
  chkResolution_->SetVisible(false);
  chkResolution_->SetValue(1);
  label("lblResolution", 510, kFirstRowTop, 4050, 0)->SetVisible(false);
  ui::ControlArray& img = f.AddArray<ui::Image>("Img");
  ui::ControlArray& buttons = f.AddArray<ui::Label>("lblButton");
  for (int i = 0; i <= 3; ++i) {
    if (i > 0) img.Load(i);
    Img(i).Move(1440, 1080 + 480.0 * i, 1920, 360);
    Img(i).SetVisible(false);
    Img(i).on.click = [this](ui::Control& c) { ClickButton(c.Index()); };
  }
  for (int i = 0; i <= 2; ++i) {
    if (i > 0) buttons.Load(i);
    ui::Label& b = lblButton(i);
    b.Move(1440, 1080 + 480.0 * i, 1920, 360);
    b.SetBackStyle(0);
    b.SetForeColor(kDesignForeColor);
    b.SetAlignment(2);
    b.SetVisible(true);
    b.on.click = [this](ui::Control& c) { ClickButton(c.Index()); };
  }
  ui::ControlArray& logos = f.AddArray<ui::Image>("imgLogos");
  for (int k = 0; k <= 3; ++k) {
    if (k > 0) logos.Load(k);
    auto& logo = static_cast<ui::Image&>(logos.Item(k));
    logo.SetPicture(MakeTitleLogo(k));
    logo.SetVisible(false);
  }
  imgLogo_ = &f.Add<ui::Image>("imgLogo");
  imgLogo_->on.click = [this](ui::Control&) { imgLogo_Click(); };
  // Present on the window but used by no title-screen code.
  f.Add<ui::ListBox>("Dir1").SetVisible(false);
  f.Add<ui::CommandButton>("Command3").SetVisible(false);
  label("Label1", 0, 0, 0, 0)->SetVisible(false);
  label("Label3", 0, 0, 0, 0)->SetVisible(false);

  L("txtEmail").on.click = [this](ui::Control&) { txtEmail_Click(); };
  L("txtHomepage").on.click = [this](ui::Control&) { txtHomepage_Click(); };
  L("lblResolution").on.click = [this](ui::Control&) { lblResolution_Click(); };
  f.on.keyDown = [this](ui::Control&, int& key, int) {
    if (key == 27) UnloadTitleWindow();
  };
  // Moving the mouse with the left button held over the body or a text label drags the
  // borderless window.
  auto drag = [this](ui::Control&, const ui::MouseArgs& a) {
    if (a.button == ui::kButtonLeft) Form_DragStart();
  };
  for (ui::Control* c : std::initializer_list<ui::Control*>{
           form_.get(), backdrop_, &L("lblAuthor"), &L("lblEmail"), &L("lblHomepage"),
           &L("txtAdventureName"), &L("txtAuthor"), &L("txtVersion")}) {
    c->on.mouseMove = drag;
  }
}

void TitleWindow::Load() {
  form_->Load();
}

void TitleWindow::Form_Activate() {
  form_->SetTopMost(true);
}

void TitleWindow::Form_DragStart() {
  // The platform moves the window with the pointer until the button is released; the control
  // pressed must not keep the mouse, as that release never reaches it.
  c_.windows.ReleaseCapture();
  c_.windows.GetPlatform().BeginWindowDrag(form_->Window());
}

void TitleWindow::CenterWindow() {
  double screenW = draw::PixelsToTwips(c_.display.ScreenWidth());
  double screenH = draw::PixelsToTwips(c_.display.ScreenHeight());
  form_->Move(screenW / 2 - kWindowWidth / 2, screenH / 2 - form_->Height() / 2, kWindowWidth,
              form_->Height());
  backdrop_->Move(0, 0, form_->ScaleWidth(), form_->ScaleHeight());
}

void TitleWindow::Form_Load() {
  Project& project = c_.project;
  bool failed = false;
  Step(failed, [&] { CenterWindow(); });
  c_.windows.SetApplicationTitle(kProductTitle);
  Step(failed, [&] { setUp_ = project.SetUpProject(c_.programFolder); });
  if (!project.Info().GameTitle.empty()) c_.windows.SetApplicationTitle(project.Info().GameTitle);
  if (setUp_ != SetUpResult::Continue) {
    UnloadTitleWindow();
    return;
  }
  const ProjectInformation& info = project.Info();
  ui::UserSettings& settings = c_.windows.GetPlatform().Settings();
  Step(failed, [&] {
    settings.Save("Software", info.ProjectName, "Path", project.Folders().ProjectFolder);
  });
  if (info.SkipTitleScreen) {
    Step(failed, [&] { form_->Hide(); });
    Step(failed, [&] { ClickButton(0); });
  } else {
    if (!info.ProjectName.empty()) {
      Step(failed, [&] {
        std::string v =
            settings.Get("Software", info.ProjectName, "ChangeResolution").value_or("1");
        chkResolution_->SetValue(ToInteger(Variant(v)));
      });
    }
    LayOutRows(failed);
    Step(failed, [&] { UseScheme(info.SchemeName); });
    const InterfaceTexts& t = project.Texts();
    Step(failed, [&] { L("lblAuthor").SetCaption(t[4]); });
    Step(failed, [&] { L("lblEmail").SetCaption(t[5]); });
    Step(failed, [&] { L("lblHomepage").SetCaption(t[6]); });
    Step(failed,
         [&] { L("lblResolution").SetCaption(ResolutionCaption(t[7], info.TargetResolution)); });
    Step(failed, [&] {
      if (info.HideLoadButton || lblButton(1).Caption().empty()) {
        if (info.HideLoadButton) Img(1).SetVisible(false);
        lblButton(1).SetVisible(false);
        lblButton(2).SetTop(kExitTopWithoutLoad);
      }
    });
    Step(failed, [&] { PlaceLogo(); });
  }
  if (failed) {
    MessageBoxRequest box;
    box.title = project.Texts()[29];
    box.text = project.Texts().ErrorLead() + " Error loading project information.";
    box.icon = MsgIcon::Critical;
    project.Messages().Show(box);
  }
}

void TitleWindow::LayOutRows(bool& failed) {
  const ProjectInformation& info = c_.project.Info();
  double border = 0;
  double y = kFirstRowTop;
  Step(failed, [&] { border = form_->Height() - form_->ScaleHeight(); });
  Step(failed, [&] { L("txtAdventureName").SetCaption(info.GameTitle); });
  Step(failed, [&] {
    ui::Label& version = L("txtVersion");
    if (info.GameVersion.empty()) {
      version.SetCaption("");
      version.SetVisible(false);
      return;
    }
    version.SetCaption(info.GameVersion);
    version.SetTop(y);
    version.SetVisible(true);
    y += kRowStep;
  });
  const std::pair<const char*, const std::string*> rows[] = {{"Author", &info.AuthorName},
                                                             {"Email", &info.AuthorEmail},
                                                             {"Homepage", &info.AuthorHomepage}};
  for (const auto& entry : rows) {
    const char* row = entry.first;
    const std::string* value = entry.second;
    if (value->empty()) continue;
    Step(failed, [&] {
      ui::Label& text = L(("txt" + std::string(row)).c_str());
      ui::Label& caption = L(("lbl" + std::string(row)).c_str());
      text.SetCaption(*value);
      text.SetTop(y);
      caption.SetTop(y);
      text.SetVisible(true);
      caption.SetVisible(true);
      y += kRowStep;
    });
  }
  Step(failed, [&] {
    ResolutionSize target = ResolutionOfCode(info.TargetResolution + 1);
    bool alreadyThere =
        c_.display.ScreenWidth() == target.width && c_.display.ScreenHeight() == target.height;
    bool offer = !alreadyThere && info.ResolutionOffer == 1;
    chkResolution_->SetVisible(offer);
    L("lblResolution").SetVisible(offer);
    if (offer) {
      chkResolution_->SetTop(y + kCheckBoxOffset);
      L("lblResolution").SetTop(y);
      y += kRowStep;
    }
  });
  Step(failed, [&] {
    form_->SetHeight(border + y + kBottomMargin);
    CenterWindow();
  });
}

void TitleWindow::PlaceLogo() {
  if (c_.project.Info().HideLogo) {
    imgLogo_->SetVisible(false);
    return;
  }
  imgLogo_->SetVisible(true);
  imgLogo_->ZOrder(0);
  imgLogo_->SetLeft(logoPlacement_ ? 4440 : 4560);
  imgLogo_->SetTop(-720);
  int k = (logoStyle_ == 1 ? 1 : 0) + (logoPlacement_ ? 2 : 0);
  auto& stored = static_cast<ui::Image&>(form_->FindArray("imgLogos")->Item(k));
  imgLogo_->SetPicture(stored.Picture());
}

void TitleWindow::ShowTextButtons(bool onlyWithoutPicture) {
  const InterfaceTexts& t = c_.project.Texts();
  for (int i = 0; i <= 2; ++i) {
    try {
      if (onlyWithoutPicture && !Img(i).Picture().IsNone()) {
        lblButton(i).SetVisible(false);
        continue;
      }
      if (!onlyWithoutPicture) Img(i).SetVisible(false);
      ui::Label& b = lblButton(i);
      b.SetCaption(t[i + 1]);
      b.SetAutoSize(true);
      b.SetLeft(kWindowWidth / 2 - b.Width() / 2);
      b.SetVisible(true);
    } catch (const std::exception&) {
    }
  }
}

void TitleWindow::UseScheme(const std::string& SchemeName) {
  const ProjectFolders& folders = c_.project.Folders();
  std::string folder = folders.SchemesFolder + SchemeName + "\\";
  SchemeFile scheme = ReadScheme(c_.project.Paths(), folder + "Scheme.txt");
  if (!scheme.exists) {
    ShowTextButtons(false);
    return;
  }
  if (!scheme.valid) return;
  ApplySchemePictures(scheme);
  TileBackground();
  ShowTextButtons(true);
  ui::Form& f = *form_;
  if (scheme.backColor) {
    f.SetBackColor(*scheme.backColor);
    backdrop_->SetBackColor(*scheme.backColor);
    // A new back colour clears what was painted; the tile goes back over it.
    TileBackground();
  }
  if (scheme.titleColor) L("txtAdventureName").SetForeColor(*scheme.titleColor);
  if (scheme.labelColor) {
    for (const char* name : {"lblResolution", "txtVersion", "lblAuthor", "lblEmail", "lblHomepage",
                             "txtAuthor", "txtEmail", "txtHomepage"}) {
      L(name).SetForeColor(*scheme.labelColor);
    }
  }
  if (scheme.buttonColor) {
    for (int i = 0; i <= 2; ++i)
      lblButton(i).SetForeColor(*scheme.buttonColor);
  }
  if (scheme.hideTitle) L("txtAdventureName").SetVisible(!*scheme.hideTitle);
  if (scheme.logoStyle) logoStyle_ = *scheme.logoStyle;
  if (scheme.logoPlacement) logoPlacement_ = *scheme.logoPlacement;
}

void TitleWindow::ApplySchemePictures(const SchemeFile& scheme) {
  std::string folder = c_.project.Folders().SchemesFolder + c_.project.Info().SchemeName + "\\";
  for (std::size_t i = 0; i < scheme.pictures.size() && i <= 3; ++i) {
    ui::Image& image = Img(static_cast<int>(i));
    if (!scheme.pictures[i]) {
      image.SetPicture(draw::Picture());
      image.SetVisible(false);
      continue;
    }
    try {
      std::optional<std::string> real = c_.project.Paths().Find(folder + *scheme.pictures[i]);
      if (!real) throw RuntimeError(kErrFileNotFound);
      image.SetPicture(draw::LoadPictureFile(*real));
    } catch (const std::exception&) {
      // The element keeps its previous picture and is still shown.
    }
    image.SetVisible(true);
  }
}

void TitleWindow::TileBackground() {
  ui::Image& tile = Img(3);
  tile.SetVisible(false);
  const draw::Picture& picture = tile.Picture();
  backdrop_->Move(0, 0, form_->ScaleWidth(), form_->ScaleHeight());
  backdrop_->Cls();
  if (picture.IsNone() || picture.Width() <= 0 || picture.Height() <= 0) return;
  draw::Size area = backdrop_->ClientSize();
  for (int x = 0; x <= area.width; x += picture.Width()) {
    for (int y = 0; y <= area.height; y += picture.Height()) {
      backdrop_->PaintPicture(picture, {x, y, picture.Width(), picture.Height()}, {});
    }
  }
}

void TitleWindow::ClickButton(int Index) {
  try {
    switch (Index) {
      case 0:
        StartGame();
        break;
      case 1:
        // The load dialog must not open beneath the title window. Once it is closed the title
        // window, if it is still shown and active (no game was loaded), is back on top.
        form_->SetTopMost(false);
        if (c_.subsystems && c_.subsystems->savegame) {
          c_.subsystems->savegame->ShowLoadGameWindow(LoadGameCaller::TitleWindow);
        }
        if (form_->Visible() && c_.windows.ActiveForm() == form_.get()) form_->SetTopMost(true);
        break;
      case 2:
        UnloadTitleWindow();
        break;
      default:
        break;
    }
  } catch (const RuntimeError&) {
    MessageBoxRequest box;
    box.title = c_.project.Texts()[29];
    box.text = c_.project.Texts().ErrorLead() +
               " Error loading the main program window. Try restarting the program.";
    box.icon = MsgIcon::Critical;
    c_.project.Messages().Show(box);
  }
}

bool TitleWindow::ResolutionSwitchChosen() const {
  return c_.project.Info().ResolutionOffer == 1 && chkResolution_->Value() == 1 &&
         chkResolution_->Visible();
}

void TitleWindow::StartGame() {
  const ProjectInformation& info = c_.project.Info();
  if (!info.SkipTitleScreen && ResolutionSwitchChosen()) {
    form_->Hide();
    c_.display.ChangeResolutionTo(info.TargetResolution + 1);
  }
  Game& game = c_.game();
  game.Load();
  game.ResetAll();
  form_->Hide();
  game.StartNewGame();
  if (game.Loaded()) game.Show();
}

// The box must not open beneath the title window. After No the window goes back on top; after
// Yes it stays below so the browser or mail program opened next can come to the front.
MsgAnswer TitleWindow::AskAboutLink(const std::string& title, const std::string& text,
                                    MsgIcon icon) {
  form_->SetTopMost(false);
  MessageBoxRequest box;
  box.title = title;
  box.text = text;
  box.buttons = MsgButtons::YesNo;
  box.icon = icon;
  MsgAnswer answer = c_.project.Messages().Show(box);
  // Said again after the box: closing it may have activated the window (and put it on top).
  form_->SetTopMost(answer == MsgAnswer::No);
  return answer;
}

void TitleWindow::imgLogo_Click() {
  std::string address = STORYLOOM_HOMEPAGE;
  OpenLink(address, [&] {
    return AskAboutLink(kProductTitle,
                        "For details and downloads, visit: " + address +
                            "\r\n\r\nDo you want to visit it now? (You must be connected to "
                            "the Internet)",
                        MsgIcon::Information);
  });
}

void TitleWindow::txtEmail_Click() {
  try {
    const std::string& address = L("txtEmail").Caption();
    OpenLink("mailto:" + address, [&] {
      return AskAboutLink(c_.project.Info().GameTitle,
                          c_.project.Texts()[13] + " " + address + " ?", MsgIcon::Question);
    });
  } catch (const std::exception&) {
  }
}

void TitleWindow::txtHomepage_Click() {
  try {
    const std::string& address = L("txtHomepage").Caption();
    const InterfaceTexts& t = c_.project.Texts();
    OpenLink(address, [&] {
      return AskAboutLink(c_.project.Info().GameTitle, t[14] + " " + address + " ? " + t[15],
                          MsgIcon::Question);
    });
  } catch (const std::exception&) {
  }
}

// Only web and e-mail addresses are offered; the question comes first, then the desktop.
void TitleWindow::OpenLink(const std::string& address, const std::function<MsgAnswer()>& ask) {
  if (!c_.desktop) return;
  c_.desktop->OpenLink(address, [&] { return ask() == MsgAnswer::Yes; });
}

void TitleWindow::lblResolution_Click() {
  int value = chkResolution_->Value() == 1 ? 0 : 1;
  chkResolution_->SetValue(value);
  c_.windows.GetPlatform().Settings().Save("Software", c_.project.Info().ProjectName,
                                           "ChangeResolution", std::to_string(value));
}

void TitleWindow::ShowTitleWindow() {
  if (!ended_) form_->Show(false);
}

void TitleWindow::UnloadTitleWindow() {
  if (form_->Loaded()) {
    form_->Unload();
  } else {
    Form_Unload();
  }
}

void TitleWindow::Form_Unload() {
  if (ended_) return;
  ended_ = true;
  if (c_.endProgram) c_.endProgram();
}

}  // namespace sl
