// Variant: the one value type shared by data files, saved games, controls and scripts. It holds
// every subtype of the classic script value (Empty, Null, Boolean, Byte, Integer, Long, Single,
// Double, Currency, Date, String, Object, Error and arrays) in 16 bytes: numbers live inline,
// strings, objects and arrays are shared by reference count. Conversions between subtypes are in
// core/variant_convert.h; arithmetic belongs to the script engine.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/ref_counted.h"
#include "core/shared_string.h"

namespace sl {

class Object;
class VariantArray;

// Subtype codes as the script function VarType reports them.
enum class VarType : std::uint16_t {
  Empty = 0,
  Null = 1,
  Integer = 2,
  Long = 3,
  Single = 4,
  Double = 5,
  Currency = 6,
  Date = 7,
  String = 8,
  Object = 9,
  Error = 10,
  Boolean = 11,
  Byte = 17,
  Array = 0x200C,  // array of variants (8192 + 12)
};

class Variant {
 public:
  Variant() noexcept : type_(VarType::Empty) { u_.i64 = 0; }
  // Small values fill the whole payload in one write (the bytes past the value zero), so that
  // reading the payload back as a whole right after is not held up.
  Variant(bool b) noexcept : type_(VarType::Boolean) { u_.i64 = b ? 0xFFFF : 0; }
  Variant(std::uint8_t v) noexcept : type_(VarType::Byte) { u_.i64 = v; }
  Variant(std::int16_t v) noexcept : type_(VarType::Integer) {
    u_.i64 = static_cast<std::uint16_t>(v);
  }
  Variant(std::int32_t v) noexcept : type_(VarType::Long) {
    u_.i64 = static_cast<std::uint32_t>(v);
  }
  Variant(float v) noexcept : type_(VarType::Single) {
    u_.i64 = 0;
    u_.f32 = v;
  }
  Variant(double v) noexcept : type_(VarType::Double) { u_.f64 = v; }
  Variant(SharedString s) noexcept : type_(VarType::String) {
    u_.i64 = 0;
    new (&u_.str) SharedString(std::move(s));
  }
  // UTF-8 text.
  Variant(const char* utf8) : Variant(SharedString::FromUtf8(utf8)) {}
  Variant(std::string_view utf8) : Variant(SharedString::FromUtf8(utf8)) {}
  Variant(const std::string& utf8) : Variant(SharedString::FromUtf8(utf8)) {}
  Variant(std::u16string_view utf16) : Variant(SharedString(utf16)) {}
  // An object reference; a null pointer is Nothing.
  Variant(Object* obj) noexcept;
  template <class T>
  Variant(const Ref<T>& obj) noexcept : Variant(static_cast<Object*>(obj.get())) {}
  Variant(Ref<VariantArray> array) noexcept;

  static Variant Null() noexcept {
    Variant v;
    v.type_ = VarType::Null;
    return v;
  }
  static Variant Nothing() noexcept { return Variant(static_cast<Object*>(nullptr)); }
  // Currency as a count of ten-thousandths.
  static Variant Currency(std::int64_t scaled) noexcept {
    Variant v;
    v.type_ = VarType::Currency;
    v.u_.i64 = scaled;
    return v;
  }
  // Date as days since 30 December 1899, the fraction being the time of day.
  static Variant Date(double oleDate) noexcept {
    Variant v;
    v.type_ = VarType::Date;
    v.u_.f64 = oleDate;
    return v;
  }
  static Variant Error(std::int32_t code) noexcept {
    Variant v;
    v.type_ = VarType::Error;
    v.u_.i32 = code;
    return v;
  }

  Variant(const Variant& o) noexcept : type_(o.type_), u_(o.u_) {
    if (IsShared()) AddRefShared();  // u_ holds a bit copy of the shared pointer; count it
  }
  Variant(Variant&& o) noexcept : type_(o.type_), u_(o.u_) { o.type_ = VarType::Empty; }
  Variant& operator=(const Variant& o) noexcept {
    if (this != &o) {
      Variant tmp(o);
      Swap(tmp);
    }
    return *this;
  }
  Variant& operator=(Variant&& o) noexcept {
    if (this != &o) {
      Clear();
      type_ = o.type_;
      u_ = o.u_;
      o.type_ = VarType::Empty;
    }
    return *this;
  }
  ~Variant() {
    if (IsShared()) ReleaseShared();
  }

  void Swap(Variant& o) noexcept {
    std::swap(type_, o.type_);
    Payload t = u_;
    u_ = o.u_;
    o.u_ = t;
  }
  void Clear() noexcept {
    if (IsShared()) ReleaseShared();
    type_ = VarType::Empty;
    u_.i64 = 0;
  }

  VarType Type() const noexcept { return type_; }
  bool IsEmpty() const noexcept { return type_ == VarType::Empty; }
  bool IsNull() const noexcept { return type_ == VarType::Null; }
  bool IsString() const noexcept { return type_ == VarType::String; }
  bool IsObject() const noexcept { return type_ == VarType::Object; }
  bool IsNothing() const noexcept { return type_ == VarType::Object && u_.obj == nullptr; }
  bool IsArray() const noexcept { return type_ == VarType::Array; }
  // Boolean, Byte, Integer, Long, Single, Double, Currency or Date.
  bool IsNumber() const noexcept { return IsNumberType(type_); }
  static bool IsNumberType(VarType type) noexcept;

  // Raw access; each requires the matching subtype.
  bool AsBool() const noexcept { return u_.i16 != 0; }
  std::uint8_t AsByte() const noexcept { return u_.u8; }
  std::int16_t AsInteger() const noexcept { return u_.i16; }
  std::int32_t AsLong() const noexcept { return u_.i32; }
  float AsSingle() const noexcept { return u_.f32; }
  double AsDouble() const noexcept { return u_.f64; }
  std::int64_t AsCurrencyScaled() const noexcept { return u_.i64; }
  double AsDate() const noexcept { return u_.f64; }
  std::int32_t AsError() const noexcept { return u_.i32; }
  const SharedString& AsString() const noexcept { return u_.str; }
  SharedString& MutableString() noexcept { return u_.str; }
  Object* AsObject() const noexcept { return u_.obj; }
  VariantArray* AsArray() const noexcept { return u_.arr; }

 private:
  union Payload {
    Payload() noexcept : i64(0) {}
    Payload(const Payload& o) noexcept { std::memcpy(static_cast<void*>(this), &o, sizeof(*this)); }
    Payload& operator=(const Payload& o) noexcept {
      std::memcpy(static_cast<void*>(this), &o, sizeof(*this));
      return *this;
    }
    ~Payload() {}
    std::int64_t i64;
    std::int32_t i32;
    std::int16_t i16;
    std::uint8_t u8;
    float f32;
    double f64;
    SharedString str;
    Object* obj;
    VariantArray* arr;
  };
  static_assert(sizeof(SharedString) == sizeof(void*));

  bool IsShared() const noexcept {
    return type_ == VarType::String || type_ == VarType::Object || type_ == VarType::Array;
  }
  void AddRefShared() noexcept;
  void ReleaseShared() noexcept;

  VarType type_;
  Payload u_;
};

static_assert(sizeof(Variant) == 16);
// The constructors of small values write the payload as a whole, low bytes first.
static_assert(std::endian::native == std::endian::little);

// A script array of one or more dimensions, each with its own lower and upper bound. Values are
// stored with the first dimension varying fastest. Arrays are values in scripts: assigning one
// copies it, which the engine does lazily (copy when writing to a shared array). The memory the
// elements take counts against the script's memory budget (core/memory_budget.h).
class VariantArray : public RefCounted {
 public:
  struct Bound {
    std::int32_t lower = 0;
    std::int32_t count = 0;  // number of elements (upper = lower + count - 1)
  };

  VariantArray() = default;
  // Releases nested arrays and containers one after another (see ReleaseNested), so that an
  // array nested a million levels deep (a = Array(a) in a loop) does not exhaust the stack.
  ~VariantArray() override;
  // Throws RuntimeError 7 when the total size exceeds the cap, 9 on a negative count.
  explicit VariantArray(std::vector<Bound> bounds, bool fixedSize = false);
  // A one-dimensional array with lower bound 0 holding `items`; RuntimeError 7 past the cap.
  static Ref<VariantArray> OfItems(std::vector<Variant> items);

  Ref<VariantArray> Clone() const;

  int Dimensions() const noexcept { return static_cast<int>(bounds_.size()); }
  const std::vector<Bound>& Bounds() const noexcept { return bounds_; }
  std::int32_t LowerBound(int dim) const { return bounds_.at(dim).lower; }
  std::int32_t UpperBound(int dim) const {
    return bounds_.at(dim).lower + bounds_.at(dim).count - 1;
  }
  bool IsFixedSize() const noexcept { return fixed_; }
  void SetFixedSize(bool fixed) noexcept { fixed_ = fixed; }
  std::size_t Size() const noexcept { return data_.size(); }

  // Element access by subscripts (one per dimension); RuntimeError 9 when out of range.
  Variant& At(const std::int32_t* subscripts, std::size_t count) {
    if (count == 1 && bounds_.size() == 1) {  // the common case, without the loop
      std::int64_t rel = static_cast<std::int64_t>(subscripts[0]) - bounds_[0].lower;
      if (rel >= 0 && rel < bounds_[0].count) return data_[static_cast<std::size_t>(rel)];
    }
    return AtAnyRank(subscripts, count);
  }
  Variant& At(std::int32_t index) { return At(&index, 1); }
  std::vector<Variant>& Data() noexcept { return data_; }
  const std::vector<Variant>& Data() const noexcept { return data_; }

  // ReDim: new bounds; with preserve only the last dimension may change and values are kept.
  void Redim(std::vector<Bound> bounds, bool preserve);

  // Largest number of elements an array may hold; larger requests are "Out of memory".
  static constexpr std::size_t kMaxElements = std::size_t{1} << 24;

 private:
  void Resize(std::size_t count);
  Variant& AtAnyRank(const std::int32_t* subscripts, std::size_t count);

  std::vector<Bound> bounds_;
  std::vector<Variant> data_;
  std::size_t counted_ = 0;  // elements counted against the script's memory budget
  bool fixed_ = false;
};

// Prepares `values`, which their owner is about to destroy, so that destroying them is shallow:
// arrays and objects (Object::GiveUpValues) held only by them are emptied, and so on down, one
// level after another without recursion. Other values stay for the owner to destroy in order.
void ReleaseNested(std::vector<Variant>& values);

}  // namespace sl
