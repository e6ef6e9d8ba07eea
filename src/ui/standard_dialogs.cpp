// Message box and input box forms: layout, keys and the nested modal loop.
#include "ui/standard_dialogs.h"

#include <algorithm>

#include "ui/controls/command_button.h"
#include "ui/controls/image.h"
#include "ui/controls/label.h"
#include "ui/controls/text_box.h"
#include "ui/draw/chrome.h"
#include "ui/draw/text_layout.h"
#include "ui/draw/units.h"
#include "ui/form.h"
#include "ui/window_manager.h"

namespace sl::ui {

namespace {
constexpr int kMargin = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;
// The desktop draws a dialog's title in its own font, commonly larger than the dialog's, beside
// its close button: the room a title needs is its width in the dialog's font, times this share,
// plus the caption's buttons and margins.
constexpr int kTitleFontSharePercent = 130;
constexpr int kCaptionButtonsRoom = 70;

// The client width at which the desktop shows the whole title, at most the display's width.
int TitleWidth(const draw::Font& font, const std::string& title, Size display) {
  int want = font.TextWidth(title) * kTitleFontSharePercent / 100 + kCaptionButtonsRoom;
  return std::min(want, std::max(display.width - 2 * kMargin, 1));
}

template <class T>
T& PlacePx(T& c, int x, int y, int w, int h) {
  c.Move(draw::PixelsToTwips(x), draw::PixelsToTwips(y), draw::PixelsToTwips(w),
         draw::PixelsToTwips(h));
  return c;
}

// Sizes the form so that its client area is w x h pixels and centres it on the display.
void SizeAndCentre(Form& form, Platform& platform, int w, int h) {
  Form::NonClient n = form.NonClientPixels();
  int outerW = w + n.left + n.right, outerH = h + n.top + n.bottom;
  Size d = platform.DisplaySize();
  form.Move(draw::PixelsToTwips((d.width - outerW) / 2),
            draw::PixelsToTwips((d.height - outerH) / 2), draw::PixelsToTwips(outerW),
            draw::PixelsToTwips(outerH));
}

// The height a dialog's text may take: the display's height less the window frame and the
// dialog's other rows (`others` pixels), and at least one line.
int TextRoom(Form& form, Size display, int others) {
  Form::NonClient n = form.NonClientPixels();
  return std::max(display.height - n.top - n.bottom - others, 1);
}

draw::Picture IconPicture(MsgIcon icon) {
  draw::MessageIcon kind;
  switch (icon) {
    case MsgIcon::Critical:
      kind = draw::MessageIcon::kCritical;
      break;
    case MsgIcon::Question:
      kind = draw::MessageIcon::kQuestion;
      break;
    case MsgIcon::Exclamation:
      kind = draw::MessageIcon::kExclamation;
      break;
    case MsgIcon::Information:
      kind = draw::MessageIcon::kInformation;
      break;
    default:
      return {};
  }
  draw::Surface s(draw::kMessageIconSize, draw::kMessageIconSize);
  draw::DrawMessageIcon(s, 0, 0, kind);
  return draw::Picture(std::move(s), draw::PictureKind::kIcon);
}

// Removes the form from the manager when the dialog ends, however it ends.
struct DialogForm {
  WindowManager& wm;
  Ref<Form> form;
  DialogForm(WindowManager& m, const char* name) : wm(m), form(Form::Create(m, name)) {
    form->MarkStandardDialog();
  }
  ~DialogForm() {
    form->Unload();
    wm.RemoveForm(form.get());
  }
};
}  // namespace

std::vector<MsgAnswer> StandardDialogs::ButtonsOf(MsgButtons buttons) {
  return sl::ButtonsOf(buttons);
}

std::optional<MsgAnswer> StandardDialogs::EscapeAnswer(MsgButtons buttons) {
  // Esc answers Cancel where there is one, OK for a lone OK, and nothing for Yes/No and
  // Abort/Retry/Ignore, which must be answered with a button.
  switch (buttons) {
    case MsgButtons::Ok:
      return MsgAnswer::Ok;
    case MsgButtons::OkCancel:
    case MsgButtons::YesNoCancel:
    case MsgButtons::RetryCancel:
      return MsgAnswer::Cancel;
    default:
      return std::nullopt;
  }
}

std::string StandardDialogs::CaptionOf(MsgAnswer answer) {
  switch (answer) {
    case MsgAnswer::Ok:
      return "OK";
    case MsgAnswer::Cancel:
      return "Cancel";
    case MsgAnswer::Abort:
      return "&Abort";
    case MsgAnswer::Retry:
      return "&Retry";
    case MsgAnswer::Ignore:
      return "&Ignore";
    case MsgAnswer::Yes:
      return "&Yes";
    case MsgAnswer::No:
      return "&No";
  }
  return "OK";
}

MsgAnswer StandardDialogs::Show(const MessageBoxRequest& request) {
  Platform& platform = manager_.GetPlatform();
  std::optional<MsgAnswer> answer = platform.AnswerMessageBox(request);
  MsgAnswer result = answer ? *answer : ShowBox(request);
  platform.MessageBoxClosed(request, result);
  return result;
}

MsgAnswer StandardDialogs::ShowBox(const MessageBoxRequest& request) {
  DialogForm dialog(manager_, "MsgBox");
  Form& form = *dialog.form;
  form.SetBorderStyle(BorderStyle::FixedDialog);
  form.SetCaption(request.title);

  // Text: wrapped at about half the display width, never narrower than the buttons need, and
  // never taller than the display leaves room for; what does not fit ends in "…".
  draw::Font font = manager_.Fonts().Get(draw::FontSpec{});
  Size display = manager_.GetPlatform().DisplaySize();
  int maxText = std::max(display.width / 2, 200);
  draw::LayoutOptions opt;
  opt.wrapWidth = maxText;
  opt.maxHeight = TextRoom(form, display, 3 * kMargin + kButtonHeight);
  opt.ellipsis = true;
  opt.maxWidth = maxText;
  draw::TextLayout layout = draw::LayoutText(font, request.text, opt);

  draw::Picture icon = IconPicture(request.icon);
  int textLeft = kMargin + (icon ? draw::kMessageIconSize + kMargin : 0);
  int textTop = kMargin + (icon && layout.height < draw::kMessageIconSize
                               ? (draw::kMessageIconSize - layout.height) / 2
                               : 0);
  int bodyHeight = std::max(icon ? draw::kMessageIconSize : 0, layout.height);
  std::vector<MsgAnswer> answers = ButtonsOf(request.buttons);
  int n = static_cast<int>(answers.size());
  int buttonsWidth = n * kButtonWidth + (n - 1) * kButtonGap;
  int width = std::max({textLeft + layout.width + kMargin, buttonsWidth + 2 * kMargin, 120,
                        TitleWidth(font, request.title, display)});
  int height = kMargin + bodyHeight + kMargin + kButtonHeight + kMargin;
  SizeAndCentre(form, manager_.GetPlatform(), width, height);

  if (icon) {
    auto& img = PlacePx(form.Add<Image>("Icon"), kMargin, kMargin, 32, 32);
    img.SetPicture(icon);
  }
  auto& text =
      PlacePx(form.Add<Label>("Message"), textLeft, textTop, layout.width + 1, layout.height);
  text.SetEllipsis(true);
  text.SetCaption(request.text);

  std::optional<MsgAnswer> chosen;
  int defaultIndex = std::clamp(request.defaultButton, 0, n - 1);
  std::optional<MsgAnswer> escape = EscapeAnswer(request.buttons);
  int x = (width - buttonsWidth) / 2;
  CommandButton* focus = nullptr;
  for (int i = 0; i < n; ++i) {
    MsgAnswer a = answers[static_cast<std::size_t>(i)];
    auto& b = PlacePx(form.Add<CommandButton>("Button" + std::to_string(i + 1)),
                      x + i * (kButtonWidth + kButtonGap), height - kMargin - kButtonHeight,
                      kButtonWidth, kButtonHeight);
    b.SetCaption(CaptionOf(a));
    b.on.click = [&chosen, &form, a](Control&) {
      chosen = a;
      form.Hide();
    };
    if (escape && *escape == a) b.SetCancel(true);
    if (i == defaultIndex) {
      b.SetDefault(true);
      focus = &b;
    }
  }
  form.onForm.queryUnload = [&](Form&) {
    if (chosen) return false;
    if (!escape) return true;  // no way out but a button
    chosen = escape;
    return false;
  };
  form.Load();
  form.SetFocusTo(focus);
  form.Show(true);
  if (!chosen) chosen = escape.value_or(answers[static_cast<std::size_t>(defaultIndex)]);
  return *chosen;
}

std::optional<std::string> StandardDialogs::InputBox(const InputBoxRequest& request) {
  Platform& platform = manager_.GetPlatform();
  std::optional<InputBoxAnswer> answer = platform.AnswerInputBox(request);
  InputBoxAnswer result = answer ? *answer : ShowInput(request);
  platform.InputBoxClosed(request, result);
  if (result.cancelled) return std::nullopt;
  return result.text;
}

InputBoxAnswer StandardDialogs::ShowInput(const InputBoxRequest& request) {
  DialogForm dialog(manager_, "InputBox");
  Form& form = *dialog.form;
  form.SetBorderStyle(BorderStyle::FixedDialog);
  form.SetCaption(request.title);
  // The classic layout: prompt at the top left, OK and Cancel at the right, the text field
  // across the bottom.
  draw::Font font = manager_.Fonts().Get(draw::FontSpec{});
  const int width =
      std::max(360, TitleWidth(font, request.title, manager_.GetPlatform().DisplaySize()));
  const int promptWidth = width - 3 * kMargin - kButtonWidth;
  draw::LayoutOptions opt;
  opt.wrapWidth = promptWidth;
  opt.maxHeight = TextRoom(form, manager_.GetPlatform().DisplaySize(), 3 * kMargin + 21);
  opt.ellipsis = true;
  opt.maxWidth = promptWidth;
  draw::TextLayout layout = draw::LayoutText(font, request.prompt, opt);
  int promptHeight = std::max(layout.height, 2 * kButtonHeight + kButtonGap);
  int fieldTop = kMargin + promptHeight + kMargin;
  int height = fieldTop + 21 + kMargin;
  SizeAndCentre(form, manager_.GetPlatform(), width, height);

  auto& prompt = PlacePx(form.Add<Label>("Prompt"), kMargin, kMargin, promptWidth, promptHeight);
  prompt.SetEllipsis(true);
  prompt.SetCaption(request.prompt);
  auto& field = PlacePx(form.Add<TextBox>("Text"), kMargin, fieldTop, width - 2 * kMargin, 21);
  field.SetText(request.defaultText);
  int bx = width - kMargin - kButtonWidth;
  auto& ok = PlacePx(form.Add<CommandButton>("OK"), bx, kMargin, kButtonWidth, kButtonHeight);
  auto& cancel = PlacePx(form.Add<CommandButton>("Cancel"), bx,
                         kMargin + kButtonHeight + kButtonGap, kButtonWidth, kButtonHeight);
  ok.SetCaption("OK");
  ok.SetDefault(true);
  cancel.SetCaption("Cancel");
  cancel.SetCancel(true);
  InputBoxAnswer result{true, {}};
  ok.on.click = [&](Control&) {
    result = {false, field.Text()};
    form.Hide();
  };
  cancel.on.click = [&](Control&) { form.Hide(); };
  form.Load();
  form.SetFocusTo(&field);
  form.Show(true);
  return result;
}

}  // namespace sl::ui
