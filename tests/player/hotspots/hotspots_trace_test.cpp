// The storyloom program, headless, on the hotspot fixture: clicks on hotspots as a player makes
// them, read back from the `state` records of the trace.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "support/headless_run.h"

namespace {

using sl::test::Has;

std::vector<std::string> States(const sl::test::TempFolder& dir, const std::string& events) {
  sl::test::HeadlessRun run = sl::test::RunHeadless(dir, "hotspots_game", events);
  EXPECT_EQ(run.status, 0);
  return sl::test::Records(run.trace, "state");
}

TEST(HotspotsTrace, ClicksChangeVariablesDisappearedListAndFrames) {
  sl::test::TempFolder dir;
  auto states = States(dir,
                       "dump\n"
                       "click 25 20\n"   // the crate: disappears, toggles Lamp
                       "click 30 120\n"  // the lever: Key = 1, the door shows
                       "dump\n"
                       "click 130 60\n"  // the door: to the hall
                       "dump\n"
                       "click 20 20\n"  // previous frame
                       "dump\n");
  ASSERT_EQ(states.size(), 4u);
  EXPECT_TRUE(Has(states[0], "\"variables\":[[\"Key\",0],[\"Lamp\",0],[\"Lamp\",0]]"));
  EXPECT_TRUE(Has(states[0], "{\"n\":1,\"visible\":true,\"rect\":[12,12,36,26]}"));
  EXPECT_TRUE(Has(states[0], "{\"n\":2,\"visible\":false,"));
  EXPECT_TRUE(Has(states[1], "\"variables\":[[\"Key\",1],[\"Lamp\",1],[\"Lamp\",1]]"));
  EXPECT_TRUE(Has(states[1], "\"disappeared\":[[\"Room\",1]]"));
  EXPECT_TRUE(Has(states[1], "{\"n\":1,\"visible\":false,"));
  EXPECT_TRUE(Has(states[1], "{\"n\":2,\"visible\":true,"));
  EXPECT_TRUE(Has(states[2], "\"frame\":\"Hall\""));
  EXPECT_TRUE(Has(states[3], "\"frame\":\"Room\",\"history\":[\"Room\"]"));
  EXPECT_TRUE(Has(states[3], "{\"n\":1,\"visible\":false,"));  // gone for good
}

}  // namespace
