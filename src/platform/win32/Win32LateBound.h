// Functions that Windows 98 and NT 4 lack are looked up when first called
// instead of being imported: the loader of such a system then still starts
// the program, and its own version check can refuse it with its message.
// Include after <windows.h>.
#pragma once

namespace zk::win32late {

// The function `name` of `dll` (loaded when it is not yet), or null.
template <typename Fn>
Fn Lookup(const char* dll, const char* name) {
  HMODULE module = ::GetModuleHandleA(dll);
  if (module == nullptr) module = ::LoadLibraryA(dll);
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

}  // namespace zk::win32late
