// A record of a frame's hotspot file (".fm2", or ".mr2" for merged hotspots): the fields the
// hotspot loader uses, read in order; the visibility pass reads its own fields of the record.
//
// API:
//   AreaRecord a = ReadAreaRecord(reader);   // the whole record with its separator;
//                                            // RuntimeError on a bad field
#pragma once

#include <cstdint>
#include <string>

namespace sl {

class DataFileReader;

struct AreaRecord {
  std::int16_t mergeFlag = 0;
  double left = 0;  // twips
  double top = 0;
  double width = 0;
  double height = 0;
  double animated = 0;
  bool hasPicture = false;
  std::string picture;  // in the areas folder
  double stretch = 0;
  std::string pointer;  // in the icons folder, or none / "default"
  std::string speed;
};

AreaRecord ReadAreaRecord(DataFileReader& r);

}  // namespace sl
