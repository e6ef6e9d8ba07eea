// Loading a picture of the game's folders: the path goes through FindMediaFile (numbered
// extensions, other discs, the "file not found" warning) and the picture comes from the shared
// cache. Throws RuntimeError 53 when no file is there, or the decoder's error.
//
// API:
//   draw::Picture p = LoadMediaPicture(project, pictures, project.Folders().AreasFolder + "a.gif");
#pragma once

#include <string>

#include "ui/draw/picture.h"

namespace sl {

class Project;
namespace draw {
class PictureCache;
}

draw::Picture LoadMediaPicture(Project& project, draw::PictureCache& pictures,
                               const std::string& path);

}  // namespace sl
