// Pictures of the game's folders through FindMediaFile and the picture cache.
#include "player/startup/media_picture.h"

#include <optional>

#include "core/path_resolver.h"
#include "core/runtime_error.h"
#include "player/startup/project.h"
#include "ui/draw/picture_cache.h"

namespace sl {

draw::Picture LoadMediaPicture(Project& project, draw::PictureCache& pictures,
                               const std::string& path) {
  std::optional<std::string> real = project.Paths().Find(project.FindMediaFile(path));
  if (!real) throw RuntimeError(kErrFileNotFound);
  return pictures.Load(*real);
}

}  // namespace sl
