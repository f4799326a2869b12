#include "app/Startup.h"

#include <memory>

#include "base/Application.h"
#include "app/MainForm.h"
#include "catalogue/Hotkeys.h"
#include "catalogue/MD5.h"
#include "platform/Handles.h"

namespace zk {

namespace TVostel {

bool IsWindows2000OrLater(TPlatform& p) {
  OsVersionInfo info;
  if (!p.GetVersionExA(info)) return false;
  return info.platformId == VER_PLATFORM_WIN32_NT && info.majorVersion >= 5;
}

void CheckWindowsVersion(TPlatform& p) {
  if (IsWindows2000OrLater(p)) return;
  p.MessageBoxA(0, kOldWindowsMessage, "Error", MB_ICONERROR);
  p.ExitProcess(0);
}

std::string GetProgramFolder(TPlatform& p) {
  const std::string path = p.GetModuleFileNameA();
  const std::size_t slash = path.find_last_of("\\/");
  if (slash == std::string::npos) return {};
  // "C:\zentrik.exe" keeps its backslash: the folder is the drive root.
  if (slash == 2 && path[1] == ':') return path.substr(0, 3);
  return path.substr(0, slash);
}

}  // namespace TVostel

namespace {

// Releases the single-instance mutex when the message loop is left, by
// whatever way: the end of the loop or an error that escapes it.
class MutexOwnership {
 public:
  MutexOwnership(TPlatform& p, Handle mutex) : p_(p), mutex_(mutex) {}
  ~MutexOwnership() { Release(); }
  void Release() {
    if (mutex_ != 0) p_.ReleaseMutex(mutex_);
    mutex_ = 0;
  }
  MutexOwnership(const MutexOwnership&) = delete;
  MutexOwnership& operator=(const MutexOwnership&) = delete;

 private:
  TPlatform& p_;
  Handle mutex_;
};

void RunApplication(TPlatform& p, Handle instanceMutex) {
  // The application object outlives the mutex ownership: the mutex is
  // released first, then the application (and with it the main window) ends.
  TApplication app(p);
  MutexOwnership ownership(p, instanceMutex);
  app.OnSessionEnd = [&ownership] { ownership.Release(); };
  app.Initialize();
  p.SetWindowLongA(app.Handle(), GWL_EXSTYLE, static_cast<long>(WS_EX_TOOLWINDOW));
  p.SendMessageA(app.Handle(), WM_NCCREATE, 0, 0);
  app.SetMainForm(std::make_unique<TfrmMain>(app));
  app.Run();
}

}  // namespace

int RunZentrik(TPlatform& p) {
  try {
    p.OleInitialize();
    TVostel::CheckWindowsVersion(p);
    p.SetCurrentDirectoryA(TVostel::GetProgramFolder(p));
    // The marker mutex is never tested; it lives as long as the process.
    UniqueHandle marker(p, p.CreateMutexA(false, TVostel::kMarkerMutexName));
    UniqueHandle instance(p, p.CreateMutexA(true, TVostel::MD5Hex(kProductName)));
    if (!instance || p.GetLastError() == ERROR_ALREADY_EXISTS) return 0;  // another copy runs
    RunApplication(p, instance.get());
  } catch (const ProcessExit& e) {
    return static_cast<int>(e.code);
  } catch (const std::exception& e) {
    // Nothing is left to show it with but a plain box; the exit code stays 0.
    p.MessageBoxA(0, TApplication::ErrorBoxText(e.what()), kProductName, MB_OK | MB_ICONERROR);
  } catch (...) {
    p.MessageBoxA(0, "Unknown error.", kProductName, MB_OK | MB_ICONERROR);
  }
  return 0;
}

}  // namespace zk
