// Reading a record of a frame's hotspot file.
#include "player/hotspots/area_record.h"

#include "core/data_file_reader.h"

namespace sl {

AreaRecord ReadAreaRecord(DataFileReader& r) {
  AreaRecord a;
  r.Skip(1);
  a.mergeFlag = r.ReadInteger();
  r.Skip(8);
  a.left = r.ReadDouble();
  a.top = r.ReadDouble();
  a.width = r.ReadDouble();
  a.height = r.ReadDouble();
  a.animated = r.ReadDouble();
  a.hasPicture = r.ReadBoolean();
  a.picture = r.ReadString();
  a.stretch = r.ReadDouble();
  a.pointer = r.ReadString();
  r.Skip(1);  // visibility-conditions flag: the visibility pass reads it
  for (int list = 0; list < 2; ++list)
    r.Skip(r.ReadInteger());
  if (!r.SeparatorOrEndNext()) a.speed = r.ReadString();
  r.Skip(1);  // the record separator
  return a;
}

}  // namespace sl
