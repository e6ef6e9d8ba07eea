// The CD index: the records kept and those skipped, each for its own reason.
#include "player/cd/cd_index.h"

#include <gtest/gtest.h>

#include "core/data_file_reader.h"
#include "core/runtime_error.h"

namespace sl {
namespace {

std::vector<CdIndexEntry> Read(const std::string& text) {
  DataFileReader reader(text);
  return ReadCdIndex(reader);
}

TEST(CdIndexTest, KeepsRecordsNamingAFileACdOfTheGameAndAFolderKind) {
  std::vector<CdIndexEntry> entries = Read(
      "\"Lighthouse\",\"1.0\",\"\",2,\"\",0\r\n"
      "\"Intro.avi\",1,1\r\n"
      "\"\",1,2\r\n"            // no name
      "\"Zero.wav\",0,2\r\n"    // CD 0
      "\"Three.wav\",3,2\r\n"   // beyond the two CDs
      "\"Minus.wav\",-1,2\r\n"  // CD -1
      "\"NoKind.wav\",2,0\r\n"  // folder kind 0
      "\"Sea.wav\",2,2\r\n"
      "\"Odd.wav\",2,7\r\n");  // an unknown kind is kept; the lookup ignores it
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].name, "Intro.avi");
  EXPECT_EQ(entries[0].cd, 1);
  EXPECT_EQ(entries[0].kind, static_cast<std::int16_t>(CdFolderKind::Frames));
  EXPECT_EQ(entries[1].name, "Sea.wav");
  EXPECT_EQ(entries[1].cd, 2);
  EXPECT_EQ(entries[1].kind, static_cast<std::int16_t>(CdFolderKind::Areas));
  EXPECT_EQ(entries[2].name, "Odd.wav");
}

TEST(CdIndexTest, AnIndexWithoutRecordsIsEmptyAndABrokenOneIsAnError) {
  EXPECT_TRUE(Read("\"a\",\"b\",\"c\",1,\"d\",\"e\"\r\n").empty());
  EXPECT_THROW(Read("\"a\",\"b\",\"c\",\"two\",\"d\",\"e\"\r\n"), RuntimeError);
  EXPECT_THROW(Read("\"a\",\"b\",\"c\",2,\"d\",\"e\"\r\n\"Sea.wav\",2\r\n"), RuntimeError);
}

}  // namespace
}  // namespace sl
