// The resolution offer's caption: the lead-in of interface text 7 plus the target size.
#include "player/startup/title_window_caption.h"

#include <gtest/gtest.h>

namespace sl {
namespace {

TEST(ResolutionCaptionTest, ReducesATextThatNamesASizeToItsLeadIn) {
  EXPECT_EQ(ResolutionCaption("Change display resolution to 640 x 480.", 1),
            "Change display resolution to 800x600.");
  EXPECT_EQ(ResolutionCaption("Change display resolution to 640X480", 2),
            "Change display resolution to 1024x768.");
  EXPECT_EQ(ResolutionCaption("Auflösung ändern auf 640*480.", 0), "Auflösung ändern auf 640x480.");
  EXPECT_EQ(ResolutionCaption("Résolution 640 * 480", 7), "Résolution 640x480.");
}

TEST(ResolutionCaptionTest, KeepsOtherTextsAndShortOnes) {
  EXPECT_EQ(ResolutionCaption("Switch the screen", 1), "Switch the screen 800x600.");
  // Exactly "640x480" is not longer than the size, so it stays.
  EXPECT_EQ(ResolutionCaption("640x480", 0), "640x480 640x480.");
  EXPECT_EQ(ResolutionCaption(".", 0), ". 640x480.");
  EXPECT_EQ(ResolutionCaption("", 2), " 1024x768.");
  // Only one dot is dropped; the size must end the text.
  EXPECT_EQ(ResolutionCaption("Go 640x480..", 0), "Go 640x480. 640x480.");
}

}  // namespace
}  // namespace sl
