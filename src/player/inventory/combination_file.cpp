// Reading a combination file.
#include "player/inventory/combination_file.h"

#include "core/data_file_reader.h"

namespace sl {

std::optional<CombinationScript> ReadCombinationFile(DataFileReader& r,
                                                     CombinationEffects& effects) {
  if (r.ReadDouble() == 1) effects.RemoveDragged();
  if (r.ReadDouble() == 1) effects.RemoveTarget();
  bool add = r.ReadDouble() == 1;
  std::string newItem = r.ReadString();
  if (add) effects.Add(newItem);
  if (r.Eof()) return std::nullopt;
  r.Skip(3);
  CombinationScript script;
  script.run = r.ReadBoolean();
  script.text = r.ReadString();
  return script;
}

}  // namespace sl
