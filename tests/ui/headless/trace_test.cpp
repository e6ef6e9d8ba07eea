// The trace: one flushed JSON line a record, escaping, path relativisation and record fields.
#include "backend/headless/trace.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

#include "support/temp_folder.h"

namespace sl {
namespace {

class TraceTest : public ::testing::Test {
 protected:
  std::string Lines() const { return out_.str(); }

  VirtualClock clock_{CivilTime{2004, 3, 7, 12, 0, 0, 0}};
  std::ostringstream out_;
};

TEST(JsonValue, EscapesStringsAndKeepsUtf8Valid) {
  std::string out;
  AppendJsonString(out, "a\"b\\c\nd\re\tf\x01g\x1fh\x7f/é€😀");
  EXPECT_EQ(out, "\"a\\\"b\\\\c\\nd\\re\\tf\\u0001g\\u001fh\x7f/é€😀\"");
  out.clear();
  // A lone continuation byte, a cut sequence, an overlong form and an encoded surrogate.
  AppendJsonString(out, "x\x80y\xC3z\xC0\xAF\xED\xA0\x80");
  EXPECT_EQ(out,
            "\"x\xEF\xBF\xBDy\xEF\xBF\xBDz\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"
            "\xEF\xBF\xBD\"");
}

TEST(JsonValue, WritesNestedValuesInOrder) {
  JsonValue v = JsonObject{{"z", 1},
                           {"a", JsonArray{true, nullptr, 2.5, "s", std::int64_t{-7}}},
                           {"o", JsonObject{}},
                           {"nan", std::numeric_limits<double>::quiet_NaN()}};
  EXPECT_EQ(v.ToString(), R"({"z":1,"a":[true,null,2.5,"s",-7],"o":{},"nan":null})");
}

TEST_F(TraceTest, RecordsStartWithTimeAndKind) {
  Trace trace(out_, clock_);
  trace.Window("frmWelcome", true);
  clock_.Advance(1234);
  trace.Window("frmWelcome", false);
  trace.Display(1024, 768);
  trace.Exit(0);
  EXPECT_EQ(Lines(),
            "{\"t\":0,\"ev\":\"window\",\"name\":\"frmWelcome\",\"shown\":true}\n"
            "{\"t\":1234,\"ev\":\"window\",\"name\":\"frmWelcome\",\"shown\":false}\n"
            "{\"t\":1234,\"ev\":\"display\",\"width\":1024,\"height\":768}\n"
            "{\"t\":1234,\"ev\":\"exit\",\"code\":0}\n");
}

TEST_F(TraceTest, MessageAndInputBoxes) {
  Trace trace(out_, clock_);
  MessageBoxRequest box{"Save", "Line 1\r\nSay \"yes\"", MsgButtons::YesNoCancel, MsgIcon::Question,
                        0};
  trace.MsgBox(box, MsgAnswer::No, false);
  trace.MsgBox(box, MsgAnswer::Yes, true);
  trace.InputBox("Name", "Your name?", "Bob", std::string("Alice"), false);
  trace.InputBox("Name", "Your name?", "Bob", std::nullopt, false);
  trace.InputBox("Name", "Your name?", "Bob", std::nullopt, true);
  EXPECT_EQ(
      Lines(),
      R"({"t":0,"ev":"msgbox","title":"Save","text":"Line 1\r\nSay \"yes\"","icon":"question","buttons":"yesnocancel","answer":"no","button":"no"})"
      "\n"
      R"({"t":0,"ev":"msgbox","title":"Save","text":"Line 1\r\nSay \"yes\"","icon":"question","buttons":"yesnocancel","answer":"default","button":"yes"})"
      "\n"
      R"({"t":0,"ev":"inputbox","title":"Name","prompt":"Your name?","default":"Bob","answer":"Alice"})"
      "\n"
      R"({"t":0,"ev":"inputbox","title":"Name","prompt":"Your name?","default":"Bob","answer":null})"
      "\n"
      R"({"t":0,"ev":"inputbox","title":"Name","prompt":"Your name?","default":"Bob","answer":"default","button":"cancel"})"
      "\n");
}

TEST_F(TraceTest, PathsInsideTheProjectAreRelative) {
  test::TempFolder dir;
  auto root = std::filesystem::path(dir.Path());
  std::filesystem::create_directories(root / "game" / "Saves");
  Trace trace(out_, clock_, root / "game");
  EXPECT_EQ(trace.PathText(root / "game" / "Saves" / "one.sav"), "Saves/one.sav");
  EXPECT_EQ(trace.PathText(root / "game" / "Saves" / ".." / "x.ini"), "x.ini");
  EXPECT_EQ(trace.PathText(root / "game" / "New" / "none.wav"), "New/none.wav");
  // A sibling folder whose name starts with the project's name is outside it.
  EXPECT_EQ(trace.PathText(root / "game2" / "a.txt"), (root / "game2" / "a.txt").generic_string());
  EXPECT_EQ(trace.PathText("/etc/hosts"), "/etc/hosts");
  Trace slash(out_, clock_, (root / "game").string() + "/");
  EXPECT_EQ(slash.PathText(root / "game" / "a.txt"), "a.txt");

  trace.File(FileOp::Write, root / "game" / "Saves" / "one.sav");
  trace.File(FileOp::Delete, "/tmp/elsewhere.tmp");
  trace.Shell("open", "https://example.org/?a=1");
  trace.Shell("open", (root / "game" / "Docs" / "help.html").string());
  trace.SoundPlay(2, root / "game" / "Sounds" / "door.wav", 1, -500);
  trace.Video(VideoOp::Start, root / "game" / "intro.avi", VideoTarget::CutSceneArea, true,
              {0, 0, 640, 480}, 2.5);
  trace.Video(VideoOp::End, root / "game" / "intro.avi", VideoTarget::PictureBox, false,
              {0, 0, 160, 120}, 2.5);
  EXPECT_EQ(
      Lines(),
      R"({"t":0,"ev":"file","op":"write","path":"Saves/one.sav"})"
      "\n"
      R"({"t":0,"ev":"file","op":"delete","path":"/tmp/elsewhere.tmp"})"
      "\n"
      R"({"t":0,"ev":"shell","verb":"open","target":"https://example.org/?a=1"})"
      "\n"
      R"({"t":0,"ev":"shell","verb":"open","target":"Docs/help.html"})"
      "\n"
      R"({"t":0,"ev":"sound","player":2,"op":"play","file":"Sounds/door.wav","count":1,"volume":-500})"
      "\n"
      R"({"t":0,"ev":"video","op":"start","file":"intro.avi","target":"CutSceneArea","stretched":true,"rect":[0,0,640,480],"duration":2.5})"
      "\n"
      R"({"t":0,"ev":"video","op":"end","file":"intro.avi","target":"PictureBox","stretched":false,"rect":[0,0,160,120],"duration":2.5})"
      "\n");
}

TEST_F(TraceTest, OtherRecordKinds) {
  Trace trace(out_, clock_);
  trace.Frame("Kitchen");
  trace.SoundStop(7);
  trace.SoundVolume(1, -1200);
  trace.Mci("play video from 0");
  trace.Transition(4, 1.5, 0);
  trace.TransitionEnd(4, 1.5, 0, 1500, false);
  trace.Setting("Options", "Music", "On");
  EXPECT_EQ(
      Lines(),
      R"({"t":0,"ev":"frame","name":"Kitchen"})"
      "\n"
      R"({"t":0,"ev":"sound","player":7,"op":"stop"})"
      "\n"
      R"({"t":0,"ev":"sound","player":1,"op":"volume","volume":-1200})"
      "\n"
      R"({"t":0,"ev":"mci","cmd":"play video from 0"})"
      "\n"
      R"({"t":0,"ev":"transition","number":4,"duration":1.5,"op":"start","start":0})"
      "\n"
      R"({"t":0,"ev":"transition","number":4,"duration":1.5,"op":"end","start":0,"end":1500,"interrupted":false})"
      "\n"
      R"({"t":0,"ev":"setting","section":"Options","key":"Music","value":"On"})"
      "\n");
}

TEST_F(TraceTest, StateComesFromTheProviders) {
  Trace trace(out_, clock_);
  trace.State();
  trace.SetWindowsProvider([] { return JsonArray{"Game", "frmWelcome"}; });
  trace.State();
  trace.SetStateProvider([] { return JsonObject{{"frame", "Hall"}, {"history", JsonArray{}}}; });
  trace.State();
  trace.SetStateProvider([] { return JsonObject{{"windows", JsonArray{"X"}}}; });
  trace.State();
  EXPECT_EQ(Lines(),
            R"({"t":0,"ev":"state"})"
            "\n"
            R"({"t":0,"ev":"state","windows":["Game","frmWelcome"]})"
            "\n"
            R"({"t":0,"ev":"state","frame":"Hall","history":[],"windows":["Game","frmWelcome"]})"
            "\n"
            R"({"t":0,"ev":"state","windows":["X"]})"
            "\n");
}

TEST(TraceFile, LinesAreOnDiskAsSoonAsTheyAreWritten) {
  VirtualClock clock{CivilTime{2004, 3, 7, 12, 0, 0, 0}};
  test::TempFolder dir;
  auto file = std::filesystem::path(dir / "trace.jsonl");
  auto trace = Trace::Open(file.string(), &clock);
  trace->Frame("A");
  std::ifstream in(file);
  std::string line;
  ASSERT_TRUE(std::getline(in, line));
  EXPECT_EQ(line, R"({"t":0,"ev":"frame","name":"A"})");
  trace.reset();
  EXPECT_THROW(Trace::Open("/nonexistent-dir/x/trace.jsonl", &clock), std::runtime_error);
}

TEST(TraceDisabled, AcceptsEverythingAndWritesNothing) {
  Trace trace;
  bool asked = false;
  trace.SetStateProvider([&] {
    asked = true;
    return JsonObject{};
  });
  trace.Exit(0);
  trace.State();
  EXPECT_FALSE(trace.Enabled());
  EXPECT_FALSE(asked);
}

}  // namespace
}  // namespace sl
