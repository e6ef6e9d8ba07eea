// Intrusive reference counting for the objects that values share: scriptable objects, arrays.
// The whole program runs on one thread, so the counts are plain integers.
#pragma once

#include <cstdint>
#include <utility>

namespace sl {

class RefCounted {
 public:
  RefCounted() = default;
  RefCounted(const RefCounted&) = delete;
  RefCounted& operator=(const RefCounted&) = delete;

  void AddRef() const noexcept { ++refs_; }
  void Release() const noexcept {
    if (--refs_ == 0) delete this;
  }
  std::int32_t RefCount() const noexcept { return refs_; }

 protected:
  virtual ~RefCounted() = default;

 private:
  mutable std::int32_t refs_ = 0;
};

// Owning pointer to a RefCounted object.
template <class T>
class Ref {
 public:
  Ref() noexcept = default;
  Ref(std::nullptr_t) noexcept {}
  explicit Ref(T* p) noexcept : p_(p) {
    if (p_) p_->AddRef();
  }
  Ref(const Ref& o) noexcept : p_(o.p_) {
    if (p_) p_->AddRef();
  }
  Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  template <class U>
  Ref(const Ref<U>& o) noexcept : p_(o.get()) {
    if (p_) p_->AddRef();
  }
  ~Ref() {
    if (p_) p_->Release();
  }
  Ref& operator=(const Ref& o) noexcept {
    Ref(o).swap(*this);
    return *this;
  }
  Ref& operator=(Ref&& o) noexcept {
    Ref(std::move(o)).swap(*this);
    return *this;
  }
  void swap(Ref& o) noexcept { std::swap(p_, o.p_); }
  void reset() noexcept { Ref().swap(*this); }

  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  T& operator*() const noexcept { return *p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }
  friend bool operator==(const Ref& a, const Ref& b) noexcept { return a.p_ == b.p_; }

 private:
  T* p_ = nullptr;
};

template <class T, class... Args>
Ref<T> MakeRef(Args&&... args) {
  return Ref<T>(new T(std::forward<Args>(args)...));
}

}  // namespace sl
