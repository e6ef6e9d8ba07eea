// The vb* constants of the language. Numeric constants are Integers, except the colours, the
// message box options above 16 bits and vbObjectError, which are Longs, as the classic engine
// defines them; the string constants are the control characters they name.
#include <algorithm>
#include <vector>

#include "core/object.h"
#include "vbscript/builtins/builtin.h"

namespace sl::vbs {

namespace {

template <std::int16_t N>
Variant Integer() {
  return Variant(N);
}

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
    {"vbBinaryCompare", Integer<0>},
    {"vbTextCompare", Integer<1>},
    {"vbDatabaseCompare", Integer<2>},
    // Days and weeks
    {"vbUseSystemDayOfWeek", Integer<0>},
    {"vbSunday", Integer<1>},
    {"vbMonday", Integer<2>},
    {"vbTuesday", Integer<3>},
    {"vbWednesday", Integer<4>},
    {"vbThursday", Integer<5>},
    {"vbFriday", Integer<6>},
    {"vbSaturday", Integer<7>},
    {"vbUseSystem", Integer<0>},
    {"vbFirstJan1", Integer<1>},
    {"vbFirstFourDays", Integer<2>},
    {"vbFirstFullWeek", Integer<3>},
    // Date formats
    {"vbGeneralDate", Integer<0>},
    {"vbLongDate", Integer<1>},
    {"vbShortDate", Integer<2>},
    {"vbLongTime", Integer<3>},
    {"vbShortTime", Integer<4>},
    // Message box buttons, icons, defaults and modality
    {"vbOKOnly", Integer<0>},
    {"vbOKCancel", Integer<1>},
    {"vbAbortRetryIgnore", Integer<2>},
    {"vbYesNoCancel", Integer<3>},
    {"vbYesNo", Integer<4>},
    {"vbRetryCancel", Integer<5>},
    {"vbCritical", Integer<16>},
    {"vbQuestion", Integer<32>},
    {"vbExclamation", Integer<48>},
    {"vbInformation", Integer<64>},
    {"vbDefaultButton1", Integer<0>},
    {"vbDefaultButton2", Integer<256>},
    {"vbDefaultButton3", Integer<512>},
    {"vbDefaultButton4", Integer<768>},
    {"vbApplicationModal", Integer<0>},
    {"vbSystemModal", Integer<4096>},
    {"vbMsgBoxHelpButton", Long<16384>},
    {"vbMsgBoxSetForeground", Long<65536>},
    {"vbMsgBoxRight", Long<524288>},
    {"vbMsgBoxRtlReading", Long<1048576>},
    // Message box answers
    {"vbOK", Integer<1>},
    {"vbCancel", Integer<2>},
    {"vbAbort", Integer<3>},
    {"vbRetry", Integer<4>},
    {"vbIgnore", Integer<5>},
    {"vbYes", Integer<6>},
    {"vbNo", Integer<7>},
    // Tristate
    {"vbUseDefault", Integer<-2>},
    {"vbTrue", Integer<-1>},
    {"vbFalse", Integer<0>},
    // VarType
    {"vbEmpty", Integer<0>},
    {"vbNull", Integer<1>},
    {"vbInteger", Integer<2>},
    {"vbLong", Integer<3>},
    {"vbSingle", Integer<4>},
    {"vbDouble", Integer<5>},
    {"vbCurrency", Integer<6>},
    {"vbDate", Integer<7>},
    {"vbString", Integer<8>},
    {"vbObject", Integer<9>},
    {"vbError", Integer<10>},
    {"vbBoolean", Integer<11>},
    {"vbVariant", Integer<12>},
    {"vbDataObject", Integer<13>},
    {"vbDecimal", Integer<14>},
    {"vbByte", Integer<17>},
    {"vbArray", Integer<8192>},
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
