// The vb* constants of the language. Numeric constants are Longs, as the classic engine
// defines them; the string constants are the control characters they name.
#include <algorithm>
#include <vector>

#include "core/object.h"
#include "vbscript/builtins/builtin.h"

namespace sl::vbs {

namespace {

template <std::int32_t N>
Variant Long() {
  return Variant(N);
}

template <char16_t... Units>
Variant Text() {
  static constexpr char16_t kUnits[] = {Units..., 0};
  return Variant(std::u16string_view(kUnits, sizeof...(Units)));
}

constexpr ConstantInfo kConstants[] = {
    // Text
    {"vbCr", Text<u'\r'>},
    {"vbLf", Text<u'\n'>},
    {"vbCrLf", Text<u'\r', u'\n'>},
    {"vbNewLine", Text<u'\r', u'\n'>},
    {"vbNullChar", Text<u'\0'>},
    {"vbNullString", Text<>},
    {"vbTab", Text<u'\t'>},
    {"vbVerticalTab", Text<u'\v'>},
    {"vbFormFeed", Text<u'\f'>},
    // Colours (&HBBGGRR)
    {"vbBlack", Long<0x000000>},
    {"vbRed", Long<0x0000FF>},
    {"vbGreen", Long<0x00FF00>},
    {"vbYellow", Long<0x00FFFF>},
    {"vbBlue", Long<0xFF0000>},
    {"vbMagenta", Long<0xFF00FF>},
    {"vbCyan", Long<0xFFFF00>},
    {"vbWhite", Long<0xFFFFFF>},
    // Comparison
    {"vbBinaryCompare", Long<0>},
    {"vbTextCompare", Long<1>},
    // Days and weeks
    {"vbUseSystemDayOfWeek", Long<0>},
    {"vbSunday", Long<1>},
    {"vbMonday", Long<2>},
    {"vbTuesday", Long<3>},
    {"vbWednesday", Long<4>},
    {"vbThursday", Long<5>},
    {"vbFriday", Long<6>},
    {"vbSaturday", Long<7>},
    {"vbUseSystem", Long<0>},
    {"vbFirstJan1", Long<1>},
    {"vbFirstFourDays", Long<2>},
    {"vbFirstFullWeek", Long<3>},
    // Date formats
    {"vbGeneralDate", Long<0>},
    {"vbLongDate", Long<1>},
    {"vbShortDate", Long<2>},
    {"vbLongTime", Long<3>},
    {"vbShortTime", Long<4>},
    // Message box buttons, icons, defaults and modality
    {"vbOKOnly", Long<0>},
    {"vbOKCancel", Long<1>},
    {"vbAbortRetryIgnore", Long<2>},
    {"vbYesNoCancel", Long<3>},
    {"vbYesNo", Long<4>},
    {"vbRetryCancel", Long<5>},
    {"vbCritical", Long<16>},
    {"vbQuestion", Long<32>},
    {"vbExclamation", Long<48>},
    {"vbInformation", Long<64>},
    {"vbDefaultButton1", Long<0>},
    {"vbDefaultButton2", Long<256>},
    {"vbDefaultButton3", Long<512>},
    {"vbDefaultButton4", Long<768>},
    {"vbApplicationModal", Long<0>},
    {"vbSystemModal", Long<4096>},
    // Message box answers
    {"vbOK", Long<1>},
    {"vbCancel", Long<2>},
    {"vbAbort", Long<3>},
    {"vbRetry", Long<4>},
    {"vbIgnore", Long<5>},
    {"vbYes", Long<6>},
    {"vbNo", Long<7>},
    // Tristate
    {"vbUseDefault", Long<-2>},
    {"vbTrue", Long<-1>},
    {"vbFalse", Long<0>},
    // VarType
    {"vbEmpty", Long<0>},
    {"vbNull", Long<1>},
    {"vbInteger", Long<2>},
    {"vbLong", Long<3>},
    {"vbSingle", Long<4>},
    {"vbDouble", Long<5>},
    {"vbCurrency", Long<6>},
    {"vbDate", Long<7>},
    {"vbString", Long<8>},
    {"vbObject", Long<9>},
    {"vbError", Long<10>},
    {"vbBoolean", Long<11>},
    {"vbVariant", Long<12>},
    {"vbDataObject", Long<13>},
    {"vbDecimal", Long<14>},
    {"vbByte", Long<17>},
    {"vbArray", Long<8192>},
    // Errors
    {"vbObjectError", Long<static_cast<std::int32_t>(0x80040000u)>},
};

}  // namespace

std::span<const ConstantInfo> AllConstants() {
  return kConstants;
}

const ConstantInfo* FindConstant(std::string_view name) {
  if (name.size() < 3) return nullptr;
  for (const ConstantInfo& info : kConstants) {
    if (NamesEqual(info.name, name)) return &info;
  }
  return nullptr;
}

}  // namespace sl::vbs
