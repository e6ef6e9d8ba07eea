// The Screen and App objects as scripts see them. Screen: the virtual display's size in twips,
// the screen-wide pointer and its custom cursor, the active form. App: where the program lives,
// its title, executable name and version.
#pragma once

#include <string>

#include "core/object.h"

namespace sl::ui {

class WindowManager;

class ScreenObject final : public Object {
 public:
  explicit ScreenObject(WindowManager& manager) : manager_(manager) {}
  WindowManager& Manager() const { return manager_; }

  std::string TypeName() const override { return "Screen"; }
  DispId GetIdOfName(std::string_view name) override;
  Variant Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) override;

 private:
  WindowManager& manager_;
};

struct AppInfo {
  std::string path;     // the folder of the program (no trailing separator)
  std::string title;    // the application title
  std::string exeName;  // the executable's name without extension
  int major = 0;
  int minor = 0;
  int revision = 0;
};

class AppObject final : public Object {
 public:
  explicit AppObject(AppInfo info) : info_(std::move(info)) {}
  AppInfo& Info() { return info_; }

  std::string TypeName() const override { return "App"; }
  DispId GetIdOfName(std::string_view name) override;
  Variant Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) override;

 private:
  AppInfo info_;
};

}  // namespace sl::ui
