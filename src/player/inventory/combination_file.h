// The combination file of two items ("<dragged>_on_<target>.drg" in the areas folder): which of
// the two go, which item comes, and the procedure that runs then.
//
// API:
//   std::optional<CombinationScript> s = ReadCombinationFile(reader, effects);
//   // nullopt: the file ends before its procedure fields; RuntimeError on a bad field
// The items go and come while the file is read: the reader tells `effects` of each in the
// order of the file.
#pragma once

#include <optional>
#include <string>

namespace sl {

class DataFileReader;

struct CombinationScript {
  bool run = false;
  std::string text;  // stored text ('|' for '"')
};

// What reading a combination file does as it goes; each does nothing unless overridden.
class CombinationEffects {
 public:
  virtual ~CombinationEffects() = default;
  virtual void RemoveDragged() {}
  virtual void RemoveTarget() {}
  virtual void Add(const std::string& /*item*/) {}
};

std::optional<CombinationScript> ReadCombinationFile(DataFileReader& r,
                                                     CombinationEffects& effects);

}  // namespace sl
