// The index of a game whose media lie on several CDs ("CDContents" in the Config folder): which
// CD holds each media file, and in which of the game's folders the game looks for it. Six
// leading fields (the fourth the number of CDs), then records of three fields to the end of the
// file: the file name, the number of its CD and its folder kind.
//
// API:
//   DataFileReader reader(paths.ReadFile(configFolder + "CDContents"));
//   std::vector<CdIndexEntry> entries = ReadCdIndex(reader);   // reader errors pass through
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sl {

class DataFileReader;

// Where a file of the index lies in the game's own folders, and so on its CD.
enum class CdFolderKind : std::int16_t { Frames = 1, Areas = 2 };

struct CdIndexEntry {
  std::string name;
  std::int16_t kind = 0;  // a CdFolderKind, or another number the lookup ignores
  std::int16_t cd = 0;    // 1 to the number of CDs
};

// The records that name a file, a CD the game has and a folder kind; the others are skipped.
std::vector<CdIndexEntry> ReadCdIndex(DataFileReader& reader);

}  // namespace sl
