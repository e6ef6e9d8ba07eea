// The storyloom program, headless, on the texts fixture: text boxes and the message band as the
// `state` records of the trace show them, the message box of a message outside the game, and a
// screenshot of a frame with its text boxes and the band, compared with a reference picture
// (STORYLOOM_UPDATE_REFERENCES=1 writes it anew).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/headless_run.h"
#include "ui/draw/image_compare.h"
#include "ui/draw/png_io.h"

namespace {

namespace fs = std::filesystem;

using sl::test::Has;

std::vector<std::string> TraceOf(const sl::test::TempFolder& dir, const std::string& events) {
  sl::test::HeadlessRun run = sl::test::RunHeadless(dir, "texts_game", events, "--screen 640x480");
  EXPECT_EQ(run.status, 0);
  return run.trace;
}

std::vector<std::string> Only(const std::vector<std::string>& trace, const std::string& ev) {
  return sl::test::Records(trace, ev);
}

TEST(TextsTrace, DumpShowsTextBoxesAndTheBandAndMessageBoxesAreTraced) {
  sl::test::TempFolder dir;
  auto trace = TraceOf(dir,
                       "dump\n"
                       "click 40 170\n"  // "Dusty rug." in the band
                       "wait 500\n"
                       "dump\n"
                       "click 100 170\n"  // a message box, then to Empty
                       "dump\n"
                       "wait 1300\n"  // the band's 1700 ms are over
                       "dump\n"
                       "click 275 95\n"  // to Broken
                       "dump\n");
  auto states = Only(trace, "state");
  ASSERT_EQ(states.size(), 5u);
  EXPECT_TRUE(Has(states[0], R"("texts":[{"n":1,"text":"The Hall","visible":true},)"
                             R"({"n":2,"text":"Two lines\r\nof text","visible":true},)"));
  EXPECT_TRUE(Has(states[0], R"("message":null)"));
  EXPECT_TRUE(Has(states[1], R"("message":"Dusty rug.")"));
  // The message box waits for its answer before the frame changes.
  auto boxes = Only(trace, "msgbox");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(Has(boxes[0], R"("title":"FixtureTexts","text":"The door is locked.",)"
                            R"("icon":"information","buttons":"ok")"));
  auto box = std::find(trace.begin(), trace.end(), boxes[0]);
  auto frame = std::find_if(trace.begin(), trace.end(),
                            [](const std::string& l) { return Has(l, R"("name":"Empty")"); });
  EXPECT_LT(box, frame);
  // The band outlives the frame change until its time is up.
  EXPECT_TRUE(Has(states[2], R"("frame":"Empty")"));
  EXPECT_TRUE(Has(states[2], R"("texts":[],"message":"Dusty rug.")"));
  EXPECT_TRUE(Has(states[3], R"("message":null)"));
  EXPECT_TRUE(Has(states[4], R"({"n":2,"text":"Bad left","visible":false})"));
  EXPECT_TRUE(Has(states[4], R"({"n":6,"text":"Good six","visible":true})"));
}

TEST(TextsTrace, ScreenshotOfTextBoxesAndTheBandMatchesItsReference) {
  sl::test::TempFolder dir;
  TraceOf(dir, "click 160 225\nscreenshot " + dir / "band.png" + "\n");
  sl::draw::Surface shot = sl::draw::LoadPng(dir / "band.png");
  fs::path reference = fs::path(STORYLOOM_SOURCE_DIR) / "tests/player/texts/data/texts_band.png";
  const char* update = std::getenv("STORYLOOM_UPDATE_REFERENCES");
  if (update && *update == '1') sl::draw::SavePng(shot, reference);
  sl::draw::ReferenceCheck check =
      sl::draw::CompareWithReference(shot, reference, STORYLOOM_BINARY_DIR, {24, 0.01});
  EXPECT_TRUE(check.match) << check.message;
}

}  // namespace
