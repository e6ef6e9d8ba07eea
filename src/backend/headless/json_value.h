// A small JSON value for trace records: null, booleans, integers, numbers, strings, arrays and
// objects whose fields keep the order they were added in (trace readers compare lines, so the
// field order is part of the output). Strings are UTF-8; writing escapes them so every line is
// valid JSON even when a game's text holds control characters or broken UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace sl {

class JsonValue;
using JsonArray = std::vector<JsonValue>;
using JsonObject = std::vector<std::pair<std::string, JsonValue>>;

class JsonValue {
 public:
  JsonValue() noexcept = default;  // null
  JsonValue(std::nullptr_t) noexcept {}
  JsonValue(bool b) noexcept : v_(b) {}
  JsonValue(int i) noexcept : v_(static_cast<std::int64_t>(i)) {}
  JsonValue(std::int64_t i) noexcept : v_(i) {}
  JsonValue(double d) noexcept : v_(d) {}
  JsonValue(const char* s) : v_(std::string(s)) {}
  JsonValue(std::string_view s) : v_(std::string(s)) {}
  JsonValue(std::string s) noexcept : v_(std::move(s)) {}
  JsonValue(JsonArray a) : v_(std::move(a)) {}
  JsonValue(JsonObject o) : v_(std::move(o)) {}

  bool IsNull() const noexcept { return std::holds_alternative<std::monostate>(v_); }
  const JsonObject* AsObject() const noexcept { return std::get_if<JsonObject>(&v_); }

  // Appends the JSON text of the value.
  void WriteTo(std::string& out) const;
  std::string ToString() const;

  friend bool operator==(const JsonValue&, const JsonValue&) = default;

 private:
  std::variant<std::monostate, bool, std::int64_t, double, std::string, JsonArray, JsonObject> v_;
};

// Appends `text` as a quoted JSON string: quotes, backslashes and control characters escaped,
// invalid UTF-8 sequences replaced by U+FFFD.
void AppendJsonString(std::string& out, std::string_view text);
// Appends a finite number in its shortest form; NaN and infinities become null.
void AppendJsonNumber(std::string& out, double value);

}  // namespace sl
