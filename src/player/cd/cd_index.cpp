// Reading the CD index.
#include "player/cd/cd_index.h"

#include "core/data_file_reader.h"

namespace sl {

namespace {

constexpr int kFieldsBeforeCdCount = 3;
constexpr int kFieldsAfterCdCount = 2;

bool Accepted(const CdIndexEntry& entry, std::int16_t cdCount) {
  return !entry.name.empty() && entry.cd > 0 && entry.cd <= cdCount && entry.kind != 0;
}

}  // namespace

std::vector<CdIndexEntry> ReadCdIndex(DataFileReader& reader) {
  reader.Skip(kFieldsBeforeCdCount);
  std::int16_t cdCount = reader.ReadInteger();
  reader.Skip(kFieldsAfterCdCount);
  std::vector<CdIndexEntry> entries;
  while (!reader.Eof()) {
    CdIndexEntry entry;
    entry.name = reader.ReadString();
    entry.cd = reader.ReadInteger();
    entry.kind = reader.ReadInteger();
    if (Accepted(entry, cdCount)) entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace sl
