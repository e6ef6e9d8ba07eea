// The storyloom program, headless, on the hotspot fixture: clicks on hotspots as a player makes
// them, read back from the `state` records of the trace.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace {

std::vector<std::string> States(const sl::test::TempFolder& dir, const std::string& events) {
  std::string script = dir.Write("events.txt", events);
  std::string command = "'" STORYLOOM_BINARY_DIR "/src/app/storyloom' --headless --settings '" +
                        dir / "settings.ini" + "' --trace '" + dir / "trace.jsonl" +
                        "' --events '" + script +
                        "' '" STORYLOOM_TEST_PROJECTS "/hotspots_game' 2>/dev/null";
  int raw = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0);
  std::ifstream in(dir / "trace.jsonl");
  std::vector<std::string> states;
  for (std::string line; std::getline(in, line);) {
    if (line.find("\"ev\":\"state\"") != std::string::npos) states.push_back(line);
  }
  return states;
}

bool Has(const std::string& line, const std::string& part) {
  return line.find(part) != std::string::npos;
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
