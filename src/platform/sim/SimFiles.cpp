// Placeholder: the simulated file system is being written.
#include <stdexcept>
#include "platform/sim/SimPlatform.h"
namespace sim {
DWord SimPlatform::GetFileAttributesA(const std::string&) { throw std::logic_error("sim files pending"); }
bool SimPlatform::CreateDirectoryA(const std::string&) { throw std::logic_error("sim files pending"); }
Handle SimPlatform::CreateFileA(const std::string&, DWord, DWord, DWord, DWord) { throw std::logic_error("sim files pending"); }
bool SimPlatform::GetFileSizeEx(Handle, std::uint64_t&) { throw std::logic_error("sim files pending"); }
bool SimPlatform::ReadFile(Handle, void*, DWord, DWord&) { throw std::logic_error("sim files pending"); }
bool SimPlatform::WriteFile(Handle, const void*, DWord, DWord&) { throw std::logic_error("sim files pending"); }
bool SimPlatform::FlushFileBuffers(Handle) { throw std::logic_error("sim files pending"); }
bool SimPlatform::MoveFileExA(const std::string&, const std::string&, DWord) { throw std::logic_error("sim files pending"); }
bool SimPlatform::DeleteFileA(const std::string&) { throw std::logic_error("sim files pending"); }
}  // namespace sim
