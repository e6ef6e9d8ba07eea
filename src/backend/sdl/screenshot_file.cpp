// Screenshot folder and file names.
#include "backend/sdl/screenshot_file.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <system_error>

namespace sl::sdl {

namespace {

constexpr const char* kSubfolder = "storyloom";
constexpr const char* kPicturesKey = "XDG_PICTURES_DIR=";
constexpr int kMaxSameSecond = 1000;  // files taken within one second before giving up

bool Absolute(const char* path) {
  return path && path[0] == '/';
}

}  // namespace

std::string PicturesDirFromUserDirs(const std::string& text, const std::string& home) {
  std::istringstream lines(text);
  std::string line;
  std::string found;
  while (std::getline(lines, line)) {
    std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, 17, kPicturesKey) != 0) continue;
    std::string value = line.substr(start + 17);
    while (!value.empty() && (value.back() == '\r' || value.back() == ' '))
      value.pop_back();
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') continue;
    value = value.substr(1, value.size() - 2);
    // The file allows only an absolute path or one relative to $HOME.
    if (value.rfind("$HOME", 0) == 0) {
      if (home.empty()) continue;
      value = home + value.substr(5);
    } else if (value.empty() || value.front() != '/') {
      continue;
    }
    found = value;
  }
  // A pictures folder set to the home folder means "none" to the desktop.
  while (found.size() > 1 && found.back() == '/')
    found.pop_back();
  std::string plainHome = home;
  while (plainHome.size() > 1 && plainHome.back() == '/')
    plainHome.pop_back();
  return found == plainHome ? std::string() : found;
}

std::filesystem::path ScreenshotFolder(const EnvironmentReader& env) {
  if (const char* pictures = env("XDG_PICTURES_DIR"); Absolute(pictures))
    return std::filesystem::path(pictures) / kSubfolder;
  const char* homeVar = env("HOME");
  std::string home = Absolute(homeVar) ? homeVar : "";
  std::filesystem::path config;
  if (const char* xdg = env("XDG_CONFIG_HOME"); Absolute(xdg)) {
    config = xdg;
  } else if (!home.empty()) {
    config = std::filesystem::path(home) / ".config";
  }
  if (!config.empty()) {
    std::ifstream in(config / "user-dirs.dirs");
    std::ostringstream text;
    text << in.rdbuf();
    std::string named = PicturesDirFromUserDirs(text.str(), home);
    if (!named.empty()) return std::filesystem::path(named) / kSubfolder;
  }
  if (home.empty()) return {};
  return std::filesystem::path(home) / "Pictures" / kSubfolder;
}

std::filesystem::path NewScreenshotPath(const std::filesystem::path& folder, const CivilTime& now) {
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "storyloom-%04d-%02d-%02d-%02d%02d%02d", now.year, now.month,
                now.day, now.hour, now.minute, now.second);
  std::filesystem::path path = folder / (std::string(stamp) + ".png");
  std::error_code ec;
  for (int n = 2; std::filesystem::exists(path, ec) && n <= kMaxSameSecond; ++n)
    path = folder / (std::string(stamp) + "-" + std::to_string(n) + ".png");
  return path;
}

}  // namespace sl::sdl
