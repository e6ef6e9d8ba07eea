// Where the screenshot key puts its pictures: `$XDG_PICTURES_DIR/storyloom/`, the pictures
// folder named in the user's `user-dirs.dirs`, else `~/Pictures/storyloom/`; each file named
// after the moment it was taken, never overwriting an earlier one.
//
// API:
//   std::filesystem::path dir = ScreenshotFolder(getenv);   // empty when there is no home
//   std::filesystem::path file = NewScreenshotPath(dir, clock.Now());
//   // dir / "storyloom-2026-12-09-044500.png" (or "...-2.png" when that exists)
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "core/date_time.h"

namespace sl::sdl {

// Reads an environment variable; nullptr when it is not set.
using EnvironmentReader = std::function<const char*(const char*)>;

std::filesystem::path ScreenshotFolder(const EnvironmentReader& env);

// The pictures folder a `user-dirs.dirs` text names (`XDG_PICTURES_DIR="$HOME/Pictures"`), with
// `$HOME` replaced by `home`; empty when it names none or names the home folder itself.
std::string PicturesDirFromUserDirs(const std::string& text, const std::string& home);

std::filesystem::path NewScreenshotPath(const std::filesystem::path& folder, const CivilTime& now);

}  // namespace sl::sdl
