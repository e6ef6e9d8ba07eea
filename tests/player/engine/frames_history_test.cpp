// The visited-frames list: no repeats in a row, at most 20 names, going back.
#include "player/engine/frames_history.h"

#include <gtest/gtest.h>

namespace sl {
namespace {

TEST(FramesHistoryTest, SameNameTwiceInARowIsStoredOnce) {
  FramesHistory h;
  h.FramesHistoryAdd("Hall");
  h.FramesHistoryAdd("Hall");
  h.FramesHistoryAdd("hall");  // case matters
  h.FramesHistoryAdd("Hall");
  EXPECT_EQ(h.Names(), (std::vector<std::string>{"Hall", "hall", "Hall"}));
}

TEST(FramesHistoryTest, TwentyOneFramesKeepTheLastTwenty) {
  FramesHistory h;
  for (int i = 1; i <= 21; ++i)
    h.FramesHistoryAdd("F" + std::to_string(i));
  ASSERT_EQ(h.Count(), 20u);
  EXPECT_EQ(h.Names().front(), "F2");
  EXPECT_EQ(h.Names().back(), "F21");
}

TEST(FramesHistoryTest, GoingBackTwiceGoesBackTwoFrames) {
  FramesHistory h;
  h.FramesHistoryAdd("A");
  h.FramesHistoryAdd("B");
  h.FramesHistoryAdd("C");
  EXPECT_EQ(h.GoBack(), "B");
  EXPECT_EQ(h.GoBack(), "A");
  EXPECT_EQ(h.GoBack(), "");  // only the current frame left: nothing happens
  EXPECT_EQ(h.Names(), (std::vector<std::string>{"A"}));
}

}  // namespace
}  // namespace sl
