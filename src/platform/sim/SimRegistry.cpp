// Placeholder: the simulated registry, profile strings and shell folders are being written.
#include <stdexcept>
#include "platform/sim/SimPlatform.h"
namespace sim {
DWord SimPlatform::GetPrivateProfileStringA(const std::string&, const std::string&, const std::string&, char*, DWord, const std::string&) { throw std::logic_error("sim profile pending"); }
bool SimPlatform::WritePrivateProfileStringA(const char*, const char*, const char*, const std::string&) { throw std::logic_error("sim profile pending"); }
long SimPlatform::RegCreateKeyExA(HKey, const std::string&, DWord, DWord, HKey&) { throw std::logic_error("sim registry pending"); }
long SimPlatform::RegQueryValueExA(HKey, const std::string&, DWord&, unsigned char*, DWord&) { throw std::logic_error("sim registry pending"); }
long SimPlatform::RegSetValueExA(HKey, const std::string&, DWord, const unsigned char*, DWord) { throw std::logic_error("sim registry pending"); }
long SimPlatform::RegDeleteValueA(HKey, const std::string&) { throw std::logic_error("sim registry pending"); }
long SimPlatform::RegCloseKey(HKey) { throw std::logic_error("sim registry pending"); }
HResult SimPlatform::SHGetSpecialFolderLocation(HWnd, int, std::uintptr_t&) { throw std::logic_error("sim shell pending"); }
bool SimPlatform::SHGetPathFromIDListA(std::uintptr_t, char*) { throw std::logic_error("sim shell pending"); }
void SimPlatform::CoTaskMemFree(std::uintptr_t) { throw std::logic_error("sim shell pending"); }
}  // namespace sim
