// Path rules for the files scripts name.
#include "player/scripting/script_files.h"

#include <filesystem>

#include "core/path_resolver.h"
#include "core/runtime_error.h"
#include "player/startup/project.h"

namespace sl {

namespace {

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

std::optional<std::string> ScriptFiles::Resolved(std::string_view name, FileAccess access) {
  PathResolver& paths = project_.Paths();
  std::optional<std::string> real = paths.ResolveForWrite(name);
  if (real && !HasDriveLetter(name) && Inside(*real)) return real;
  if (observer_) {
    std::string shown =
        HasDriveLetter(name) ? std::string(name) : real.value_or(paths.Normalize(name));
    observer_->FileRefused(access, shown);
  }
  return std::nullopt;
}

std::string ScriptFiles::Checked(std::string_view name, FileAccess access) {
  std::optional<std::string> real = Resolved(name, access);
  if (!real) throw RuntimeError(kErrPathFileAccess);
  return *real;
}

std::optional<std::string> ScriptFiles::ForReading(std::string_view name) {
  std::optional<std::string> real = Resolved(name, FileAccess::Read);
  if (!real || !project_.Paths().FileExists(*real)) return std::nullopt;
  return real;
}

}  // namespace sl
