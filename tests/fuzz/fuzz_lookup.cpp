// The entry lookup by key code: the first four bytes are the key code (its
// low word reaches the program, as a hotkey message carries it), the rest
// is the list file. A launch or text hotkey finds the entry or nothing:
// lines that are no records are passed over, so no error shows and nothing
// crashes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "FuzzMachine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  SimMachine& m = FuzzMachine();
  std::int32_t key;
  std::memcpy(&key, data, 4);
  const std::string content(reinterpret_cast<const char*>(data) + 4, size - 4);
  WriteHostText(m.sys, ListPath(m.sys, false), "");
  WriteHostText(m.sys, ListPath(m.sys, true), "");
  sim::SimPlatform p(m.sys);
  RunningApp app(p);
  WriteHostText(m.sys, ListPath(m.sys, false), content);
  WriteHostText(m.sys, ListPath(m.sys, true), content);
  for (const UInt modifiers : {kModLaunch, kModText})
    p.PostMessageA(app.form->Handle(), WM_HOTKEY, 0, static_cast<LParam>((static_cast<UInt>(key) << 16) | modifiers));
  app.Pump();
  if (!p.messageBoxes.empty()) std::abort();  // an error escaped the lookup
  return 0;
}
