// Loading a frame's text boxes into the `Text` label array and removing them again.
#include "player/texts/text_boxes.h"

#include <cmath>
#include <functional>
#include <string>

#include "core/data_file_reader.h"
#include "core/message_box.h"
#include "core/path_resolver.h"
#include "core/runtime_error.h"
#include "player/engine/game.h"
#include "player/startup/project.h"
#include "ui/control_array.h"
#include "ui/controls/label.h"
#include "ui/form.h"

namespace sl {

namespace {

// Element numbers are 16-bit.
constexpr int kMaxTextBoxes = 32767;
// Largest point size a font accepts.
constexpr double kMaxFontSize = 2160;
// Farther than any window reaches; a position beyond it is a broken record.
constexpr double kMaxPosition = 1e8;

double CheckedPosition(double twips) {
  if (!std::isfinite(twips) || std::fabs(twips) > kMaxPosition) throw RuntimeError(kErrOverflow);
  return twips;
}

double CheckedFontSize(double points) {
  if (!(points > 0 && points <= kMaxFontSize)) throw RuntimeError(kErrInvalidPropertyValue);
  return points;
}

}  // namespace

void TextBoxes::LoadTexts() {
  if (!game_) return;
  Game& g = *game_;
  PathResolver& paths = project_.Paths();
  DataFileReader reader("");
  ui::ControlArray* texts = nullptr;
  try {
    std::string base = project_.Folders().FramesDataFolder + g.CurrentFrameName;
    bool merged = paths.FileExists(base + ".mr1");
    if (!merged && !paths.FileExists(base + ".fm1")) return;
    MergedTextIndex = 1;
    texts = g.Form().FindArray("Text");
    if (!texts) throw RuntimeError(kErrNoArrayElement);
    reader = DataFileReader(paths.ReadFile(base + (merged ? ".mr1" : ".fm1")));
  } catch (const RuntimeError& e) {
    ReportLoadError(e.Description());
    return;
  }
  int record = 0;
  while (!reader.Eof() && !g.GameStopping()) {
    ++record;
    std::size_t before = reader.Position();
    if (!LoadOneText(reader, *texts, record)) return;
    // A record always uses up at least one field; should it not, the file cannot go on.
    if (reader.Position() == before) return;
  }
}

bool TextBoxes::LoadOneText(DataFileReader& r, ui::ControlArray& texts, int record) {
  int k = texts.UBound() + 1;
  if (k > kMaxTextBoxes) return false;
  // Every field of the record is read whatever happens, so that the next record starts where
  // it should. Settings stop at the first step that fails: the text box keeps what was set
  // before it and stays hidden, and loading goes on with the next record.
  bool failed = false;
  auto step = [&](const std::function<void()>& statement) {
    try {
      statement();
    } catch (const RuntimeError&) {
      failed = true;
    }
  };
  // A field read for a step that can no longer run is still read, and its error dropped.
  auto read = [&](const std::function<void()>& statement) {
    if (failed) {
      try {
        statement();
      } catch (const RuntimeError&) {
      }
      return;
    }
    step(statement);
  };
  // A setting runs only while every step before it worked.
  auto apply = [&](const std::function<void()>& statement) {
    if (!failed) step(statement);
  };
  std::int16_t mergeFlag = 0;
  read([&] { r.Skip(1); });
  read([&] { mergeFlag = r.ReadInteger(); });
  if (!failed && mergeFlag == 1 && record != 1 && MergedTextIndex == 1) {
    MergedTextIndex = static_cast<std::int16_t>(k);
  }
  read([&] { r.Skip(8); });

  ui::Label* label = nullptr;
  try {
    label = &static_cast<ui::Label&>(texts.Load(k));
    label->SetVisible(false);
    label->SetAutoSize(true);
  } catch (const RuntimeError&) {
    return false;
  }
  std::string text;
  double left = 0;
  double top = 0;
  bool flag = false;
  std::string fontName;
  double fontSize = 0;
  std::int32_t colour = 0;
  auto font = [&](const std::function<void(draw::FontSpec&)>& change) {
    draw::FontSpec spec = label->FontSpec();
    change(spec);
    label->SetFontSpec(spec);
  };
  read([&] { text = r.ReadString(); });
  apply([&] { label->SetCaption(text); });
  read([&] { left = CheckedPosition(r.ReadDouble()); });
  apply([&] { label->SetLeft(left); });
  read([&] { top = CheckedPosition(r.ReadDouble()); });
  apply([&] { label->SetTop(top); });
  read([&] { flag = r.ReadBoolean(); });
  apply([&] { font([&](draw::FontSpec& f) { f.bold = flag; }); });
  read([&] { flag = r.ReadBoolean(); });
  apply([&] { font([&](draw::FontSpec& f) { f.italic = flag; }); });
  read([&] { fontName = r.ReadString(); });
  apply([&] { font([&](draw::FontSpec& f) { f.name = fontName.empty() ? "Arial" : fontName; }); });
  read([&] { fontSize = CheckedFontSize(r.ReadDouble()); });
  apply([&] { font([&](draw::FontSpec& f) { f.size = fontSize; }); });
  read([&] { flag = r.ReadBoolean(); });
  apply([&] { font([&](draw::FontSpec& f) { f.strikethrough = flag; }); });
  read([&] { flag = r.ReadBoolean(); });
  apply([&] { font([&](draw::FontSpec& f) { f.underline = flag; }); });
  read([&] { colour = r.ReadLong(); });
  apply([&] { label->SetForeColor(static_cast<std::uint32_t>(colour)); });
  apply([&] {
    label->SetVisible(true);
    if (game_->Form().Visible()) label->ZOrder(0);
  });
  read([&] { r.Skip(1); });
  return true;
}

void TextBoxes::ResetFrameTexts() {
  if (!game_) return;
  ui::ControlArray* texts = game_->Form().FindArray("Text");
  if (!texts) return;
  int last = texts->UBound();
  for (int i = 1; i <= last; ++i) {
    try {
      texts->Unload(i);
    } catch (const RuntimeError&) {
      // An element that is not there (or will not go) leaves the others to go on.
    }
  }
}

void TextBoxes::ReportLoadError(const std::string& description) {
  if (game_ && game_->GameStopping()) return;
  project_.ShowError(" Error loading TextBoxes. " + description);
}

}  // namespace sl
