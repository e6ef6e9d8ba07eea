// The four stored logo pictures of the title window (`imgLogos(0…3)`): a small woven badge in
// a light (style 0) or dark (style 1) version, sized for the narrow (placement off) or wide
// (placement on) corner of the window where the logo shows. Drawn in code, no files needed.
#pragma once

#include "ui/draw/picture.h"

namespace sl {

// k = 0 (light, narrow), 1 (dark, narrow), 2 (light, wide), 3 (dark, wide).
draw::Picture MakeTitleLogo(int k);

}  // namespace sl
