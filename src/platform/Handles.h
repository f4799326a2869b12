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

// Closes a handle with `Call`, a call of the role `R` that gave it.
template <typename R, auto Call>
struct CloseWith {
  using Role = R;
  template <typename T>
  void operator()(R& p, T handle) const {
    (p.*Call)(handle);
  }
};
using CloseKernelHandle = CloseWith<TKernelApi, &TKernelApi::CloseHandle>;

// Mutexes and other handles whose failure value is NULL.
using UniqueHandle = UniqueResource<Handle, 0, CloseKernelHandle>;
// Files, whose failure value is INVALID_HANDLE_VALUE.
using UniqueFile = UniqueResource<Handle, INVALID_HANDLE, CloseKernelHandle>;
// A search of a folder's files, whose failure value is INVALID_HANDLE_VALUE.
using UniqueFind = UniqueResource<Handle, INVALID_HANDLE, CloseWith<TFilesApi, &TFilesApi::FindClose>>;
using UniqueRegKey = UniqueResource<HKey, 0, CloseWith<TSettingsApi, &TSettingsApi::RegCloseKey>>;
using UniquePidl = UniqueResource<std::uintptr_t, 0, CloseWith<TShellApi, &TShellApi::CoTaskMemFree>>;
using UniqueWindow = UniqueResource<HWnd, 0, CloseWith<TWindowsApi, &TWindowsApi::DestroyWindow>>;
// A global memory block until it is freed or handed to the clipboard.
using UniqueGlobal = UniqueResource<HGlobal, 0, CloseWith<TInputApi, &TInputApi::GlobalFree>>;
using UniqueMixer = UniqueResource<HMixer, 0, CloseWith<TAudioApi, &TAudioApi::mixerClose>>;
using UniqueCom = UniqueResource<ComObject, 0, CloseWith<TAudioApi, &TAudioApi::IUnknown_Release>>;
// An icon from LoadImageA.
using UniqueIcon = UniqueResource<HIcon, 0, CloseWith<TShellApi, &TShellApi::DestroyIcon>>;

}  // namespace zk
