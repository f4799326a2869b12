// The program the launch measurement starts: it sets the named event given
// as its command line, which the waiting bench helper created, and ends.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, commandLine);
  if (event == nullptr) return 1;
  SetEvent(event);
  CloseHandle(event);
  return 0;
}
