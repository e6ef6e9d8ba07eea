// The string of a Variant: UTF-16 code units (as script strings count characters), stored once
// and shared by every copy. Copies are cheap; Append writes in place when nothing else shares
// the text, so building a string piece by piece does not copy it each time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sl {

class SharedString {
 public:
  SharedString() noexcept = default;
  explicit SharedString(std::u16string_view text);
  SharedString(const SharedString& o) noexcept : rep_(o.rep_) {
    if (rep_) ++rep_->refs;
  }
  SharedString(SharedString&& o) noexcept : rep_(o.rep_) { o.rep_ = nullptr; }
  SharedString& operator=(const SharedString& o) noexcept;
  SharedString& operator=(SharedString&& o) noexcept;
  ~SharedString() { Drop(); }

  static SharedString FromUtf8(std::string_view utf8);
  // A string of `count` code units whose contents the caller fills through MutableData().
  static SharedString Uninitialized(std::size_t count);

  std::u16string_view View() const noexcept {
    return rep_ ? std::u16string_view(Data(), rep_->size) : std::u16string_view();
  }
  std::string ToUtf8() const;
  std::size_t size() const noexcept { return rep_ ? rep_->size : 0; }
  bool empty() const noexcept { return size() == 0; }
  bool IsShared() const noexcept { return rep_ && rep_->refs > 1; }

  // Appends text; reallocates (with room to grow) only when the text is shared or full.
  void Append(std::u16string_view text);
  // Writable access to a string made by Uninitialized() that nobody else shares yet.
  char16_t* MutableData() noexcept { return rep_ ? Data() : nullptr; }

  // For Variant, which copies the string's pointer bitwise: counts one more owner.
  static void AddRefBits(const SharedString& s) noexcept {
    if (s.rep_) ++s.rep_->refs;
  }

  friend bool operator==(const SharedString& a, const SharedString& b) noexcept {
    return a.rep_ == b.rep_ || a.View() == b.View();
  }

  // The header of a string's storage; its code units follow it.
  struct Rep {
    std::int32_t refs;
    std::uint32_t size;
    std::uint32_t capacity;
  };

 private:
  static Rep* Allocate(std::size_t capacity);
  char16_t* Data() const noexcept { return reinterpret_cast<char16_t*>(rep_ + 1); }
  void Drop() noexcept;

  Rep* rep_ = nullptr;
};

// UTF-8 <-> UTF-16 conversion. Invalid UTF-8 bytes become U+FFFD; unpaired surrogates are
// written as U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace sl
