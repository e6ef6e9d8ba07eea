// FileListBox: the names of the files in a folder (Path) that match a pattern ("*.sav"; several
// separated by ";"), sorted without regard to letter case, read again by Refresh or when Path or
// Pattern changes. Wildcards * and ? match without regard to letter case. With the window
// manager's path resolver, Path may be written as on Windows (any letter case, '\').
#pragma once

#include <filesystem>

#include "core/dispatch_table.h"
#include "ui/control.h"
#include "ui/controls/list_items.h"
#include "ui/draw/font.h"

namespace sl::ui {

class FileListBox final : public ControlBase<FileListBox> {
 public:
  FileListBox(Form* form, std::string name);

  const std::string& Path() const { return path_; }
  // RuntimeError 76 "Path not found" when the folder does not exist.
  void SetPath(std::string path);
  const std::string& Pattern() const { return pattern_; }
  void SetPattern(std::string pattern);
  void Refresh();
  ListItems& Items() { return items_; }
  void SetListIndex(int n);
  std::string ListText() const;

  bool CanFocus() const override { return true; }
  bool ClicksOnRelease() const override { return false; }
  void BuiltinMouse(InputKind kind, int button, draw::Point at) override;
  bool SelectEntry(const std::string& text) override;
  void Paint(draw::Surface& target, draw::Point origin) override;
  static const DispatchTable<FileListBox>& Members();

 protected:
  void CopyPropertiesFrom(const Control& source) override;

 private:
  ListItems items_;
  std::string path_;
  std::string pattern_ = "*.*";
  draw::FontSpec font_;
};

}  // namespace sl::ui
