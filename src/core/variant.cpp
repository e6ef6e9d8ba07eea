#include "core/variant.h"

#include <algorithm>
#include <utility>

#include "core/memory_budget.h"
#include "core/object.h"
#include "core/runtime_error.h"

namespace sl {

Variant::Variant(Object* obj) noexcept : type_(VarType::Object) {
  u_.i64 = 0;
  u_.obj = obj;
  if (obj) obj->AddRef();
}

Variant::Variant(Ref<VariantArray> array) noexcept : type_(VarType::Array) {
  u_.i64 = 0;
  u_.arr = array.get();
  if (u_.arr) u_.arr->AddRef();
}

bool Variant::IsNumberType(VarType type) noexcept {
  switch (type) {
    case VarType::Boolean:
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
    case VarType::Date:
      return true;
    default:
      return false;
  }
}

void Variant::AddRefShared() noexcept {
  switch (type_) {
    case VarType::String:
      SharedString::AddRefBits(u_.str);
      break;
    case VarType::Object:
      if (u_.obj) u_.obj->AddRef();
      break;
    case VarType::Array:
      if (u_.arr) u_.arr->AddRef();
      break;
    default:
      break;
  }
}

void Variant::ReleaseShared() noexcept {
  switch (type_) {
    case VarType::String:
      u_.str.~SharedString();
      break;
    case VarType::Object:
      if (u_.obj) u_.obj->Release();
      break;
    case VarType::Array:
      if (u_.arr) u_.arr->Release();
      break;
    default:
      break;
  }
}

namespace {

// Elements of the given bounds; RuntimeError 9 for a negative count, 7 beyond the cap.
std::size_t ElementCount(const std::vector<VariantArray::Bound>& bounds) {
  if (bounds.empty()) return 0;
  std::size_t total = 1;
  for (const VariantArray::Bound& b : bounds) {
    if (b.count < 0) throw RuntimeError(kErrSubscript);
    total *= static_cast<std::size_t>(b.count);
    if (total > VariantArray::kMaxElements) throw RuntimeError(kErrOutOfMemory);
  }
  return total;
}

}  // namespace

VariantArray::VariantArray(std::vector<Bound> bounds, bool fixedSize)
    : bounds_(std::move(bounds)), fixed_(fixedSize) {
  Resize(ElementCount(bounds_));
}

Ref<VariantArray> VariantArray::OfItems(std::vector<Variant> items) {
  if (items.size() > kMaxElements) throw RuntimeError(kErrOutOfMemory);
  MemoryBudget::Take(items.size() * sizeof(Variant));
  Ref<VariantArray> array = MakeRef<VariantArray>();
  array->counted_ = items.size();
  array->bounds_.push_back({0, static_cast<std::int32_t>(items.size())});
  array->data_ = std::move(items);
  return array;
}

VariantArray::~VariantArray() {
  ReleaseNested(data_);
  MemoryBudget::Give(counted_ * sizeof(Variant));
}

// Resizes the elements, counting what they take against the script's memory budget first.
void VariantArray::Resize(std::size_t count) {
  if (count > counted_) {
    MemoryBudget::Take((count - counted_) * sizeof(Variant));
  } else {
    MemoryBudget::Give((counted_ - count) * sizeof(Variant));
  }
  counted_ = count;
  data_.resize(count);
}

void ReleaseNested(std::vector<Variant>& values) {
  std::vector<Variant> pending;
  // Arrays held only here move to `pending` to be opened in turn; objects held only here give
  // up their values to `pending` and then die empty where they are. What one step adds is
  // reversed so that it leaves `pending` in its own order: the values go in the order the
  // recursive release would take, which Class_Terminate handlers may see.
  auto open = [&pending](std::vector<Variant>& data) {
    std::size_t start = pending.size();
    for (Variant& v : data) {
      if (v.IsArray() && v.AsArray() && v.AsArray()->RefCount() == 1) {
        pending.push_back(std::move(v));
      } else if (v.IsObject() && v.AsObject() && v.AsObject()->RefCount() == 1) {
        v.AsObject()->GiveUpValues(pending);
      }
    }
    std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(start), pending.end());
  };
  open(values);
  while (!pending.empty()) {
    Variant last = std::move(pending.back());
    pending.pop_back();
    if (last.IsArray() && last.AsArray() && last.AsArray()->RefCount() == 1) {
      open(last.AsArray()->Data());
    } else if (last.IsObject() && last.AsObject() && last.AsObject()->RefCount() == 1) {
      std::vector<Variant> given;
      last.AsObject()->GiveUpValues(given);
      open(given);
      // What stays in `given` (objects that keep their values) goes here, in order.
    }
  }
}

Ref<VariantArray> VariantArray::Clone() const {
  Ref<VariantArray> copy = MakeRef<VariantArray>();
  MemoryBudget::Take(data_.size() * sizeof(Variant));
  copy->counted_ = data_.size();
  copy->bounds_ = bounds_;
  copy->data_ = data_;
  copy->fixed_ = fixed_;
  return copy;
}

Variant& VariantArray::AtAnyRank(const std::int32_t* subscripts, std::size_t count) {
  if (count != bounds_.size()) throw RuntimeError(kErrSubscript);
  std::size_t offset = 0;
  std::size_t stride = 1;
  for (std::size_t d = 0; d < count; ++d) {
    std::int64_t rel = static_cast<std::int64_t>(subscripts[d]) - bounds_[d].lower;
    if (rel < 0 || rel >= bounds_[d].count) throw RuntimeError(kErrSubscript);
    offset += static_cast<std::size_t>(rel) * stride;
    stride *= static_cast<std::size_t>(bounds_[d].count);
  }
  return data_[offset];
}

void VariantArray::Redim(std::vector<Bound> bounds, bool preserve) {
  if (fixed_) throw RuntimeError(kErrFixedArray);
  std::size_t total = ElementCount(bounds);
  if (!preserve || bounds_.empty()) {
    MemoryBudget::Take(total * sizeof(Variant));  // before anything changes
    std::vector<Variant> old(total);
    bounds_ = std::move(bounds);
    old.swap(data_);  // the old elements go at the end, once the new ones are in place
    MemoryBudget::Give(counted_ * sizeof(Variant));
    counted_ = total;
    return;
  }
  // Preserve: only the last dimension may change; the others must stay as they are.
  if (bounds.size() != bounds_.size()) throw RuntimeError(kErrSubscript);
  for (std::size_t d = 0; d + 1 < bounds.size(); ++d) {
    if (bounds[d].lower != bounds_[d].lower || bounds[d].count != bounds_[d].count) {
      throw RuntimeError(kErrSubscript);
    }
  }
  // With the first dimension varying fastest, the elements of the last dimension form
  // contiguous blocks, so resizing keeps the leading blocks in place.
  Resize(total);
  bounds_ = std::move(bounds);
}

}  // namespace sl
