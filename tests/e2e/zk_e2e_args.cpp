// zk_e2e_args: a window-less program that a launch entry of the end-to-end
// tests opens. It appends what follows its own name on its command line, as
// it got it, to args.txt beside itself, one line per start, and ends.
#include <windows.h>

#include <cstring>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const char* line = GetCommandLineA();
  // The program's name: quoted, or up to the first blank.
  if (*line == '"') {
    ++line;
    while (*line != '\0' && *line != '"') ++line;
    if (*line == '"') ++line;
  } else {
    while (*line != '\0' && *line != ' ' && *line != '\t') ++line;
  }
  while (*line == ' ' || *line == '\t') ++line;

  char path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return 1;
  char* slash = std::strrchr(path, '\\');
  if (slash == nullptr) return 1;
  std::strcpy(slash + 1, "args.txt");

  HANDLE f = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return 1;
  const std::string record = std::string(line) + "\n";
  DWORD written = 0;
  const BOOL ok = WriteFile(f, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
  CloseHandle(f);
  return ok && written == record.size() ? 0 : 1;
}
