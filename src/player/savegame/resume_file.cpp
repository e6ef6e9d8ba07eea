// Looking up the resume frame of a loaded game.
#include "player/savegame/resume_file.h"

#include "core/case_fold.h"
#include "core/data_file_reader.h"
#include "core/path_resolver.h"
#include "core/runtime_error.h"

namespace sl {

namespace {

constexpr int kHeaderFields = 6;

}  // namespace

std::string GetResumeLocation(PathResolver& paths, const std::string& configFolder,
                              const std::string& sFrameName) {
  const std::string file = configFolder + "Resume";
  if (sFrameName.empty() || !paths.FileExists(file)) return sFrameName;
  try {
    DataFileReader reader(paths.ReadFile(file));
    reader.Skip(kHeaderFields);
    std::string result = sFrameName;
    while (!reader.Eof()) {
      std::string savedIn = reader.ReadString();
      std::string resumeIn = reader.ReadString();
      if (!resumeIn.empty() && EqualsIgnoreCase(savedIn, sFrameName)) result = std::move(resumeIn);
    }
    return result;
  } catch (const RuntimeError&) {
    // A file that ends inside a pair (or cannot be read) redirects nothing.
    return sFrameName;
  }
}

}  // namespace sl
