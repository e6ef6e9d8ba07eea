#include "core/shared_string.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "core/memory_budget.h"
#include "core/runtime_error.h"
#include "core/utf8.h"

namespace sl {

namespace {
// Longest string a value may hold (code units); longer ones are "Out of memory".
constexpr std::size_t kMaxStringUnits = std::size_t{1} << 30;

// The storage of a string with room for `capacity` code units and the final zero.
std::size_t BytesOf(std::size_t capacity) {
  return sizeof(SharedString::Rep) + (capacity + 1) * sizeof(char16_t);
}
}  // namespace

SharedString::Rep* SharedString::Allocate(std::size_t capacity) {
  if (capacity > kMaxStringUnits) throw RuntimeError(kErrOutOfMemory);
  MemoryBudget::Take(BytesOf(capacity));
  void* mem = std::malloc(BytesOf(capacity));
  if (!mem) {
    MemoryBudget::Give(BytesOf(capacity));
    throw RuntimeError(kErrOutOfMemory);
  }
  Rep* rep = static_cast<Rep*>(mem);
  rep->refs = 1;
  rep->size = 0;
  rep->capacity = static_cast<std::uint32_t>(capacity);
  return rep;
}

SharedString::SharedString(std::u16string_view text) {
  if (text.empty()) return;
  rep_ = Allocate(text.size());
  std::memcpy(Data(), text.data(), text.size() * sizeof(char16_t));
  rep_->size = static_cast<std::uint32_t>(text.size());
  Data()[rep_->size] = 0;
}

SharedString SharedString::Uninitialized(std::size_t count) {
  SharedString s;
  if (count == 0) return s;
  s.rep_ = Allocate(count);
  s.rep_->size = static_cast<std::uint32_t>(count);
  s.Data()[count] = 0;
  return s;
}

SharedString SharedString::FromUtf8(std::string_view utf8) {
  bool ascii = std::all_of(utf8.begin(), utf8.end(),
                           [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (!ascii) return SharedString(Utf8ToUtf16(utf8));
  SharedString s = Uninitialized(utf8.size());
  char16_t* out = s.MutableData();
  for (std::size_t i = 0; i < utf8.size(); ++i)
    out[i] = static_cast<char16_t>(utf8[i]);
  return s;
}

SharedString& SharedString::operator=(const SharedString& o) noexcept {
  if (o.rep_) ++o.rep_->refs;
  Drop();
  rep_ = o.rep_;
  return *this;
}

SharedString& SharedString::operator=(SharedString&& o) noexcept {
  if (this != &o) {
    Drop();
    rep_ = o.rep_;
    o.rep_ = nullptr;
  }
  return *this;
}

void SharedString::Drop() noexcept {
  if (rep_ && --rep_->refs == 0) {
    MemoryBudget::Give(BytesOf(rep_->capacity));
    std::free(rep_);
  }
  rep_ = nullptr;
}

std::string SharedString::ToUtf8() const {
  return Utf16ToUtf8(View());
}

void SharedString::Append(std::u16string_view text) {
  if (text.empty()) return;
  std::size_t old = size();
  std::size_t needed = old + text.size();
  if (needed > kMaxStringUnits) throw RuntimeError(kErrOutOfMemory);
  if (!rep_ || rep_->refs > 1 || needed > rep_->capacity) {
    std::size_t capacity = std::max(needed, std::min(kMaxStringUnits, old * 2));
    Rep* fresh = Allocate(capacity);
    if (old) std::memcpy(reinterpret_cast<char16_t*>(fresh + 1), Data(), old * sizeof(char16_t));
    fresh->size = static_cast<std::uint32_t>(old);
    Drop();
    rep_ = fresh;
  }
  std::memcpy(Data() + old, text.data(), text.size() * sizeof(char16_t));
  rep_->size = static_cast<std::uint32_t>(needed);
  Data()[needed] = 0;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  const std::size_t n = utf8.size();
  auto byte = [&](std::size_t k) { return static_cast<unsigned char>(utf8[k]); };
  while (i < n) {
    unsigned char c = byte(i);
    char32_t cp;
    std::size_t len;
    if (c < 0x80) {
      cp = c;
      len = 1;
    } else if ((c & 0xE0) == 0xC0) {
      cp = c & 0x1F;
      len = 2;
    } else if ((c & 0xF0) == 0xE0) {
      cp = c & 0x0F;
      len = 3;
    } else if ((c & 0xF8) == 0xF0) {
      cp = c & 0x07;
      len = 4;
    } else {
      out.push_back(u'\uFFFD');
      ++i;
      continue;
    }
    if (i + len > n) {
      out.push_back(u'\uFFFD');
      ++i;
      continue;
    }
    bool ok = true;
    for (std::size_t k = 1; k < len; ++k) {
      unsigned char cc = byte(i + k);
      if ((cc & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (cc & 0x3F);
    }
    static constexpr char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (!ok || cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out.push_back(u'\uFFFD');
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += len;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t cp = utf16[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

}  // namespace sl
