// The project's `Resume` file (in its Config folder): where a loaded game resumes. Six header
// fields, then pairs of frame names: a game saved in the first frame of a pair resumes in the
// second. Names are compared without regard to letter case; a later pair overrides an earlier
// one.
//
// API:
//   std::string frame = GetResumeLocation(paths, folders.ConfigFolder, "Cellar");
#pragma once

#include <string>

namespace sl {

class PathResolver;

// The frame at which a game saved in `sFrameName` resumes: `sFrameName` itself when the file is
// missing, names no pair for it, or cannot be read to its end.
std::string GetResumeLocation(PathResolver& paths, const std::string& configFolder,
                              const std::string& sFrameName);

}  // namespace sl
