// The list loader that fills the tray menu: the program starts with the
// input as a list file (the first byte chooses list I or II), its tray menu
// is opened and it ends. Whatever the file holds, nothing crashes and no
// hotkey stays registered.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzMachine.h"
#include "base/Errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  SimMachine& m = FuzzMachine();
  const bool text = data[0] & 1;
  const std::string content(reinterpret_cast<const char*>(data) + 1, size - 1);
  WriteHostText(m.sys, ListPath(m.sys, text), content);
  WriteHostText(m.sys, ListPath(m.sys, !text), "");
  {
    sim::SimPlatform p(m.sys);
    try {
      RunningApp app(p);
      p.ClickTrayIcon(zk::WM_RBUTTONUP);
      app.Pump();
    } catch (const zk::Exception&) {
    }
    if (!m.sys.hotkeys.empty()) std::abort();
  }
  return 0;
}
