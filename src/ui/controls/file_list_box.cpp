// File list boxes.
#include "ui/controls/file_list_box.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "core/path_resolver.h"
#include "core/wildcard.h"
#include "ui/draw/chrome.h"
#include "ui/window_manager.h"

namespace sl::ui {

FileListBox::FileListBox(Form* form, std::string name)
    : ControlBase<FileListBox>(form, ControlKind::FileListBox, std::move(name)) {
  Move(0, 0, 1215, 1425);
}

void FileListBox::CopyPropertiesFrom(const Control& source) {
  const auto& s = static_cast<const FileListBox&>(source);
  path_ = s.path_;
  pattern_ = s.pattern_;
  font_ = s.font_;
  Refresh();
}

void FileListBox::SetPath(std::string path) {
  PathResolver* paths = Manager() ? Manager()->Paths() : nullptr;
  std::error_code ec;
  bool exists = paths ? paths->FolderExists(path) : std::filesystem::is_directory(path, ec);
  if (!exists) throw RuntimeError(kErrPathNotFound);
  path_ = std::move(path);
  Refresh();
}

void FileListBox::SetPattern(std::string pattern) {
  pattern_ = pattern.empty() ? "*.*" : std::move(pattern);
  Refresh();
}

void FileListBox::Refresh() {
  std::vector<std::string> names;
  std::vector<std::string> patterns;
  std::string_view rest = pattern_;
  while (!rest.empty()) {
    std::size_t semi = rest.find(';');
    std::string_view one = rest.substr(0, semi);
    while (!one.empty() && one.front() == ' ')
      one.remove_prefix(1);
    if (!one.empty()) patterns.emplace_back(one);
    rest = semi == std::string_view::npos ? std::string_view() : rest.substr(semi + 1);
  }
  std::error_code ec;
  PathResolver* paths = Manager() ? Manager()->Paths() : nullptr;
  if (paths && !path_.empty()) {
    std::string folder = path_;
    if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
    for (const std::string& p : patterns) {
      for (std::string& name : paths->ListFiles(folder + p)) {
        if (std::find(names.begin(), names.end(), name) == names.end()) {
          names.push_back(std::move(name));
        }
      }
    }
  } else if (!path_.empty()) {
    for (std::filesystem::directory_iterator it(path_, ec), end; !ec && it != end;
         it.increment(ec)) {
      std::error_code fe;
      if (!it->is_regular_file(fe)) continue;
      std::string name = it->path().filename().string();
      if (std::any_of(patterns.begin(), patterns.end(),
                      [&](const std::string& p) { return WildcardMatch(p, name); })) {
        names.push_back(std::move(name));
      }
    }
  }
  std::stable_sort(names.begin(), names.end(), LessNoCase);
  items_.Assign(std::move(names));
  Invalidate();
}

void FileListBox::SetListIndex(int n) {
  if (n < -1 || n >= items_.Count()) throw RuntimeError(kErrInvalidPropertyValue);
  if (n == items_.selected) return;
  items_.selected = n;
  Invalidate();
  Ref<Control> keep(this);
  if (on.click) on.click(*this);
}

std::string FileListBox::ListText() const {
  return items_.selected >= 0 ? items_.At(items_.selected) : std::string();
}

void FileListBox::BuiltinMouse(InputKind kind, int button, draw::Point at) {
  if (kind != InputKind::MouseDown || button != kButtonLeft) return;
  WindowManager* m = Manager();
  int h = m ? m->Fonts().Get(font_).Height() : 0;
  if (h <= 0) return;
  int row = items_.topIndex + (at.y - 2) / h;
  if (at.y >= 2 && row < items_.Count()) SetListIndex(row);
}

bool FileListBox::SelectEntry(const std::string& text) {
  int n = items_.Find(text);
  if (n < 0) return false;
  SetListIndex(n);
  return true;
}

void FileListBox::Paint(draw::Surface& target, draw::Point origin) {
  draw::Rect r = PixelBounds();
  std::vector<std::string> texts;
  for (int i = 0; i < items_.Count(); ++i)
    texts.push_back(items_.At(i));
  WindowManager* m = Manager();
  draw::Font font = m ? m->Fonts().Get(font_) : draw::Font();
  draw::DrawListBox(target, {origin.x, origin.y, r.width, r.height}, font, texts, items_.topIndex,
                    items_.selected, GetForm() && GetForm()->ActiveControl() == this);
}

const DispatchTable<FileListBox>& FileListBox::Members() {
  static const DispatchTable<FileListBox> table = [] {
    using F = FileListBox;
    DispatchTable<F> t;
    AddCommonMembers(t);
    AddListMembers(t);
    t.Property(
        "Path", [](F& c) { return Str(c.Path()); },
        [](F& c, const Variant& v) { c.SetPath(ToUtf8(v)); });
    t.Property(
        "Pattern", [](F& c) { return Str(c.Pattern()); },
        [](F& c, const Variant& v) { c.SetPattern(ToUtf8(v)); });
    t.Property(
        "FileName", [](F& c) { return Str(c.ListText()); },
        [](F& c, const Variant& v) { c.SelectEntry(ToUtf8(v)); });
    t.Function("Refresh", 0, 0, [](F& c, std::span<Variant>) {
      c.Refresh();
      return Variant();
    });
    t.Default("FileName");
    return t;
  }();
  return table;
}

}  // namespace sl::ui
