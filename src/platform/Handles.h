// Move-only owners of platform handles: each closes its handle through the
// platform that gave it, on every way out of the owning scope.
#pragma once

#include <utility>

#include "platform/Platform.h"

namespace zk {

template <typename T, T Empty, typename Closer>
class UniqueResource {
 public:
  UniqueResource() = default;
  UniqueResource(TPlatform& platform, T value) : platform_(&platform), value_(value) {}
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  UniqueResource(UniqueResource&& other) noexcept
      : platform_(other.platform_), value_(std::exchange(other.value_, Empty)) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) {
      reset();
      platform_ = other.platform_;
      value_ = std::exchange(other.value_, Empty);
    }
    return *this;
  }
  ~UniqueResource() { reset(); }

  T get() const { return value_; }
  bool valid() const { return value_ != Empty; }
  explicit operator bool() const { return valid(); }
  T release() { return std::exchange(value_, Empty); }
  void reset() {
    if (value_ != Empty && platform_ != nullptr) Closer{}(*platform_, value_);
    value_ = Empty;
  }

 private:
  TPlatform* platform_ = nullptr;
  T value_ = Empty;
};

struct CloseKernelHandle {
  void operator()(TPlatform& p, Handle h) const { p.CloseHandle(h); }
};
struct CloseFind {
  void operator()(TPlatform& p, Handle h) const { p.FindClose(h); }
};
struct CloseRegKey {
  void operator()(TPlatform& p, HKey k) const { p.RegCloseKey(k); }
};
struct FreeItemIdList {
  void operator()(TPlatform& p, std::uintptr_t pidl) const { p.CoTaskMemFree(pidl); }
};
struct CloseMixer {
  void operator()(TPlatform& p, HMixer m) const { p.mixerClose(m); }
};
struct DestroyWindowHandle {
  void operator()(TPlatform& p, HWnd w) const { p.DestroyWindow(w); }
};
struct DestroyIconHandle {
  void operator()(TPlatform& p, HIcon i) const { p.DestroyIcon(i); }
};
struct FreeGlobalBlock {
  void operator()(TPlatform& p, HGlobal g) const { p.GlobalFree(g); }
};

// Mutexes and other handles whose failure value is NULL.
using UniqueHandle = UniqueResource<Handle, 0, CloseKernelHandle>;
// Files, whose failure value is INVALID_HANDLE_VALUE.
using UniqueFile = UniqueResource<Handle, INVALID_HANDLE, CloseKernelHandle>;
// A search of a folder's files, whose failure value is INVALID_HANDLE_VALUE.
using UniqueFind = UniqueResource<Handle, INVALID_HANDLE, CloseFind>;
using UniqueRegKey = UniqueResource<HKey, 0, CloseRegKey>;
using UniquePidl = UniqueResource<std::uintptr_t, 0, FreeItemIdList>;
using UniqueWindow = UniqueResource<HWnd, 0, DestroyWindowHandle>;
// A global memory block until it is freed or handed to the clipboard.
using UniqueGlobal = UniqueResource<HGlobal, 0, FreeGlobalBlock>;
using UniqueMixer = UniqueResource<HMixer, 0, CloseMixer>;
// An icon from LoadImageA.
using UniqueIcon = UniqueResource<HIcon, 0, DestroyIconHandle>;

}  // namespace zk
