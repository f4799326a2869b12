// The benchmark's timing of the entry lookup, run under Wine:
//   zk_lookup_bench FILE KEY ROUNDS
// times what a WinKey+Alt hotkey does to find its launch entry, with the
// program's own code on the real platform: FindListRecord for key code KEY
// in FILE and, apart, the same after finding the launch list's path in the
// data folder (ListFilePath, which must give FILE), as RunLaunchEntry does.
// It compares them with the least a lookup takes: one plain read of FILE
// and a scan of its lines for the key code's text. The rounds alternate
// the three, each repeated for some 20 ms; it prints "lookup_us
// with_path_us plain_us": the medians, in microseconds a lookup. All must
// find a record whose key code is KEY.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "catalogue/ListFiles.h"
#include "catalogue/ListLookup.h"
#include "catalogue/Records.h"
#include "platform/win32/Win32Platform.h"

// After the portable headers: <windows.h> defines macros with the names of
// their constants.
#include <windows.h>

using namespace zk;

namespace {
double NowUs() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return 1e6 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

std::string ReadPlain(const char* path) {
  HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (f == INVALID_HANDLE_VALUE) return {};
  std::string content(GetFileSize(f, nullptr), '\0');
  DWORD read = 0;
  if (!ReadFile(f, content.data(), static_cast<DWORD>(content.size()), &read, nullptr)) read = 0;
  CloseHandle(f);
  content.resize(read);
  return content;
}

// The third field of the first line whose third field is `key`, or "".
std::string PlainLookup(const char* path, const std::string& key) {
  const std::string all = ReadPlain(path);
  const char* p = all.data();
  const char* end = p + all.size();
  while (p < end) {
    const char* eol = p;
    while (eol < end && *eol != '\r' && *eol != '\n') ++eol;
    const char* a = std::find(p, eol, '|');
    const char* b = a == eol ? eol : std::find(a + 1, eol, '|');
    if (b != eol) {
      const char* c = std::find(b + 1, eol, '|');
      if (static_cast<std::size_t>(c - b - 1) == key.size() && std::equal(b + 1, c, key.begin()))
        return std::string(b + 1, c);
    }
    p = eol + 1;
  }
  return {};
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// The time of one call of f, in microseconds, over `times` calls.
template <typename F>
double TimeBatch(int times, F f) {
  const double t0 = NowUs();
  for (int i = 0; i < times; ++i) f();
  return (NowUs() - t0) / times;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: zk_lookup_bench FILE KEY ROUNDS\n");
    return 2;
  }
  const char* file = argv[1];
  const int key = std::atoi(argv[2]);
  const int rounds = std::max(1, std::atoi(argv[3]));
  const std::string keyText = std::to_string(key);
  zk::Win32Platform platform;

  const auto path = [&] { return ListFilePath(platform, platform, "Zentrik", THotkeySet::hsLaunch); };
  const auto lookup = [&] { return FindListRecord(platform, file, key); };
  const auto withPath = [&] { return FindListRecord(platform, path(), key); };
  const auto plain = [&] { return PlainLookup(file, keyText); };
  if (lstrcmpiA(path().c_str(), file) != 0) {
    std::fprintf(stderr, "%s is not the launch list\n", file);
    return 1;
  }
  const auto found = lookup();
  if (!found || TRecordFields(*found).keyCode != keyText || plain() != keyText) {
    std::fprintf(stderr, "no record with key code %d in %s\n", key, file);
    return 1;
  }
  // As many calls a batch as make some 20 ms, judged by one call of each.
  const double once = std::max({TimeBatch(1, lookup), TimeBatch(1, withPath), TimeBatch(1, plain)});
  const int times = std::max(1, static_cast<int>(20000 / std::max(once, 1.0)));
  std::vector<double> looked, pathed, read;
  for (int r = 0; r < rounds; ++r) {
    looked.push_back(TimeBatch(times, lookup));
    pathed.push_back(TimeBatch(times, withPath));
    read.push_back(TimeBatch(times, plain));
  }
  std::printf("%.1f %.1f %.1f\n", Median(looked), Median(pathed), Median(read));
  return 0;
}
