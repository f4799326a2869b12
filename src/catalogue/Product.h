// The product's own name.
#pragma once

namespace zk {

// The constant product name. Mutex, atom and Run value names are made from
// it, never from the application title read at run time.
inline constexpr const char* kProductName = "Zentrik";

}  // namespace zk
