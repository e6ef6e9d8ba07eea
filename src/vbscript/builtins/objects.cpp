// Object and engine functions: CreateObject, GetObject, ScriptEngine and its versions, RGB,
// LoadPicture, GetLocale and SetLocale.
#include <algorithm>

#include "core/object.h"
#include "vbscript/builtins/arguments.h"
#include "vbscript/builtins/dictionary.h"
#include "vbscript/builtins/families.h"
#include "vbscript/builtins/regexp.h"

namespace sl::vbs {

namespace {

constexpr std::int32_t kUsEnglish = 1033;

[[noreturn]] void CannotCreate(const std::string& progId) {
  throw RuntimeError(kErrCannotCreate, "ActiveX component can't create object: '" + progId + "'");
}

// The host answers first, so a game can offer its own objects; then the objects the engine
// makes itself.
Variant CreateObject(BuiltinContext& context, std::span<Variant> a) {
  std::string progId = ToUtf8(Variant(ToString(a[0])));
  if (Ref<Object> hosted = context.CreateHostObject(progId)) return Variant(hosted);
  if (NamesEqual(progId, "Scripting.Dictionary")) return Variant(MakeDictionary());
  if (NamesEqual(progId, "VBScript.RegExp")) return Variant(MakeRegExp());
  CannotCreate(progId);
}

// There is no registry of running objects or files to bind to.
Variant GetObject(BuiltinContext&, std::span<Variant> a) {
  std::string name = HasArg(a, 1) ? ToUtf8(Variant(ToString(a[1]))) : std::string();
  if (name.empty() && HasArg(a, 0)) name = ToUtf8(Variant(ToString(a[0])));
  CannotCreate(name);
}

Variant ScriptEngine(BuiltinContext&, std::span<Variant>) {
  return Variant("VBScript");
}
Variant ScriptEngineMajorVersion(BuiltinContext&, std::span<Variant>) {
  return Variant(std::int32_t{5});
}
Variant ScriptEngineMinorVersion(BuiltinContext&, std::span<Variant>) {
  return Variant(std::int32_t{8});
}
Variant ScriptEngineBuildVersion(BuiltinContext&, std::span<Variant>) {
  return Variant(std::int32_t{16384});
}

// RGB(red, green, blue) as &HBBGGRR; a part above 255 counts as 255, a negative one is an error.
Variant RGB(BuiltinContext&, std::span<Variant> a) {
  std::int32_t color = 0;
  for (std::size_t i = 0; i < 3; ++i) {
    std::int32_t part = ToLong(a[i]);
    if (part < 0) InvalidArgument();
    color |= std::min(part, 255) << (8 * i);
  }
  return Variant(color);
}

// Pictures are not available to scripts.
Variant LoadPicture(BuiltinContext&, std::span<Variant>) {
  throw RuntimeError(kErrInvalidPicture);
}

// Scripts always run under United States English; SetLocale is accepted and changes nothing.
Variant GetLocale(BuiltinContext&, std::span<Variant>) {
  return Variant(kUsEnglish);
}
Variant SetLocale(BuiltinContext&, std::span<Variant>) {
  return Variant(kUsEnglish);
}

constexpr BuiltinInfo kObjects[] = {
    {"CreateObject", CreateObject, 1, 2},
    {"GetLocale", GetLocale, 0, 0},
    {"GetObject", GetObject, 0, 2},
    {"LoadPicture", LoadPicture, 1, 1},
    {"RGB", RGB, 3, 3},
    {"ScriptEngine", ScriptEngine, 0, 0},
    {"ScriptEngineBuildVersion", ScriptEngineBuildVersion, 0, 0},
    {"ScriptEngineMajorVersion", ScriptEngineMajorVersion, 0, 0},
    {"ScriptEngineMinorVersion", ScriptEngineMinorVersion, 0, 0},
    {"SetLocale", SetLocale, 0, 1},
};

}  // namespace

std::span<const BuiltinInfo> ObjectBuiltins() {
  return kObjects;
}

}  // namespace sl::vbs
