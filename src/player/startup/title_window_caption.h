// The caption of the title window's resolution offer: the interface text's lead-in (a
// translation may still end in "640x480" or "640 x 480", with or without a dot) followed by the
// project's target size.
//
// API:
//   ResolutionCaption("Change display resolution to 640 x 480.", 1)
//     -> "Change display resolution to 800x600."
#pragma once

#include <string>
#include <string_view>

namespace sl {

std::string ResolutionCaption(std::string_view text, int targetResolution);

}  // namespace sl
