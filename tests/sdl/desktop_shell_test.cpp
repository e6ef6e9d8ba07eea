// Starting programs and handing targets to the desktop without waiting for them.
#include "backend/sdl/desktop_shell.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "support/temp_folder.h"

namespace sl::sdl {
namespace {

std::string Script(test::TempFolder& dir, const std::string& name, const std::string& body) {
  dir.Write(name, "#!/bin/sh\n" + body + "\n");
  std::string path = dir / name;
  chmod(path.c_str(), 0755);
  return path;
}

// Polls until the program ends (a test helper; the platform itself never waits).
void AwaitEnd(ui::ChildProcess& child) {
  for (int i = 0; i < 500 && child.Running(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

TEST(StartProgram, RunsAndReportsTheExitCode) {
  test::TempFolder dir;
  DesktopShell shell;
  auto child = shell.StartProgram(Script(dir, "three.sh", "exit 3"));
  ASSERT_NE(child, nullptr);
  AwaitEnd(*child);
  EXPECT_FALSE(child->Running());
  EXPECT_EQ(child->ExitCode(), 3);
}

TEST(StartProgram, RunningNeverBlocks) {
  test::TempFolder dir;
  std::string marker = dir / "done";
  DesktopShell shell;
  auto child = shell.StartProgram(Script(dir, "slow.sh", "sleep 0.3; touch '" + marker + "'"));
  ASSERT_NE(child, nullptr);
  EXPECT_TRUE(child->Running());  // answered at once, while the program sleeps
  AwaitEnd(*child);
  EXPECT_FALSE(child->Running());
  EXPECT_TRUE(std::filesystem::exists(marker));
}

TEST(StartProgram, FailsForMissingOrNonExecutableFiles) {
  test::TempFolder dir;
  DesktopShell shell;
  EXPECT_EQ(shell.StartProgram(dir / "missing"), nullptr);
  dir.Write("data.txt", "not a program");
  EXPECT_EQ(shell.StartProgram(dir / "data.txt"), nullptr);
  EXPECT_EQ(shell.StartProgram(""), nullptr);
}

TEST(StartProgram, ChildrenNobodyWatchesAreReaped) {
  test::TempFolder dir;
  DesktopShell shell;
  {
    auto child = shell.StartProgram(Script(dir, "quick.sh", "exit 0"));
    ASSERT_NE(child, nullptr);
  }  // dropped while (probably) still running: the shell adopts it
  for (int i = 0; i < 500 && shell.Pending() > 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    shell.Reap();
  }
  EXPECT_EQ(shell.Pending(), 0u);
  // No zombie is left: there is no child of this process to wait for any more.
  int status = 0;
  EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1);
}

TEST(StartProgram, TheEndIsToldAtOnceAndAGoneChildIsNoLongerWatched) {
  test::TempFolder dir;
  DesktopShell shell;
  std::atomic<int> ended{0};
  shell.SetEndNotifier([&] { ++ended; });
  auto start = std::chrono::steady_clock::now();
  auto child = shell.StartProgram(Script(dir, "short.sh", "sleep 0.2"));
  ASSERT_NE(child, nullptr);
  while (ended == 0 && std::chrono::steady_clock::now() - start < std::chrono::seconds(5))
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(ended, 1);
  EXPECT_FALSE(child->Running());
  EXPECT_EQ(child->ExitCode(), 0);
  // A program still running when its handle goes is no longer watched: nothing is told.
  auto slow = shell.StartProgram(Script(dir, "slow.sh", "sleep 0.3"));
  slow.reset();
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(ended, 1);
}

TEST(ShellOpen, HandsTheTargetToTheOpener) {
  test::TempFolder dir;
  std::string out = dir / "opened";
  DesktopShell shell;
  shell.SetOpener(Script(dir, "opener.sh", "printf '%s|' \"$1\" >> '" + out + "'"));
  EXPECT_TRUE(shell.Open("open", "https://example.org/a b"));
  EXPECT_TRUE(shell.Open("", "-rf"));  // an option-like target is made a path
  std::string text;
  for (int i = 0; i < 500 && text.size() < 30; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    text = dir.Read("opened");
  }
  EXPECT_NE(text.find("https://example.org/a b|"), std::string::npos) << text;
  EXPECT_NE(text.find("./-rf|"), std::string::npos) << text;
}

TEST(ShellOpen, ReportsFailure) {
  DesktopShell shell;
  shell.SetOpener("/nonexistent/opener");
  EXPECT_FALSE(shell.Open("open", "https://example.org/"));
  shell.SetOpener("true");
  EXPECT_FALSE(shell.Open("print", "file.txt"));  // verbs the desktop has no opener for
  EXPECT_FALSE(shell.Open("open", ""));
  EXPECT_TRUE(shell.Open("open", "file.txt"));
}

}  // namespace
}  // namespace sl::sdl
