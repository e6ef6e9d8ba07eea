// Whole-file reads of special and oversized files, and all-or-nothing writes through links, after
// killed writes and when a write fails.
#include "core/file_io.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "core/settings_store.h"
#include "support/error_number.h"
#include "support/temp_folder.h"

namespace sl {
namespace {

using test::ErrorNumberOf;
using test::TempFolder;

// Runs `f` in a child process and gives its exit status, or -1 when it had not ended after
// `seconds` (it is then killed): a call that blocks for ever fails the test instead of hanging it.
template <class F>
int StatusWithin(int seconds, F&& f) {
  pid_t child = fork();
  if (child == 0) _exit(f());
  for (int waited = 0; waited < seconds * 100; ++waited) {
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == child)
      return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  return -1;
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ReadWholeFileTest, PipesAndDevicesAreRefusedAtOnce) {
  TempFolder dir;
  std::string pipe = dir / "Texts";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(StatusWithin(5, [&] { return ErrorNumberOf([&] { ReadWholeFile(pipe); }); }), 75);
  EXPECT_EQ(StatusWithin(5, [&] { return ErrorNumberOf([&] { ReadWholeFile("/dev/zero"); }); }),
            75);
  EXPECT_EQ(ErrorNumberOf([&] { ReadWholeFile(dir.Path()); }), 75);
  EXPECT_EQ(ErrorNumberOf([&] { ReadWholeFile(dir / "missing"); }), 53);
}

TEST(ReadWholeFileTest, DataFilesHaveASizeLimit) {
  TempFolder dir;
  std::string big = dir / "big";
  { std::ofstream create(big); }
  ASSERT_EQ(truncate(big.c_str(), static_cast<off_t>(kMaxDataFileBytes) + 1), 0);  // sparse
  EXPECT_EQ(ErrorNumberOf([&] { ReadWholeFile(big); }), 7);
  ASSERT_EQ(truncate(big.c_str(), 1000), 0);
  EXPECT_EQ(ReadWholeFile(big), std::string(1000, '\0'));
  EXPECT_EQ(ErrorNumberOf([&] { ReadWholeFile(big, 999); }), 7);
}

TEST(WriteFileAtomicallyTest, WritesThroughALinkAndKeepsIt) {
  TempFolder dir;
  dir.Write("real/settings.ini", "old");
  ASSERT_EQ(symlink("real/settings.ini", (dir / "settings.ini").c_str()), 0);
  ASSERT_EQ(chmod((dir / "real/settings.ini").c_str(), 0600), 0);
  ASSERT_TRUE(WriteFileAtomically(dir / "settings.ini", "new"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "settings.ini"));
  EXPECT_EQ(dir.Read("real/settings.ini"), "new");
  struct stat st {};
  ASSERT_EQ(stat((dir / "real/settings.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);  // the file keeps its permissions
  EXPECT_EQ(FilesIn(dir / "real"), std::vector<std::string>{"settings.ini"});
  // A link to a file not there yet creates it.
  ASSERT_EQ(symlink("real/later.ini", (dir / "later.ini").c_str()), 0);
  ASSERT_TRUE(WriteFileAtomically(dir / "later.ini", "x"));
  EXPECT_EQ(dir.Read("real/later.ini"), "x");
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "later.ini"));
}

TEST(WriteFileAtomicallyTest, TemporariesOfKilledWritesAreRemoved) {
  TempFolder dir;
  dir.Write("settings.ini", "[A]\r\nk=v\r\n");
  dir.Write(".settings.ini.Ab12Cd", std::string(1 << 20, 'x'));
  dir.Write(".settings.ini.zz99ZZ", std::string(1 << 20, 'x'));
  dir.Write(".settings.ini.keep", "not a temporary");
  dir.Write(".other.ini.Ab12Cd", "another file's");
  // One that a write in progress holds stays.
  dir.Write(".settings.ini.Held00", "busy");
  int held = open((dir / ".settings.ini.Held00").c_str(), O_RDONLY);
  ASSERT_EQ(flock(held, LOCK_EX), 0);
  SettingsStore store(dir / "settings.ini");
  EXPECT_EQ(FilesIn(dir.Path()),
            (std::vector<std::string>{".other.ini.Ab12Cd", ".settings.ini.Held00",
                                      ".settings.ini.keep", "settings.ini"}));
  EXPECT_EQ(store.Get("A", "k"), "v");
  close(held);
}

TEST(WriteFileAtomicallyTest, AFailedWriteReportsItAndLeavesTheOldFileAsItWas) {
  TempFolder dir;
  dir.Write("settings.ini", "[Game]\r\nValue=old\r\n");
  ASSERT_EQ(chmod((dir / "settings.ini").c_str(), 0640), 0);
  // In a child whose files may not grow past 4 KB, writing 1 MB fails part way (EFBIG): the
  // folder then holds a partly written temporary that must not replace the file.
  int status = StatusWithin(30, [&] {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{4096, 4096};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
    return WriteFileAtomically(dir / "settings.ini", std::string(1 << 20, 'n')) ? 1 : 0;
  });
  EXPECT_EQ(status, 0) << "1: the write was reported as done, 2: no size limit";
  EXPECT_EQ(dir.Read("settings.ini"), "[Game]\r\nValue=old\r\n");
  struct stat st {};
  ASSERT_EQ(stat((dir / "settings.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"settings.ini"});
  // A write that fits still goes through afterwards.
  ASSERT_TRUE(WriteFileAtomically(dir / "settings.ini", "new"));
  EXPECT_EQ(dir.Read("settings.ini"), "new");
}

TEST(WriteFileAtomicallyTest, KillsDuringWritesLoseNothingAndLeaveNothing) {
  TempFolder dir;
  std::string file = dir / "settings.ini";
  std::string value(200000, 'v');
  ASSERT_TRUE(SettingsStore(file).Save("Game", "Value", value + "0"));
  for (int round = 0; round < 40; ++round) {
    pid_t child = fork();
    if (child == 0) {
      SettingsStore store(file);
      for (int i = 0;; ++i)
        store.Save("Game", "Value", value + std::to_string(i % 10));
    }
    // Long enough for the child to be writing, at a point that differs from round to round.
    std::this_thread::sleep_for(std::chrono::microseconds(5000 + 2997 * (round % 9)));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
  }
  SettingsStore store(file);
  std::string read = store.Get("Game", "Value");
  EXPECT_EQ(read.substr(0, value.size()), value);
  EXPECT_EQ(read.size(), value.size() + 1);
  EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"settings.ini"});
}

}  // namespace
}  // namespace sl
