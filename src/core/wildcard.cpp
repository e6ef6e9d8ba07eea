// Wildcard matching of file names.
#include "core/wildcard.h"

#include "core/case_fold.h"

namespace sl {

namespace {

bool IsContinuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Greedy match with backtracking to the last '*'; '?' takes one whole UTF-8 character.
bool Match(std::string_view p, std::string_view s) {
  std::size_t pi = 0, si = 0;
  std::size_t starP = std::string_view::npos, starS = 0;
  while (si < s.size()) {
    if (pi < p.size() && p[pi] == '*') {
      starP = pi++;
      starS = si;
    } else if (pi < p.size() && p[pi] == '?') {
      ++pi;
      ++si;
      while (si < s.size() && IsContinuation(s[si]))
        ++si;
    } else if (pi < p.size() && p[pi] == s[si]) {
      ++pi;
      ++si;
    } else if (starP != std::string_view::npos) {
      pi = starP + 1;
      si = ++starS;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == '*')
    ++pi;
  return pi == p.size();
}

}  // namespace

bool WildcardMatchFolded(std::string_view p, std::string_view name) {
  if (p == "*.*" || p == "*") return true;
  if (Match(p, name)) return true;
  if (p.size() >= 2 && p.substr(p.size() - 2) == ".*" && name.find('.') == std::string_view::npos) {
    return Match(p.substr(0, p.size() - 2), name);
  }
  return false;
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  return WildcardMatchFolded(FoldCase(pattern), FoldCase(name));
}

bool HasWildcards(std::string_view text) noexcept {
  return text.find_first_of("*?") != std::string_view::npos;
}

}  // namespace sl
