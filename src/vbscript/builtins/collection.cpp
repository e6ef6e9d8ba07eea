// Enumeration and member look-up shared by the built-in objects.
#include "vbscript/builtins/collection.h"

#include "core/runtime_error.h"

namespace sl::vbs {

namespace {
class ListEnumerator final : public Enumerator {
 public:
  explicit ListEnumerator(std::vector<Variant> items) : items_(std::move(items)) {}
  bool Next(Variant& out) override {
    if (next_ >= items_.size()) return false;
    out = items_[next_++];
    return true;
  }

 private:
  std::vector<Variant> items_;
  std::size_t next_ = 0;
};
}  // namespace

Ref<Enumerator> MakeListEnumerator(std::vector<Variant> items) {
  return MakeRef<ListEnumerator>(std::move(items));
}

DispId FindMember(std::span<const std::string_view> names, std::string_view name, DispId firstId) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (NamesEqual(names[i], name)) return firstId + static_cast<DispId>(i);
  }
  return kDispIdUnknown;
}

void CheckArgCount(std::span<Variant> args, std::size_t least, std::size_t most) {
  if (args.size() < least || args.size() > most) throw RuntimeError(kErrWrongArgCount);
}

}  // namespace sl::vbs
