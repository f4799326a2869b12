// The entry lookup by key code: the first four bytes are the key code, the
// rest is the list file. Running a launch or text entry on it finds the
// entry or nothing: lines that are no records are passed over, so no error
// escapes and nothing crashes.
#include <cstddef>
#include <cstdint>
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
  RunningApp<> app(p);
  WriteHostText(m.sys, ListPath(m.sys, false), content);
  WriteHostText(m.sys, ListPath(m.sys, true), content);
  app.form->RunLaunchEntry(key);
  app.form->PasteTextEntry(key);
  return 0;
}
