// Move-only owners of platform handles: each closes its handle through the
// platform that gave it, on every way out of the owning scope.
#pragma once

#include <utility>

#include "platform/Platform.h"

namespace zk {

// Closer names the role whose call closes the handle (Closer::Role).
template <typename T, T Empty, typename Closer>
class UniqueResource {
 public:
  using Role = typename Closer::Role;
  UniqueResource() = default;
  UniqueResource(Role& platform, T value) : platform_(&platform), value_(value) {}
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
  Role* platform_ = nullptr;
  T value_ = Empty;
};

struct CloseKernelHandle {
  using Role = TKernelApi;
  void operator()(TKernelApi& p, Handle h) const { p.CloseHandle(h); }
};
struct CloseFind {
  using Role = TFilesApi;
  void operator()(TFilesApi& p, Handle h) const { p.FindClose(h); }
};
struct CloseRegKey {
  using Role = TSettingsApi;
  void operator()(TSettingsApi& p, HKey k) const { p.RegCloseKey(k); }
};
struct FreeItemIdList {
  using Role = TShellApi;
  void operator()(TShellApi& p, std::uintptr_t pidl) const { p.CoTaskMemFree(pidl); }
};
struct CloseMixer {
  using Role = TAudioApi;
  void operator()(TAudioApi& p, HMixer m) const { p.mixerClose(m); }
};
struct ReleaseComObject {
  using Role = TAudioApi;
  void operator()(TAudioApi& p, ComObject o) const { p.IUnknown_Release(o); }
};
struct DestroyWindowHandle {
  using Role = TWindowsApi;
  void operator()(TWindowsApi& p, HWnd w) const { p.DestroyWindow(w); }
};
struct DestroyIconHandle {
  using Role = TShellApi;
  void operator()(TShellApi& p, HIcon i) const { p.DestroyIcon(i); }
};
struct FreeGlobalBlock {
  using Role = TInputApi;
  void operator()(TInputApi& p, HGlobal g) const { p.GlobalFree(g); }
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
using UniqueCom = UniqueResource<ComObject, 0, ReleaseComObject>;
// An icon from LoadImageA.
using UniqueIcon = UniqueResource<HIcon, 0, DestroyIconHandle>;

}  // namespace zk
