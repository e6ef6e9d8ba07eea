// DispatchTable: the members (properties and methods) of a scriptable class, declared once, from
// which GetIdOfName and Invoke of the late-bound object interface are answered. Names are found
// without regard to letter case; member ids are 1-based positions and id 0 is the default member.
//
//   static const DispatchTable<Label>& Members() {
//     static const DispatchTable<Label> table = [] {
//       DispatchTable<Label> t;
//       AddCommonMembers(t);
//       t.Property("Caption", [](Label& l) -> Variant { return l.Caption(); },
//                  [](Label& l, const Variant& v) { l.SetCaption(ToString(v)); });
//       t.Default("Caption");
//       return t;
//     }();
//     return table;
//   }
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/object.h"
#include "core/runtime_error.h"
#include "core/variant.h"

namespace sl {

template <class T>
class DispatchTable {
 public:
  // A property read with its index arguments (none for a plain property).
  using IndexedGetter = std::function<Variant(T&, std::span<Variant> index)>;
  // A property assignment with its index arguments and the value.
  using IndexedSetter = std::function<void(T&, std::span<Variant> index, const Variant& value)>;
  using Method = std::function<Variant(T&, std::span<Variant> args)>;

  // A plain property; a null setter makes it read-only (assigning is error 383).
  DispatchTable& Property(std::string name, std::function<Variant(T&)> get,
                          std::function<void(T&, const Variant&)> let = nullptr) {
    Member m;
    m.name = std::move(name);
    m.minArgs = m.maxArgs = 0;
    if (get) m.get = [g = std::move(get)](T& self, std::span<Variant>) { return g(self); };
    if (let) {
      m.let = [s = std::move(let)](T& self, std::span<Variant>, const Variant& v) { s(self, v); };
    }
    Add(std::move(m));
    return *this;
  }

  // A property taking `minIndex` to `maxIndex` index arguments (List(i), Selected(i)).
  DispatchTable& IndexedProperty(std::string name, int minIndex, int maxIndex, IndexedGetter get,
                                 IndexedSetter let = nullptr) {
    Member m;
    m.name = std::move(name);
    m.minArgs = minIndex;
    m.maxArgs = maxIndex;
    m.get = std::move(get);
    m.let = std::move(let);
    Add(std::move(m));
    return *this;
  }

  // A method taking `minArgs` to `maxArgs` arguments.
  DispatchTable& Function(std::string name, int minArgs, int maxArgs, Method call) {
    Member m;
    m.name = std::move(name);
    m.minArgs = minArgs;
    m.maxArgs = maxArgs;
    m.call = std::move(call);
    Add(std::move(m));
    return *this;
  }

  // Makes an already declared member the default one.
  DispatchTable& Default(std::string_view name) {
    defaultId_ = GetIdOfName(name);
    return *this;
  }

  DispId GetIdOfName(std::string_view name) const {
    for (std::size_t i = 0; i < members_.size(); ++i) {
      if (NamesEqual(members_[i].name, name)) return static_cast<DispId>(i + 1);
    }
    return kDispIdUnknown;
  }

  // The declared name of a member id ("" when unknown).
  std::string_view NameOf(DispId id) const {
    const Member* m = Find(id);
    return m ? std::string_view(m->name) : std::string_view();
  }

  Variant Invoke(T& self, DispId id, std::uint8_t flags, std::span<Variant> args) const {
    const Member* m = Find(id);
    if (!m) throw RuntimeError(kErrNoSuchMember);
    if (flags & (kInvokeLet | kInvokeSet)) {
      if (args.empty()) throw RuntimeError(kErrWrongArgCount);
      if (!m->let) {
        if (m->get || m->call) throw RuntimeError(kErrReadOnlyProperty, "Property is read-only");
        throw RuntimeError(kErrNoSuchMember);
      }
      std::span<Variant> index = args.first(args.size() - 1);
      CheckCount(*m, index.size());
      m->let(self, index, args.back());
      return Variant();
    }
    if ((flags & kInvokeGet) && m->get) {
      CheckCount(*m, args.size());
      return m->get(self, args);
    }
    if ((flags & kInvokeCall) && m->call) {
      CheckCount(*m, args.size());
      return m->call(self, args);
    }
    if ((flags & kInvokeCall) && m->get) {
      CheckCount(*m, args.size());
      return m->get(self, args);
    }
    throw RuntimeError(kErrNoSuchMember);
  }

 private:
  struct Member {
    std::string name;
    IndexedGetter get;
    IndexedSetter let;
    Method call;
    int minArgs = 0;
    int maxArgs = 0;
  };

  // A member declared again replaces the earlier one (a control's own Refresh over the common one).
  void Add(Member m) {
    DispId id = GetIdOfName(m.name);
    if (id != kDispIdUnknown) {
      members_[static_cast<std::size_t>(id) - 1] = std::move(m);
    } else {
      members_.push_back(std::move(m));
    }
  }

  const Member* Find(DispId id) const {
    if (id == kDispIdValue) id = defaultId_;
    if (id < 1 || static_cast<std::size_t>(id) > members_.size()) return nullptr;
    return &members_[static_cast<std::size_t>(id) - 1];
  }
  static void CheckCount(const Member& m, std::size_t count) {
    if (static_cast<int>(count) < m.minArgs || static_cast<int>(count) > m.maxArgs) {
      throw RuntimeError(kErrWrongArgCount);
    }
  }

  std::vector<Member> members_;
  DispId defaultId_ = kDispIdUnknown;
};

}  // namespace sl
