#include "vbscript/script_objects.h"

#include <new>

#include "core/memory_budget.h"
#include "core/variant_convert.h"
#include "vbscript/builtins/arguments.h"
#include "vbscript/compiler.h"
#include "vbscript/errors.h"
#include "vbscript/interpreter.h"

namespace sl::vbs {

namespace {

Interpreter& Live(const Ref<CodeStore>& store) {
  if (!store->interpreter) throw MakeError(kErrInternal);  // the engine was reset
  return *store->interpreter;
}

// Splits host arguments into the index arguments and the assigned value of a Let/Set.
CallArgs HostArgs(std::uint8_t flags, std::span<Variant> args) {
  CallArgs out;
  if ((flags & (kInvokeLet | kInvokeSet)) && !args.empty()) {
    out.values = args.subspan(0, args.size() - 1);
    out.assigned = &args.back();
  } else {
    out.values = args;
  }
  out.valuesByRef = true;
  return out;
}

}  // namespace

void CodeStore::ReleaseLater(std::vector<Variant>& values) {
  for (Variant& v : values) {
    if (v.IsObject() || v.IsArray()) dying_.push_back(std::move(v));
  }
  values.clear();
  if (releasing_) return;
  releasing_ = true;
  while (!dying_.empty()) {
    Variant last = std::move(dying_.back());
    dying_.pop_back();
  }
  releasing_ = false;
}

// ---- ClassInstance ----

// What an instance takes besides its fields, as counted against the script's memory budget.
constexpr std::size_t kInstanceBytes = sizeof(ClassInstance) + 32;

std::size_t InstanceBytes(const ClassDef* cls) {
  return kInstanceBytes + static_cast<std::size_t>(cls->fieldCount) * sizeof(Variant);
}

ClassInstance::ClassInstance(Ref<CodeStore> store, ClassDef* cls)
    : store_(std::move(store)), cls_(cls) {
  MemoryBudget::Take(InstanceBytes(cls));
  fields_.resize(static_cast<std::size_t>(cls->fieldCount));
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (!cls->fieldIsArray[i]) continue;
    const std::vector<std::int32_t>& uppers = cls->fieldArrays[i];
    if (uppers.empty()) {
      fields_[i] = Variant(MakeRef<VariantArray>());
    } else {
      std::vector<VariantArray::Bound> bounds;
      for (std::int32_t upper : uppers)
        bounds.push_back({0, upper + 1});
      fields_[i] = Variant(MakeRef<VariantArray>(std::move(bounds), true));
    }
  }
}

ClassInstance::~ClassInstance() {
  RunTerminate();
  store_->ReleaseLater(fields_);
  MemoryBudget::Give(InstanceBytes(cls_));
}

void ClassInstance::RunTerminate() {
  if (terminated_ || !cls_->terminate) return;
  Interpreter* interp = store_->interpreter;
  if (!interp || interp->Aborting()) return;
  // Class_Terminate runs on a stand-in that takes over the fields, so whatever the handler does
  // with Me (even keeping it) refers to a live object rather than to this one.
  try {
    Ref<ClassInstance> ghost(new ClassInstance(store_, cls_));
    ghost->terminated_ = true;
    ghost->fields_ = std::move(fields_);
    interp->RunTerminate(*ghost);
  } catch (const RuntimeError&) {
    // The memory budget refused the stand-in (the interpreter itself drops the handler's
    // errors): the object goes without its handler.
  } catch (const ScriptAbort&) {
    // The script is being stopped: the object goes without its handler.
  } catch (const std::bad_alloc&) {
    // No memory for the stand-in: the object goes without its handler.
  }
}

DispId ClassInstance::GetIdOfName(std::string_view name) {
  auto it = cls_->memberIndex.find(ToLowerAscii(name));
  if (it == cls_->memberIndex.end()) return kDispIdUnknown;
  if (!cls_->members[static_cast<std::size_t>(it->second)].isPublic) return kDispIdUnknown;
  return it->second + 1;
}

Variant ClassInstance::Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) {
  int member = id == kDispIdValue ? cls_->defaultMember : id - 1;
  if (member < 0 || static_cast<std::size_t>(member) >= cls_->members.size()) {
    throw MakeError(kErrNoSuchMember);
  }
  Ref<Object> keep(this);
  return Live(store_).InvokeInstance(*this, member, flags, HostArgs(flags, args));
}

// ---- ProcRef ----

Variant ProcRef::Invoke(DispId id, std::uint8_t /*flags*/, std::span<Variant> args) {
  if (id != kDispIdValue) throw MakeError(kErrNoSuchMember);
  CallArgs callArgs;
  callArgs.values = args;
  callArgs.valuesByRef = true;
  return Live(store_).CallProc(proc_, nullptr, callArgs);
}

// ---- ErrObject ----

namespace {
enum ErrMember : DispId {
  kNumber = 1,
  kDescription,
  kSource,
  kHelpFile,
  kHelpContext,
  kRaise,
  kClear
};
}  // namespace

DispId ErrObject::GetIdOfName(std::string_view name) {
  static const std::pair<const char*, DispId> kMembers[] = {
      {"number", kNumber},     {"description", kDescription}, {"source", kSource},
      {"helpfile", kHelpFile}, {"helpcontext", kHelpContext}, {"raise", kRaise},
      {"clear", kClear}};
  for (auto& [memberName, id] : kMembers) {
    if (NamesEqual(name, memberName)) return id;
  }
  return kDispIdUnknown;
}

Variant ErrObject::Invoke(DispId id, std::uint8_t flags, std::span<Variant> args) {
  if (id == kDispIdValue) id = kNumber;
  bool assign = (flags & (kInvokeLet | kInvokeSet)) != 0;
  if (assign) {
    if (args.size() != 1) throw MakeError(kErrWrongArgCount);
    const Variant& v = args[0];
    switch (id) {
      case kNumber:
        number_ = ToLong(v);
        return Variant();
      case kDescription:
        description_ = ToUtf8(v);
        return Variant();
      case kSource:
        source_ = ToUtf8(v);
        return Variant();
      case kHelpFile:
        helpFile_ = ToUtf8(v);
        return Variant();
      case kHelpContext:
        helpContext_ = ToLong(v);
        return Variant();
      default:
        throw MakeError(kErrNoSuchMember);
    }
  }
  switch (id) {
    case kNumber:
      return Variant(static_cast<std::int32_t>(number_));
    case kDescription:
      return Variant(description_);
    case kSource:
      return Variant(source_);
    case kHelpFile:
      return Variant(helpFile_);
    case kHelpContext:
      return Variant(static_cast<std::int32_t>(helpContext_));
    case kClear:
      Clear();
      return Variant();
    case kRaise:
      Raise(args);
    default:
      throw MakeError(kErrNoSuchMember);
  }
}

// Err.Raise number[, source[, description[, helpfile[, helpcontext]]]]. What is left out keeps
// the value of the error being handled, if any: Err.Raise 5 after Err.Raise 1, "Mine", "Text"
// raises 5 from "Mine" with "Text". Numbers are 1 to 65535 or COM statuses (negative).
void ErrObject::Raise(std::span<Variant> args) {
  if (args.empty() || args.size() > 5) throw MakeError(kErrWrongArgCount);
  std::int32_t number = ToLong(args[0]);
  if (number == 0 || number > 0xFFFF) throw MakeError(kErrInvalidCall);
  number = ClassicErrorNumber(number);
  if (HasArg(args, 1)) {
    source_ = ToUtf8(args[1]);
  } else if (source_.empty()) {
    source_ = kRuntimeErrorSource;
  }
  if (HasArg(args, 2)) {
    description_ = ToUtf8(args[2]);
  } else if (description_.empty()) {
    description_ = std::string(ErrorDescription(number));
    if (description_ == RuntimeError::StandardDescription(-1))
      description_ = "Unknown runtime error";
  }
  if (HasArg(args, 3)) helpFile_ = ToUtf8(args[3]);
  if (HasArg(args, 4)) helpContext_ = ToLong(args[4]);
  ScriptError error(number, description_, "", false, "", 0, 0);
  error.SetSource(source_);
  error.SetHelp(helpFile_, helpContext_);
  throw error;
}

void ErrObject::Set(int number, std::string description, std::string source, std::string helpFile,
                    int helpContext) {
  number_ = number;
  description_ = std::move(description);
  source_ = std::move(source);
  helpFile_ = std::move(helpFile);
  helpContext_ = helpContext;
}

void ErrObject::Clear() {
  number_ = 0;
  description_.clear();
  source_.clear();
  helpFile_.clear();
  helpContext_ = 0;
}

}  // namespace sl::vbs
