// The RegExp object and its Matches, Match and SubMatches collections.
#define PCRE2_CODE_UNIT_WIDTH 16
#include "vbscript/builtins/regexp.h"

#include <pcre2.h>

#include <memory>
#include <optional>
#include <vector>

#include "core/runtime_error.h"
#include "vbscript/builtins/arguments.h"
#include "vbscript/builtins/collection.h"

namespace sl::vbs {

namespace {

using View = std::u16string_view;

constexpr int kRegexSyntaxError = 5017;

// PCRE2 refuses a null pointer even for empty text, which is how empty strings come.
PCRE2_SPTR Units(View text) {
  static constexpr char16_t kEmpty[1] = {0};
  return reinterpret_cast<PCRE2_SPTR>(text.empty() ? kEmpty : text.data());
}

struct CodeFree {
  void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataFree {
  void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
struct MatchContextFree {
  void operator()(pcre2_match_context* context) const { pcre2_match_context_free(context); }
};

// Where a match and its groups lie in the subject (groups that took no part are empty).
struct Found {
  std::size_t start = 0;
  std::size_t length = 0;
  std::vector<std::optional<std::pair<std::size_t, std::size_t>>> groups;
};

// A compiled pattern. The match limit stops patterns that would backtrack for ever.
class CompiledPattern {
 public:
  CompiledPattern(View pattern, bool ignoreCase, bool multiline) {
    std::uint32_t options = PCRE2_ALT_BSUX | PCRE2_MATCH_UNSET_BACKREF | PCRE2_DOLLAR_ENDONLY;
    if (ignoreCase) options |= PCRE2_CASELESS;
    if (multiline) options |= PCRE2_MULTILINE;
    int error = 0;
    PCRE2_SIZE offset = 0;
    code_.reset(pcre2_compile(Units(pattern), pattern.size(), options, &error, &offset, nullptr));
    if (!code_) throw RuntimeError(kRegexSyntaxError, "Syntax error in regular expression");
    data_.reset(pcre2_match_data_create_from_pattern(code_.get(), nullptr));
    context_.reset(pcre2_match_context_create(nullptr));
    if (!data_ || !context_) throw RuntimeError(kErrOutOfMemory);
    pcre2_set_match_limit(context_.get(), 10'000'000);
    pcre2_set_depth_limit(context_.get(), 100'000);
  }

  std::uint32_t GroupCount() const {
    std::uint32_t count = 0;
    pcre2_pattern_info(code_.get(), PCRE2_INFO_CAPTURECOUNT, &count);
    return count;
  }

  bool Search(View subject, std::size_t from, Found& out) {
    int rc = pcre2_match(code_.get(), Units(subject), subject.size(), from, 0, data_.get(),
                         context_.get());
    if (rc == PCRE2_ERROR_NOMATCH) return false;
    if (rc == PCRE2_ERROR_MATCHLIMIT || rc == PCRE2_ERROR_DEPTHLIMIT ||
        rc == PCRE2_ERROR_HEAPLIMIT) {
      throw RuntimeError(kErrOutOfStack);
    }
    if (rc < 0) throw RuntimeError(kErrInvalidCall);
    PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data_.get());
    out.start = ovector[0];
    out.length = ovector[1] - ovector[0];
    out.groups.assign(GroupCount(), std::nullopt);
    for (std::uint32_t g = 1; g <= out.groups.size() && g < static_cast<std::uint32_t>(rc); ++g) {
      if (ovector[2 * g] != PCRE2_UNSET)
        out.groups[g - 1] = std::make_pair(ovector[2 * g], ovector[2 * g + 1] - ovector[2 * g]);
    }
    return true;
  }

 private:
  std::unique_ptr<pcre2_code, CodeFree> code_;
  std::unique_ptr<pcre2_match_data, MatchDataFree> data_;
  std::unique_ptr<pcre2_match_context, MatchContextFree> context_;
};

// A read-only list with a default Item(index) member and Count: SubMatches and Matches.
class ItemList : public Object {
 public:
  ItemList(std::string typeName, std::vector<Variant> items)
      : typeName_(std::move(typeName)), items_(std::move(items)) {}
  std::string TypeName() const override { return typeName_; }
  static constexpr std::string_view kNames[] = {"Item", "Count"};
  DispId GetIdOfName(std::string_view name) override { return FindMember(kNames, name); }
  const void* MemberTable() const override { return kNames; }
  Variant Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) override {
    if (flags & (kInvokeLet | kInvokeSet)) throw RuntimeError(kErrNoSuchMember);
    if (id == 1) {
      CheckArgCount(args, 0, 0);
      return Variant(static_cast<std::int32_t>(items_.size()));
    }
    if (id != kDispIdValue) throw RuntimeError(kErrNoSuchMember);
    CheckArgCount(args, 1, 1);
    std::int32_t index = ToLong(args[0]);
    if (index < 0 || static_cast<std::size_t>(index) >= items_.size()) InvalidArgument();
    return items_[static_cast<std::size_t>(index)];
  }
  Ref<Enumerator> NewEnum() override { return MakeListEnumerator(items_); }

 private:
  std::string typeName_;
  std::vector<Variant> items_;
};

class MatchObject final : public Object {
 public:
  MatchObject(View subject, const Found& found) : firstIndex_(found.start) {
    value_ = SharedString(subject.substr(found.start, found.length));
    std::vector<Variant> groups;
    for (const auto& group : found.groups) {
      groups.push_back(group ? Variant(SharedString(subject.substr(group->first, group->second)))
                             : Variant());
    }
    subMatches_ = MakeRef<ItemList>("ISubMatches", std::move(groups));
  }
  std::string TypeName() const override { return "IMatch2"; }
  static constexpr std::string_view kNames[] = {"Value", "FirstIndex", "Length", "SubMatches"};
  DispId GetIdOfName(std::string_view name) override { return FindMember(kNames, name); }
  const void* MemberTable() const override { return kNames; }
  Variant Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) override {
    if (flags & (kInvokeLet | kInvokeSet)) throw RuntimeError(kErrNoSuchMember);
    // m.SubMatches(0): an index given to the collection property goes to its Item.
    if (id == 3 && !args.empty()) return subMatches_->Invoke(kDispIdValue, kInvokeGet, args);
    CheckArgCount(args, 0, 0);
    switch (id) {
      case 0:
        return Variant(value_);
      case 1:
        return Variant(static_cast<std::int32_t>(firstIndex_));
      case 2:
        return Variant(static_cast<std::int32_t>(value_.size()));
      case 3:
        return Variant(subMatches_);
      default:
        throw RuntimeError(kErrNoSuchMember);
    }
  }

 private:
  SharedString value_;
  std::size_t firstIndex_;
  Ref<Object> subMatches_;
};

// Appends the replacement text for one match, expanding $$, $&, $`, $' and $n / $nn (a group
// number that does not exist is copied as it stands).
void AppendReplacement(std::u16string& out, View replacement, View subject, const Found& m) {
  auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
  auto appendGroup = [&](std::size_t number) {
    const auto& group = m.groups[number - 1];
    if (group) out.append(subject.substr(group->first, group->second));
  };
  for (std::size_t i = 0; i < replacement.size(); ++i) {
    char16_t c = replacement[i];
    if (c != u'$' || i + 1 == replacement.size()) {
      out.push_back(c);
      continue;
    }
    char16_t next = replacement[i + 1];
    if (next == u'$') {
      out.push_back(u'$');
    } else if (next == u'&') {
      out.append(subject.substr(m.start, m.length));
    } else if (next == u'`') {
      out.append(subject.substr(0, m.start));
    } else if (next == u'\'') {
      out.append(subject.substr(m.start + m.length));
    } else if (isDigit(next)) {
      std::size_t one = next - u'0';
      std::size_t two = i + 2 < replacement.size() && isDigit(replacement[i + 2])
                            ? one * 10 + (replacement[i + 2] - u'0')
                            : 0;
      if (two >= 1 && two <= m.groups.size()) {
        appendGroup(two);
        i += 2;
        continue;
      }
      if (one < 1 || one > m.groups.size()) {
        out.push_back(c);
        continue;
      }
      appendGroup(one);
    } else {
      out.push_back(c);
      continue;
    }
    ++i;
  }
}

class RegExp final : public Object {
 public:
  std::string TypeName() const override { return "IRegExp2"; }
  static constexpr std::string_view kNames[] = {"Pattern", "IgnoreCase", "Global", "Multiline",
                                                "Test",    "Execute",    "Replace"};
  DispId GetIdOfName(std::string_view name) override { return FindMember(kNames, name, 1); }
  const void* MemberTable() const override { return kNames; }
  Variant Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) override;

 private:
  enum Member : DispId {
    kPattern = 1,
    kIgnoreCase,
    kGlobal,
    kMultiline,
    kTest,
    kExecute,
    kReplace
  };

  Variant Option(bool& option, std::uint8_t flags, std::span<Variant> args);
  CompiledPattern& Compiled();
  // Calls `onMatch` for the first match, or every match when Global is set. After an empty
  // match the search goes on one character further, so it always ends.
  template <class F>
  void ForEachMatch(View subject, F&& onMatch);
  // Replaces the matches with text (expanding $ references) or with what a function returns.
  Variant Replace(View subject, const Variant& replacement);

  SharedString pattern_;
  bool ignoreCase_ = false;
  bool global_ = false;
  bool multiline_ = false;
  std::unique_ptr<CompiledPattern> compiled_;
};

CompiledPattern& RegExp::Compiled() {
  if (!compiled_)
    compiled_ = std::make_unique<CompiledPattern>(pattern_.View(), ignoreCase_, multiline_);
  return *compiled_;
}

template <class F>
void RegExp::ForEachMatch(View subject, F&& onMatch) {
  CompiledPattern& compiled = Compiled();
  Found found;
  std::size_t from = 0;
  while (from <= subject.size() && compiled.Search(subject, from, found)) {
    onMatch(found);
    if (!global_) break;
    from = found.start + (found.length ? found.length : 1);
  }
}

// The text a function given as the replacement (GetRef) returns for a match; it is called with
// the match, each submatch, the match's position and the whole subject.
SharedString CalledReplacement(Object& function, View subject, const Found& m) {
  std::vector<Variant> args;
  args.emplace_back(SharedString(subject.substr(m.start, m.length)));
  for (const auto& group : m.groups) {
    args.push_back(group ? Variant(SharedString(subject.substr(group->first, group->second)))
                         : Variant());
  }
  args.emplace_back(static_cast<std::int32_t>(m.start));
  args.emplace_back(SharedString(subject));
  return ToString(function.Invoke(kDispIdValue, kInvokeCall | kInvokeGet, args));
}

Variant RegExp::Replace(View subject, const Variant& replacement) {
  SharedString text;
  Object* function = replacement.IsObject() ? replacement.AsObject() : nullptr;
  // A replacement that is not text is converted as a number would be: True gives "-1".
  if (!function) {
    text = replacement.Type() == VarType::Boolean
               ? SharedString(replacement.AsBool() ? u"-1" : u"0")
               : ToString(replacement);
  }
  std::u16string out;
  std::size_t copied = 0;
  ForEachMatch(subject, [&](const Found& m) {
    out.append(subject.substr(copied, m.start - copied));
    if (function) {
      out.append(CalledReplacement(*function, subject, m).View());
    } else {
      AppendReplacement(out, text.View(), subject, m);
    }
    CheckTextLength(out.size());
    copied = m.start + m.length;
  });
  out.append(subject.substr(copied));
  return TextResult(out);
}

Variant RegExp::Option(bool& option, std::uint8_t flags, std::span<Variant> args) {
  if (!(flags & kInvokeLet)) {
    CheckArgCount(args, 0, 0);
    return Variant(option);
  }
  CheckArgCount(args, 1, 1);
  option = ToBoolean(args[0]);
  compiled_.reset();
  return Variant();
}

Variant RegExp::Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) {
  if ((flags & kInvokeSet) || ((flags & kInvokeLet) && id >= kTest))
    throw RuntimeError(kErrNoSuchMember);
  switch (id) {
    case kPattern:
      if (!(flags & kInvokeLet)) {
        CheckArgCount(args, 0, 0);
        return Variant(pattern_);
      }
      CheckArgCount(args, 1, 1);
      pattern_ = ToString(args[0]);
      compiled_.reset();
      return Variant();
    case kIgnoreCase:
      return Option(ignoreCase_, flags, args);
    case kGlobal:
      return Option(global_, flags, args);
    case kMultiline:
      return Option(multiline_, flags, args);
    case kTest: {
      CheckArgCount(args, 1, 1);
      SharedString subject = ToString(args[0]);
      Found found;
      return Variant(Compiled().Search(subject.View(), 0, found));
    }
    case kExecute: {
      CheckArgCount(args, 1, 1);
      SharedString subject = ToString(args[0]);
      std::vector<Variant> matches;
      ForEachMatch(subject.View(), [&](const Found& m) {
        matches.emplace_back(MakeRef<MatchObject>(subject.View(), m));
      });
      return Variant(MakeRef<ItemList>("IMatchCollection2", std::move(matches)));
    }
    case kReplace: {
      CheckArgCount(args, 2, 2);
      SharedString subject = ToString(args[0]);
      return Replace(subject.View(), args[1]);
    }
    default:
      throw RuntimeError(kErrNoSuchMember);
  }
}

}  // namespace

Ref<Object> MakeRegExp() {
  return MakeRef<RegExp>();
}

}  // namespace sl::vbs
