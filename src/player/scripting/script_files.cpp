// Path rules for the files scripts name.
#include "player/scripting/script_files.h"

#include <filesystem>

#include "core/path_resolver.h"
#include "core/runtime_error.h"
#include "player/startup/project.h"

namespace sl {

namespace {

constexpr int kPathFileAccessError = 75;

bool HasDriveLetter(std::string_view name) {
  return name.size() >= 2 && name[1] == ':' &&
         ((name[0] >= 'a' && name[0] <= 'z') || (name[0] >= 'A' && name[0] <= 'Z'));
}

bool IsWithin(const std::filesystem::path& path, const std::filesystem::path& folder) {
  auto p = path.begin();
  for (auto f = folder.begin(); f != folder.end(); ++f, ++p) {
    if (f->empty()) continue;  // a trailing separator
    if (p == path.end() || *p != *f) return false;
  }
  return true;
}

}  // namespace

bool ScriptFiles::Inside(const std::string& realPath) const {
  std::error_code ec;
  std::filesystem::path folder =
      std::filesystem::weakly_canonical(project_.Paths().ProjectFolder(), ec);
  if (ec) return false;
  std::filesystem::path path = std::filesystem::weakly_canonical(realPath, ec);
  if (ec) return false;
  return IsWithin(path, folder);
}

bool ScriptFiles::Allowed(std::string_view name, const std::string& realPath, FileAccess access) {
  if (!HasDriveLetter(name) && Inside(realPath)) return true;
  if (observer_)
    observer_->FileRefused(access, HasDriveLetter(name) ? std::string(name) : realPath);
  return false;
}

std::string ScriptFiles::Checked(std::string_view name, FileAccess access) {
  std::string real = project_.Paths().ResolveForWrite(name);
  if (!Allowed(name, real, access)) throw RuntimeError(kPathFileAccessError);
  return real;
}

std::optional<std::string> ScriptFiles::ForReading(std::string_view name) {
  std::string real = project_.Paths().ResolveForWrite(name);
  if (!Allowed(name, real, FileAccess::Read) || !project_.Paths().FileExists(real))
    return std::nullopt;
  return real;
}

}  // namespace sl
