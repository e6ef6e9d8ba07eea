#include "core/ini_file.h"

#include <gtest/gtest.h>

#include "core/path_resolver.h"
#include "core/settings_store.h"
#include "support/temp_folder.h"

namespace sl {
namespace {

TEST(IniDocumentTest, ClassicLookupRules) {
  IniDocument doc(
      "; comment\r\n"
      "top=outside\r\n"
      "[General]\r\n"
      "  ScriptTimeOut =  30  \r\n"
      "Quoted=\"  spaced  \"\r\n"
      "Single='x'\r\n"
      "Half=\"open\r\n"
      "scripttimeout=second\r\n"
      "[ general ]\r\n"
      "Other=1\r\n"
      "[Next]\n"
      "Empty=\n");
  EXPECT_EQ(doc.Get("general", "SCRIPTTIMEOUT"), "30");  // first match wins
  EXPECT_EQ(doc.Get("General", "Quoted"), "  spaced  ");
  EXPECT_EQ(doc.Get("General", "Single"), "x");
  EXPECT_EQ(doc.Get("General", "Half"), "\"open");
  EXPECT_FALSE(doc.Get("General", "Other"));  // only the first section counts
  EXPECT_EQ(doc.Get("next", "empty"), "");
  EXPECT_FALSE(doc.Get("General", "top"));
  EXPECT_EQ(doc.GetString("Missing", "x", "dflt"), "dflt");
}

TEST(IniDocumentTest, WritingKeepsOtherLines) {
  IniDocument doc("; keep me\r\n[A]\r\nKey=1\r\nOther = 2\r\n\r\n[B]\r\nx=y\r\n");
  doc.Set("a", "KEY", "10");
  doc.Set("A", "New", "n");
  doc.Set("C", "k", "v");
  EXPECT_EQ(doc.Text(),
            "; keep me\r\n[A]\r\nKey=10\r\nOther = 2\r\nNew=n\r\n\r\n[B]\r\nx=y\r\n"
            "\r\n[C]\r\nk=v\r\n");
  EXPECT_TRUE(doc.DeleteKey("b", "X"));
  EXPECT_FALSE(doc.Get("B", "x"));
}

// Names and values from games hold any text: none may write into another section, and each
// is found again under its own name.
TEST(IniDocumentTest, AnyTextRoundTripsWithoutReachingAnotherSection) {
  const std::vector<std::string> names = {"a=b",
                                          "line\r\nbreak",
                                          "[Other]",
                                          "Evil]\r\n[OtherGame]",
                                          "x\\x5dy",
                                          "\\x0a",
                                          "back\\",
                                          "lone\rcr",
                                          "=",
                                          "]",
                                          "C:\\Games\\x41"};
  IniDocument doc("[OtherGame]\r\nPath=mine\r\n");
  for (const std::string& name : names) {
    doc.Set(name, name, name);
    doc.Set("General", name, "value of " + name);
  }
  IniDocument again(doc.Text());
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    EXPECT_EQ(again.Get(name, name), name);
    EXPECT_EQ(again.Get("General", name), "value of " + name);
  }
  EXPECT_EQ(again.Keys("OtherGame"), std::vector<std::string>{"Path"});
  EXPECT_EQ(again.Keys("General"), names);
  // Writing again replaces the value instead of adding another copy.
  std::string text = again.Text();
  for (const std::string& name : names)
    again.Set(name, name, name);
  EXPECT_EQ(again.Text(), text);
  // Each Set made one section header and one key line: nothing else came in.
  std::size_t lines = 0;
  for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2)
    ++lines;
  EXPECT_EQ(lines, 2 + names.size() * 3 + 2 + names.size());
}

TEST(IniDocumentTest, OrdinaryTextIsWrittenAsItIs) {
  IniDocument doc;
  doc.Set("General", "Path", "C:\\Games\\x\\");
  doc.Set("Name with blanks", "Key.1", "a b;c");
  EXPECT_EQ(doc.Text(),
            "[General]\r\nPath=C:\\Games\\x\\\r\n\r\n[Name with blanks]\r\nKey.1=a b;c\r\n");
}

TEST(SettingsStoreTest, AProjectNameCannotWriteIntoAnotherGamesSection) {
  test::TempFolder dir;
  std::string file = dir / "settings.ini";
  std::string evil = "Evil]\r\n[OtherGame]";
  {
    SettingsStore s(file);
    EXPECT_TRUE(s.Save("OtherGame", "Path", "/home/me/other/"));
    EXPECT_TRUE(s.Save(evil, "Path", "/tmp/evil/"));
    EXPECT_TRUE(s.Save(evil, "ChangeResolution\r\nPath=/tmp", "1"));
  }
  std::string text = dir.Read("settings.ini");
  for (int run = 0; run < 3; ++run) {
    SettingsStore s(file);
    EXPECT_EQ(s.Get(evil, "Path"), "/tmp/evil/");
    EXPECT_EQ(s.Get("OtherGame", "Path"), "/home/me/other/");
    EXPECT_EQ(s.Get(evil, "ChangeResolution\r\nPath=/tmp"), "1");
    EXPECT_TRUE(s.Save(evil, "Path", "/tmp/evil/"));
    EXPECT_EQ(dir.Read("settings.ini"), text);  // found again: no copy is appended
  }
  IniDocument doc(text);
  EXPECT_EQ(doc.Keys("OtherGame"), std::vector<std::string>{"Path"});
}

TEST(IniFileTest, ProfileStringsOnFiles) {
  test::TempFolder dir;
  PathResolver paths(dir.Path());
  dir.Write("Config/More", "[General]\r\nProcEncr=1\r\nName=Caf\xE9\r\n");
  EXPECT_EQ(ReadProfileString(paths, "config\\more", "GENERAL", "procencr"), "1");
  EXPECT_EQ(ReadProfileString(paths, "config\\more", "General", "Name"), "Café");
  EXPECT_EQ(ReadProfileString(paths, "config\\missing", "General", "x", "d"), "d");
  WriteProfileString(paths, "CONFIG\\more", "general", "Name", "Zoë");
  EXPECT_EQ(dir.Read("Config/More"), "[General]\r\nProcEncr=1\r\nName=Zo\xEB\r\n");
  WriteProfileString(paths, "Config\\New.ini", "S", "k", "v");
  EXPECT_EQ(dir.Read("Config/New.ini"), "[S]\r\nk=v\r\n");
}

TEST(SettingsStoreTest, RoundTripsAndPersists) {
  test::TempFolder dir;
  std::string file = dir / "cfg/storyloom/settings.ini";
  std::vector<std::string> traced;
  {
    SettingsStore s(file);
    s.SetObserver([&](const std::string& sec, const std::string& key, const std::string& v) {
      traced.push_back(sec + "/" + key + "=" + v);
    });
    EXPECT_EQ(s.Get("Game", "ChangeResolution", "1"), "1");
    EXPECT_TRUE(s.Save("Game", "Path", "C:\\Games\\x\\"));
    EXPECT_TRUE(s.Save("Game", "Text", "  two\r\nlines \"q\" "));
    EXPECT_TRUE(s.Save("Other Game", "Path", "\"quoted\""));
    EXPECT_TRUE(s.Save("game", "path", "/home/me/game/"));
  }
  SettingsStore again(file);
  EXPECT_EQ(again.Get("GAME", "Path"), "/home/me/game/");
  EXPECT_EQ(again.Get("Game", "Text"), "  two\r\nlines \"q\" ");
  EXPECT_EQ(again.Get("Other Game", "Path"), "\"quoted\"");
  EXPECT_EQ(traced.size(), 4u);
  EXPECT_EQ(traced[0], "Game/Path=C:\\Games\\x\\");
  EXPECT_TRUE(again.Delete("Game", "Text"));
  EXPECT_EQ(SettingsStore(file).Get("Game", "Text", "gone"), "gone");
}

TEST(SettingsStoreTest, DefaultPathFollowsXdg) {
  std::string saved = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
  setenv("XDG_CONFIG_HOME", "/tmp/xdg", 1);
  EXPECT_EQ(SettingsStore::DefaultPath(), "/tmp/xdg/storyloom/settings.ini");
  setenv("XDG_CONFIG_HOME", "", 1);
  EXPECT_NE(SettingsStore::DefaultPath().find("/.config/storyloom/settings.ini"),
            std::string::npos);
  if (saved.empty())
    unsetenv("XDG_CONFIG_HOME");
  else
    setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
}

TEST(SettingsStoreTest, UnwritableFileKeepsValueAndReportsFailure) {
  test::TempFolder dir;
  dir.Write("blocker", "a file where a folder should be");
  SettingsStore s(dir / "blocker/settings.ini");
  EXPECT_FALSE(s.Save("G", "k", "v"));
  EXPECT_EQ(s.Get("G", "k"), "v");
}

}  // namespace
}  // namespace sl
